#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace verdan {

struct TNodeRow;

// The record behind every person node of the outline; the root node has none.
struct TPersonNode {
    QString PersonId;
    QString PersonName; // as loaded, or as last renamed in the outline
    QString FatherId;   // as known when loaded under a parent; empty on the first level
    QString MotherId;
    QString ErrorMark; // "Error" for a child hanging on the wrong parent column
    QString Gender;
    bool IsDead = false;
    bool IsSection = false;
    qint32 MarkColor = -1; // 0x00BBGGRR set by Mark Ancestors; -1 none
    qint32 FontColor = 0;  // colour of the display options; 0 none
    QString Title;
    bool HidePicture = false;
    bool HideName = false;
    bool DenyPublish = false;
};

// Node images, indices into the outline's image list.
enum TNodeImage {
    kImageRoot = 0,
    kImageGroup = 1,
    kImageNoGender = 3,
    kImageMan = 4,
    kImageWoman = 5,
    kImageMarriedMan = 6,
    kImageMarriedWoman = 7,
};

// The ten colours of the outline levels and of the ancestor marks, 0x00BBGGRR.
inline constexpr qint32 kLevelPalette[10] = {0x00FFCCFF, 0x00E4C9C9, 0x00AAFFD5, 0x00C1D6FF, 0x00FFBFDF,
                                             0x00C0DCC0, 0x00F0CAA6, 0x005EAEFF, 0x00DBB7FF, 0x00D0EACC};

// The father-line outline of the open tree as a lazy item model. It holds one root node (captioned with
// the tree name) whose children are the first-level persons; every person node reads its children from the
// tree file when it is fetched and drops them again on ResetNode, so each expansion shows what is stored
// at that moment. Nothing is cached between the file and the outline.
class TTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role {
        PersonIdRole = Qt::UserRole + 1,
        GenderRole,        // the gender as the record holds it
        ImageRole,         // the node image index
        LevelRole,         // 0 for the root node
        IsRootRole,        // true for the root node
        IsGlobalParentRole // true for the outside-the-tree group
    };

    explicit TTreeModel(QObject* parent = nullptr);
    ~TTreeModel() override;

    // Builds the root node and the first level from the open tree; empties the outline first.
    void FillTree();
    void ClearTree();
    // The root node's caption, after the tree was renamed.
    void SetTreeCaption(const QString& caption);
    bool IsEmpty() const { return !top_ || top_->children.empty(); }

    // Read-only outlines refuse renaming.
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool IsReadOnly() const { return readOnly_; }

    // Icons for the image indices; an index without an icon shows none.
    void SetImages(const QList<QIcon>& images) { images_ = images; }

    QModelIndex RootIndex() const;
    bool IsRoot(const QModelIndex& index) const;
    // The record of a person node; nullptr for the root node and invalid indices.
    const TPersonNode* Record(const QModelIndex& index) const;
    int Level(const QModelIndex& index) const;
    bool IsLoaded(const QModelIndex& index) const;
    bool IsGlobalParent(const QModelIndex& index) const;
    QString GlobalParentId() const { return globalParent_; }

    // Replaces the children of a person node by a fresh load; false for the root and invalid indices.
    bool ExpandPersonNode(const QModelIndex& index);
    // Drops the children of a person node, re-reads its display and marks whether it has children.
    void ResetNode(const QModelIndex& index);

    // The first loaded node of the person in outline order, and all of them.
    QModelIndex FindPersonNode(const QString& personId) const;
    QList<QModelIndex> FindPersonNodes(const QString& personId) const;
    // Loads the outline down to the person along its father line (or mother line where the father is
    // missing) and returns its node, or an invalid index when it is shown nowhere.
    QModelIndex LocatePerson(const QString& personId);
    // The chain of ancestors of a person, the person first, that LocatePerson walks from its far end.
    static QStringList AncestorChain(const QString& personId);

    // Re-reads the name, gender, group and dead state and display options of every loaded node of the
    // person.
    void RefreshPersonNode(const QString& personId);
    // Appends a node for a person just written under a loaded parent node and returns it.
    QModelIndex AppendPersonNode(const QModelIndex& parent, const QString& personId);
    // Removes every loaded node of the person (with their children).
    void RemovePersonNodes(const QString& personId);

    // The persons being dragged are drawn faded, as if cut; an empty list ends the look.
    void SetCutPersons(const QStringList& personIds);
    bool IsCut(const QString& personId) const;

    // Marks the node and its ancestors below the root with the next palette colour; Unmark clears them.
    void MarkAncestors(const QModelIndex& index);
    void UnmarkAncestors(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A person node's name was edited in place and written to the tree file.
    void PersonRenamed(const QString& personId);

private:
    struct Node {
        Node* parent = nullptr;
        int row = 0;
        int level = 0;
        std::unique_ptr<TPersonNode> record;
        std::vector<std::unique_ptr<Node>> children;
        int image = kImageRoot;
        int iconId = 0;
        bool mayHaveChildren = false; // the expand mark of a node whose children are not loaded
        bool loaded = false;
        bool hasMarriage = false;
        QString caption; // the root node's caption
    };
    Node* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const Node* node) const;
    std::unique_ptr<Node> MakeNode(Node* parent, const TNodeRow& row) const;
    void ApplyDisplay(Node& node, const TNodeRow& row) const;
    void DropChildren(Node* node);
    void AppendChildren(Node* node, std::vector<std::unique_ptr<Node>> children);
    void CollectNodes(const Node* node, const QString& personId, QList<Node*>& found) const;
    bool ReadRow(const QString& personId, TNodeRow& row) const;
    void NotifyChanged(Node* node);
    bool IsGlobalParentNode(const Node* node) const;
    QVariant Caption(const Node* node) const;
    QVariant Foreground(const Node* node) const;
    QVariant Background(const Node* node) const;
    QVariant Font(const Node* node) const;

    std::unique_ptr<Node> top_; // holds the root node as its only child
    QString globalParent_;
    QList<QIcon> images_;
    bool readOnly_ = false;
    QStringList cut_;
};

} // namespace verdan
