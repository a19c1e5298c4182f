#include "navigator/tree_model.h"
#include "navigator/ui/apply_descendants_dialog.h"
#include "navigator/ui/edit_note_dialog.h"
#include "navigator/ui/outline_view.h"
#include "navigator/ui/person_option_dialog.h"
#include "storage/gender_code.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/icons.h"
#include "tree_frame.h"

#include <QBoxLayout>
#include <QMenu>
#include <QToolButton>

// The outline's ways of moving between persons (the history of moves, "Move to" and "Separate Tree") and
// the commands that change how a person and his line are shown (display options, family names given to
// the descendants, the bookmark).

namespace verdan {

namespace {

QToolButton* HistoryButton(QWidget* parent, const char16_t* icon, const char* name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(Icon(icon));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

bool RealId(const QString& id) {
    const QString trimmed = id.trimmed();
    return !trimmed.isEmpty() && trimmed != u"0" && trimmed != u"-1";
}

// The action of a menu that comes right after `entry`; null at the end.
QAction* ActionAfter(QMenu* menu, QAction* entry) {
    const QList<QAction*> actions = menu->actions();
    const qsizetype at = actions.indexOf(entry);
    return at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr;
}

} // namespace

void TframTree::BuildNavigationControls(QBoxLayout* bar) {
    btHistPrevious_ = HistoryButton(this, u"go-previous", "btHistPrevious");
    btHistNext_ = HistoryButton(this, u"go-next", "btHistNext");
    bar->addWidget(btHistPrevious_);
    bar->addWidget(btHistNext_);
    connect(btHistPrevious_, &QToolButton::clicked, this, &TframTree::HistoryBack);
    connect(btHistNext_, &QToolButton::clicked, this, &TframTree::HistoryForward);
}

void TframTree::BuildNavigationMenu() {
    QAction* afterDelete = ActionAfter(pmnuTree_, mnuDelete_);
    mnuApplyToDescendents_ = new QMenu(pmnuTree_);
    mnuApplyLastName_ = mnuApplyToDescendents_->addAction(QString());
    mnuApplyFamilyName_ = mnuApplyToDescendents_->addAction(QString());
    mnuApplyFamilyNickname_ = mnuApplyToDescendents_->addAction(QString());
    pmnuTree_->insertMenu(afterDelete, mnuApplyToDescendents_);
    mnuPersonOption_ = new QAction(Icon(u"starred"), QString(), pmnuTree_);
    pmnuTree_->insertAction(afterDelete, mnuPersonOption_);

    QAction* afterRefresh = ActionAfter(pmnuTree_, mnuRefresh_);
    mnuLocate_ = new QMenu(pmnuTree_);
    mnuLocate_->setIcon(Icon(u"go-up"));
    pmnuTree_->insertMenu(afterRefresh, mnuLocate_);
    mnuSplitTree_ = new QMenu(pmnuTree_);
    mnuSplitTree_->setIcon(Icon(u"window-new"));
    pmnuTree_->insertMenu(afterRefresh, mnuSplitTree_);
    mnuAddBookmark_ = new QAction(Icon(u"bookmark-new"), QString(), pmnuTree_);
    pmnuTree_->insertAction(afterRefresh, mnuAddBookmark_);

    mnuPersonInfo_ = new QAction(Icon(u"system-users"), QString(), pmnuTree_);
    pmnuTree_->insertAction(ActionAfter(pmnuTree_, mnu_Data_Card_), mnuPersonInfo_);
    const std::pair<QObject*, const char*> names[] = {
        {mnuApplyToDescendents_, "mnuApplyToDescendents"},
        {mnuApplyLastName_, "mnuApplyLastName"},
        {mnuApplyFamilyName_, "mnuApplyFamilyName"},
        {mnuApplyFamilyNickname_, "mnuApplyFamilyNickname"},
        {mnuPersonOption_, "mnuPersonOption"},
        {mnuLocate_, "mnuLocate"},
        {mnuSplitTree_, "mnuSplitTree"},
        {mnuAddBookmark_, "mnuAddBookmark"},
        {mnuPersonInfo_, "mnuPersonInfo"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));

    connect(mnuApplyLastName_, &QAction::triggered, this,
            [this] { ApplyToDescendants(TFamilyNameKind::LastName); });
    connect(mnuApplyFamilyName_, &QAction::triggered, this,
            [this] { ApplyToDescendants(TFamilyNameKind::FamilyName); });
    connect(mnuApplyFamilyNickname_, &QAction::triggered, this,
            [this] { ApplyToDescendants(TFamilyNameKind::FamilyNickname); });
    connect(mnuPersonOption_, &QAction::triggered, this, &TframTree::EditDisplayOptions);
    connect(mnuAddBookmark_, &QAction::triggered, this, &TframTree::EditBookmark);
    connect(mnuLocate_, &QMenu::aboutToShow, this, [this] { FillRelativeMenu(mnuLocate_, false); });
    connect(mnuSplitTree_, &QMenu::aboutToShow, this, [this] { FillRelativeMenu(mnuSplitTree_, true); });
    connect(mnuPersonInfo_, &QAction::triggered, this, [this] {
        // The root stands for the whole tree.
        const TPersonNode* record = model_->Record(CurrentIndex());
        if (record)
            emit StatisticsWanted(record->PersonId, IsFemaleGender(record->Gender));
        else if (CurrentIndex().isValid())
            emit StatisticsWanted(QStringLiteral("-1"), false);
    });
}

void TframTree::ApplyNavigationCaptions() {
    btHistPrevious_->setToolTip(Translate(QStringLiteral("Go Backward")) + QStringLiteral(" (Alt+←)"));
    btHistNext_->setToolTip(Translate(QStringLiteral("Go Forward")) + QStringLiteral(" (Alt+→)"));
    for (QToolButton* button : {btHistPrevious_, btHistNext_})
        button->setAccessibleName(button->toolTip());
    mnuApplyToDescendents_->setTitle(Translate(QStringLiteral("Apply on Descendants")));
    mnuApplyLastName_->setText(Translate(QStringLiteral("Family Name")));
    mnuApplyFamilyName_->setText(Translate(QStringLiteral("Older Family Name")));
    mnuApplyFamilyNickname_->setText(Translate(QStringLiteral("Family Nickname")));
    mnuPersonOption_->setText(Translate(QStringLiteral("Person Display Options")) + QStringLiteral(".."));
    mnuLocate_->setTitle(Translate(QStringLiteral("Move to")));
    mnuSplitTree_->setTitle(Translate(QStringLiteral("Separate Tree")));
    mnuAddBookmark_->setText(Translate(QStringLiteral("Bookmark")) + QStringLiteral(".."));
    mnuPersonInfo_->setText(Translate(QStringLiteral("Statistics")) + QStringLiteral(".."));
}

void TframTree::PrepareNavigationMenu(bool root, bool global) {
    const bool person = !root && !global && model_->Record(CurrentIndex()) != nullptr;
    for (QAction* entry : {mnuApplyToDescendents_->menuAction(), mnuPersonOption_, mnuLocate_->menuAction(),
                           mnuSplitTree_->menuAction(), mnuAddBookmark_})
        entry->setEnabled(person);
    // The group outside the tree counts its persons too, the root the whole tree.
    mnuPersonInfo_->setEnabled(root || model_->Record(CurrentIndex()) != nullptr);
}

void TframTree::UpdateHistoryButtons() {
    if (!btHistPrevious_)
        return;
    btHistPrevious_->setEnabled(history_.CanGoBack());
    btHistNext_->setEnabled(history_.CanGoForward());
}

void TframTree::HistoryBack() {
    const QString id = history_.Back();
    if (!id.isEmpty()) {
        navigating_ = true;
        LocatePerson(id);
        navigating_ = false;
    }
    UpdateHistoryButtons();
}

void TframTree::HistoryForward() {
    const QString id = history_.Forward();
    if (!id.isEmpty()) {
        navigating_ = true;
        LocatePerson(id);
        navigating_ = false;
    }
    UpdateHistoryButtons();
}

QList<QPair<QString, QString>> TframTree::RelativeEntries(bool withPerson) const {
    QList<QPair<QString, QString>> entries;
    const QModelIndex index = CurrentIndex();
    const TPersonNode* record = model_->Record(index);
    if (!record)
        return entries;
    if (withPerson && RealId(record->PersonId))
        entries << qMakePair(GetLineageName(record->PersonId), record->PersonId);
    // The node's parents as the outline knows them, else as the tree file has them.
    const TParent parents = GetParents(record->PersonId);
    const QString father = RealId(record->FatherId) ? record->FatherId : parents.Father_Id;
    const QString mother = RealId(record->MotherId) ? record->MotherId : parents.Mother_Id;
    if (RealId(father) && !SameId(father, model_->GlobalParentId()))
        entries << qMakePair(Translate(QStringLiteral("Father")) + QStringLiteral(": ") +
                                 GetLineageName(father),
                             father.trimmed());
    if (RealId(mother))
        entries << qMakePair(Translate(QStringLiteral("Mother")) + QStringLiteral(": ") +
                                 GetLineageName(mother),
                             mother.trimmed());
    TextTable mates;
    ListMateIds(record->PersonId, mates);
    for (qsizetype row = 1; row < mates.size(); ++row) {
        const QString mate = mates[row].value(0).trimmed();
        if (!RealId(mate))
            continue;
        const QString caption = IsMaleGender(record->Gender) ? Translate(QStringLiteral("Wife"))
                                                             : Translate(QStringLiteral("Husband"));
        entries << qMakePair(caption + QStringLiteral(": ") + GetLineageName(mate), mate);
    }
    return entries;
}

void TframTree::FillRelativeMenu(QMenu* menu, bool withPerson) {
    menu->clear();
    const QList<QPair<QString, QString>> entries = RelativeEntries(withPerson);
    if (entries.isEmpty()) {
        // The placeholder says there is nobody to go to.
        menu->addAction(Translate(QStringLiteral("No person found")))->setEnabled(false);
        return;
    }
    // Each entry carries its own person: an entry always refers to the list of its own opening.
    for (const auto& entry : entries) {
        const QString id = entry.second;
        menu->addAction(entry.first, this, [this, id, withPerson] {
            if (withPerson)
                emit TreeWindowWanted(id);
            else
                LocatePerson(id);
        });
    }
}

TfrmEditNote* TframTree::NoteEditor() {
    if (!frmEditNote_)
        frmEditNote_ = new TfrmEditNote(this);
    return frmEditNote_;
}

Tfrm_Apply_To_Descendents* TframTree::ApplyDialog() {
    if (!frmApply_)
        frmApply_ = new Tfrm_Apply_To_Descendents(this);
    return frmApply_;
}

TfrmPersonOption* TframTree::PersonOptionDialog() {
    if (!frmPersonOption_)
        frmPersonOption_ = new TfrmPersonOption(this);
    return frmPersonOption_;
}

void TframTree::ApplyToDescendants(TFamilyNameKind kind) {
    const QString id = CurrentPersonId();
    if (id.isEmpty() || readOnly_)
        return;
    bool overwrite = false;
    if (!ApplyDialog()->Ask(kind, overwrite))
        return;
    bool written = false;
    {
        TBusyCursor busy;
        UndoStep step(StepText("Give the family name of «%*» to the descendants", {id}), id);
        written = PropagateFamilyName(id, kind, overwrite);
    }
    if (!written) {
        MsgError(Translate(QStringLiteral("The names could not be written to the descendants.")));
        return;
    }
    // The lineage names below the outline end with the family name.
    ShowSelectionInfo(CurrentIndex());
    dataChanged_ = true;
}

void TframTree::EditDisplayOptions() {
    const QString id = CurrentPersonId();
    if (id.isEmpty() || readOnly_)
        return;
    if (PersonOptionDialog()->Edit(id))
        RefreshPersonNode(id);
}

void TframTree::EditBookmark() {
    const QString id = CurrentPersonId();
    if (!id.isEmpty())
        EditPersonBookmark(*NoteEditor(), id);
}

} // namespace verdan
