#include "datasheet/ui/data_sheet.h"
#include "navigator/drop_rules.h"
#include "navigator/tree_model.h"
#include "navigator/ui/link_dialogs.h"
#include "navigator/ui/outline_view.h"
#include "relations/ui/relation_option_dialog.h"
#include "storage/gender_code.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "tree_frame.h"

#include <QDrag>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QPointer>

namespace verdan {

namespace {

// Names the outline a drag started in, so that a drop knows whether it stays in that outline.
constexpr char kOutlineFormat[] = "application/x-verdan-outline";

QString PersonIdsFormat() {
    return QString::fromLatin1(TframDataSheet::kPersonIdsMimeType);
}

// The persons a drag carries, the dragged node's person first.
QStringList DraggedIds(const QMimeData* mime) {
    QStringList ids;
    if (!mime || !mime->hasFormat(PersonIdsFormat()))
        return ids;
    for (const QString& line : QString::fromUtf8(mime->data(PersonIdsFormat())).split(u'\n')) {
        if (!line.trimmed().isEmpty())
            ids << line.trimmed();
    }
    return ids;
}

// The name a question shows for a person: the person, the father and the grandfather; empty for the root.
QString PathOf(const QString& id) {
    return IsReservedParentId(id) ? QString() : GetThreeGenerationName(id);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Drag and drop

QList<QPersistentModelIndex> TframTree::DraggedNodes() const {
    // The current node first, then the other selected persons; never the root or the outside-the-tree
    // group.
    QList<QPersistentModelIndex> nodes;
    const QModelIndex current = CurrentIndex();
    if (!model_->Record(current) || model_->IsGlobalParent(current))
        return nodes;
    nodes << current;
    for (const QModelIndex& index : trv_->selectionModel()->selectedRows()) {
        if (index != current && model_->Record(index) && !model_->IsGlobalParent(index))
            nodes << index;
    }
    return nodes;
}

QMimeData* TframTree::DragData() const {
    QStringList ids;
    for (const QPersistentModelIndex& node : DraggedNodes()) {
        const QString id = model_->Record(node)->PersonId;
        if (!ids.contains(id, Qt::CaseInsensitive))
            ids << id;
    }
    if (ids.isEmpty())
        return nullptr;
    auto* mime = new QMimeData;
    mime->setData(PersonIdsFormat(), ids.join(u'\n').toUtf8());
    mime->setData(QString::fromLatin1(kOutlineFormat), QByteArray::number(outlineSerial_));
    mime->setText(ids.join(u'\n'));
    return mime;
}

void TframTree::StartDrag() {
    QMimeData* mime = DragData();
    if (!mime)
        return;
    model_->SetCutPersons(DraggedIds(mime));
    const QPointer<TTreeModel> model = model_;
    auto* drag = new QDrag(trv_);
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction | Qt::CopyAction | Qt::LinkAction, Qt::MoveAction);
    if (model)
        model->SetCutPersons({});
}

TDropFacts TframTree::DropFactsAt(const QDropEvent* event, QModelIndex* targetNode) const {
    TDropFacts facts;
    const QModelIndex target = trv_->indexAt(event->position().toPoint());
    if (targetNode)
        *targetNode = target;
    const QStringList ids = DraggedIds(event->mimeData());
    const QString global = model_->GlobalParentId();
    facts.SameOutline =
        event->mimeData()->data(QString::fromLatin1(kOutlineFormat)) == QByteArray::number(outlineSerial_);
    facts.ReadOnly = readOnly_;
    facts.Shift = facts.SameOutline && (trv_->PressModifiers() & Qt::ShiftModifier);
    facts.Ctrl = facts.SameOutline && (trv_->PressModifiers() & Qt::ControlModifier);
    facts.DraggedIsGlobal = ids.isEmpty() || (!global.isEmpty() && ids.contains(global, Qt::CaseInsensitive));
    facts.TargetExists = target.isValid();
    if (!target.isValid())
        return facts;
    facts.TargetIsRoot = model_->IsRoot(target);
    facts.TargetIsGlobal = model_->IsGlobalParent(target);
    const TPersonNode* record = model_->Record(target);
    facts.TargetIsDragged = record && ids.contains(record->PersonId, Qt::CaseInsensitive);
    if (facts.SameOutline) {
        // Reordering moves the current node alone; a Shift press may have selected a range besides it.
        QList<QPersistentModelIndex> dragged = DraggedNodes();
        if (facts.Shift)
            dragged = dragged.mid(0, 1);
        for (const QPersistentModelIndex& node : dragged) {
            if (!node.isValid())
                continue;
            facts.TargetIsDraggedParent = facts.TargetIsDraggedParent || node.parent() == target;
            for (QModelIndex up = target.parent(); up.isValid() && !facts.TargetInsideDragged;
                 up = up.parent())
                facts.TargetInsideDragged = up == node;
        }
        facts.SameParent = !dragged.isEmpty() && dragged.front().parent() == target.parent();
    }
    return facts;
}

bool TframTree::DragOverAt(const QDropEvent* event) {
    QModelIndex target;
    const bool accepted = AcceptsDrop(DropFactsAt(event, &target));
    trv_->SetDropTarget(accepted ? target : QModelIndex());
    return accepted;
}

void TframTree::DropAt(QDropEvent* event) {
    QModelIndex target;
    const TDropFacts facts = DropFactsAt(event, &target);
    const TDropMode mode = DropModeOf(facts);
    const QStringList ids = DraggedIds(event->mimeData());
    if (mode == TDropMode::None || ids.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    // The dialogs open after the drop has been delivered, so that the drag ends first.
    const QPersistentModelIndex node = target;
    const QPoint point = event->position().toPoint();
    const QList<QPersistentModelIndex> dragged =
        facts.SameOutline ? DraggedNodes() : QList<QPersistentModelIndex>();
    QMetaObject::invokeMethod(
        this,
        [this, mode, ids, node, point, dragged] {
            if (!node.isValid())
                return;
            dataChanged_ = false;
            switch (mode) {
            case TDropMode::Reorder:
                ReorderDropped(dragged.value(0), node);
                break;
            case TDropMode::Relation:
                RelateDropped(ids.front(), node);
                break;
            case TDropMode::Move:
                MoveDropped(ids, node, point);
                break;
            case TDropMode::None:
                break;
            }
        },
        Qt::QueuedConnection);
}

void TframTree::ReorderDropped(const QPersistentModelIndex& dragged, const QPersistentModelIndex& target) {
    const TPersonNode* draggedRecord = model_->Record(dragged);
    const TPersonNode* targetRecord = model_->Record(target);
    if (!draggedRecord || !targetRecord || dragged.parent() != target.parent())
        return;
    const QString draggedId = draggedRecord->PersonId;
    const QModelIndex parent = dragged.parent();
    const TPersonNode* parentRecord = model_->Record(parent);
    QStringList children;
    for (int row = 0; row < model_->rowCount(parent); ++row) {
        const TPersonNode* child = model_->Record(model_->index(row, 0, parent));
        if (child && child->ErrorMark.isEmpty())
            children << child->PersonId;
    }
    UndoStep step(StepText("Change the order of «%*»", {draggedId}), draggedId);
    if (!ReorderChildren(parentRecord ? parentRecord->PersonId : QStringLiteral("-1"), children, draggedId,
                         targetRecord->PersonId))
        return;
    // The children come back in their new order.
    RefreshNode(parent);
    LocatePerson(draggedId);
    dataChanged_ = true;
    emit LinksChanged({draggedId});
}

void TframTree::RelateDropped(const QString& sourceId, const QPersistentModelIndex& target) {
    const TPersonNode* record = model_->Record(target);
    if (!record || model_->IsGlobalParent(target) || SameId(record->PersonId, sourceId))
        return;
    const QString targetId = record->PersonId;
    if (AreSiblings(sourceId, targetId)) {
        MsgWarning(Translate(QStringLiteral("Can't set other relationship. Have same parent.")));
        return;
    }
    model_->SetCutPersons({});
    SelectNode(target);
    const QStringList before = ParentsOf({sourceId, targetId});
    if (TLinkDialogs::For(this).RelationDialog()->Ask(sourceId, targetId))
        ReloadAfterLinks(before + QStringList{sourceId, targetId}, {sourceId, targetId});
}

void TframTree::MoveDropped(const QStringList& ids, const QPersistentModelIndex& target,
                            const QPoint& point) {
    if (readOnly_ || !target.isValid())
        return;
    const TPersonNode* record = model_->Record(target);
    const QString targetId = record ? record->PersonId : QStringLiteral("-1");
    const QString draggedId = ids.front();
    const QString confirm = Translate(QStringLiteral("Please confirm")) + u'.';
    const QPoint near = trv_->viewport()->mapToGlobal(point + QPoint(-20, 15));
    const QString caption = Translate(QStringLiteral("Set Relationship"));
    // A person dropped into his own branch is told why at once, before any question.
    for (const QString& id : ids) {
        if (RefusesParentCycle(id, targetId))
            return;
    }
    auto ask = [&](const QString& text) {
        SetMsgBoxPosition(near);
        // A move rewrites the persons' parents and starts on Cancel.
        return MsgOkCancel(text, caption, IDCANCEL) == IDOK;
    };
    if (record && MarriageExists(draggedId, targetId) &&
        !ask(FillPattern(Translate(QStringLiteral("Mariiage relationship between %* and %* %*")),
                         {PathOf(draggedId), QStringLiteral("\r"), PathOf(targetId) + u'|' + confirm})))
        return;
    const QString word = GetGender(draggedId) != u"f" ? QStringLiteral("son") : QStringLiteral("daughter");
    const QString text =
        ids.size() == 1
            ? FillPattern(Translate(QStringLiteral("Set %* %* as ") + word + QStringLiteral(" of %* %*")),
                          {PathOf(draggedId), QStringLiteral("\r"), QStringLiteral("\r"),
                           PathOf(targetId) + u'|' + confirm})
            : Translate(QStringLiteral("Set this group as sons of")) + u'\r' + PathOf(targetId) + u'|' +
                  confirm;
    if (!ask(text))
        return;

    const QStringList before = ParentsOf(ids);
    const bool firstLevel = !record;
    UndoStep step(ids.size() == 1
                      ? (firstLevel ? StepText("Move «%*» to the first level", {draggedId})
                                    : StepText("Move «%*» under «%*»", {draggedId, targetId}))
                      : (firstLevel ? StepText("Move the selected persons to the first level")
                                    : StepText("Move the selected persons under «%*»", {targetId})),
                  draggedId);
    const QStringList moved = MoveDroppedPersons(ids, targetId);
    if (moved.isEmpty())
        return;
    ReloadAfterLinks(before + QStringList{targetId}, moved);
    LocatePerson(moved.front());
}

} // namespace verdan
