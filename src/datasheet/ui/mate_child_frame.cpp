#include "mate_child_frame.h"

#include "calendar/date_value_text.h"
#include "marriage_dialog.h"
#include "reports/ui/zel_grid.h"
#include "safe_slot.h"
#include "sheet_widgets.h"
#include "storage/event_store.h"
#include "storage/marriage_facts.h"
#include "storage/person_store.h"
#include "storage/undo_log.h"
#include "text/bidi_text.h"
#include "text/interface_locale.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/form_grid.h"
#include "text/ui/own_end_delegate.h"
#include "text/ui/person_follow.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kEntryRole = Qt::UserRole;
constexpr int kMarkSize = 13;

QString Tr(const char* text) {
    return Translate(QString::fromLatin1(text));
}

} // namespace

TframMateChild::TframMateChild(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("framMateChild"));
    BuildControls();
    TranslateTexts();
    LoadRelations(QString());
}

void TframMateChild::BuildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kWindowMargin, kRowSpacing, kWindowMargin, kRowSpacing);
    outer->setSpacing(kRowSpacing);

    auto* pnlToDelete = new QWidget(this);
    pnlToDelete->setObjectName(QStringLiteral("pnlToDelete"));
    auto* parents = new TFormGrid(pnlToDelete);
    parents->setContentsMargins(0, 0, 0, 0);
    lbl_Father_ = new QLabel(pnlToDelete);
    lbl_Mother_ = new QLabel(pnlToDelete);
    txtFather_ = new QLineEdit(pnlToDelete);
    txtFather_->setObjectName(QStringLiteral("txtFather"));
    txtMother_ = new QLineEdit(pnlToDelete);
    txtMother_->setObjectName(QStringLiteral("txtMother"));
    btDeleteFather_ = NewSectionButton(pnlToDelete, u"list-remove", "btDeleteFather");
    btDeleteMother_ = NewSectionButton(pnlToDelete, u"list-remove", "btDeleteMother");
    for (QLineEdit* box : {txtFather_, txtMother_}) {
        box->setReadOnly(true);
        box->installEventFilter(this);
        box->setMouseTracking(true);
    }
    parents->AddRow(lbl_Father_, txtFather_, {btDeleteFather_});
    parents->AddRow(lbl_Mother_, txtMother_, {btDeleteMother_});
    outer->addWidget(pnlToDelete);

    auto* lists = new QHBoxLayout;
    lists->setSpacing(kSpacing * 2);
    outer->addLayout(lists, 1);

    pnlMate_ = new QWidget(this);
    pnlMate_->setObjectName(QStringLiteral("pnlMate"));
    auto* mateRow = new QHBoxLayout(pnlMate_);
    mateRow->setContentsMargins(0, 0, 0, 0);
    mateRow->setSpacing(kSpacing);
    gMates_ = new TZelGrid(pnlMate_);
    gMates_->setObjectName(QStringLiteral("gMates"));
    gMates_->setSelectionMode(QAbstractItemView::SingleSelection);
    gMates_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gMates_->setMinimumHeight(130);
    gMates_->CellView = [](int col, int, QString& text, int&, Qt::LayoutDirection& direction) {
        if (col == kSplitCol)
            text.clear(); // drawn as a check mark
        else if (col == kNameCol)
            direction = HasArabicLetters(text) ? Qt::RightToLeft : Qt::LeftToRight;
    };
    gMates_->OnDrawCell = [this](QPainter& painter, const QRect& rect, int col, int row) {
        DrawCell(painter, rect, col, row);
    };
    gMates_->viewport()->installEventFilter(this);
    gMates_->installEventFilter(this);
    auto* mateButtons = new QVBoxLayout;
    mateButtons->setSpacing(kRowSpacing);
    btUpM_ = NewSectionButton(pnlMate_, u"go-up", "btUpM");
    btDownM_ = NewSectionButton(pnlMate_, u"go-down", "btDownM");
    btDeleteMate_ = NewSectionButton(pnlMate_, u"list-remove", "btDeleteMate");
    btMarriage_ = NewSectionButton(pnlMate_, u"document-edit", "btMarriage");
    mateButtons->addWidget(btUpM_);
    mateButtons->addWidget(btDownM_);
    mateButtons->addSpacing(kRowSpacing);
    mateButtons->addWidget(btMarriage_);
    mateButtons->addWidget(btDeleteMate_);
    mateButtons->addStretch();
    mateRow->addWidget(gMates_, 1);
    mateRow->addLayout(mateButtons);
    lists->addWidget(pnlMate_, 3);

    pnlChildren_ = new QWidget(this);
    pnlChildren_->setObjectName(QStringLiteral("pnlChildren"));
    auto* childColumn = new QVBoxLayout(pnlChildren_);
    childColumn->setContentsMargins(0, 0, 0, 0);
    childColumn->setSpacing(kRowSpacing);
    lblChild_ = new QLabel(pnlChildren_);
    lstChildren_ = new QListWidget(pnlChildren_);
    lstChildren_->setObjectName(QStringLiteral("lstChildren"));
    lstChildren_->setMinimumHeight(130);
    lstChildren_->setUniformItemSizes(true);
    // A long lineage is cut at its own end, so a Latin child's own name stays in view in a mirrored sheet.
    lstChildren_->setItemDelegate(new TOwnEndDelegate(lstChildren_));
    lstChildren_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lblChild_->setBuddy(lstChildren_);
    auto* childRow = new QHBoxLayout;
    childRow->setSpacing(kSpacing);
    auto* childButtons = new QVBoxLayout;
    childButtons->setSpacing(kRowSpacing);
    btUp_ = NewSectionButton(pnlChildren_, u"go-up", "btUp");
    btDown_ = NewSectionButton(pnlChildren_, u"go-down", "btDown");
    bt_Alpha_Sort_ = NewSectionButton(pnlChildren_, u"view-sort-ascending", "bt_Alpha_Sort");
    childButtons->addWidget(btUp_);
    childButtons->addWidget(btDown_);
    childButtons->addSpacing(kRowSpacing);
    childButtons->addWidget(bt_Alpha_Sort_);
    childButtons->addStretch();
    childRow->addWidget(lstChildren_, 1);
    childRow->addLayout(childButtons);
    childColumn->addWidget(lblChild_);
    childColumn->addLayout(childRow, 1);
    lists->addWidget(pnlChildren_, 2);

    auto slot = [this](QToolButton* button, void (TframMateChild::*command)()) {
        connect(button, &QToolButton::clicked, this,
                [this, command] { RunSafely([this, command] { (this->*command)(); }); });
    };
    slot(btDeleteFather_, &TframMateChild::btDeleteFatherClick);
    slot(btDeleteMother_, &TframMateChild::btDeleteMotherClick);
    slot(btDeleteMate_, &TframMateChild::btDeleteMateClick);
    slot(btMarriage_, &TframMateChild::btMarriageClick);
    slot(btUpM_, &TframMateChild::btUpMClick);
    slot(btDownM_, &TframMateChild::btDownMClick);
    slot(btUp_, &TframMateChild::btUpClick);
    slot(btDown_, &TframMateChild::btDownClick);
    slot(bt_Alpha_Sort_, &TframMateChild::bt_Alpha_SortClick);

    connect(lstChildren_, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { RunSafely([this, item] { ChildCheckChanged(item); }); });
    connect(lstChildren_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (const TChildEntry* entry = EntryOf(item))
            Choose(entry->Person_Id);
    });
    connect(lstChildren_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (const TChildEntry* entry = EntryOf(item))
            emit TreeWindowWanted(entry->Person_Id);
    });
    FollowPointer(lstChildren_, [this](const QModelIndex& index) {
        const TChildEntry* entry = EntryOf(lstChildren_->item(index.row()));
        return entry ? entry->Person_Id : QString();
    });
    FollowPointer(gMates_,
                  [this](const QModelIndex& index) { return gMates_->Cells(kIdCol, index.row() + 1); });
    connect(gMates_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        const QString id = gMates_->Cells(kIdCol, index.row() + 1);
        if (id.isEmpty())
            return;
        // The marriage's own columns open the marriage, the mate's name a tree window on the mate.
        if (index.column() + 1 >= kMarriedCol)
            RunSafely([this] { btMarriageClick(); });
        else
            emit TreeWindowWanted(id);
    });
}

void TframMateChild::TranslateTexts() {
    lbl_Father_->setText(Tr("Father") + u':');
    lbl_Mother_->setText(Tr("Mother") + u':');
    SetHint(btDeleteFather_, Tr("Delete Relationship With Father"));
    SetHint(btDeleteMother_, Tr("Delete Relationship With Mother"));
    SetHint(btDeleteMate_, Tr("Remove Marriage Relationship") + QStringLiteral(".."));
    SetHint(btMarriage_, Tr("Marriage Details") + QStringLiteral(".."));
    SetHint(btUpM_, Tr("Reorder Spouses"));
    SetHint(btDownM_, Tr("Reorder Spouses"));
    lblChild_->setText(Tr("Children"));
    SetHint(btUp_, Tr("Reorder Children"));
    SetHint(btDown_, Tr("Reorder Children"));
    SetHint(bt_Alpha_Sort_, Tr("Alphabetic sort"));
    gMates_->SetCells(kNameCol, 0,
                      Translate(MatesCaptionSource(view_.GenderCode, static_cast<int>(view_.Mates.size()))));
    gMates_->SetCells(kSplitCol, 0, Tr("Divorced"));
    gMates_->SetCells(kMarriedCol, 0, Tr("Married"));
    gMates_->SetCells(kDivorceCol, 0, Tr("Divorce"));
}

void TframMateChild::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------------------------------------
// Filling

void TframMateChild::LoadRelations(const QString& personId) {
    view_ = ReadRelationsView(personId);
    txtFather_->setText(view_.FatherText);
    txtMother_->setText(view_.MotherText);
    txtFather_->setCursorPosition(0);
    txtMother_->setCursorPosition(0);
    btDeleteFather_->setEnabled(view_.CanRemoveFather);
    btDeleteMother_->setEnabled(view_.CanRemoveMother);
    FillMateGrid(1);
    FillChildList(view_.Children);
}

void TframMateChild::FillMates() {
    if (!view_.Person.Person_Id.isEmpty())
        ListMates(view_.Person.Person_Id, view_.Mates);
    FillMateGrid(1);
}

void TframMateChild::FillMateGrid(int currentRow) {
    filling_ = true;
    const QString id = view_.Person.Person_Id;
    gMates_->ClearAll();
    gMates_->SetColCount(7);
    gMates_->SetRowCount(static_cast<int>(std::max<qsizetype>(view_.Mates.size(), 1)) + 1);
    gMates_->SetColWidths({24, 0, 220, 80, 0, 170, 130});
    gMates_->SetAutoRowNumber(true);
    // The names take the width the other columns leave.
    gMates_->horizontalHeader()->setStretchLastSection(false);
    gMates_->horizontalHeader()->setSectionResizeMode(kNameCol - 1, QHeaderView::Stretch);
    for (qsizetype i = 0; i < view_.Mates.size(); ++i) {
        const TMate& mate = view_.Mates[i];
        const int row = static_cast<int>(i) + 1;
        gMates_->SetCells(kIdCol, row, mate.Person_Id);
        gMates_->SetCells(kNameCol, row, mate.LineageName);
        gMates_->SetCells(kSplitCol, row, mate.Split ? QStringLiteral("1") : QStringLiteral("0"));
        gMates_->SetCells(kDeadCol, row, mate.Is_Dead ? QStringLiteral("1") : QStringLiteral("0"));
        const bool man = view_.GenderCode == u"m";
        TMarriageFacts facts;
        ReadMarriageFacts(man ? id : mate.Person_Id, man ? mate.Person_Id : id, facts);
        const auto fact = [](const TDateValue& date, const QString& place) {
            const QString text = DateValueShownText(date);
            return place.isEmpty() ? text : text.isEmpty() ? place : text + QStringLiteral(" — ") + place;
        };
        gMates_->SetCells(kMarriedCol, row, fact(facts.Married, facts.Place));
        gMates_->SetCells(kDivorceCol, row, fact(facts.Divorced, facts.DivorcePlace));
    }
    gMates_->SetCells(kNameCol, 0,
                      Translate(MatesCaptionSource(view_.GenderCode, static_cast<int>(view_.Mates.size()))));
    gMates_->SetCells(kSplitCol, 0, Tr("Divorced"));
    gMates_->SetCells(kMarriedCol, 0, Tr("Married"));
    gMates_->SetCells(kDivorceCol, 0, Tr("Divorce"));
    if (!view_.Mates.isEmpty())
        gMates_->SetCurrentCell(kNameCol, std::clamp(currentRow, 1, static_cast<int>(view_.Mates.size())));
    const bool any = !view_.Mates.isEmpty();
    btDeleteMate_->setEnabled(any);
    btMarriage_->setEnabled(any && HasEventTables());
    btUpM_->setEnabled(view_.Mates.size() > 1);
    btDownM_->setEnabled(view_.Mates.size() > 1);
    // A group takes no mates, unless some were attached to it anyway.
    pnlMate_->setEnabled(!id.isEmpty() && (!view_.Person.Is_Section || any));
    filling_ = false;
}

void TframMateChild::FillChildren() {
    FillChildList(ListChildEntries(view_.Person.Person_Id, view_.GenderCode));
}

void TframMateChild::FillChildList(const TChildEntries& children) {
    filling_ = true;
    children_ = children;
    const QString mate = CurrentMateId();
    lstChildren_->setUpdatesEnabled(false);
    lstChildren_->clear();
    for (qsizetype i = 0; i < children_.size(); ++i) {
        auto* item = new QListWidgetItem(children_[i].Text);
        item->setData(kEntryRole, static_cast<int>(i));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(IsChildOfMate(children_[i], mate) ? Qt::Checked : Qt::Unchecked);
        lstChildren_->addItem(item);
    }
    if (lstChildren_->count() > 0)
        lstChildren_->setCurrentRow(0);
    lstChildren_->setUpdatesEnabled(true);
    filling_ = false;
    const bool any = !children_.isEmpty();
    btUp_->setEnabled(any);
    btDown_->setEnabled(any);
    bt_Alpha_Sort_->setEnabled(children_.size() > 1);
    pnlChildren_->setEnabled(!view_.Person.Person_Id.isEmpty());
    MarkMateChildren();
}

TChildEntry* TframMateChild::EntryOf(QListWidgetItem* item) {
    if (!item)
        return nullptr;
    const int index = item->data(kEntryRole).toInt();
    return index >= 0 && index < children_.size() ? &children_[index] : nullptr;
}

void TframMateChild::SetChecked(QListWidgetItem* item, bool checked) {
    const bool wasFilling = filling_;
    filling_ = true;
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    filling_ = wasFilling;
}

QString TframMateChild::CurrentMateId() const {
    const int row = gMates_->Row();
    return row >= 1 ? gMates_->Cells(kIdCol, row) : QString();
}

QStringList TframMateChild::MateIds() const {
    QStringList ids;
    for (int row = 1; row < gMates_->RowCount(); ++row)
        if (!gMates_->Cells(kIdCol, row).isEmpty())
            ids << gMates_->Cells(kIdCol, row);
    return ids;
}

QStringList TframMateChild::ChildIds() const {
    QStringList ids;
    for (int i = 0; i < lstChildren_->count(); ++i)
        if (const TChildEntry* entry = const_cast<TframMateChild*>(this)->EntryOf(lstChildren_->item(i)))
            ids << entry->Person_Id;
    return ids;
}

void TframMateChild::MarkMateChildren() {
    if (gMates_->Row() < 1 && !view_.Mates.isEmpty())
        gMates_->SetCurrentCell(kNameCol, 1);
    const QString mate = CurrentMateId();
    if (mate.isEmpty())
        return;
    for (int i = 0; i < lstChildren_->count(); ++i) {
        QListWidgetItem* item = lstChildren_->item(i);
        const TChildEntry* entry = EntryOf(item);
        const bool checked = entry && IsChildOfMate(*entry, mate);
        if ((item->checkState() == Qt::Checked) != checked)
            SetChecked(item, checked);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Children

void TframMateChild::ChildCheckChanged(QListWidgetItem* item) {
    if (filling_)
        return;
    TChildEntry* entry = EntryOf(item);
    if (!entry)
        return;
    const bool checked = item->checkState() == Qt::Checked;
    TChildLinkResult result;
    {
        UndoStep step(StepText(checked ? "Attach «%*» to «%*»" : "Detach «%*» from «%*»",
                               {entry->Person_Id, CurrentMateId()}),
                      view_.Person.Person_Id);
        result = LinkChildToMate(view_.GenderCode, CurrentMateId(), *entry, checked);
    }
    switch (result) {
    case TChildLinkResult::Written:
        emit RelationsChanged(entry->Person_Id);
        return;
    case TChildLinkResult::NoMate:
        SetChecked(item, !checked);
        MsgWarning(Tr("Choose the wife or husband of this child in the list of spouses first."));
        return;
    case TChildLinkResult::UnknownGender:
        SetChecked(item, !checked);
        MsgWarning(Tr("The gender of this person is not set, so a child cannot be given a second parent "
                      "here."));
        return;
    case TChildLinkResult::Failed:
        SetChecked(item, !checked);
        return;
    }
}

void TframMateChild::SwapChildren(int a, int b) {
    if (a < 0 || b < 0 || a >= lstChildren_->count() || b >= lstChildren_->count() || a == b)
        return;
    filling_ = true;
    const int low = std::min(a, b);
    const int high = std::max(a, b);
    QListWidgetItem* upper = lstChildren_->takeItem(high);
    QListWidgetItem* lower = lstChildren_->takeItem(low);
    lstChildren_->insertItem(low, upper);
    lstChildren_->insertItem(high, lower);
    lstChildren_->setCurrentRow(b);
    filling_ = false;
    SaveChildrenOrder();
}

void TframMateChild::btUpClick() {
    const int row = lstChildren_->currentRow();
    if (row > 0)
        SwapChildren(row, row - 1);
}

void TframMateChild::btDownClick() {
    const int row = lstChildren_->currentRow();
    if (row >= 0 && row + 1 < lstChildren_->count())
        SwapChildren(row, row + 1);
}

void TframMateChild::bt_Alpha_SortClick() {
    if (children_.size() < 2)
        return;
    TChildEntries sorted;
    for (int i = 0; i < lstChildren_->count(); ++i)
        sorted.append(*EntryOf(lstChildren_->item(i)));
    SortChildEntries(sorted, InterfaceCollator());
    FillChildList(sorted);
    SaveChildrenOrder();
}

void TframMateChild::SaveChildrenOrder() {
    if (view_.Person.Person_Id.isEmpty())
        return;
    UndoStep step(StepText("Change the order of the children of «%*»", {view_.Person.Person_Id}),
                  view_.Person.Person_Id);
    if (::verdan::SaveChildrenOrder(view_.GenderCode, ChildIds()))
        emit RelationsChanged(view_.Person.Person_Id);
}

// ---------------------------------------------------------------------------------------------------------
// Mates

void TframMateChild::MoveMateRow(int from, int to) {
    const int last = static_cast<int>(MateIds().size());
    if (from < 1 || to < 1 || from > last || to > last || from == to)
        return;
    gMates_->MoveRow(from, to);
    gMates_->SetCurrentCell(kNameCol, to);
    SaveMatesOrder();
}

void TframMateChild::btUpMClick() {
    MoveMateRow(gMates_->Row(), gMates_->Row() - 1);
}

void TframMateChild::btDownMClick() {
    MoveMateRow(gMates_->Row(), gMates_->Row() + 1);
}

void TframMateChild::SaveMatesOrder() {
    if (filling_ || view_.Person.Person_Id.isEmpty())
        return;
    UndoStep step(StepText(view_.GenderCode == u"m" ? "Change the order of the wives of «%*»"
                                                    : "Change the order of the husbands of «%*»",
                           {view_.Person.Person_Id}),
                  view_.Person.Person_Id);
    if (::verdan::SaveMatesOrder(view_.Person.Person_Id, view_.GenderCode, MateIds()))
        emit RelationsChanged(view_.Person.Person_Id);
}

void TframMateChild::ToggleSplit(int row) {
    const QString mate = gMates_->Cells(kIdCol, row);
    if (row < 1 || mate.isEmpty() || view_.Person.Person_Id.isEmpty())
        return;
    const bool split = gMates_->Cells(kSplitCol, row) == u"0" || gMates_->Cells(kSplitCol, row).isEmpty();
    UndoStep step(StepText("Change the divorce mark of «%*» and «%*»", {view_.Person.Person_Id, mate}),
                  view_.Person.Person_Id);
    if (!SetMateSplit(view_.Person.Person_Id, view_.GenderCode, mate, split))
        return;
    gMates_->SetCells(kSplitCol, row, split ? QStringLiteral("1") : QStringLiteral("0"));
    emit RelationsChanged(view_.Person.Person_Id);
}

void TframMateChild::btMarriageClick() {
    const QString person = view_.Person.Person_Id;
    const QString mate = CurrentMateId();
    if (person.isEmpty() || mate.isEmpty())
        return;
    const bool man = view_.GenderCode == u"m";
    const QString husband = man ? person : mate, wife = man ? mate : person;
    TMarriageFacts facts;
    if (!ReadMarriageFacts(husband, wife, facts))
        return;
    if (!marriageDialog_)
        marriageDialog_ = new TfrmMarriage(this);
    marriageDialog_->Edit(facts, GetLineageName(husband), GetLineageName(wife));
    if (marriageDialog_->exec() != QDialog::Accepted)
        return;
    const TMarriageFacts edited = marriageDialog_->Result();
    if (edited == facts)
        return;
    const int row = gMates_->Row();
    {
        // A divorce date or place says the marriage ended.
        UndoStep step(StepText("Edit the marriage of «%*» and «%*»", {husband, wife}), person);
        if (!WriteMarriageFacts(husband, wife, edited))
            return;
        if (!IsEmptyDate(edited.Divorced) || !edited.DivorcePlace.isEmpty())
            SetMarriageSplit(husband, wife, true);
    }
    FillMates();
    gMates_->SetCurrentCell(kNameCol, row);
    emit RelationsChanged(person);
}

void TframMateChild::btDeleteMateClick() {
    const int row = gMates_->Row();
    const QString person = view_.Person.Person_Id;
    const QString mate = CurrentMateId();
    if (person.isEmpty() || mate.isEmpty())
        return;
    const QString name = gMates_->Cells(kNameCol, row);
    if (MsgYesNo(FillPattern(Tr("Remove marriage relationship with | %* ?"), {name}),
                 Tr("Remove marriage relationship"), IDNO) != IDYES)
        return;
    // The marriage and, if the user agrees, its children's link to the mate are one step.
    UndoStep step(StepText("Remove the marriage of «%*» and «%*»", {person, mate}), person);
    if (DeleteMarriage(person, mate) <= 0)
        return;
    // The marriage is gone whatever is answered next, so its row goes too.
    view_.Mates.removeIf([&mate](const TMate& m) { return SameId(m.Person_Id, mate); });
    FillMateGrid(row);
    emit RelationsChanged(person);
    if (CountChildrenWithMate(person, view_.GenderCode, mate) > 0) {
        const QString parentWord = view_.GenderCode == u"m" ? Tr("mother") : Tr("father");
        if (MsgYesNo(FillPattern(Tr("Remove children relationship to the %* ? | %*"), {parentWord, name}),
                     Tr("Confirm"), IDNO) == IDYES &&
            DetachChildrenOfMarriage(person, view_.GenderCode, mate))
            FillChildren();
    }
    MarkMateChildren();
}

// ---------------------------------------------------------------------------------------------------------
// Parents

void TframMateChild::btDeleteFatherClick() {
    TPerson& person = view_.Person;
    if (person.Person_Id.isEmpty() || IsReservedParentId(person.Father_Id))
        return;
    if (IsReservedParentId(person.Mother_Id)) {
        MsgWarning(Tr("Not attached to a mother. Can't delete the relationship."));
        return;
    }
    if (MsgYesNo(Tr("Delete relationship with the father?") + u'|' + txtFather_->text(), Tr("Confirm"),
                 IDNO) != IDYES)
        return;
    UndoStep step(StepText("Detach «%*» from «%*»", {person.Person_Id, person.Father_Id}), person.Person_Id);
    if (RemoveFatherLink(person) == TParentLinkResult::Removed) {
        txtFather_->clear();
        btDeleteFather_->setEnabled(false);
        emit RelationsChanged(person.Person_Id);
    }
}

void TframMateChild::btDeleteMotherClick() {
    TPerson& person = view_.Person;
    if (person.Person_Id.isEmpty() || IsReservedParentId(person.Mother_Id))
        return;
    if (IsReservedParentId(person.Father_Id)) {
        MsgWarning(Tr("Not attached to a father. Can't delete the relationship."));
        return;
    }
    if (MsgYesNo(Tr("Delete relationship with the mother?") + u'|' + txtMother_->text(), Tr("Confirm"),
                 IDNO) != IDYES)
        return;
    UndoStep step(StepText("Detach «%*» from «%*»", {person.Person_Id, person.Mother_Id}), person.Person_Id);
    if (RemoveMotherLink(person) == TParentLinkResult::Removed) {
        txtMother_->clear();
        btDeleteMother_->setEnabled(false);
        emit RelationsChanged(person.Person_Id);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Mouse and drawing

void TframMateChild::Choose(const QString& personId) {
    PersonFollow().Choose(personId, this);
}

QRect TframMateChild::SplitMarkRect(const QRect& cell) const {
    const int size = std::min({kMarkSize, cell.width(), cell.height()});
    return QRect(cell.center().x() - size / 2, cell.center().y() - size / 2, size, size);
}

void TframMateChild::DrawCell(QPainter& painter, const QRect& rect, int col, int row) {
    const QString value = gMates_->Cells(kSplitCol, row);
    if (col != kSplitCol || gMates_->Cells(kIdCol, row).isEmpty() || (value != u"0" && value != u"1"))
        return;
    QStyleOptionButton option;
    option.initFrom(gMates_);
    option.rect = SplitMarkRect(rect);
    option.state = QStyle::State_Enabled | (value == u"1" ? QStyle::State_On : QStyle::State_Off);
    gMates_->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, gMates_);
}

int TframMateChild::ViewportRow(const QPoint& pos) const {
    const int section = gMates_->rowAt(pos.y());
    return section < 0 ? -1 : section + 1;
}

bool TframMateChild::GridMouse(QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        const int row = ViewportRow(pos);
        const QModelIndex index = gMates_->indexAt(pos);
        if (mouse->button() != Qt::LeftButton || row < 1 || gMates_->Cells(kIdCol, row).isEmpty())
            return false;
        const QString mate = gMates_->Cells(kIdCol, row);
        if (index.column() + 1 == kSplitCol && SplitMarkRect(gMates_->visualRect(index)).contains(pos)) {
            gMates_->SetCurrentCell(kSplitCol, row);
            ToggleSplit(row);
            MarkMateChildren();
            return true;
        }
        dragRow_ = row;
        pressPos_ = pos;
        dragging_ = false;
        gMates_->SetCurrentCell(kNameCol, row);
        MarkMateChildren();
        Choose(mate);
        return true;
    }
    if (type == QEvent::MouseMove && dragRow_ >= 1) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->buttons() & Qt::LeftButton))
            return false;
        if (!dragging_ && (mouse->position().toPoint() - pressPos_).manhattanLength() >=
                              QApplication::startDragDistance()) {
            dragging_ = true;
            gMates_->viewport()->setCursor(Qt::ClosedHandCursor);
        }
        return dragging_;
    }
    if (type == QEvent::MouseButtonRelease && dragRow_ >= 1) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int from = dragRow_;
        dragRow_ = -1;
        if (!dragging_)
            return false;
        dragging_ = false;
        gMates_->viewport()->unsetCursor();
        int to = ViewportRow(mouse->position().toPoint());
        const int last = static_cast<int>(MateIds().size());
        if (to < 1)
            to = mouse->position().y() < 0 ? 1 : last;
        MoveMateRow(from, std::min(to, last));
        MarkMateChildren();
        return true;
    }
    if (type == QEvent::MouseMove) {
        // The hand over a divorce mark tells that it can be clicked.
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        const QModelIndex index = gMates_->indexAt(pos);
        const bool overMark = index.isValid() && index.column() + 1 == kSplitCol &&
                              !gMates_->Cells(kIdCol, index.row() + 1).isEmpty() &&
                              SplitMarkRect(gMates_->visualRect(index)).contains(pos);
        if (overMark)
            gMates_->viewport()->setCursor(Qt::PointingHandCursor);
        else
            gMates_->viewport()->unsetCursor();
    }
    return false;
}

bool TframMateChild::ParentBoxEvent(QLineEdit* box, const QString& personId, QEvent* event) {
    if (IsReservedParentId(personId) || box->text().isEmpty())
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        PersonFollow().Point(personId, box);
        break;
    case QEvent::MouseButtonPress:
        Choose(personId);
        break;
    case QEvent::MouseButtonDblClick:
        emit TreeWindowWanted(personId);
        break;
    default:
        break;
    }
    return false;
}

bool TframMateChild::eventFilter(QObject* watched, QEvent* event) {
    bool handled = false;
    RunSafely([&] {
        if (watched == gMates_->viewport()) {
            handled = GridMouse(event);
        } else if (watched == gMates_ && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Space && gMates_->Row() >= 1) {
                ToggleSplit(gMates_->Row());
                handled = true;
            } else if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
                // The children follow the mate the keys move to.
                QMetaObject::invokeMethod(
                    this, [this] { MarkMateChildren(); }, Qt::QueuedConnection);
            }
        } else if (watched == txtFather_) {
            handled = ParentBoxEvent(txtFather_, view_.Person.Father_Id, event);
        } else if (watched == txtMother_) {
            handled = ParentBoxEvent(txtMother_, view_.Person.Mother_Id, event);
        }
    });
    return handled || QWidget::eventFilter(watched, event);
}

} // namespace verdan
