#include "shell/ui/tree_properties_dialog.h"

#include "reports/ui/zel_grid.h"
#include "shell/tree_description.h"
#include "text/bidi_text.h"
#include "text/interface_locale.h"
#include "text/localisation.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kStatRows = 8;
constexpr int kStatCaptionWidth = 150;

QString Caption(const char* text, const char* context) {
    return TranslateContext(QString::fromLatin1(text), QString::fromLatin1(context)) + u':';
}

QString ShortDate(const QDateTime& time) {
    return time.isValid() ? StampDateText(time.date()) : QString();
}

QToolButton* FormatButton(QWidget* parent, const char16_t* icon, const QKeySequence& keys) {
    auto* button = new QToolButton(parent);
    button->setIcon(Icon(icon));
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setShortcut(keys);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TfrmProperty::TfrmProperty(QWidget* parent)
    : QDialog(parent), lblTreeName_(new QLabel(this)), pages_(new QTabWidget(this)),
      tab_General_(new QWidget(pages_)), tab_Description_(new QWidget(pages_)) {
    setObjectName(QStringLiteral("frmProperty"));
    lblTreeName_->setObjectName(QStringLiteral("lblTreeName"));
    lblTreeName_->setFrameShape(QFrame::StyledPanel);
    lblTreeName_->setMargin(kWindowMargin);
    QFont title = lblTreeName_->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.3);
    lblTreeName_->setFont(title);
    KeepReadingAlignment(lblTreeName_);

    // General
    lblTree_ = new QLabel(tab_General_);
    lblOwner_ = new QLabel(tab_General_);
    lblFile_ = new QLabel(tab_General_);
    lblLocation_ = new QLabel(tab_General_);
    lblSize_ = new QLabel(tab_General_);
    lblAdded_ = new QLabel(tab_General_);
    lblModified_ = new QLabel(tab_General_);
    lblStatistics_ = new QLabel(tab_General_);
    txtTreeName_ = new QLineEdit(tab_General_);
    txtTreeName_->setObjectName(QStringLiteral("txtTreeName"));
    txtOwnerName_ = new QLineEdit(tab_General_);
    txtOwnerName_->setObjectName(QStringLiteral("txtOwnerName"));
    lblFileName_ = new QLabel(tab_General_);
    lblFileName_->setObjectName(QStringLiteral("lblFileName"));
    lblFileName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    txtFilePath_ = new QLineEdit(tab_General_);
    txtFilePath_->setObjectName(QStringLiteral("txtFilePath"));
    txtFilePath_->setReadOnly(true);
    txtFilePath_->setLayoutDirection(Qt::LeftToRight);
    lblFileSize_ = new QLabel(tab_General_);
    lblFileSize_->setObjectName(QStringLiteral("lblFileSize"));
    lblLastCreated_ = new QLabel(tab_General_);
    lblLastCreated_->setObjectName(QStringLiteral("lblLastCreated"));
    lblLastModified_ = new QLabel(tab_General_);
    lblLastModified_->setObjectName(QStringLiteral("lblLastModified"));
    gStat_ = new TZelGrid(tab_General_);
    gStat_->setObjectName(QStringLiteral("gStat"));
    gStat_->SetReadonly(true);
    // The captions take a column of their own: the row-number column draws its texts faint.
    gStat_->SetColCount(3);
    gStat_->SetRowCount(kStatRows);
    gStat_->SetColWidth(0, 0);
    gStat_->SetColWidth(1, kStatCaptionWidth);
    gStat_->SetRowHeight(0, 0);
    gStat_->horizontalHeader()->setStretchLastSection(true);
    gStat_->setFocusPolicy(Qt::NoFocus);
    gStat_->setMinimumHeight(gStat_->DefaultRowHeight() * kStatRows + 4);
    auto* form = new TFormGrid(tab_General_);
    form->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    form->AddRow(lblTree_, txtTreeName_);
    form->AddRow(lblOwner_, txtOwnerName_);
    form->AddRow(lblFile_, lblFileName_);
    form->AddRow(lblLocation_, txtFilePath_);
    form->AddRow(lblSize_, lblFileSize_);
    form->AddRow(lblAdded_, lblLastCreated_);
    form->AddRow(lblModified_, lblLastModified_);
    form->AddRow(lblStatistics_, gStat_);
    form->setRowStretch(form->rowCount(), 1);

    // Description
    auto* description = new QVBoxLayout(tab_Description_);
    description->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    description->setSpacing(kRowSpacing);
    Panel3_ = new QWidget(tab_Description_);
    Panel3_->setObjectName(QStringLiteral("Panel3"));
    chkShowAbout_ = new QCheckBox(QStringLiteral(u"إظهار عند فتح الشجرة"), Panel3_);
    chkShowAbout_->setObjectName(QStringLiteral("chkShowAbout"));
    auto* panel = new QHBoxLayout(Panel3_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(chkShowAbout_);
    // The flag is only carried through: nothing acts on it when a tree opens.
    Panel3_->hide();
    auto* formatBar = new QHBoxLayout;
    formatBar->setSpacing(kSpacing);
    btBold_ = FormatButton(tab_Description_, u"format-text-bold", QKeySequence::Bold);
    btBold_->setObjectName(QStringLiteral("btBold"));
    btItalic_ = FormatButton(tab_Description_, u"format-text-italic", QKeySequence::Italic);
    btUnderline_ = FormatButton(tab_Description_, u"format-text-underline", QKeySequence::Underline);
    btColor_ = FormatButton(tab_Description_, u"color-select", QKeySequence());
    btColor_->setCheckable(false);
    cmbSize_ = new QComboBox(tab_Description_);
    cmbSize_->setEditable(true);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36})
        cmbSize_->addItem(QLocale().toString(size), size);
    cmbSize_->setFocusPolicy(Qt::ClickFocus);
    for (QWidget* w : std::initializer_list<QWidget*>{btBold_, btItalic_, btUnderline_, cmbSize_, btColor_})
        formatBar->addWidget(w);
    formatBar->addStretch(1);
    rtfDescription_ = new QTextEdit(tab_Description_);
    rtfDescription_->setObjectName(QStringLiteral("rtfDescription"));
    rtfDescription_->setAcceptRichText(true);
    rtfDescription_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    description->addWidget(Panel3_);
    description->addLayout(formatBar);
    description->addWidget(rtfDescription_, 1);

    pages_->addTab(tab_General_, QString());
    pages_->addTab(tab_Description_, QString());

    bt_Ok_ = new QPushButton(this);
    bt_Ok_->setObjectName(QStringLiteral("bt_Ok"));
    bt_Ok_->setDefault(true);
    bt_Cancel_ = new QPushButton(this);
    bt_Cancel_->setObjectName(QStringLiteral("bt_Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch(1);
    buttons->addWidget(bt_Ok_);
    buttons->addWidget(bt_Cancel_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    column->addWidget(lblTreeName_);
    column->addWidget(pages_, 1);
    column->addLayout(buttons);

    connect(txtTreeName_, &QLineEdit::textEdited, this, &TfrmProperty::Changed);
    connect(txtOwnerName_, &QLineEdit::textEdited, this, &TfrmProperty::Changed);
    connect(rtfDescription_, &QTextEdit::textChanged, this, &TfrmProperty::Changed);
    connect(chkShowAbout_, &QCheckBox::clicked, this, &TfrmProperty::Changed);
    connect(rtfDescription_, &QTextEdit::currentCharFormatChanged, this, &TfrmProperty::ShowFormat);
    connect(btBold_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        MergeFormat(format);
    });
    connect(btItalic_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        MergeFormat(format);
    });
    connect(btUnderline_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        MergeFormat(format);
    });
    connect(btColor_, &QToolButton::clicked, this, &TfrmProperty::ChooseColor);
    connect(cmbSize_, &QComboBox::textActivated, this, [this](const QString& text) {
        bool ok = false;
        const double size = QLocale().toDouble(text, &ok);
        if (!ok || size < 1 || size > 400)
            return;
        QTextCharFormat format;
        format.setFontPointSize(size);
        MergeFormat(format);
    });
    connect(bt_Ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(bt_Cancel_, &QPushButton::clicked, this, &QDialog::reject);
    TranslateTexts();
    resize(560, 520);
}

void TfrmProperty::TranslateTexts() {
    setWindowTitle(TranslateContext(QStringLiteral("Properties"), QStringLiteral("properties")));
    pages_->setTabText(0, TranslateContext(QStringLiteral("General"), QStringLiteral("properties")));
    pages_->setTabText(1, TranslateContext(QStringLiteral("Description"), QStringLiteral("properties")));
    lblTree_->setText(Caption("Tree", "properties"));
    lblOwner_->setText(Caption("Owner", "properties"));
    lblFile_->setText(Caption("File", "properties"));
    lblLocation_->setText(Caption("Location", "properties"));
    lblSize_->setText(Caption("Size", "properties"));
    lblAdded_->setText(Caption("Last added", "properties"));
    lblModified_->setText(Caption("Last modified", "properties"));
    lblStatistics_->setText(Caption("Statistics", "properties"));
    btBold_->setToolTip(Translate(QStringLiteral("Bold")));
    btItalic_->setToolTip(Translate(QStringLiteral("Italic")));
    btUnderline_->setToolTip(Translate(QStringLiteral("Underline")));
    btColor_->setToolTip(Translate(QStringLiteral("Text Colour")));
    cmbSize_->setToolTip(Translate(QStringLiteral("Font Size")));
    for (QWidget* w : std::initializer_list<QWidget*>{btBold_, btItalic_, btUnderline_, btColor_, cmbSize_})
        w->setAccessibleName(w->toolTip());
    bt_Ok_->setText(TranslateContext(QStringLiteral("&OK"), QStringLiteral("dialog")));
    bt_Cancel_->setText(TranslateContext(QStringLiteral("&Cancel"), QStringLiteral("dialog")));
    FillStatistics();
    // The size reads in the language's number format.
    if (!shown_.BasePath.isEmpty())
        lblFileSize_->setText(IsolateLtr(FileSizeText(QFileInfo(shown_.BasePath).size())));
}

void TfrmProperty::FillStatistics() {
    const QLocale locale;
    const QString two(2, u' ');
    const QString four(4, u' ');
    const struct {
        const char* text;
        const char* context;
        QString value;
    } rows[] = {
        {"Records", "properties", locale.toString(shown_.PersonCount)},
        {"Sections", "relationships", two + locale.toString(shown_.GroupCount)},
        {"Persons", "relationships", two + locale.toString(shown_.NonGroupCount)},
        {"Males", "relationships", four + locale.toString(shown_.MaleCount)},
        {"Females", "relationships", four + locale.toString(shown_.FemaleCount)},
        {"Mariage Relationships", "relationships", locale.toString(shown_.MarriageCount)},
        {"Pictures", "properties", locale.toString(shown_.PictureCount)},
    };
    int row = 1;
    for (const auto& r : rows) {
        gStat_->SetCells(1, row, Caption(r.text, r.context));
        gStat_->SetCells(2, row, r.value);
        ++row;
    }
}

void TfrmProperty::Load(const TTreeProperty& props) {
    loading_ = true;
    shown_ = props;
    lblTreeName_->setText(Isolate(props.TreeName));
    txtTreeName_->setText(props.TreeName);
    txtOwnerName_->setText(props.OwnerName);
    chkShowAbout_->setChecked(!props.HideAbout);
    lblFileName_->setText(IsolateLtr(props.FileName));
    txtFilePath_->setText(QDir::toNativeSeparators(props.BasePath));
    lblFileSize_->setText(IsolateLtr(props.SizeText));
    lblLastCreated_->setText(ShortDate(props.LastCreated));
    lblLastModified_->setText(ShortDate(props.LastModified));
    rtfDescription_->setHtml(DescriptionToHtml(props.Description));
    rtfDescription_->document()->setModified(false);
    FillStatistics();
    pages_->setCurrentIndex(0);
    bt_Ok_->setEnabled(false);
    loading_ = false;
}

void TfrmProperty::Store(TTreeProperty& props) const {
    props.OwnerName = txtOwnerName_->text().trimmed();
    props.TreeName = txtTreeName_->text().trimmed();
    props.WithDescription = true;
    props.Description = StoredDescription(rtfDescription_->toHtml(), rtfDescription_->document()->isEmpty());
    props.HideAbout = !chkShowAbout_->isChecked();
}

bool TfrmProperty::Edit(TTreeProperty& props) {
    TranslateTexts();
    Load(props);
    txtTreeName_->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    Store(props);
    return true;
}

void TfrmProperty::Changed() {
    if (loading_)
        return;
    // A tree needs a name: it heads the outline and the recent trees.
    bt_Ok_->setEnabled(!txtTreeName_->text().trimmed().isEmpty());
}

void TfrmProperty::ShowFormat(const QTextCharFormat& format) {
    btBold_->setChecked(format.fontWeight() >= QFont::Bold);
    btItalic_->setChecked(format.fontItalic());
    btUnderline_->setChecked(format.fontUnderline());
    const double size =
        format.fontPointSize() > 0 ? format.fontPointSize() : rtfDescription_->font().pointSizeF();
    cmbSize_->setEditText(QLocale().toString(size));
}

void TfrmProperty::MergeFormat(const QTextCharFormat& format) {
    QTextCursor cursor = rtfDescription_->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    rtfDescription_->mergeCurrentCharFormat(format);
    rtfDescription_->setFocus();
}

void TfrmProperty::ChooseColor() {
    const QColor color = QColorDialog::getColor(rtfDescription_->textColor(), this);
    if (!color.isValid())
        return;
    QTextCharFormat format;
    format.setForeground(color);
    MergeFormat(format);
}

void TfrmProperty::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QDialog::changeEvent(event);
}

} // namespace verdan
