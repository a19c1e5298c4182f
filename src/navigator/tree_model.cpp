#include "tree_model.h"

#include "navigator/tree_commands.h"
#include "reports/grid_markup.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "storage/undo_log.h"
#include "text/text_utils.h"
#include "text/user_options.h"

#include <QFont>
#include <optional>

namespace verdan {

namespace {

// One statement reads a node's person row, display options and the two marks the outline needs (children
// and marriage), so an expansion costs one statement however many children it shows.
const QString kSelect = QStringLiteral(
    "SELECT p.person_id, p.person_name, p.gender, p.is_dead, p.is_section, p.father_id, p.mother_id, "
    "o.icon_id, o.color, o.title, o.hide_picture, o.hide_name, o.deny_publish, "
    "p.person_id NOT IN ('', '0', '-1') AND "
    "(EXISTS (SELECT 1 FROM ftPerson c WHERE c.father_id = p.person_id) OR "
    "EXISTS (SELECT 1 FROM ftPerson c WHERE c.mother_id = p.person_id)), "
    "EXISTS (SELECT 1 FROM ftRelation r WHERE r.person_id_1 = p.person_id AND r.relation_type = 0) OR "
    "EXISTS (SELECT 1 FROM ftRelation r WHERE r.person_id_2 = p.person_id AND r.relation_type = 0) "
    "FROM ftPerson p LEFT JOIN ftPersonOption o ON o.person_id = p.person_id ");

const QString kFirstLevel =
    kSelect + QStringLiteral("WHERE p.father_id = '-1' OR p.father_id = '' OR p.father_id IS NULL "
                             "ORDER BY p.order_by_father, p.order_by_mother, p.display_order, p.oid");
const QString kByFather =
    kSelect + QStringLiteral("WHERE p.father_id = ? ORDER BY p.order_by_father, p.display_order, p.oid");
const QString kByMother =
    kSelect + QStringLiteral("WHERE p.mother_id = ? ORDER BY p.order_by_mother, p.display_order, p.oid");
// Children that hang on the column that does not fit the parent's gender.
const QString kMisattachedOfMan =
    kSelect + QStringLiteral("WHERE p.mother_id = ?1 AND ifnull(p.father_id, '') "
                             "<> ?1 ORDER BY p.order_by_father, p.oid");
const QString kMisattachedOfWoman =
    kSelect + QStringLiteral("WHERE p.father_id = ?1 AND ifnull(p.mother_id, '') "
                             "<> ?1 ORDER BY p.order_by_mother, p.oid");
const QString kOfGlobalParent =
    kSelect + QStringLiteral("WHERE p.father_id = ?1 OR p.mother_id = ?1 "
                             "ORDER BY p.order_by_father, p.display_order, p.oid");
const QString kOnePerson = kSelect + QStringLiteral("WHERE p.person_id = ? LIMIT 1");

const QString kErrorMark = QStringLiteral("Error");

int markIndex = 0; // the palette entry the next Mark Ancestors uses

bool SameText(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool IsFemale(const QString& gender) {
    return gender.toLower() == u"f";
}

// A parent value that names a person.
bool NamesParent(const QString& id) {
    return !id.isEmpty() && id != u"0" && id != u"-1";
}

} // namespace

struct TNodeRow {
    QString personId;
    QString name;
    QString gender;
    bool isDead = false;
    bool isSection = false;
    QString fatherId;
    QString motherId;
    int iconId = 0;
    qint32 color = 0;
    QString title;
    bool hidePicture = false;
    bool hideName = false;
    bool denyPublish = false;
    bool hasChildren = false;
    bool hasMarriage = false;

    static TNodeRow From(const Query& q) {
        TNodeRow r;
        r.personId = q.Text(0);
        r.name = q.Text(1);
        r.gender = q.Text(2);
        r.isDead = q.Bool(3);
        r.isSection = q.Bool(4);
        r.fatherId = q.Text(5);
        r.motherId = q.Text(6);
        r.iconId = static_cast<int>(q.Int(7));
        r.color = static_cast<qint32>(q.Int(8));
        r.title = q.Text(9);
        r.hidePicture = q.Bool(10);
        r.hideName = q.Bool(11);
        r.denyPublish = q.Bool(12);
        r.hasChildren = q.Bool(13);
        r.hasMarriage = q.Bool(14);
        return r;
    }
};

TTreeModel::TTreeModel(QObject* parent) : QAbstractItemModel(parent), top_(std::make_unique<Node>()) {
}

TTreeModel::~TTreeModel() = default;

// ---------------------------------------------------------------------------------------------------------
// Loading

std::unique_ptr<TTreeModel::Node> TTreeModel::MakeNode(Node* parent, const TNodeRow& row) const {
    auto node = std::make_unique<Node>();
    node->parent = parent;
    node->level = parent->level + 1;
    node->record = std::make_unique<TPersonNode>();
    node->record->PersonId = row.personId;
    node->image = kImageNoGender;
    ApplyDisplay(*node, row);
    const TPersonNode* parentRecord = parent->record.get();
    if (parentRecord) {
        if (IsFemale(parentRecord->Gender)) {
            node->record->FatherId = row.fatherId;
            node->record->MotherId = parentRecord->PersonId;
        } else {
            node->record->FatherId = parentRecord->PersonId;
            node->record->MotherId = row.motherId;
        }
    }
    return node;
}

// The record fields that come from the person row and its display options, and the image they choose.
void TTreeModel::ApplyDisplay(Node& node, const TNodeRow& row) const {
    TPersonNode& record = *node.record;
    record.PersonName = row.name;
    record.Gender = row.gender;
    if (record.Gender == QStringLiteral("ذكر"))
        record.Gender = QStringLiteral("m");
    else if (record.Gender == QStringLiteral("أنثى"))
        record.Gender = QStringLiteral("f");
    record.IsDead = row.isDead;
    record.IsSection = row.isSection;
    record.FontColor = row.color;
    record.Title = row.title;
    record.HidePicture = row.hidePicture;
    record.HideName = row.hideName;
    record.DenyPublish = row.denyPublish;
    node.iconId = row.iconId;
    node.hasMarriage = row.hasMarriage;
    node.mayHaveChildren = row.hasChildren;

    const QString gender = record.Gender.toLower();
    if (row.iconId != 0)
        node.image = row.iconId;
    else if (record.IsSection)
        node.image = kImageGroup;
    else if (gender == u"m")
        node.image = row.hasMarriage ? kImageMarriedMan : kImageMan;
    else if (gender == u"f")
        node.image = row.hasMarriage ? kImageMarriedWoman : kImageWoman;
    else if (gender.isEmpty())
        node.image = kImageNoGender;
}

namespace {

template <typename... A> std::vector<TNodeRow> ReadRows(const QString& sql, const A&... values) {
    std::vector<TNodeRow> rows;
    Query q = Dm().Prepare(sql, values...);
    while (q.Next())
        rows.push_back(TNodeRow::From(q));
    return rows;
}

} // namespace

bool TTreeModel::ReadRow(const QString& personId, TNodeRow& row) const {
    const std::vector<TNodeRow> rows = ReadRows(kOnePerson, personId);
    if (rows.empty())
        return false;
    row = rows.front();
    return true;
}

void TTreeModel::FillTree() {
    beginResetModel();
    top_ = std::make_unique<Node>();
    top_->level = -1;
    top_->loaded = true;
    globalParent_.clear();
    if (IsTreeOpen()) {
        globalParent_ = GetGlobalParentId();
        auto root = std::make_unique<Node>();
        root->parent = top_.get();
        root->level = 0;
        root->loaded = true;
        root->caption = GetTreeName();
        Node* rootNode = root.get();
        top_->children.push_back(std::move(root));
        for (const TNodeRow& row : ReadRows(kFirstLevel)) {
            auto node = MakeNode(rootNode, row);
            node->row = static_cast<int>(rootNode->children.size());
            rootNode->children.push_back(std::move(node));
        }
    }
    endResetModel();
}

void TTreeModel::SetTreeCaption(const QString& caption) {
    if (!top_ || top_->children.empty())
        return;
    top_->children.front()->caption = caption;
    const QModelIndex root = RootIndex();
    emit dataChanged(root, root);
}

void TTreeModel::ClearTree() {
    if (IsEmpty())
        return;
    beginResetModel();
    top_ = std::make_unique<Node>();
    top_->level = -1;
    top_->loaded = true;
    globalParent_.clear();
    endResetModel();
}

void TTreeModel::DropChildren(Node* node) {
    if (!node->children.empty()) {
        beginRemoveRows(IndexOf(node), 0, static_cast<int>(node->children.size()) - 1);
        node->children.clear();
        endRemoveRows();
    }
    node->loaded = false;
}

void TTreeModel::AppendChildren(Node* node, std::vector<std::unique_ptr<Node>> children) {
    node->loaded = true;
    if (children.empty())
        return;
    const int first = static_cast<int>(node->children.size());
    beginInsertRows(IndexOf(node), first, first + static_cast<int>(children.size()) - 1);
    for (auto& child : children) {
        child->row = static_cast<int>(node->children.size());
        node->children.push_back(std::move(child));
    }
    endInsertRows();
}

bool TTreeModel::ExpandPersonNode(const QModelIndex& index) {
    Node* node = NodeOf(index);
    if (!node || !node->record)
        return false;
    DropChildren(node);
    const TPersonNode& record = *node->record;
    std::vector<TNodeRow> regular;
    std::vector<TNodeRow> misattached;
    if (IsGlobalParentNode(node)) {
        regular = ReadRows(kOfGlobalParent, record.PersonId);
    } else if (!IsFemale(record.Gender)) {
        regular = ReadRows(kByFather, record.PersonId);
        misattached = ReadRows(kMisattachedOfMan, record.PersonId);
    } else {
        regular = ReadRows(kByMother, record.PersonId);
        misattached = ReadRows(kMisattachedOfWoman, record.PersonId);
    }
    std::vector<std::unique_ptr<Node>> children;
    children.reserve(regular.size() + misattached.size());
    for (const TNodeRow& row : regular)
        children.push_back(MakeNode(node, row));
    for (const TNodeRow& row : misattached) {
        children.push_back(MakeNode(node, row));
        children.back()->record->ErrorMark = kErrorMark;
    }
    node->mayHaveChildren = !children.empty();
    AppendChildren(node, std::move(children));
    NotifyChanged(node);
    return true;
}

void TTreeModel::ResetNode(const QModelIndex& index) {
    Node* node = NodeOf(index);
    if (!node || !node->record)
        return;
    DropChildren(node);
    TNodeRow row;
    if (ReadRow(node->record->PersonId, row))
        ApplyDisplay(*node, row);
    NotifyChanged(node);
}

// ---------------------------------------------------------------------------------------------------------
// Finding and patching nodes

void TTreeModel::CollectNodes(const Node* node, const QString& personId, QList<Node*>& found) const {
    for (const auto& child : node->children) {
        if (child->record && SameText(child->record->PersonId, personId))
            found << child.get();
        CollectNodes(child.get(), personId, found);
    }
}

QModelIndex TTreeModel::FindPersonNode(const QString& personId) const {
    const QList<QModelIndex> nodes = FindPersonNodes(personId);
    return nodes.isEmpty() ? QModelIndex() : nodes.front();
}

QList<QModelIndex> TTreeModel::FindPersonNodes(const QString& personId) const {
    QList<Node*> found;
    if (!personId.isEmpty())
        CollectNodes(top_.get(), personId, found);
    QList<QModelIndex> indexes;
    for (const Node* node : found)
        indexes << IndexOf(node);
    return indexes;
}

QStringList TTreeModel::AncestorChain(const QString& personId) {
    QStringList chain{personId};
    QString current = personId;
    for (;;) {
        Query q = Dm().Prepare(
            QStringLiteral("SELECT father_id, mother_id FROM ftPerson WHERE person_id = ?"), current);
        if (!q.Next())
            break;
        const QString father = q.Text(0).trimmed();
        const QString mother = q.Text(1).trimmed();
        const QString next = NamesParent(father) ? father : NamesParent(mother) ? mother : QString();
        if (next.isEmpty())
            break;
        bool seen = false;
        for (const QString& id : chain)
            seen = seen || SameText(id, next);
        if (seen)
            break;
        chain << next;
        current = next;
    }
    return chain;
}

QModelIndex TTreeModel::LocatePerson(const QString& personId) {
    if (personId.trimmed().isEmpty() || IsEmpty())
        return {};
    // Walks the chain from its far end; each node found is loaded, so the next one is among its children.
    auto walk = [this](const QStringList& chain) {
        QModelIndex found;
        for (qsizetype i = chain.size() - 1; i >= 0; --i) {
            QModelIndex node;
            if (found.isValid()) {
                for (int row = 0, rows = rowCount(found); row < rows && !node.isValid(); ++row) {
                    const QModelIndex child = index(row, 0, found);
                    if (SameText(Record(child)->PersonId, chain[i]))
                        node = child;
                }
            }
            if (!node.isValid())
                node = FindPersonNode(chain[i]);
            if (!node.isValid()) {
                found = QModelIndex();
                continue;
            }
            if (!IsLoaded(node))
                ExpandPersonNode(node);
            found = node;
        }
        return found;
    };
    QStringList chain = AncestorChain(personId);
    QModelIndex found = walk(chain);
    if (!found.isValid() && !globalParent_.isEmpty()) {
        Query q =
            Dm().Prepare(QStringLiteral("SELECT mother_id FROM ftPerson WHERE person_id = ?"), personId);
        const QString mother = q.Next() ? q.Text(0).trimmed() : QString();
        if (mother == u"0" || SameText(mother, globalParent_)) {
            chain << globalParent_;
            found = walk(chain);
        }
    }
    return found;
}

void TTreeModel::RefreshPersonNode(const QString& personId) {
    QList<Node*> nodes;
    CollectNodes(top_.get(), personId, nodes);
    if (nodes.isEmpty())
        return;
    TNodeRow row;
    if (!ReadRow(personId, row))
        return;
    for (Node* node : nodes) {
        ApplyDisplay(*node, row);
        NotifyChanged(node);
    }
}

QModelIndex TTreeModel::AppendPersonNode(const QModelIndex& parent, const QString& personId) {
    Node* node = NodeOf(parent);
    if (!node)
        return {};
    if (!node->loaded) {
        // A fresh load already holds the new person.
        ExpandPersonNode(parent);
        for (const auto& child : node->children) {
            if (SameText(child->record->PersonId, personId))
                return IndexOf(child.get());
        }
    }
    TNodeRow row;
    if (!ReadRow(personId, row))
        return {};
    std::vector<std::unique_ptr<Node>> children;
    children.push_back(MakeNode(node, row));
    Node* added = children.back().get();
    AppendChildren(node, std::move(children));
    node->mayHaveChildren = true;
    NotifyChanged(node);
    return IndexOf(added);
}

void TTreeModel::RemovePersonNodes(const QString& personId) {
    // One node at a time, looked up afresh: removing a node frees its whole branch, which may hold other
    // nodes of the same person.
    for (;;) {
        QList<Node*> nodes;
        CollectNodes(top_.get(), personId, nodes);
        if (nodes.isEmpty())
            return;
        Node* node = nodes.front();
        Node* parent = node->parent;
        const int row = node->row;
        beginRemoveRows(IndexOf(parent), row, row);
        parent->children.erase(parent->children.begin() + row);
        for (int i = row; i < static_cast<int>(parent->children.size()); ++i)
            parent->children[i]->row = i;
        endRemoveRows();
        if (parent->children.empty() && parent->record)
            parent->mayHaveChildren = false;
        NotifyChanged(parent);
    }
}

void TTreeModel::MarkAncestors(const QModelIndex& index) {
    Node* node = NodeOf(index);
    if (!node || !node->record)
        return;
    const qint32 colour = kLevelPalette[markIndex];
    for (; node && node->record; node = node->parent) {
        node->record->MarkColor = colour;
        NotifyChanged(node);
    }
    markIndex = (markIndex + 1) % 10;
}

void TTreeModel::UnmarkAncestors(const QModelIndex& index) {
    for (Node* node = NodeOf(index); node && node->record; node = node->parent) {
        node->record->MarkColor = -1;
        NotifyChanged(node);
    }
}

void TTreeModel::SetCutPersons(const QStringList& personIds) {
    const QStringList before = cut_;
    cut_ = personIds;
    for (const QString& id : before + personIds) {
        QList<Node*> nodes;
        CollectNodes(top_.get(), id, nodes);
        for (Node* node : nodes)
            NotifyChanged(node);
    }
}

bool TTreeModel::IsCut(const QString& personId) const {
    return cut_.contains(personId, Qt::CaseInsensitive);
}

// ---------------------------------------------------------------------------------------------------------
// Queries on nodes

TTreeModel::Node* TTreeModel::NodeOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<Node*>(index.internalPointer());
}

QModelIndex TTreeModel::IndexOf(const Node* node) const {
    if (!node || node == top_.get())
        return {};
    return createIndex(node->row, 0, const_cast<Node*>(node));
}

void TTreeModel::NotifyChanged(Node* node) {
    const QModelIndex index = IndexOf(node);
    if (index.isValid())
        emit dataChanged(index, index);
}

QModelIndex TTreeModel::RootIndex() const {
    return IsEmpty() ? QModelIndex() : IndexOf(top_->children.front().get());
}

bool TTreeModel::IsRoot(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node && node->parent == top_.get();
}

const TPersonNode* TTreeModel::Record(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node ? node->record.get() : nullptr;
}

int TTreeModel::Level(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node ? node->level : -1;
}

bool TTreeModel::IsLoaded(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    return node && node->loaded;
}

bool TTreeModel::IsGlobalParentNode(const Node* node) const {
    return node && node->record && !globalParent_.isEmpty() &&
           SameText(node->record->PersonId, globalParent_);
}

bool TTreeModel::IsGlobalParent(const QModelIndex& index) const {
    return IsGlobalParentNode(NodeOf(index));
}

// ---------------------------------------------------------------------------------------------------------
// Item model

QModelIndex TTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    const Node* node = parent.isValid() ? NodeOf(parent) : top_.get();
    if (!node || row >= static_cast<int>(node->children.size()))
        return {};
    return IndexOf(node->children[row].get());
}

QModelIndex TTreeModel::parent(const QModelIndex& child) const {
    const Node* node = NodeOf(child);
    return node ? IndexOf(node->parent) : QModelIndex();
}

int TTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    const Node* node = parent.isValid() ? NodeOf(parent) : top_.get();
    return node ? static_cast<int>(node->children.size()) : 0;
}

int TTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TTreeModel::hasChildren(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return false;
    const Node* node = parent.isValid() ? NodeOf(parent) : top_.get();
    if (!node)
        return false;
    return node->loaded ? !node->children.empty() : node->mayHaveChildren;
}

bool TTreeModel::canFetchMore(const QModelIndex& parent) const {
    const Node* node = NodeOf(parent);
    return node && node->record && !node->loaded && node->mayHaveChildren;
}

void TTreeModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent))
        ExpandPersonNode(parent);
}

QVariant TTreeModel::Caption(const Node* node) const {
    if (!node->record)
        return node->caption;
    const TPersonNode& record = *node->record;
    if (record.Title.isEmpty())
        return record.PersonName;
    return record.PersonName + QStringLiteral(" (") + record.Title + QStringLiteral(" )");
}

// Later rules override earlier ones, so the outside-the-tree group stays grey whatever else applies.
QVariant TTreeModel::Foreground(const Node* node) const {
    std::optional<qint32> colour;
    if (!node->record) {
        colour = 0x00008000;
    } else {
        const TPersonNode& record = *node->record;
        const bool global = IsGlobalParentNode(node);
        if (record.FontColor != 0)
            colour = record.FontColor;
        if (global)
            colour = 0x00585858;
        if (!record.Title.isEmpty())
            colour.reset();
        if (Options().MarkIfHasMate && node->hasMarriage)
            colour = 0x00800000;
        if (global)
            colour = 0x00808080;
    }
    // A node being dragged is drawn faded, whatever its colour.
    if (node->record && IsCut(node->record->PersonId))
        return QColor(0xA0, 0xA0, 0xA0);
    if (!colour)
        return {};
    return ColorFromBgr(static_cast<quint32>(*colour));
}

QVariant TTreeModel::Background(const Node* node) const {
    std::optional<QColor> colour;
    if (Options().LevelsHasColors && node->level > 1)
        colour = LightenColor(ColorFromBgr(static_cast<quint32>(kLevelPalette[node->level % 10])), 40);
    if (node->record) {
        if (node->record->MarkColor != -1)
            colour = ColorFromBgr(static_cast<quint32>(node->record->MarkColor));
        if (node->record->ErrorMark == kErrorMark)
            colour = ColorFromBgr(0x00DDDDFF);
    }
    if (!colour)
        return {};
    return *colour;
}

QVariant TTreeModel::Font(const Node* node) const {
    if (!node->record) {
        QFont font(QStringLiteral("Arial"), 11);
        font.setBold(true);
        return font;
    }
    if (!node->record->DenyPublish)
        return {};
    // Only the style is set, so the view's own family and size still apply.
    QFont font;
    font.setBold(true);
    font.setItalic(true);
    return font;
}

QVariant TTreeModel::data(const QModelIndex& index, int role) const {
    const Node* node = NodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Caption(node);
    case Qt::EditRole:
        return node->record ? node->record->PersonName : node->caption;
    case Qt::DecorationRole:
        if (node->image >= 0 && node->image < images_.size())
            return images_[node->image];
        return {};
    case Qt::ForegroundRole:
        return Foreground(node);
    case Qt::BackgroundRole:
        return Background(node);
    case Qt::FontRole:
        return Font(node);
    case PersonIdRole:
        return node->record ? node->record->PersonId : QString();
    case GenderRole:
        return node->record ? node->record->Gender : QString();
    case ImageRole:
        return node->image;
    case LevelRole:
        return node->level;
    case IsRootRole:
        return !node->record;
    case IsGlobalParentRole:
        return IsGlobalParentNode(node);
    default:
        return {};
    }
}

bool TTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    Node* node = NodeOf(index);
    if (role != Qt::EditRole || !node || !node->record || readOnly_ || IsGlobalParentNode(node))
        return false;
    // A blank name keeps the one shown.
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return false;
    const QString personId = node->record->PersonId;
    if (text != node->record->PersonName) {
        UndoStep step(StepText("Rename «%*»", {personId}), personId);
        if (!SavePersonName(personId, text))
            return false;
    }
    QList<Node*> nodes;
    CollectNodes(top_.get(), personId, nodes);
    for (Node* other : nodes) {
        other->record->PersonName = text;
        NotifyChanged(other);
    }
    emit PersonRenamed(personId);
    return true;
}

Qt::ItemFlags TTreeModel::flags(const QModelIndex& index) const {
    const Node* node = NodeOf(index);
    if (!node)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (node->record && !readOnly_ && !IsGlobalParentNode(node))
        flags |= Qt::ItemIsEditable;
    // Any person but the outside-the-tree group may be dragged, also from a read-only outline; every node
    // may be dropped on, the outline deciding what a drop does.
    if (node->record && !IsGlobalParentNode(node))
        flags |= Qt::ItemIsDragEnabled;
    flags |= Qt::ItemIsDropEnabled;
    return flags;
}

} // namespace verdan
