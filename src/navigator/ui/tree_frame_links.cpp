#include "navigator/tree_model.h"
#include "navigator/ui/add_chain_dialog.h"
#include "navigator/ui/add_children_dialog.h"
#include "navigator/ui/add_person_dialog.h"
#include "navigator/ui/link_dialogs.h"
#include "navigator/ui/outline_view.h"
#include "navigator/ui/second_parent_dialog.h"
#include "navigator/ui/tree_dialog.h"
#include "relations/ui/kinship_window.h"
#include "relations/ui/person_path_tree.h"
#include "storage/gender_code.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "tree_frame.h"

#include <QItemSelectionModel>

namespace verdan {

namespace {

// A command run on the choice before the picker closes: when it refuses (after its message) or a question
// is answered No, the picker stays open with the search and the selection as they were.
TPickCheck RunWhilePicking(const std::function<bool(const TPickedPersons&)>& command) {
    return [command](const TPickedPersons& chosen) {
        if (chosen.Ids.isEmpty())
            return TPickVerdict::Refused(Translate(QStringLiteral("No person has been chosen.")));
        return command(chosen) ? TPickVerdict::Allowed() : TPickVerdict::Refused();
    };
}

// The step of giving persons a father or a mother.
QString ParentStepText(const QStringList& ids, const QString& parentId) {
    return ids.size() == 1 ? StepText("Attach «%*» to «%*»", {ids.front(), parentId})
                           : StepText("Attach the selected persons to «%*»", {parentId});
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Family links

// The parents the persons have now, for reloading the nodes they hang under once their links changed.
QStringList TframTree::ParentsOf(const QStringList& ids) {
    QStringList parents;
    for (const QString& id : ids) {
        const TParent p = GetParents(id);
        parents << p.Father_Id.trimmed() << p.Mother_Id.trimmed();
    }
    return parents;
}

QList<TLinkNode> TframTree::SelectedLinkNodes() const {
    QModelIndexList selected = trv_->selectionModel()->selectedRows();
    if (selected.isEmpty() && CurrentIndex().isValid())
        selected << CurrentIndex();
    // The current node first: it is the one the questions name.
    const QModelIndex current = CurrentIndex();
    if (selected.removeOne(current))
        selected.prepend(current);
    QList<TLinkNode> nodes;
    for (const QModelIndex& index : selected) {
        const TPersonNode* record = model_->Record(index);
        if (!record || model_->IsGlobalParent(index))
            continue;
        TLinkNode node{record->PersonId, index.data().toString(), {}, {}, {}};
        if (const TPersonNode* parent = model_->Record(index.parent())) {
            node.ParentId = parent->PersonId;
            node.ParentCaption = index.parent().data().toString();
            node.ParentGender = parent->Gender;
        }
        nodes << node;
    }
    return nodes;
}

void TframTree::ReloadAfterLinks(const QStringList& parentIds, const QStringList& changed) {
    const QString current = CurrentPersonId();
    bool firstLevel = false;
    QStringList done;
    for (const QString& id : parentIds + changed) {
        if (id == u"-1" || id.isEmpty()) {
            firstLevel = firstLevel || id == u"-1";
            continue;
        }
        if (id == u"0" || done.contains(id, Qt::CaseInsensitive))
            continue;
        done << id;
        ReloadPersonNodes(id);
    }
    // A person who left or joined the first level: the outline is read again, at the same person.
    if (firstLevel)
        ReloadTree(true);
    // The person selected before stays selected, with its lines below the outline read afresh.
    if (!current.isEmpty() && !SameId(CurrentPersonId(), current))
        LocatePerson(current);
    if (CurrentIndex().isValid())
        ShowSelectionInfo(CurrentIndex());
    dataChanged_ = true;
    emit LinksChanged(done);
}

void TframTree::RefreshLinkedPersons(const QStringList& personIds) {
    QStringList done;
    for (const QString& id : ParentsOf(personIds) + personIds) {
        if (IsReservedParentId(id) || done.contains(id, Qt::CaseInsensitive))
            continue;
        done << id;
        ReloadPersonNodes(id);
    }
}

void TframTree::AttachExistingMate() {
    const TPersonNode* record = model_->Record(CurrentIndex());
    if (readOnly_ || !record || model_->IsGlobalParent(CurrentIndex()))
        return;
    const QString personId = record->PersonId;
    const bool man = GetGender(personId) != u"f";
    TfrmTreeDialog* picker = TLinkDialogs::For(this).Picker();
    QString mateId;
    picker->Choose(
        man ? Translate(QStringLiteral("Attach Wife")) : Translate(QStringLiteral("Attach Husband")), false,
        man ? QStringLiteral("f") : QStringLiteral("m"), RunWhilePicking([&](const TPickedPersons& chosen) {
            UndoStep step(StepText(man ? "Add a wife to «%*»" : "Add a husband to «%*»", {personId}),
                          personId);
            if (!verdan::AttachExistingMate(personId, chosen))
                return false;
            mateId = chosen.Id;
            return true;
        }));
    if (!mateId.isEmpty())
        ReloadAfterLinks({}, {personId, mateId});
}

void TframTree::AttachNewMate() {
    const TPersonNode* record = model_->Record(CurrentIndex());
    if (readOnly_ || !record || model_->IsGlobalParent(CurrentIndex()))
        return;
    const QString personId = record->PersonId;
    TfrmAddPerson* dialog = TLinkDialogs::For(this).AddPerson();
    if (!dialog->Ask(GetGender(personId) != u"f" ? QStringLiteral("f") : QStringLiteral("m")))
        return;
    const TNewMate mate = dialog->Mate();
    UndoStep step(
        StepText(GetGender(personId) != u"f" ? "Add a wife to «%*»" : "Add a husband to «%*»", {personId}),
        personId);
    const QString mateId = verdan::AttachNewMate(personId, mate);
    if (mateId.isEmpty())
        return;
    ReloadAfterLinks(ParentsOf({mateId}), {personId, mateId});
}

void TframTree::AttachChildren() {
    const QModelIndex index = CurrentIndex();
    const TPersonNode* record = model_->Record(index);
    if (readOnly_ || !record || model_->IsGlobalParent(index))
        return;
    const QString personId = record->PersonId;
    const QString caption = index.data().toString();
    TfrmTreeDialog* picker = TLinkDialogs::For(this).Picker();
    QStringList attached;
    QStringList before;
    picker->Choose(Translate(QStringLiteral("Attach Children")), true, picker->GenderFilter(),
                   RunWhilePicking([&](const TPickedPersons& chosen) {
                       before = ParentsOf(chosen.Ids);
                       UndoStep step(StepText("Attach children to «%*»", {personId}), personId);
                       if (!verdan::AttachChildren(personId, caption, chosen.Ids))
                           return false;
                       attached = chosen.Ids;
                       return true;
                   }));
    if (!attached.isEmpty())
        ReloadAfterLinks(before, QStringList{personId} + attached);
}

void TframTree::AttachFather() {
    AttachParentOfSelection(TParentKind::Father);
}

void TframTree::AttachMother() {
    AttachParentOfSelection(TParentKind::Mother);
}

void TframTree::AttachParentOfSelection(TParentKind kind) {
    const QList<TLinkNode> nodes = SelectedLinkNodes();
    if (readOnly_ || nodes.isEmpty() || !ConfirmOtherParent(kind, nodes.front()))
        return;
    const bool father = kind == TParentKind::Father;
    QStringList ids;
    for (const TLinkNode& node : nodes)
        ids << node.PersonId;
    const QStringList before = ParentsOf(ids);
    TfrmTreeDialog* picker = TLinkDialogs::For(this).Picker();
    QString parentId;
    picker->Choose(Translate(father ? QStringLiteral("Select Father") : QStringLiteral("Select Mother")),
                   false, father ? QStringLiteral("m") : QStringLiteral("f"),
                   RunWhilePicking([&](const TPickedPersons& chosen) {
                       UndoStep step(ParentStepText(ids, chosen.Id), ids.front());
                       if (!AttachParent(kind, nodes, chosen))
                           return false;
                       parentId = chosen.Id;
                       return true;
                   }));
    if (!parentId.isEmpty())
        ReloadAfterLinks(before + QStringList{parentId}, ids);
}

void TframTree::SwitchParents() {
    const TPersonNode* record = model_->Record(CurrentIndex());
    if (readOnly_ || !record)
        return;
    const QString personId = record->PersonId;
    const QStringList before = ParentsOf({personId});
    UndoStep step(StepText("Switch the parents of «%*»", {personId}), personId);
    if (verdan::SwitchParents(personId))
        ReloadAfterLinks(before, {personId});
}

void TframTree::AddChildrenList() {
    const QModelIndex index = CurrentIndex();
    const TPersonNode* record = model_->Record(index);
    if (readOnly_ || !record || model_->IsGlobalParent(index))
        return;
    const QString personId = record->PersonId;
    const bool man = GetGender(personId) == u"m";
    QString name;
    {
        TBusyCursor busy;
        name = GetThreeGenerationName(personId);
    }
    TfrmAddChildren* dialog = TLinkDialogs::For(this).AddChildren();
    if (dialog->Ask(man ? personId : QString(), man ? QString() : personId, name))
        ReloadAfterLinks({}, QStringList{personId} + dialog->CreatedIds());
}

void TframTree::AddChain() {
    const QModelIndex index = CurrentIndex();
    if (readOnly_ || !index.isValid() || model_->IsGlobalParent(index))
        return;
    const TPersonNode* record = model_->Record(index);
    const QString personId = record ? record->PersonId : QStringLiteral("-1");
    TfrmAddChain* dialog = TLinkDialogs::For(this).AddChain();
    if (!dialog->Ask(personId))
        return;
    const QString youngest = dialog->ResultId();
    RefreshNode(index);
    LocatePerson(youngest);
    dataChanged_ = true;
    emit LinksChanged({youngest});
}

void TframTree::ShowLineage() {
    const QString personId = CurrentPersonId();
    if (personId.isEmpty())
        return;
    TfrmPersonPathTree* window = TLinkDialogs::For(this).PathWindow();
    window->ShowPath(personId);
    window->show();
    window->raise();
}

void TframTree::ShowKinship() {
    const QList<TLinkNode> nodes = SelectedLinkNodes();
    if (nodes.isEmpty())
        return;
    TfrmKinship* window = TLinkDialogs::For(this).KinshipWindow();
    if (nodes.size() >= 2)
        window->SetPersons(nodes[0].PersonId, nodes[1].PersonId);
    else
        window->Offer(nodes[0].PersonId);
    window->show();
    window->raise();
}

void TframTree::OfferSecondParent(const QString& childId, const TMateStatus& mates) {
    if (readOnly_ || mates.MateIds.isEmpty())
        return;
    Tfrm_ConfirmSecondParent* dialog = TLinkDialogs::For(this).SecondParent();
    if (!secondParentConnected_) {
        secondParentConnected_ = true;
        connect(dialog, &Tfrm_ConfirmSecondParent::ParentSet, this, [this](const QString& child) {
            if (!model_->FindPersonNode(child).isValid())
                return;
            ReloadAfterLinks(ParentsOf({child}), {child});
        });
    }
    dialog->Offer(childId, mates);
}

} // namespace verdan
