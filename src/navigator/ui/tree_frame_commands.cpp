#include "navigator/tree_model.h"
#include "navigator/ui/outline_view.h"
#include "storage/person_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "tree_frame.h"

#include <QApplication>
#include <QTimer>

namespace verdan {

// ---------------------------------------------------------------------------------------------------------
// Commands

void TframTree::StartEditing(const QModelIndex& index) {
    if (readOnly_ || !index.isValid() || !(model_->flags(index) & Qt::ItemIsEditable))
        return;
    editing_ = index;
    SelectNode(index);
    trv_->edit(index);
}

void TframTree::PlaceNewChild(const QModelIndex& parent, const QString& childId) {
    previous_ = parent;
    const QModelIndex node = model_->AppendPersonNode(parent, childId);
    trv_->expand(parent);
    lastAddedId_ = childId;
    StartEditing(node);
}

void TframTree::AddChildPerson(const QString& gender) {
    const QModelIndex parent = CurrentIndex();
    if (readOnly_ || !parent.isValid() || IsEditing())
        return;
    dataChanged_ = false;
    const TPersonNode* record = model_->Record(parent);
    if (record)
        trv_->expand(parent); // the children as stored now, before the new one joins them
    TMateStatus mates;
    UndoStep step(StepText("Add a child to «%*»", {record ? record->PersonId : QString()}));
    const QString id = verdan::AddChildPerson(record ? record->PersonId : QString(), gender, mates);
    if (id.isEmpty())
        return;
    PlaceNewChild(parent, id);
    if (mates.MateCount > 0) {
        const QPersistentModelIndex node = model_->FindPersonNode(id);
        emit SecondParentWanted(id, mates);
        // The host's window may have taken the focus, which closes the label; the outline takes it back
        // and opens the label again once the closing has run.
        QWidget* focus = QApplication::focusWidget();
        if (!focus || !trv_->viewport()->isAncestorOf(focus)) {
            trv_->setFocus();
            QTimer::singleShot(0, this, [this, node] {
                if (!IsEditing())
                    StartEditing(node);
            });
        }
    }
}

void TframTree::AddGroup() {
    const QString before = lastAddedId_;
    const TPersonNode* record = model_->Record(CurrentIndex());
    // The child and its group mark are one step.
    UndoStep step(StepText("Add a group to «%*»", {record ? record->PersonId : QString()}));
    AddChildPerson(QStringLiteral("m"));
    if (lastAddedId_ != before && verdan::ToggleGroup(lastAddedId_))
        model_->RefreshPersonNode(lastAddedId_);
}

void TframTree::AddChildWithParent(const QString& otherParentId, const QString& gender) {
    const QModelIndex parent = CurrentIndex();
    if (readOnly_ || !parent.isValid())
        return;
    const TPersonNode* record = model_->Record(parent);
    if (record)
        trv_->expand(parent);
    UndoStep step(StepText("Add a child to «%*»", {record ? record->PersonId : QString()}));
    const QString id =
        verdan::AddChildWithParent(record ? record->PersonId : QString(), otherParentId, gender);
    if (!id.isEmpty())
        PlaceNewChild(parent, id);
}

void TframTree::AddFatherToCurrent() {
    const TPersonNode* record = model_->Record(CurrentIndex());
    if (readOnly_ || !record)
        return;
    const QString personId = record->PersonId;
    const QString oldFather = GetFatherId(personId).trimmed();
    UndoStep step(StepText("Add a father to «%*»", {personId}), personId);
    const QString newId = verdan::AddFather(personId);
    if (newId.isEmpty())
        return;
    if (IsReservedParentId(oldFather))
        ReloadTree(true);
    else if (LocatePerson(oldFather))
        RefreshNode(CurrentIndex());
    if (LocatePerson(newId)) {
        RefreshNode(CurrentIndex());
        StartEditing(CurrentIndex());
    }
    lastAddedId_ = newId;
}

void TframTree::EditCurrentName() {
    const QModelIndex index = CurrentIndex();
    if (readOnly_ || !index.isValid())
        return;
    if (model_->IsRoot(index)) {
        emit TreePropertiesWanted();
        return;
    }
    previous_ = index;
    StartEditing(index);
}

void TframTree::OnRenamed(const QString& personId) {
    dataChanged_ = true;
    // The lines under the outline name the selected person with his fathers: any of them may be renamed.
    if (CurrentIndex().isValid())
        ShowSelectionInfo(CurrentIndex());
    emit PersonRenamed(personId);
    // A child just named under the node it was added to gives the selection back to that node, so the
    // next Insert adds a sibling.
    if (editing_.isValid() && previous_.isValid() && editing_.parent() == previous_) {
        const QPersistentModelIndex parent = previous_;
        QTimer::singleShot(0, this, [this, parent] { SelectNode(parent); });
    }
}

void TframTree::RefreshGlobalParentNode() {
    const QModelIndex global = model_->FindPersonNode(model_->GlobalParentId());
    if (!global.isValid())
        return;
    if (trv_->isExpanded(global))
        RefreshNode(global);
    else
        model_->ResetNode(global);
}

void TframTree::DeleteSelected(bool ask) {
    if (readOnly_)
        return;
    QModelIndexList selected = trv_->selectionModel()->selectedRows();
    if (selected.isEmpty() && CurrentIndex().isValid())
        selected << CurrentIndex();
    // Identifiers first: removing a node frees its branch, which may hold other selected nodes.
    QStringList ids;
    QString caption;
    for (const QModelIndex& index : selected) {
        const TPersonNode* record = model_->Record(index);
        if (record && !model_->IsGlobalParent(index)) {
            ids << record->PersonId;
            caption = index.data().toString();
        }
    }
    if (ids.isEmpty())
        return;
    QPersistentModelIndex fallback = selected.front().parent();
    QStringList removed;
    bool moved = false;
    UndoStep step(ids.size() == 1 ? FillPattern(Translate(QStringLiteral("Delete «%*»")), {caption})
                                  : Translate(QStringLiteral("Delete the selected persons")),
                  ids.front());
    if (ids.size() == 1) {
        const TRemoveResult result = RemovePerson(ids.front(), caption, ask);
        if (result.Removed)
            removed << ids.front();
        moved = result.ChildrenMoved;
    } else {
        removed = RemovePersons(ids, ask, &moved);
    }
    if (removed.isEmpty())
        return;
    for (const QString& id : removed)
        model_->RemovePersonNodes(id);
    if (moved)
        RefreshGlobalParentNode();
    SelectNode(fallback.isValid() ? QModelIndex(fallback) : model_->RootIndex());
    dataChanged_ = true;
}

void TframTree::ReloadPersonNodes(const QString& personId) {
    model_->RefreshPersonNode(personId);
    for (const QModelIndex& node : model_->FindPersonNodes(personId)) {
        if (trv_->isExpanded(node))
            RefreshNode(node);
        else
            model_->ResetNode(node);
    }
}

void TframTree::SetCurrentMale() {
    const TPersonNode* record = model_->Record(CurrentIndex());
    if (readOnly_ || !record)
        return;
    const QString id = record->PersonId;
    UndoStep step(StepText("Make «%*» a man", {id}), id);
    if (SetMale(id)) {
        ReloadPersonNodes(id);
        dataChanged_ = true;
    }
}

void TframTree::SetCurrentFemale() {
    const TPersonNode* record = model_->Record(CurrentIndex());
    if (readOnly_ || !record)
        return;
    const QString id = record->PersonId;
    UndoStep step(StepText("Make «%*» a woman", {id}), id);
    if (SetFemale(id)) {
        ReloadPersonNodes(id);
        dataChanged_ = true;
    }
}

void TframTree::ToggleCurrentGroup() {
    const TPersonNode* record = model_->Record(CurrentIndex());
    if (readOnly_ || !record)
        return;
    const QString id = record->PersonId;
    UndoStep step(StepText("Change the group mark of «%*»", {id}), id);
    if (ToggleGroup(id)) {
        model_->RefreshPersonNode(id);
        dataChanged_ = true;
    }
}

void TframTree::ToggleCurrentDead() {
    const TPersonNode* record = model_->Record(CurrentIndex());
    if (readOnly_ || !record)
        return;
    const QString id = record->PersonId;
    UndoStep step(StepText("Change the dead mark of «%*»", {id}), id);
    if (ToggleDead(id)) {
        model_->RefreshPersonNode(id);
        dataChanged_ = true;
    }
}

void TframTree::SetCurrentOrder(int order) {
    const QModelIndex index = CurrentIndex();
    const TPersonNode* record = model_->Record(index);
    if (readOnly_ || !record)
        return;
    UndoStep step(StepText("Change the order of «%*»", {record->PersonId}), record->PersonId);
    if (const TPersonNode* parent = model_->Record(index.parent()))
        SetOrderByKey(record->PersonId, parent->PersonId, parent->Gender, order);
    dataChanged_ = true;
}

void TframTree::MarkAncestors() {
    model_->MarkAncestors(CurrentIndex());
}

void TframTree::UnmarkAncestors() {
    model_->UnmarkAncestors(CurrentIndex());
}

} // namespace verdan
