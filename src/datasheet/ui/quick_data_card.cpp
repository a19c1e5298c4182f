#include "quick_data_card.h"

#include "dates_frame.h"
#include "details_frame.h"
#include "mate_child_frame.h"
#include "names_frame.h"
#include "safe_slot.h"
#include "sheet_widgets.h"
#include "storage/person_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/ui/escape_closes.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/ui/person_follow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <optional>

namespace verdan {

namespace {

constexpr int kMinTextPoints = 5;
constexpr int kMaxTextPoints = 19;

QPlainTextEdit* NewTextBox(QWidget* parent, const char* name) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

TfrmQuiqkData::TfrmQuiqkData(QWidget* parent) : QWidget(parent, Qt::Window) {
    CloseOnEscape(this);
    setObjectName(QStringLiteral("frmQuiqkData"));
    resize(620, 520);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    outer->setSpacing(kRowSpacing);
    lblName_ = new QLabel(this);
    lblName_->setObjectName(QStringLiteral("lblName"));
    lblName_->setWordWrap(true);
    lblName_->setAutoFillBackground(true);
    QFont bold = lblName_->font();
    bold.setBold(true);
    lblName_->setFont(bold);
    KeepReadingAlignment(lblName_);
    outer->addWidget(lblName_);

    PageControl_ = new QTabWidget(this);
    PageControl_->setObjectName(QStringLiteral("PageControl"));
    names_ = new Tfram_Names(PageControl_);
    relations_ = new TframMateChild(PageControl_);
    dates_ = new TframDates(PageControl_);
    auto* text = new QWidget(PageControl_);
    text->setObjectName(QStringLiteral("tabBriefing"));
    auto* textForm = new TFormGrid(text);
    lblBriefing_ = new QLabel(text);
    lblNotes_ = new QLabel(text);
    lblBookMark_ = new QLabel(text);
    txtBriefing_ = NewTextBox(text, "txtBriefing");
    txtNotes_ = NewTextBox(text, "txtNotes");
    txtBookMark_ = NewTextBox(text, "txtBookMark");
    lblBriefing_->setBuddy(txtBriefing_);
    lblNotes_->setBuddy(txtNotes_);
    lblBookMark_->setBuddy(txtBookMark_);
    textForm->AddRow(lblBriefing_, txtBriefing_);
    textForm->AddRow(lblNotes_, txtNotes_);
    textForm->AddRow(lblBookMark_, txtBookMark_);
    details_ = new Tfram_Details(PageControl_);
    PageControl_->addTab(names_, QString());
    PageControl_->addTab(relations_, QString());
    PageControl_->addTab(dates_, QString());
    PageControl_->addTab(text, QString());
    PageControl_->addTab(details_, QString());
    outer->addWidget(PageControl_, 1);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(kSpacing);
    chkSynchronize_ = new QCheckBox(this);
    chkSynchronize_->setObjectName(QStringLiteral("chkSynchronize"));
    chkSynchronize_->setChecked(true);
    chkAutoSave_ = new QCheckBox(this);
    chkAutoSave_->setObjectName(QStringLiteral("chkAutoSave"));
    chkAutoSave_->setChecked(true);
    btStayOnTop_ = NewSectionButton(this, u"view-pin", "btStayOnTop");
    btStayOnTop_->setCheckable(true);
    btStayOnTop_->setChecked(true);
    btSave_ = new QPushButton(this);
    btSave_->setObjectName(QStringLiteral("btSave"));
    btSave_->setIcon(Icon(u"document-save"));
    btClose_ = new QPushButton(this);
    btClose_->setObjectName(QStringLiteral("btClose"));
    bar->addWidget(chkSynchronize_);
    bar->addWidget(chkAutoSave_);
    bar->addWidget(btStayOnTop_);
    bar->addStretch();
    bar->addWidget(btSave_);
    bar->addWidget(btClose_);
    outer->addLayout(bar);
    SetStayOnTop(true);

    for (QPlainTextEdit* box : {txtBriefing_, txtNotes_, txtBookMark_}) {
        connect(box, &QPlainTextEdit::textChanged, this, &TfrmQuiqkData::TextEdited);
        box->viewport()->installEventFilter(this);
    }
    connect(PageControl_, &QTabWidget::currentChanged, this,
            [this](int page) { RunSafely([this, page] { FillPage(page); }); });
    connect(btSave_, &QPushButton::clicked, this, [this] { RunSafely([this] { SaveQuickData(); }); });
    connect(btClose_, &QPushButton::clicked, this, &QWidget::close);
    connect(btStayOnTop_, &QToolButton::toggled, this, &TfrmQuiqkData::SetStayOnTop);
    connect(relations_, &TframMateChild::TreeWindowWanted, this, &TfrmQuiqkData::TreeWindowWanted);
    connect(relations_, &TframMateChild::RelationsChanged, this, &TfrmQuiqkData::PersonSaved);
    connect(names_, &Tfram_Names::NamesSaved, this, &TfrmQuiqkData::PersonSaved);
    connect(dates_, &TframDates::DatesSaved, this, &TfrmQuiqkData::PersonSaved);
    connect(details_, &Tfram_Details::DetailsSaved, this, &TfrmQuiqkData::PersonSaved);
    connect(&PersonFollow(), &TPersonFollow::Chosen, this, [this](const QString& id, const QObject* source) {
        RunSafely([this, id, source] { Followed(id, source); });
    });
    TranslateTexts();
    PageControl_->setCurrentIndex(kNamesPage);
}

void TfrmQuiqkData::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Data Card ")));
    PageControl_->setTabText(kNamesPage, Translate(QStringLiteral("Names")));
    PageControl_->setTabText(kRelationsPage, Translate(QStringLiteral("Relationships")));
    PageControl_->setTabText(kDatesPage, Translate(QStringLiteral("Dates")));
    PageControl_->setTabText(kTextPage,
                             TranslateContext(QStringLiteral("Text"), QStringLiteral("data_card")));
    PageControl_->setTabText(kDetailsPage, Translate(QStringLiteral("Details")));
    lblBriefing_->setText(Translate(QStringLiteral("Summary")) + u':');
    lblNotes_->setText(Translate(QStringLiteral("Notes")) + u':');
    lblBookMark_->setText(Translate(QStringLiteral("Bookmarks")) + u':');
    btSave_->setText(Translate(QStringLiteral("&Save")));
    btClose_->setText(Translate(QStringLiteral("&Close")));
    SetHint(btStayOnTop_, Translate(QStringLiteral("Stay on Top")));
    chkSynchronize_->setText(Translate(QStringLiteral("Synchronize")));
    chkSynchronize_->setToolTip(Translate(QStringLiteral("Data Synchronization With Tree Elements")));
    chkAutoSave_->setText(Translate(QStringLiteral("Instant Save")));
    names_->TranslateTexts();
    relations_->TranslateTexts();
    dates_->TranslateTexts();
    details_->TranslateTexts();
}

void TfrmQuiqkData::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

bool TfrmQuiqkData::Synchronised() const {
    return chkSynchronize_->isChecked();
}

bool TfrmQuiqkData::InstantSave() const {
    return chkAutoSave_->isChecked();
}

void TfrmQuiqkData::SetSynchronised(bool on) {
    chkSynchronize_->setChecked(on);
}

void TfrmQuiqkData::SetInstantSave(bool on) {
    chkAutoSave_->setChecked(on);
}

bool TfrmQuiqkData::IsStayOnTop() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TfrmQuiqkData::SetStayOnTop(bool on) {
    if (btStayOnTop_->isChecked() != on)
        btStayOnTop_->setChecked(on);
    if (IsStayOnTop() == on)
        return;
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        show();
}

void TfrmQuiqkData::Followed(const QString& personId, const QObject* source) {
    // The card's own lists choose persons for the quick info card, not for the card itself.
    const auto* widget = qobject_cast<const QWidget*>(source);
    if (!isVisible() || !Synchronised() || (widget && (widget == this || isAncestorOf(widget))))
        return;
    LoadQuickData(personId);
}

bool TfrmQuiqkData::HasPendingEdits() const {
    return textChanged_ || names_->NamesChanged() || dates_->DatesChanged() || details_->DetailsChanged();
}

void TfrmQuiqkData::LoadQuickData(const QString& personId) {
    if (InstantSave())
        SaveQuickData();
    personId_ = personId.trimmed();
    std::fill(std::begin(loaded_), std::end(loaded_), false);
    if (personId_.isEmpty() || !ReadPerson(personId_, person_))
        person_ = TPerson();
    filling_ = true;
    // The name flashes white while the card changes person, so the change is seen.
    QPalette colours = lblName_->palette();
    colours.setColor(QPalette::Window, Qt::white);
    lblName_->setPalette(colours);
    lblName_->repaint();
    lblName_->setText(person_.Person_Id.isEmpty() ? QString() : GetLineageName(personId_));
    colours.setColor(QPalette::Window, QColor(0xfe, 0xf8, 0xda));
    lblName_->setPalette(colours);
    loadedTexts_ = ReadCardTexts(person_.Person_Id);
    txtBriefing_->setPlainText(loadedTexts_.Briefing);
    txtNotes_->setPlainText(loadedTexts_.Notes);
    txtBookMark_->setPlainText(loadedTexts_.Bookmark);
    textChanged_ = false;
    filling_ = false;
    // Edits of the person before that were not saved are forgotten with the boxes.
    names_->LoadNames(QString());
    dates_->LoadDates(TPerson());
    details_->LoadDetails(QString());
    relations_->LoadRelations(QString());
    FillPage(PageControl_->currentIndex());
    for (QWidget* page : {static_cast<QWidget*>(names_), static_cast<QWidget*>(dates_),
                          static_cast<QWidget*>(details_), PageControl_->widget(kTextPage)})
        page->setEnabled(!person_.Person_Id.isEmpty());
}

void TfrmQuiqkData::FillPage(int page) {
    if (page < 0 || page >= kPageCount || loaded_[page] || person_.Person_Id.isEmpty())
        return;
    loaded_[page] = true;
    switch (page) {
    case kNamesPage:
        names_->LoadNames(personId_);
        break;
    case kRelationsPage:
        relations_->LoadRelations(personId_);
        break;
    case kDatesPage:
        dates_->LoadDates(person_);
        break;
    case kDetailsPage:
        details_->LoadDetails(personId_);
        break;
    default:
        break;
    }
}

bool TfrmQuiqkData::SaveQuickData() {
    std::optional<UndoStep> step;
    if (HasPendingEdits())
        step.emplace(StepText("Edit «%*»", {personId_}), personId_);
    bool complete = true;
    if (textChanged_ && !personId_.isEmpty()) {
        const TCardTexts typed{txtBriefing_->toPlainText(), txtNotes_->toPlainText(),
                               txtBookMark_->toPlainText()};
        if (SaveCardTexts(personId_, loadedTexts_, typed)) {
            loadedTexts_ = typed;
            textChanged_ = false;
            emit PersonSaved(personId_);
        } else {
            complete = false;
        }
    }
    const TSaveResult dates = dates_->SaveDates();
    complete = complete && dates != TSaveResult::Failed && dates != TSaveResult::Conflict;
    complete = names_->SaveNames() != TSaveResult::Failed && complete;
    complete = details_->SaveDetails() != TSaveResult::Failed && complete;
    return complete;
}

void TfrmQuiqkData::TextEdited() {
    if (!filling_ && !personId_.isEmpty())
        textChanged_ = true;
}

bool TfrmQuiqkData::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return QWidget::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier))
        return QWidget::eventFilter(watched, event);
    for (QPlainTextEdit* box : {txtBriefing_, txtNotes_, txtBookMark_}) {
        if (watched != box->viewport())
            continue;
        QFont font = box->font();
        font.setPointSize(
            std::clamp(font.pointSize() + wheel->angleDelta().y() / 120, kMinTextPoints, kMaxTextPoints));
        box->setFont(font);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace verdan
