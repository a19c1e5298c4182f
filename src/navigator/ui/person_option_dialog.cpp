#include "navigator/ui/person_option_dialog.h"

#include "navigator/ui/outline_images.h"
#include "reports/grid_markup.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

qint32 BgrOf(const QColor& color) {
    return qint32(color.red() | (color.green() << 8) | (color.blue() << 16));
}

// The first entry's picture: the word "Default" in small letters.
QIcon DefaultPicture() {
    QPixmap picture(48, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QFont font;
    font.setPointSize(7);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(1, 1, 47, 15), Qt::AlignLeading | Qt::AlignVCenter,
                     Translate(QStringLiteral("Default")));
    return QIcon(picture);
}

} // namespace

TfrmPersonOption::TfrmPersonOption(QWidget* parent)
    : QDialog(parent), lblColorCaption_(new QLabel(this)), lblIconCaption_(new QLabel(this)),
      lblTitleCaption_(new QLabel(this)), lblColor_(new QLabel(this)), btNoColor_(new QToolButton(this)),
      cmbIcon_(new QComboBox(this)), cmbTitle_(new QComboBox(this)), chkHidePicture_(new QCheckBox(this)),
      chkHideName_(new QCheckBox(this)), chkDenyPublish_(new QCheckBox(this)), btOk_(new QPushButton(this)),
      btCancel_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmPersonOption"));
    lblColor_->setObjectName(QStringLiteral("lblColor"));
    lblColor_->setFixedSize(64, 20);
    lblColor_->setFrameShape(QFrame::Box);
    lblColor_->setAutoFillBackground(true);
    lblColor_->setCursor(Qt::PointingHandCursor);
    lblColor_->installEventFilter(this);
    btNoColor_->setIcon(Icon(u"edit-clear"));
    btNoColor_->setAutoRaise(true);
    cmbIcon_->setObjectName(QStringLiteral("cmbIcon"));
    cmbIcon_->setIconSize(QSize(48, 16));
    cmbTitle_->setObjectName(QStringLiteral("cmbTitle"));
    cmbTitle_->setEditable(true);
    cmbTitle_->setMinimumWidth(200);
    btOk_->setDefault(true);

    auto* formHost = new QWidget(this);
    auto* form = new TFormGrid(formHost);
    form->AddRow(lblColorCaption_, lblColor_, {btNoColor_});
    form->AddRow(lblIconCaption_, cmbIcon_);
    form->AddRow(lblTitleCaption_, cmbTitle_);
    form->AddRow(nullptr, chkHidePicture_);
    form->AddRow(nullptr, chkHideName_);
    form->AddRow(nullptr, chkDenyPublish_);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch(1);
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    column->addWidget(formHost);
    column->addStretch(1);
    column->addLayout(buttons);

    connect(btNoColor_, &QToolButton::clicked, this, [this] { SetColor(0); });
    connect(cmbIcon_, &QComboBox::currentIndexChanged, this, [this] {
        if (!loading_)
            iconChanged_ = true;
    });
    connect(btOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);
    TranslateTexts();
}

void TfrmPersonOption::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Person Display Options")));
    lblColorCaption_->setText(Translate(QStringLiteral("Display color in Tree")) + u':');
    lblIconCaption_->setText(Translate(QStringLiteral("Display icon in Tree")) + u':');
    lblTitleCaption_->setText(Translate(QStringLiteral("Suffix")) + u':');
    chkHidePicture_->setText(Translate(QStringLiteral("Hide picture")));
    chkHideName_->setText(Translate(QStringLiteral("Hide name")));
    chkDenyPublish_->setText(Translate(QStringLiteral("Deny publish")));
    btNoColor_->setToolTip(Translate(QStringLiteral("Default")));
    btNoColor_->setAccessibleName(btNoColor_->toolTip());
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
    loading_ = true;
    const int current = cmbIcon_->currentIndex();
    cmbIcon_->clear();
    cmbIcon_->addItem(DefaultPicture(), QString(), 0);
    const QList<QIcon>& images = OutlineImages();
    for (int id = kFirstIcon; id <= kLastIcon; ++id)
        cmbIcon_->addItem(images.value(id), QString(), id);
    cmbIcon_->setCurrentIndex(current);
    loading_ = false;
}

void TfrmPersonOption::SetColor(qint32 bgr) {
    color_ = bgr;
    QPalette palette = lblColor_->palette();
    palette.setColor(QPalette::Window, bgr == 0 ? palette.color(QPalette::Base) : ColorFromBgr(quint32(bgr)));
    lblColor_->setPalette(palette);
}

void TfrmPersonOption::Load(const TPersonOption& option) {
    loading_ = true;
    storedIcon_ = option.icon_id;
    iconChanged_ = false;
    // Icons 11 to 17 select their entry; a default or any other stored icon selects none.
    cmbIcon_->setCurrentIndex(
        option.icon_id >= kFirstIcon && option.icon_id <= kLastIcon ? option.icon_id - kFirstIcon + 1 : -1);
    cmbTitle_->setCurrentText(option.title);
    SetColor(option.color);
    chkHidePicture_->setChecked(option.hide_picture);
    chkHideName_->setChecked(option.hide_name);
    chkDenyPublish_->setChecked(option.deny_publish);
    loading_ = false;
}

TPersonOption TfrmPersonOption::Options() const {
    TPersonOption option;
    option.person_id = personId_;
    option.hide_picture = chkHidePicture_->isChecked();
    // What was stored stays unless the user chose another icon.
    option.icon_id = iconChanged_ ? cmbIcon_->currentData().toInt() : storedIcon_;
    option.title = cmbTitle_->currentText();
    option.color = color_;
    option.hide_name = chkHideName_->isChecked();
    option.deny_publish = chkDenyPublish_->isChecked();
    return option;
}

bool TfrmPersonOption::Edit(const QString& personId) {
    personId_ = personId.trimmed();
    if (personId_.isEmpty())
        return false;
    TranslateTexts();
    QStringList titles;
    ListOptionTitles(titles);
    loading_ = true;
    cmbTitle_->clear();
    cmbTitle_->addItems(titles);
    loading_ = false;
    TPersonOption option;
    ReadPersonOption(personId_, option);
    Load(option);
    if (exec() != QDialog::Accepted)
        return false;
    UndoStep step(StepText("Change the display options of «%*»", {personId_}), personId_);
    return WritePersonOption(Options()) || Options().IsEmpty();
}

void TfrmPersonOption::ChooseColor() {
    const QColor start = color_ == 0 ? QColor(Qt::black) : ColorFromBgr(quint32(color_));
    const QColor chosen =
        QColorDialog::getColor(start, this, Translate(QStringLiteral("Display color in Tree")));
    if (chosen.isValid())
        SetColor(BgrOf(chosen));
}

bool TfrmPersonOption::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblColor_ && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        ChooseColor();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace verdan
