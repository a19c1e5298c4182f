#pragma once

#include "navigator/drop_rules.h"
#include "navigator/family_links.h"
#include "navigator/tree_commands.h"
#include "navigator/visit_history.h"
#include "storage/person_records.h"

#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QWidget>

class QDropEvent;
class QMimeData;
class QBoxLayout;
class QLabel;
class QMenu;
class QAction;
class QToolButton;
class QTreeView;
class QFrame;

namespace verdan {

class TTreeModel;
class TOutlineView;
class TfrmEditNote;
class TfrmPersonOption;
class Tfrm_Apply_To_Descendents;

// The father-line outline of the open tree with its editing commands, keys and popup menu. The hosts
// (main window, tree windows, person picker) open it on a tree and follow the selected person.
class TframTree : public QWidget {
    Q_OBJECT
public:
    explicit TframTree(QWidget* parent = nullptr);
    ~TframTree() override;

    // Shows the open tree; a read-only outline offers no editing.
    void OpenTree(bool readOnly);
    // With load, fills the outline afresh from the open tree; without, empties it.
    void ReloadTree(bool load);
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return readOnly_; }
    // For a tree that takes no changes (opened read-only, or found damaged): the outline offers no editing,
    // and its editing commands stay where they are, greyed.
    void SetTreeWritable(bool writable);
    // Lets the user select several nodes (Ctrl and Shift with the mouse).
    void SetMultiSelect(bool on);

    // Opens the outline down to the person and selects it; false when it is shown nowhere.
    bool LocatePerson(const QString& personId);
    // A search result clicked beside the outline: the lines under the outline name that person (lineage and
    // mother) while the outline keeps its selection.
    void ShowFoundPerson(const QString& personId);
    QModelIndex FindPersonNode(const QString& personId) const;
    // Re-reads the name and display of the person's nodes.
    void RefreshPersonNode(const QString& personId);
    // The root reloads the whole outline; a person node reloads and opens its children.
    void RefreshNode(const QModelIndex& index);
    // Collapses an open node; otherwise opens it with all its descendants, or along the first-child line
    // when it has 500 descendants or more.
    void ToggleExpand();
    // Font size of the outline, kept between 6 and 24 and stored in the options; 0 or less reads it.
    void SetZoom(int size);
    int ZoomSize() const { return zoom_; }
    void SetMirrored(bool on);

    // The selected person; empty for the root node or no selection.
    QString CurrentPersonId() const;
    QString LastAddedId() const { return lastAddedId_; }
    // Set by the commands that change the current person since the last key or add button.
    bool DataChanged() const { return dataChanged_; }

    TTreeModel* Model() const { return model_; }
    QTreeView* View() const;

    // Commands, as the keys, buttons and menu run them on the current node.
    void AddChildPerson(const QString& gender);
    void AddGroup();
    void AddChildWithParent(const QString& otherParentId, const QString& gender);
    void AddFatherToCurrent();
    void EditCurrentName();
    void DeleteSelected(bool ask);
    void SetCurrentMale();
    void SetCurrentFemale();
    void ToggleCurrentGroup();
    void ToggleCurrentDead();
    void SetCurrentOrder(int order);
    void MarkAncestors();
    void UnmarkAncestors();

    // Family links, on the current node or the selection (see family_links.h for what each checks).
    void AttachExistingMate();
    void AttachNewMate();
    void AttachChildren();
    void AttachFather();
    void AttachMother();
    void SwitchParents();
    void AddChildrenList();
    void AddChain();
    // "Show Lineage": the lineage path window at the current person.
    void ShowLineage();
    // The kinship window for the two persons selected, or with the current person offered to it.
    void ShowKinship();
    // What a drag from this outline carries: the selected persons, the current one first (one a line in
    // the person-list format, which the favourites and the data sheet take too); null for no person.
    QMimeData* DragData() const;
    // Links of these persons changed elsewhere (another outline): their nodes and the nodes they hang
    // under are read again.
    void RefreshLinkedPersons(const QStringList& personIds);
    // Navigation and the person's own settings (tree_frame_navigation.cpp).
    void HistoryBack();
    void HistoryForward();
    const TVisitHistory& History() const { return history_; }
    // Copies one of the current person's family names to his father line, as the user chooses.
    void ApplyToDescendants(TFamilyNameKind kind);
    void EditDisplayOptions();
    void EditBookmark();
    // The entries "Move to" and "Separate Tree" offer for the current node: its person (for the second),
    // the father, the mother and the mates, each with its person identifier.
    QList<QPair<QString, QString>> RelativeEntries(bool withPerson) const;
    TfrmEditNote* NoteEditor();
    Tfrm_Apply_To_Descendents* ApplyDialog();
    TfrmPersonOption* PersonOptionDialog();

signals:
    // The selected person changed (empty for the root node).
    void PersonSelected(const QString& personId);
    // A person's name was typed in place and written.
    void PersonRenamed(const QString& personId);
    // A new child's parent has mates: the host offers to pick the other parent.
    void SecondParentWanted(const QString& childId, const verdan::TMateStatus& mates);
    // "Edit Name" on the root node: the host opens the tree properties.
    void TreePropertiesWanted();
    // Ctrl+D on a person: the host opens the date approximation.
    void DateApproximationWanted(const QString& personId);
    // "Family Tree Chart" on a person: the host opens a chart window built around the person.
    void PersonChartWanted(const QString& personId);
    // "Separate Tree" on a relative: the host opens a tree window at the person.
    void TreeWindowWanted(const QString& personId);
    // "Statistics" on a person: the host shows the statistics window, counting through the children of
    // women as mothers for a woman.
    void StatisticsWanted(const QString& personId, bool includeFemale);
    // "Data Card" on a person: the host loads the person into the data card and shows it.
    void DataCardWanted(const QString& personId);
    // The quick info card's button: the host shows the card, or hides it when it is shown.
    void QuickInfoToggleWanted();
    // A family-link command changed these persons' links (marriages, parents, children): the host shows
    // them afresh where it shows them.
    void LinksChanged(const QStringList& personIds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The popup entries that change the tree.
    QList<QAction*> EditingCommands() const;
    void BuildControls();
    void BuildMenu();
    void BuildNavigationControls(QBoxLayout* bar);
    void BuildNavigationMenu();
    void ApplyNavigationCaptions();
    void PrepareNavigationMenu(bool root, bool global);
    void FillRelativeMenu(QMenu* menu, bool withPerson);
    void UpdateHistoryButtons();
    void ApplyCaptions();
    void ApplyMenuCaptions();
    void ShowSelection(const QModelIndex& current);
    void ShowSelectionInfo(const QModelIndex& current);
    void ShowNameLines(const QString& personId);
    void ClearSelectionDisplay();
    bool HandleKey(QKeyEvent* event);
    void ShowPopup(const QPoint& position);
    // Set Father or Set Mother of the selected persons, through the picker.
    void AttachParentOfSelection(TParentKind kind);
    void PreparePopup();
    void PrepareAddMenu();
    void BuildAddSubmenu(QMenu* menu, const QString& gender);
    QModelIndex CurrentIndex() const;
    void SelectNode(const QModelIndex& index);
    void StartEditing(const QModelIndex& index);
    void PlaceNewChild(const QModelIndex& parent, const QString& childId);
    void ReloadPersonNodes(const QString& personId);
    void RefreshGlobalParentNode();
    void ExpandAll(const QModelIndex& index);
    QList<TLinkNode> SelectedLinkNodes() const;
    void ReloadAfterLinks(const QStringList& parentIds, const QStringList& changed);
    void OfferSecondParent(const QString& childId, const TMateStatus& mates);
    static QStringList ParentsOf(const QStringList& personIds);
    QList<QPersistentModelIndex> DraggedNodes() const;
    void StartDrag();
    TDropFacts DropFactsAt(const QDropEvent* event, QModelIndex* targetNode) const;
    bool DragOverAt(const QDropEvent* event);
    void DropAt(QDropEvent* event);
    void ReorderDropped(const QPersistentModelIndex& dragged, const QPersistentModelIndex& target);
    void RelateDropped(const QString& sourceId, const QPersistentModelIndex& target);
    void MoveDropped(const QStringList& ids, const QPersistentModelIndex& target, const QPoint& point);
    void OnRenamed(const QString& personId);
    bool IsEditing() const;

    TTreeModel* model_ = nullptr;
    TOutlineView* trv_ = nullptr;
    QFrame* pnlAdd_ = nullptr;
    QFrame* pnlSetGender_ = nullptr;
    QToolButton* btAddMale_ = nullptr;
    QToolButton* btAddFemale_ = nullptr;
    QToolButton* btAddSection_ = nullptr;
    QToolButton* btSetAsMale_ = nullptr;
    QToolButton* btSetAsFemale_ = nullptr;
    QToolButton* btSetAsSection_ = nullptr;
    QToolButton* btZoomIn_ = nullptr;
    QToolButton* btZoomOut_ = nullptr;
    QToolButton* btRtl_ = nullptr;
    QToolButton* btShowQuickInfo_ = nullptr;
    QLabel* lblName_ = nullptr;
    QLabel* lblMotherName_ = nullptr;
    QLabel* lblLevel_ = nullptr;
    QLabel* imgPerson_ = nullptr;

    QMenu* pmnuTree_ = nullptr;
    QMenu* mnuAdd_ = nullptr;
    QMenu* mnuAddSon_ = nullptr;
    QMenu* mnuAddDaughter_ = nullptr;
    QAction* mnuAddSonNoOther_ = nullptr;
    QAction* mnuAddDaughterNoOther_ = nullptr;
    QAction* mnuAddChildList_ = nullptr;
    QAction* mnuAddLineage_ = nullptr;
    QAction* mnuAddFather_ = nullptr;
    QMenu* mnuSetMate_ = nullptr;
    QAction* mnuSetMateSelect_ = nullptr;
    QAction* mnuSetMateNew_ = nullptr;
    QMenu* mnuSetRelation_ = nullptr;
    QAction* mnuSetFather_ = nullptr;
    QAction* mnuSetMother_ = nullptr;
    QAction* mnuSetChildren_ = nullptr;
    QAction* mnuSwitchParent_ = nullptr;
    QAction* mnuRename_ = nullptr;
    QAction* mnuDelete_ = nullptr;
    QAction* mnuRefresh_ = nullptr;
    QAction* mnuMarkAncestors_ = nullptr;
    QAction* mnuUnMarkAncestors_ = nullptr;
    QAction* mnShowPersonPaths_ = nullptr;
    QAction* mnuShowTraceWindow_ = nullptr;
    QAction* mnuKinship_ = nullptr;
    QAction* mnu_Data_Card_ = nullptr;
    QAction* mnuExpand_ = nullptr;

    QToolButton* btHistPrevious_ = nullptr;
    QToolButton* btHistNext_ = nullptr;
    QMenu* mnuApplyToDescendents_ = nullptr;
    QAction* mnuApplyLastName_ = nullptr;
    QAction* mnuApplyFamilyName_ = nullptr;
    QAction* mnuApplyFamilyNickname_ = nullptr;
    QAction* mnuPersonOption_ = nullptr;
    QMenu* mnuLocate_ = nullptr;
    QMenu* mnuSplitTree_ = nullptr;
    QAction* mnuAddBookmark_ = nullptr;
    QAction* mnuPersonInfo_ = nullptr;
    TfrmEditNote* frmEditNote_ = nullptr;
    Tfrm_Apply_To_Descendents* frmApply_ = nullptr;
    TfrmPersonOption* frmPersonOption_ = nullptr;
    TVisitHistory history_;
    bool navigating_ = false;

    QPersistentModelIndex previous_; // the node before the last change; the parent a child was added under
    QPersistentModelIndex editing_;
    QString shownPersonId_;
    QString lastAddedId_;
    bool readOnly_ = false;
    bool loading_ = false;
    bool dataChanged_ = false;
    bool secondParentConnected_ = false;
    quint64 outlineSerial_ = 0; // tells the drags of this outline from those of others
    int zoom_ = 8;
};

} // namespace verdan
