#include "navigator/tree_model.h"
#include "navigator/ui/outline_keys.h"
#include "navigator/ui/outline_view.h"
#include "storage/gender_code.h"
#include "storage/person_names.h"
#include "storage/relation_store.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/ui/icons.h"
#include "text/ui/menu_captions.h"
#include "tree_frame.h"

#include <QKeyEvent>
#include <QMenu>

namespace verdan {

namespace {

// The digit of Ctrl+digit, from the main row (Latin or Arabic-Indic digits) or the keypad; -1 for others.
int DigitOf(const QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key - Qt::Key_0;
    if (key >= 0x0660 && key <= 0x0669)
        return key - 0x0660;
    if (key >= 0x06F0 && key <= 0x06F9)
        return key - 0x06F0;
    return -1;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Popup menu

void TframTree::BuildMenu() {
    pmnuTree_ = new QMenu(this);
    mnuAdd_ = pmnuTree_->addMenu(QString());
    mnuAddSon_ = mnuAdd_->addMenu(QString());
    mnuAddDaughter_ = mnuAdd_->addMenu(QString());
    mnuAddSonNoOther_ = mnuAdd_->addAction(QString());
    mnuAddDaughterNoOther_ = mnuAdd_->addAction(QString());
    mnuAddChildList_ = mnuAdd_->addAction(QString());
    mnuAddLineage_ = mnuAdd_->addAction(QString());
    mnuAddFather_ = mnuAdd_->addAction(QString());
    mnuSetMate_ = pmnuTree_->addMenu(QString());
    mnuSetMateSelect_ = mnuSetMate_->addAction(QString());
    mnuSetMateNew_ = mnuSetMate_->addAction(QString());
    mnuSetRelation_ = pmnuTree_->addMenu(QString());
    mnuSetFather_ = mnuSetRelation_->addAction(QString());
    mnuSetMother_ = mnuSetRelation_->addAction(QString());
    mnuSetChildren_ = mnuSetRelation_->addAction(QString());
    mnuRename_ = pmnuTree_->addAction(QString());
    mnuDelete_ = pmnuTree_->addAction(QString());
    mnuSwitchParent_ = pmnuTree_->addAction(QString());
    pmnuTree_->addSeparator();
    mnuRefresh_ = pmnuTree_->addAction(QString());
    mnuMarkAncestors_ = pmnuTree_->addAction(QString());
    mnuUnMarkAncestors_ = pmnuTree_->addAction(QString());
    mnShowPersonPaths_ = pmnuTree_->addAction(QString());
    mnuShowTraceWindow_ = pmnuTree_->addAction(QString());
    mnuKinship_ = pmnuTree_->addAction(QString());
    mnu_Data_Card_ = pmnuTree_->addAction(QString());
    pmnuTree_->addSeparator();
    mnuExpand_ = pmnuTree_->addAction(QString());
    mnuAdd_->setIcon(Icon(u"list-add"));
    mnuAddSon_->setIcon(Icon(u"person-add-male"));
    mnuAddDaughter_->setIcon(Icon(u"person-add-female"));
    mnuAddSonNoOther_->setIcon(Icon(u"person-add-male"));
    mnuAddDaughterNoOther_->setIcon(Icon(u"person-add-female"));
    mnuAddChildList_->setIcon(Icon(u"system-users"));
    mnuSetMate_->setIcon(Icon(u"person-female-married"));
    mnuSetMateNew_->setIcon(Icon(u"contact-new"));
    mnuRename_->setIcon(Icon(u"accessories-text-editor"));
    mnuDelete_->setIcon(Icon(u"edit-delete"));
    mnuRefresh_->setIcon(Icon(u"view-refresh"));
    mnuMarkAncestors_->setIcon(Icon(u"mark-ancestors"));
    mnuUnMarkAncestors_->setIcon(Icon(u"edit-clear"));
    mnuShowTraceWindow_->setIcon(Icon(u"family-chart"));
    mnu_Data_Card_->setIcon(Icon(u"x-office-address-book"));
    mnuExpand_->setIcon(Icon(u"outline-expand"));

    const std::pair<QObject*, const char*> names[] = {
        {mnuAdd_, "mnuAdd"},
        {mnuAddChildList_, "mnu_Add_Child_List"},
        {mnuAddLineage_, "mnu_Add_Lineage"},
        {mnuSetMate_, "mnuSetMate"},
        {mnuSetMateSelect_, "mnuSetMateSelect"},
        {mnuSetMateNew_, "mnuSetMateNew"},
        {mnuSetRelation_, "mnuSetRelation"},
        {mnuSetFather_, "mnuSetFather"},
        {mnuSetMother_, "mnuSetMother"},
        {mnuSetChildren_, "mnuSetChildren"},
        {mnuSwitchParent_, "mnuSwitchParent"},
        {mnShowPersonPaths_, "mnShowPersonPaths"},
        {pmnuTree_, "pmnuTree"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));

    connect(mnuAdd_, &QMenu::aboutToShow, this, &TframTree::PrepareAddMenu);
    connect(mnuAddSon_, &QMenu::aboutToShow, this,
            [this] { BuildAddSubmenu(mnuAddSon_, QStringLiteral("m")); });
    connect(mnuAddDaughter_, &QMenu::aboutToShow, this,
            [this] { BuildAddSubmenu(mnuAddDaughter_, QStringLiteral("f")); });
    connect(mnuAddSonNoOther_, &QAction::triggered, this,
            [this] { AddChildWithParent(QStringLiteral("0"), QStringLiteral("m")); });
    connect(mnuAddDaughterNoOther_, &QAction::triggered, this,
            [this] { AddChildWithParent(QStringLiteral("0"), QStringLiteral("f")); });
    connect(mnuAddChildList_, &QAction::triggered, this, &TframTree::AddChildrenList);
    connect(mnuAddLineage_, &QAction::triggered, this, &TframTree::AddChain);
    connect(mnuAddFather_, &QAction::triggered, this, &TframTree::AddFatherToCurrent);
    connect(mnuSetMateSelect_, &QAction::triggered, this, &TframTree::AttachExistingMate);
    connect(mnuSetMateNew_, &QAction::triggered, this, &TframTree::AttachNewMate);
    connect(mnuSetFather_, &QAction::triggered, this, &TframTree::AttachFather);
    connect(mnuSetMother_, &QAction::triggered, this, &TframTree::AttachMother);
    connect(mnuSetChildren_, &QAction::triggered, this, &TframTree::AttachChildren);
    connect(mnuSwitchParent_, &QAction::triggered, this, &TframTree::SwitchParents);
    connect(mnuRename_, &QAction::triggered, this, &TframTree::EditCurrentName);
    connect(mnuDelete_, &QAction::triggered, this, [this] { DeleteSelected(true); });
    connect(mnuRefresh_, &QAction::triggered, this, [this] { RefreshNode(CurrentIndex()); });
    connect(mnuMarkAncestors_, &QAction::triggered, this, &TframTree::MarkAncestors);
    connect(mnuUnMarkAncestors_, &QAction::triggered, this, &TframTree::UnmarkAncestors);
    connect(mnShowPersonPaths_, &QAction::triggered, this, &TframTree::ShowLineage);
    connect(mnuKinship_, &QAction::triggered, this, &TframTree::ShowKinship);
    connect(mnuShowTraceWindow_, &QAction::triggered, this, [this] {
        if (!CurrentPersonId().isEmpty())
            emit PersonChartWanted(CurrentPersonId());
    });
    connect(mnu_Data_Card_, &QAction::triggered, this, [this] {
        if (!CurrentPersonId().isEmpty())
            emit DataCardWanted(CurrentPersonId());
    });
    connect(mnuExpand_, &QAction::triggered, this, &TframTree::ToggleExpand);
    BuildNavigationMenu();
}

void TframTree::ApplyMenuCaptions() {
    mnuAdd_->setTitle(Translate(QStringLiteral("Add")));
    mnuAddSon_->setTitle(Translate(QStringLiteral("Add Son")));
    mnuAddDaughter_->setTitle(Translate(QStringLiteral("Add Daughter")));
    mnuAddSonNoOther_->setText(CaptionWithKey(
        TranslateContext(QStringLiteral("Son"), QStringLiteral("add_menu")), TOutlineKey::AddSon));
    mnuAddDaughterNoOther_->setText(CaptionWithKey(
        TranslateContext(QStringLiteral("Daughter"), QStringLiteral("add_menu")), TOutlineKey::AddDaughter));
    mnuAddChildList_->setText(Translate(QStringLiteral("Add Child List")) + QStringLiteral(".."));
    mnuAddLineage_->setText(Translate(QStringLiteral("Add Lineage")) + QStringLiteral(".."));
    mnuAddFather_->setText(Translate(QStringLiteral("father")));
    mnuSetMate_->setTitle(Translate(QStringLiteral("Add Spouse")));
    mnuSetMateSelect_->setText(Translate(QStringLiteral("Select")) + QStringLiteral(".."));
    mnuSetMateNew_->setText(
        CaptionWithKey(Translate(QStringLiteral("New")) + QStringLiteral(".."), TOutlineKey::AddMate));
    mnuSetRelation_->setTitle(Translate(QStringLiteral("Relationships")));
    mnuSetFather_->setText(Translate(QStringLiteral("Attach Father")) + QStringLiteral(".."));
    mnuSetMother_->setText(Translate(QStringLiteral("Attach Mother")) + QStringLiteral(".."));
    mnuSetChildren_->setText(Translate(QStringLiteral("Attach Children")) + QStringLiteral(".."));
    mnuSwitchParent_->setText(Translate(QStringLiteral("Switch Parents")));
    mnuRename_->setText(CaptionWithKey(Translate(QStringLiteral("Edit Name")), TOutlineKey::EditName));
    mnuDelete_->setText(
        CaptionWithKey(Translate(QStringLiteral("Delete")) + QStringLiteral(".."), TOutlineKey::Delete));
    mnuRefresh_->setText(Translate(QStringLiteral("Refresh")));
    mnuMarkAncestors_->setText(Translate(QStringLiteral("Mark Ancestors")));
    mnuUnMarkAncestors_->setText(Translate(QStringLiteral("Unmark Ancestors")));
    mnShowPersonPaths_->setText(Translate(QStringLiteral("Show Lineage")));
    mnuShowTraceWindow_->setText(Translate(QStringLiteral("Family Tree Chart")));
    mnuKinship_->setText(Translate(QStringLiteral("Kinship")) + QStringLiteral(".."));
    mnu_Data_Card_->setText(Translate(QStringLiteral("Data Card")));
    mnuExpand_->setText(CaptionWithKey(Translate(QStringLiteral("Expand")), TOutlineKey::Expand));
}

// ---------------------------------------------------------------------------------------------------------
// Keys and popup menu

bool TframTree::eventFilter(QObject* watched, QEvent* event) {
    if (watched == trv_ && event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool TframTree::HandleKey(QKeyEvent* event) {
    if (IsEditing())
        return false;
    const auto is = [event](TOutlineKey command) {
        return IsOutlineKey(command, event);
    };
    if (is(TOutlineKey::Expand)) {
        ToggleExpand();
        return true;
    }
    if (is(TOutlineKey::Back) || is(TOutlineKey::Forward)) {
        if (is(TOutlineKey::Back))
            HistoryBack();
        else
            HistoryForward();
        return true;
    }
    if (readOnly_)
        return false;
    dataChanged_ = false;
    if (is(TOutlineKey::AddSon) || is(TOutlineKey::AddDaughter)) {
        AddChildPerson(is(TOutlineKey::AddDaughter) ? QStringLiteral("f") : QStringLiteral("m"));
        return true;
    }
    if (is(TOutlineKey::ZoomIn) || is(TOutlineKey::ZoomOut)) {
        SetZoom(zoom_ + (is(TOutlineKey::ZoomIn) ? 1 : -1));
        return true;
    }
    const TPersonNode* record = model_->Record(CurrentIndex());
    if (!record)
        return false;
    if (is(TOutlineKey::Delete) || is(TOutlineKey::DeleteWithoutAsking)) {
        DeleteSelected(is(TOutlineKey::Delete));
        return true;
    }
    if (is(TOutlineKey::EditName)) {
        EditCurrentName();
        return true;
    }
    if (is(TOutlineKey::ToggleGender)) {
        if (record->Gender.toLower() == u"m")
            SetCurrentFemale();
        else
            SetCurrentMale();
        return true;
    }
    if (is(TOutlineKey::SetMale)) {
        SetCurrentMale();
        return true;
    }
    if (is(TOutlineKey::AddMate)) {
        AttachNewMate();
        return true;
    }
    if (is(TOutlineKey::ToggleDead)) {
        ToggleCurrentDead();
        return true;
    }
    if (is(TOutlineKey::DateEstimate)) {
        emit DateApproximationWanted(record->PersonId);
        dataChanged_ = true;
        return true;
    }
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    const int digit = DigitOf(event);
    if (digit >= 1) {
        SetCurrentOrder(digit);
        return true;
    }
    return digit == 0;
}

void TframTree::ShowPopup(const QPoint& position) {
    const QModelIndex index = trv_->indexAt(position);
    if (index.isValid())
        SelectNode(index);
    if (!CurrentIndex().isValid())
        return;
    PreparePopup();
    pmnuTree_->popup(trv_->viewport()->mapToGlobal(position));
}

void TframTree::PreparePopup() {
    const QModelIndex index = CurrentIndex();
    const QList<QAction*> entries{mnuAdd_->menuAction(),
                                  mnuSetMate_->menuAction(),
                                  mnuSetRelation_->menuAction(),
                                  mnuRename_,
                                  mnuDelete_,
                                  mnuRefresh_,
                                  mnuMarkAncestors_,
                                  mnuUnMarkAncestors_,
                                  mnShowPersonPaths_,
                                  mnuShowTraceWindow_,
                                  mnuKinship_,
                                  mnu_Data_Card_,
                                  mnuExpand_};
    for (QAction* entry : entries)
        entry->setEnabled(true);
    const TPersonNode* record = model_->Record(index);
    const bool root = model_->IsRoot(index);
    const bool global = model_->IsGlobalParent(index);
    if (root || global) {
        for (QAction* entry : entries)
            entry->setEnabled(false);
        mnuAdd_->menuAction()->setEnabled(root);
        // The outside-the-tree group is a person row too: its card can be looked at.
        mnu_Data_Card_->setEnabled(global);
        mnuRefresh_->setEnabled(true);
        mnuExpand_->setEnabled(true);
    }
    // Only a child hanging on the wrong parent column has parents to switch.
    const bool misattached = record && !global && record->ErrorMark == u"Error";
    mnuSwitchParent_->setVisible(misattached && !readOnly_);
    mnuSwitchParent_->setEnabled(misattached);
    if (readOnly_)
        for (QAction* entry : EditingCommands())
            entry->setEnabled(false);
    if (record) {
        const QString gender = NormaliseGender(record->Gender);
        if (gender == u"m")
            mnuSetMate_->setTitle(Translate(QStringLiteral("Attach Wife")));
        else if (gender == u"f")
            mnuSetMate_->setTitle(Translate(QStringLiteral("Attach Husband")));
    }
    PrepareNavigationMenu(root, global);
    GiveArabicMnemonics(pmnuTree_);
}

void TframTree::PrepareAddMenu() {
    const TPersonNode* record = model_->Record(CurrentIndex());
    bool hasMates = !record;
    if (record) {
        TextTable mates;
        ListMateIds(record->PersonId, mates);
        hasMates = mates.size() > 1;
    }
    mnuAddSon_->menuAction()->setVisible(hasMates);
    mnuAddDaughter_->menuAction()->setVisible(hasMates);
    mnuAddSonNoOther_->setVisible(!hasMates);
    mnuAddDaughterNoOther_->setVisible(!hasMates);
    mnuAddFather_->setEnabled(record != nullptr);
    mnuAddChildList_->setEnabled(record != nullptr);
}

void TframTree::BuildAddSubmenu(QMenu* menu, const QString& gender) {
    menu->clear();
    const TPersonNode* record = model_->Record(CurrentIndex());
    const bool man = record && record->Gender.toLower() == u"m";
    const QString label = man ? Translate(QStringLiteral("Mother")) : Translate(QStringLiteral("Father"));
    const QString later = man ? TranslateFeminine(QStringLiteral("To be set later"))
                              : Translate(QStringLiteral("To be set later"));
    menu->addAction(label + QStringLiteral(": ") + later, this,
                    [this, gender] { AddChildWithParent(QStringLiteral("0"), gender); });
    if (!record)
        return;
    TextTable mates;
    ListMateIds(record->PersonId, mates);
    for (qsizetype row = 1; row < mates.size(); ++row) {
        const QString mate = mates[row].value(0);
        if (mate.trimmed().isEmpty() || mate == u"0")
            continue;
        menu->addAction(label + QStringLiteral(": ") + Isolate(GetLineageName(mate)), this,
                        [this, mate, gender] { AddChildWithParent(mate, gender); });
    }
}

} // namespace verdan
