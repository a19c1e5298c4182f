#include "data_sheet.h"

#include "breastfeeding_frame.h"
#include "collapsible_panel.h"
#include "dates_frame.h"
#include "details_frame.h"
#include "events_frame.h"
#include "mate_child_frame.h"
#include "names_frame.h"
#include "pictures_frame.h"
#include "reorder_controls.h"
#include "safe_slot.h"
#include "sheet_overview.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/undo_log.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/user_options.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <iterator>
#include <optional>

namespace verdan {

namespace {

// The name of the step that writes the sheet's edits: the section's own when only one section was edited.
QString EditStepText(const QString& personId, std::initializer_list<std::pair<bool, const char*>> sections) {
    const char* pattern = "Edit «%*»";
    int edited = 0;
    for (const auto& [changed, sectionPattern] : sections) {
        if (changed) {
            ++edited;
            pattern = sectionPattern;
        }
    }
    return StepText(edited == 1 ? pattern : "Edit «%*»", {personId});
}

// The sections in their default order, with their default states.
constexpr struct {
    const char* key;
    const char* objectName;
    bool collapsed;
} kSections[] = {
    {"Overview", "cpnl_Summary", true},
    {"Names", "cpnlData", false},
    {"Relationships", "cpnlRelations", false},
    {"Dates", "cpnlDates", true},
    {"Events", "cpnlEvents", true},
    {"Details", "cpnl_Details", false},
    {"Summary", "cpnlBriefing", true},
    {"Pictures", "cpnlPictures", true},
    {"Breastfeeding Relationships", "cpnlMotherhoods", true},
    {"Notes", "cpnlNote", true},
    {"Data Entry Info", "cpnl_Meta_Data", true},
};

constexpr int kMinTextPoints = 5;
constexpr int kMaxTextPoints = 19;
constexpr int kWheelStep = 10; // pixels per wheel step
constexpr int kShortNameWidth = 150;
constexpr int kSmallPicture = 52;

// The first person identifier a drag carries: a line of our own list format, or a plain text that is a
// whole identifier.
QString DraggedPersonId(const QMimeData* mime) {
    if (mime->hasFormat(QString::fromLatin1(TframDataSheet::kPersonIdsMimeType))) {
        const QString ids =
            QString::fromUtf8(mime->data(QString::fromLatin1(TframDataSheet::kPersonIdsMimeType)));
        return ids.section(u'\n', 0, 0).trimmed();
    }
    static const QRegularExpression guid(QStringLiteral(
        "^\\{[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\}$"));
    const QString text = mime->hasText() ? mime->text().trimmed() : QString();
    return guid.match(text).hasMatch() ? text : QString();
}

QPlainTextEdit* NewTextBox(QWidget* parent, const char* name) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMinimumHeight(90);
    return box;
}

} // namespace

const char* const TframDataSheet::kPersonIdsMimeType = "application/x-verdan-person-ids";

TframDataSheet::TframDataSheet(QWidget* parent) : QWidget(parent), reorder_(new TfrmReorderControls(this)) {
    setObjectName("framDataSheet");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);

    pnlName_ = new QWidget(this);
    pnlName_->setObjectName("pnlName");
    pnlName_->setAcceptDrops(true);
    auto* header = new QHBoxLayout(pnlName_);
    // The name starts where the captions of the sections below do.
    header->setContentsMargins(kWindowMargin + 1, kRowSpacing, kRowSpacing, kRowSpacing);
    header->setSpacing(kSpacing);
    lblShortName_ = new QLabel(pnlName_);
    lblShortName_->setObjectName("lblShortName");
    QFont big = lblShortName_->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 3);
    lblShortName_->setFont(big);
    lblFather_Name_ = new QLabel(pnlName_);
    lblFather_Name_->setObjectName("lblFather_Name");
    lblMother_Name_ = new QLabel(pnlName_);
    lblMother_Name_->setObjectName("lblMother_Name");
    pnlPesonImageSmall_ = new QWidget(pnlName_);
    pnlPesonImageSmall_->setObjectName("pnlPesonImageSmall");
    auto* small = new QHBoxLayout(pnlPesonImageSmall_);
    small->setContentsMargins(0, 0, 0, 0);
    imgPersonSmall_ = new QLabel(pnlPesonImageSmall_);
    imgPersonSmall_->setObjectName("imgPersonSmall");
    imgPersonSmall_->setFixedSize(kSmallPicture, kSmallPicture);
    imgPersonSmall_->setAlignment(Qt::AlignCenter);
    small->addWidget(imgPersonSmall_);
    btReorderControls_ = new QToolButton(pnlName_);
    btReorderControls_->setObjectName("btReorderControls");
    btReorderControls_->setIcon(Icon(u"view-sort-ascending"));
    btReorderControls_->setAutoRaise(true);
    for (QLabel* label : {lblShortName_, lblFather_Name_, lblMother_Name_})
        KeepReadingAlignment(label);
    auto* parents = new QVBoxLayout;
    parents->addWidget(lblFather_Name_);
    parents->addWidget(lblMother_Name_);
    header->addWidget(lblShortName_);
    header->addLayout(parents, 1);
    header->addWidget(pnlPesonImageSmall_, 0, Qt::AlignTop);
    header->addWidget(btReorderControls_, 0, Qt::AlignTop);
    outer->addWidget(pnlName_);

    scrSections_ = new QScrollArea(this);
    scrSections_->setObjectName("scrSections");
    scrSections_->setWidgetResizable(true);
    scrSections_->setFrameShape(QFrame::NoFrame);
    sectionHost_ = new QWidget(scrSections_);
    sectionHost_->setAcceptDrops(true);
    sectionLayout_ = new QVBoxLayout(sectionHost_);
    sectionLayout_->setContentsMargins(1, 1, 1, 1);
    sectionLayout_->setSpacing(4);
    sectionLayout_->addStretch(1);
    scrSections_->setWidget(sectionHost_);
    outer->addWidget(scrSections_, 1);

    overview_ = new TframOverview;
    names_ = new Tfram_Names;
    relations_ = new TframMateChild;
    dates_ = new TframDates;
    dates_->Today = [this] {
        return Today();
    };
    events_ = new TframEvents;
    details_ = new Tfram_Details;
    txtBriefing_ = NewTextBox(nullptr, "txtBriefing");
    pictures_ = new TframPictures;
    breastfeeding_ = new TframBreastfeeding;
    txtNotes_ = NewTextBox(nullptr, "txtNotes");
    metaData_ = new TframMetaData;
    QWidget* const contents[] = {overview_,    names_,    relations_,     dates_,    events_,  details_,
                                 txtBriefing_, pictures_, breastfeeding_, txtNotes_, metaData_};
    for (size_t i = 0; i < std::size(kSections); ++i)
        sections_.append(
            AddSection({kSections[i].key, kSections[i].objectName, kSections[i].collapsed}, contents[i]));
    cpnl_Summary_ = Section(QStringLiteral("Overview"));
    cpnlData_ = Section(QStringLiteral("Names"));
    cpnlRelations_ = Section(QStringLiteral("Relationships"));
    cpnlDates_ = Section(QStringLiteral("Dates"));
    cpnlEvents_ = Section(QStringLiteral("Events"));
    cpnl_Details_ = Section(QStringLiteral("Details"));
    cpnlBriefing_ = Section(QStringLiteral("Summary"));
    cpnlPictures_ = Section(QStringLiteral("Pictures"));
    cpnlMotherhoods_ = Section(QStringLiteral("Breastfeeding Relationships"));
    cpnlNote_ = Section(QStringLiteral("Notes"));
    cpnl_Meta_Data_ = Section(QStringLiteral("Data Entry Info"));
    cpnlMotherhoods_->hide();
    // The fields of every section start at one place.
    captions_ = new TCaptionColumn(this);
    for (QWidget* form :
         {static_cast<QWidget*>(overview_), static_cast<QWidget*>(names_), static_cast<QWidget*>(dates_),
          static_cast<QWidget*>(details_), static_cast<QWidget*>(metaData_)})
        captions_->AddCaptionsOf(form);

    for (QPlainTextEdit* box : {txtNotes_, txtBriefing_}) {
        connect(box, &QPlainTextEdit::textChanged, this, &TframDataSheet::TextEdited);
        box->viewport()->installEventFilter(this);
    }
    connect(names_, &Tfram_Names::NamesSaved, this, [this](const QString& id) {
        emit NamesSaved(id);
        emit PersonSaved(id);
    });
    connect(dates_, &TframDates::DatesSaved, this, &TframDataSheet::PersonSaved);
    connect(events_, &TframEvents::EventsChanged, this, [this](const QString& id) {
        overview_->Fill(person_, Today());
        emit PersonSaved(id);
    });
    connect(breastfeeding_, &TframBreastfeeding::RelationDeleted, this, &TframDataSheet::RelationsChanged);
    // The outline shows changed links when it next reads the nodes; the header shows them now.
    connect(relations_, &TframMateChild::RelationsChanged, this, [this](const QString& id) {
        if (SameId(id, personId_))
            RefreshParents();
    });
    connect(relations_, &TframMateChild::TreeWindowWanted, this, &TframDataSheet::TreeWindowWanted);
    connect(details_, &Tfram_Details::DetailsSaved, this, &TframDataSheet::PersonSaved);
    connect(pictures_, &TframPictures::DefaultPictureChanged, this, [this](const QString& id) {
        if (!SameId(id, personId_))
            return;
        ShowPersonPicture();
        emit PersonSaved(id);
    });
    connect(pictures_, &TframPictures::BrowserWanted, this, &TframDataSheet::PictureBrowserWanted);
    connect(btReorderControls_, &QToolButton::clicked, this,
            [this] { RunSafely([this] { ReorderSections(); }); });

    // Filters last: they look at every part above.
    scrSections_->viewport()->installEventFilter(this);
    pnlName_->installEventFilter(this);
    sectionHost_->installEventFilter(this);
    TranslateTexts();
    LayoutSections();
    ClearSheet();
}

TCollapsiblePanel* TframDataSheet::AddSection(const SectionDef& def, QWidget* content) {
    auto* panel = new TCollapsiblePanel(sectionHost_);
    panel->setObjectName(QString::fromLatin1(def.objectName));
    panel->setProperty("sectionKey", QString::fromLatin1(def.key));
    panel->SetContent(content);
    panel->SetCollapsed(def.collapsed);
    connect(panel, &TCollapsiblePanel::Expanding, this,
            [this, panel] { RunSafely([this, panel] { SectionExpanding(panel); }); });
    return panel;
}

void TframDataSheet::TranslateTexts() {
    for (TCollapsiblePanel* panel : sections_)
        panel->SetTitle(Translate(panel->property("sectionKey").toString()));
    btReorderControls_->setToolTip(Translate(QStringLiteral("Reorder Data Sections")));
    reorder_->setWindowTitle(Translate(QStringLiteral("Reorder Data Sections")));
    overview_->TranslateTexts();
    names_->TranslateTexts();
    relations_->TranslateTexts();
    dates_->TranslateTexts();
    details_->TranslateTexts();
    pictures_->TranslateTexts();
    breastfeeding_->TranslateTexts();
    metaData_->TranslateTexts();
    captions_->Update();
    // The parents' lines start where the fields below do.
    lblShortName_->setMinimumWidth(std::max(kShortNameWidth, captions_->Width()));
}

QList<TCollapsiblePanel*> TframDataSheet::Sections() const {
    return sections_;
}

TCollapsiblePanel* TframDataSheet::Section(const QString& key) const {
    for (TCollapsiblePanel* panel : sections_)
        if (panel->property("sectionKey").toString() == key)
            return panel;
    return nullptr;
}

QList<TSectionState> TframDataSheet::SectionStates() const {
    QList<TSectionState> states;
    for (const TCollapsiblePanel* panel : sections_)
        states.append({panel->property("sectionKey").toString(), panel->IsCollapsed()});
    return states;
}

bool TframDataSheet::HasPendingEdits() const {
    return text_.Changed() || names_->NamesChanged() || dates_->DatesChanged() ||
           details_->DetailsChanged() || pictures_->TextsChanged();
}

// ---------------------------------------------------------------------------------------------------------
// The person shown

void TframDataSheet::LoadPerson(const QString& personId) {
    const QString id = personId.trimmed();
    if (SameId(id, personId_))
        return;
    TBusyCursor busy;
    SavePendingEdits();
    // Dates that cannot be written (a box that holds no date, a death before the birth) keep the sheet at
    // its person until they are put right, so what was typed stays on screen; the outline is brought back
    // to the person once its selection has settled.
    if (!id.isEmpty() && !personId_.isEmpty() && dates_->HoldsUnsavedDates()) {
        QTimer::singleShot(0, this, [this, shown = personId_] {
            if (SameId(shown, personId_))
                emit LocatePersonRequested(shown);
        });
        return;
    }
    personId_ = id;
    ShowPerson();
}

bool TframDataSheet::MayLeaveTree() {
    if (personId_.isEmpty() || !dates_->HoldsUnsavedDates() || !SameId(dates_->PersonId(), personId_))
        return true;
    TQuestion question;
    question.text = FillPattern(Translate(QStringLiteral("The dates of %* cannot be saved: %*|Go back to the "
                                                         "person, or leave without the date edits?")),
                                {Isolate(GetLineageName(personId_)), Isolate(dates_->UnsavedDatesText())});
    question.caption = Translate(QStringLiteral("Dates"));
    question.answers = {
        {1, Translate(QStringLiteral("Go back to the person")), QStringLiteral("back")},
        {2, Translate(QStringLiteral("Leave without the date edits")), QStringLiteral("leave")}};
    question.focus = 1;
    question.escape = 1;
    question.icon = TMsgIcon::Exclamation;
    if (MsgAsk(question) == 2) {
        // The dates are shown as stored again, so nothing of them is written or told on the way out.
        TPerson stored;
        ReadPerson(personId_, stored);
        dates_->LoadDates(stored);
        return true;
    }
    emit LocatePersonRequested(personId_);
    cpnlDates_->SetCollapsed(false);
    dates_->setFocus();
    return false;
}

void TframDataSheet::ReloadPerson() {
    TBusyCursor busy;
    SavePendingEdits();
    const bool keepDates = dates_->HoldsUnsavedDates() && SameId(dates_->PersonId(), personId_);
    const TDateBoxes typed = dates_->Boxes();
    ShowPerson();
    if (keepDates && SameId(dates_->PersonId(), personId_))
        dates_->ShowTyped(typed);
}

void TframDataSheet::ShowPerson() {
    namesLoaded_ = false;
    datesLoaded_ = false;
    if (personId_.isEmpty())
        ClearSheet();
    else
        FillSheet();
}

bool TframDataSheet::SavePendingEdits() {
    // The sheet's edits are one step, named after the section when only one of them was edited.
    std::optional<UndoStep> step;
    if (HasPendingEdits())
        step.emplace(EditStepText(personId_, {{text_.Changed(), "Edit the notes of «%*»"},
                                              {names_->NamesChanged(), "Edit the names of «%*»"},
                                              {dates_->DatesChanged(), "Edit the dates of «%*»"},
                                              {details_->DetailsChanged(), "Edit the details of «%*»"},
                                              {pictures_->TextsChanged(), "Edit the picture of «%*»"}}),
                     personId_);
    bool complete = true;
    const QString textPerson = text_.PersonId();
    switch (SaveTextEdits(text_, TextBoxes())) {
    case TSaveResult::Written:
        emit PersonSaved(textPerson);
        break;
    case TSaveResult::Failed:
        complete = false;
        break;
    default:
        break;
    }
    const TSaveResult dates = dates_->SaveDates();
    if (dates == TSaveResult::Failed || dates == TSaveResult::Conflict || dates == TSaveResult::Invalid)
        complete = false;
    if (names_->SaveNames() == TSaveResult::Failed)
        complete = false;
    if (details_->SaveDetails() == TSaveResult::Failed)
        complete = false;
    if (!pictures_->SavePictureTexts())
        complete = false;
    return complete;
}

void TframDataSheet::PersonRemoved(const QString& personId) {
    if (personId.trimmed().isEmpty() || !SameId(personId.trimmed(), personId_))
        return;
    personId_.clear();
    ClearSheet();
}

void TframDataSheet::ClearSheet() {
    filling_ = true;
    person_ = TPerson();
    namesLoaded_ = false;
    datesLoaded_ = false;
    text_.Reset();
    txtNotes_->clear();
    txtBriefing_->clear();
    names_->Clear();
    relations_->LoadRelations(QString());
    dates_->Clear();
    events_->LoadEvents(QString());
    details_->Clear();
    pictures_->Clear();
    ShowPersonPicture();
    breastfeeding_->Load(QString(), QString());
    cpnlMotherhoods_->SetCollapsed(true);
    cpnlMotherhoods_->hide();
    lblShortName_->clear();
    lblFather_Name_->clear();
    lblMother_Name_->clear();
    overview_->Fill(person_, Today());
    metaData_->Fill(QString());
    SetSheetEnabled(false);
    filling_ = false;
}

void TframDataSheet::FillSheet() {
    TPerson person;
    if (!ReadPerson(personId_, person)) {
        // A person that no longer exists shows nothing and takes no edits.
        ClearSheet();
        return;
    }
    filling_ = true;
    person_ = person;
    SetSheetEnabled(writable_);
    FillHeader();
    const TTextBoxes text = StartTextEdits(text_, personId_);
    txtNotes_->setPlainText(text.Notes);
    txtBriefing_->setPlainText(text.Briefing);
    namesLoaded_ = !cpnlData_->IsCollapsed();
    names_->LoadNames(namesLoaded_ ? personId_ : QString());
    relations_->LoadRelations(cpnlRelations_->IsCollapsed() ? QString() : personId_);
    FillBreastfeeding();
    datesLoaded_ = !cpnlDates_->IsCollapsed();
    dates_->LoadDates(datesLoaded_ ? person_ : TPerson());
    events_->LoadEvents(cpnlEvents_->IsCollapsed() ? QString() : personId_);
    details_->LoadDetails(personId_);
    pictures_->LoadPictures(personId_);
    metaData_->Fill(personId_);
    overview_->Fill(person_, Today());
    ShowPersonPicture();
    filling_ = false;
}

void TframDataSheet::ShowPersonPicture() {
    // The pictures section stays in every case; the header and the overview show the picture unless the
    // person's display options hide it.
    const QImage image = pictures_->ShownImage();
    overview_->SetPicture(image);
    if (image.isNull()) {
        imgPersonSmall_->clear();
        pnlPesonImageSmall_->setVisible(false);
        return;
    }
    imgPersonSmall_->setPixmap(QPixmap::fromImage(
        image.scaled(imgPersonSmall_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    pnlPesonImageSmall_->setVisible(true);
}

void TframDataSheet::FillHeader() {
    // Names may be Latin in a mirrored window: each keeps its own reading order.
    lblShortName_->setText(u' ' + Isolate(person_.Person_Name));
    lblFather_Name_->setText(
        IsReservedParentId(person_.Father_Id) ? QString() : Isolate(GetFullLineage(person_.Father_Id, 3)));
    lblMother_Name_->setText(
        IsReservedParentId(person_.Mother_Id) ? QString() : Isolate(GetFullLineage(person_.Mother_Id, 4)));
}

void TframDataSheet::RefreshParents() {
    const TParent parents = GetParents(personId_);
    person_.Father_Id = parents.Father_Id;
    person_.Mother_Id = parents.Mother_Id;
    FillHeader();
}

void TframDataSheet::FillBreastfeeding() {
    const bool any = breastfeeding_->Load(personId_, person_.Gender);
    cpnlMotherhoods_->setVisible(any);
    cpnlMotherhoods_->SetCollapsed(!any);
}

void TframDataSheet::SetWritable(bool writable) {
    if (writable_ == writable)
        return;
    writable_ = writable;
    if (!person_.Person_Id.isEmpty())
        SetSheetEnabled(writable);
}

void TframDataSheet::SetSheetEnabled(bool enabled) {
    for (TCollapsiblePanel* panel : sections_)
        panel->Content()->setEnabled(enabled);
}

void TframDataSheet::SectionExpanding(TCollapsiblePanel* panel) {
    if (filling_ || person_.Person_Id.isEmpty())
        return;
    if (panel == cpnlData_ && !namesLoaded_) {
        names_->LoadNames(personId_);
        namesLoaded_ = true;
    } else if (panel == cpnlRelations_) {
        relations_->LoadRelations(personId_);
    } else if (panel == cpnlDates_ && !datesLoaded_) {
        dates_->LoadDates(person_);
        datesLoaded_ = true;
    } else if (panel == cpnlEvents_) {
        events_->LoadEvents(personId_);
    } else if (panel == cpnlMotherhoods_) {
        breastfeeding_->Load(personId_, person_.Gender);
    }
}

void TframDataSheet::TextEdited() {
    if (!filling_)
        text_.MarkChanged();
}

TTextBoxes TframDataSheet::TextBoxes() const {
    return {txtNotes_->toPlainText(), txtBriefing_->toPlainText()};
}

// ---------------------------------------------------------------------------------------------------------
// Section layout

void TframDataSheet::LayoutSections() {
    for (TCollapsiblePanel* panel : std::as_const(sections_))
        sectionLayout_->removeWidget(panel);
    for (qsizetype i = 0; i < sections_.size(); ++i)
        sectionLayout_->insertWidget(static_cast<int>(i), sections_[i]);
    // The keyboard walks the sections as they stand.
    QWidget* previous = btReorderControls_;
    for (TCollapsiblePanel* panel : std::as_const(sections_)) {
        for (QWidget* widget : panel->findChildren<QWidget*>()) {
            // Dialogs owned by a section are windows of their own.
            if ((widget->focusPolicy() & Qt::TabFocus) && widget->window() == window()) {
                setTabOrder(previous, widget);
                previous = widget;
            }
        }
    }
}

void TframDataSheet::MoveSection(TCollapsiblePanel* moved, TCollapsiblePanel* target) {
    if (!moved || !target || moved == target || !sections_.contains(moved) || !sections_.contains(target))
        return;
    const qsizetype place = sections_.indexOf(target);
    sections_.removeOne(moved);
    sections_.insert(place, moved);
    LayoutSections();
    StoreLayoutInMemory();
}

void TframDataSheet::StoreLayoutInMemory() {
    Options().DataSections = SectionLayoutToStore(SectionStates(), Options().DataSections);
}

void TframDataSheet::ApplySectionLayout() {
    QList<TSectionState> defaults;
    for (const auto& def : kSections)
        defaults.append({QString::fromLatin1(def.key), def.collapsed});
    const QList<TSectionState> arranged = ArrangeSections(defaults, Options().DataSections);
    QList<TCollapsiblePanel*> ordered;
    for (const TSectionState& state : arranged) {
        TCollapsiblePanel* panel = Section(state.Key);
        ordered.append(panel);
        // The breastfeeding section opens and closes with its person's relations.
        if (panel != cpnlMotherhoods_)
            panel->SetCollapsed(state.Collapsed);
    }
    sections_ = ordered;
    LayoutSections();
    scrSections_->verticalScrollBar()->setValue(0);
}

void TframDataSheet::ReorderSections() {
    QList<TfrmReorderControls::Entry> entries;
    for (const TCollapsiblePanel* panel : std::as_const(sections_))
        if (!panel->isHidden())
            entries.append({panel->property("sectionKey").toString(), panel->Title(), !panel->IsCollapsed()});
    reorder_->SetEntries(entries);
    if (reorder_->exec() != QDialog::Accepted)
        return;
    // Hidden sections keep their places; the shown ones take the chosen order around them.
    QList<TSectionState> states = SectionStates();
    const QList<TfrmReorderControls::Entry> chosen = reorder_->Entries();
    qsizetype next = 0;
    for (TSectionState& state : states) {
        if (Section(state.Key)->isHidden() || next >= chosen.size())
            continue;
        state = {chosen[next].Key, !chosen[next].Checked};
        ++next;
    }
    Options().DataSections = SectionLayoutToStore(states, Options().DataSections);
    SaveOptions();
    ApplySectionLayout();
}

// ---------------------------------------------------------------------------------------------------------
// Events

bool TframDataSheet::eventFilter(QObject* watched, QEvent* event) {
    bool handled = false;
    RunSafely([&] {
        if (watched == sectionHost_)
            handled = DropOnSections(event);
        else if (watched == scrSections_->viewport())
            handled = WheelOverSections(event);
        else if (watched == pnlName_)
            handled = DropOnHeader(event);
        else if (watched == txtNotes_->viewport())
            handled = WheelOverText(txtNotes_, event);
        else if (watched == txtBriefing_->viewport())
            handled = WheelOverText(txtBriefing_, event);
    });
    return handled || QWidget::eventFilter(watched, event);
}

bool TframDataSheet::DropOnSections(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QString format = QString::fromLatin1(TCollapsiblePanel::kPanelMimeType);
    if (!drop->mimeData()->hasFormat(format))
        return false;
    drop->acceptProposedAction();
    if (type != QEvent::Drop)
        return true;
    const QString name = QString::fromUtf8(drop->mimeData()->data(format));
    TCollapsiblePanel* moved = nullptr;
    for (TCollapsiblePanel* panel : std::as_const(sections_))
        if (panel->objectName() == name)
            moved = panel;
    QWidget* under = sectionHost_->childAt(drop->position().toPoint());
    while (under && !sections_.contains(qobject_cast<TCollapsiblePanel*>(under)))
        under = under->parentWidget();
    MoveSection(moved, qobject_cast<TCollapsiblePanel*>(under));
    return true;
}

bool TframDataSheet::DropOnHeader(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QString id = DraggedPersonId(drop->mimeData());
    if (id.isEmpty())
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        emit LocatePersonRequested(id);
    return true;
}

bool TframDataSheet::WheelOverSections(QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return false;
    // Small steps, so a section title never jumps out of sight; with Ctrl the wheel is for the text boxes.
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier)) {
        QScrollBar* bar = scrSections_->verticalScrollBar();
        bar->setValue(bar->value() - wheel->angleDelta().y() / 120 * kWheelStep);
    }
    return true;
}

bool TframDataSheet::WheelOverText(QPlainTextEdit* box, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier))
        return false;
    const int steps = wheel->angleDelta().y() / 120;
    if (steps != 0) {
        QFont font = box->font();
        font.setPointSize(std::clamp(font.pointSize() + steps, kMinTextPoints, kMaxTextPoints));
        box->setFont(font);
    }
    return true;
}

} // namespace verdan
