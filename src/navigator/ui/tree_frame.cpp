#include "tree_frame.h"

#include "navigator/tree_model.h"
#include "navigator/ui/outline_images.h"
#include "storage/person_index.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/picture_store.h"
#include "storage/relation_store.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/user_options.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kMinZoom = 6;
constexpr int kMaxZoom = 24;
constexpr int kDefaultZoom = 8; // about 11 pixels high
constexpr int kFullExpandLimit = 500;
constexpr int kPictureSize = 96;

QToolButton* MakeButton(QWidget* parent, const char16_t* icon, const char* name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(Icon(icon));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

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

// The outline control; it tells whether a label is being edited.
class TOutlineView : public QTreeView {
public:
    using QTreeView::QTreeView;
    bool IsEditing() const { return state() == EditingState; }
};

TframTree::TframTree(QWidget* parent) : QWidget(parent) {
    model_ = new TTreeModel(this);
    model_->SetImages(OutlineImages());
    BuildControls();
    BuildMenu();
    ApplyCaptions();

    connect(trv_, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (!loading_)
            model_->ResetNode(index);
    });
    connect(trv_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (loading_ || !current.isValid())
                    return;
                const TPersonNode* now = model_->Record(current);
                const TPersonNode* before = model_->Record(previous);
                if (now && before && SameId(now->PersonId, before->PersonId))
                    return;
                previous_ = previous;
                ShowSelection(current);
            });
    connect(model_, &TTreeModel::PersonRenamed, this, &TframTree::OnRenamed);
    connect(trv_, &QWidget::customContextMenuRequested, this, &TframTree::ShowPopup);
}

TframTree::~TframTree() {
    // The children die after this object; their last signals must not reach it.
    disconnect(trv_->selectionModel(), nullptr, this, nullptr);
    disconnect(trv_, nullptr, this, nullptr);
    disconnect(model_, nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// Controls

void TframTree::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    pnlAdd_ = new QFrame(this);
    auto* addLayout = new QHBoxLayout(pnlAdd_);
    addLayout->setContentsMargins(0, 0, 0, 0);
    btAddMale_ = MakeButton(pnlAdd_, u"person-add-male", "btAddMale");
    btAddFemale_ = MakeButton(pnlAdd_, u"person-add-female", "btAddFemale");
    btAddSection_ = MakeButton(pnlAdd_, u"group-add", "btAddSection");
    for (QToolButton* button : {btAddMale_, btAddFemale_, btAddSection_})
        addLayout->addWidget(button);
    pnlSetGender_ = new QFrame(this);
    auto* genderLayout = new QHBoxLayout(pnlSetGender_);
    genderLayout->setContentsMargins(0, 0, 0, 0);
    btSetAsMale_ = MakeButton(pnlSetGender_, u"set-male", "btSetAsMale");
    btSetAsFemale_ = MakeButton(pnlSetGender_, u"set-female", "btSetAsFemale");
    btSetAsSection_ = MakeButton(pnlSetGender_, u"set-group", "btSetAsSection");
    for (QToolButton* button : {btSetAsMale_, btSetAsFemale_, btSetAsSection_})
        genderLayout->addWidget(button);
    btZoomIn_ = MakeButton(this, u"zoom-in", "bt_Zoom_in");
    btZoomOut_ = MakeButton(this, u"zoom-out", "bt_Zoom_out");
    btRtl_ = MakeButton(this, u"object-flip-horizontal", "bt_RTL");
    btRtl_->setCheckable(true);
    bar->addWidget(pnlAdd_);
    bar->addWidget(pnlSetGender_);
    bar->addStretch();
    bar->addWidget(btZoomIn_);
    bar->addWidget(btZoomOut_);
    bar->addWidget(btRtl_);
    layout->addLayout(bar);

    trv_ = new TOutlineView(this);
    trv_->setModel(model_);
    trv_->setHeaderHidden(true);
    trv_->setIndentation(19);
    trv_->setUniformRowHeights(true);
    trv_->setMouseTracking(true);
    trv_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    trv_->setSelectionMode(QAbstractItemView::SingleSelection);
    trv_->setContextMenuPolicy(Qt::CustomContextMenu);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(kDefaultZoom);
    trv_->setFont(font);
    zoom_ = kDefaultZoom;
    trv_->installEventFilter(this);
    layout->addWidget(trv_, 1);

    auto* info = new QHBoxLayout;
    // Right-aligned Arabic lines would otherwise touch the window edge and lose their first letter.
    info->setContentsMargins(4, 0, 4, 0);
    auto* labels = new QVBoxLayout;
    lblName_ = new QLabel(this);
    lblName_->setWordWrap(true);
    lblMotherName_ = new QLabel(this);
    lblMotherName_->setWordWrap(true);
    lblLevel_ = new QLabel(this);
    lblLevel_->setObjectName(QStringLiteral("lblLevel"));
    labels->addWidget(lblName_);
    labels->addWidget(lblMotherName_);
    labels->addWidget(lblLevel_);
    for (QLabel* label : {lblName_, lblMotherName_, lblLevel_})
        KeepReadingAlignment(label);
    imgPerson_ = new QLabel(this);
    imgPerson_->setFixedSize(kPictureSize, kPictureSize);
    info->addLayout(labels, 1);
    info->addWidget(imgPerson_);
    layout->addLayout(info);

    connect(btAddMale_, &QToolButton::clicked, this, [this] { AddChildPerson(QStringLiteral("m")); });
    connect(btAddFemale_, &QToolButton::clicked, this, [this] { AddChildPerson(QStringLiteral("f")); });
    connect(btAddSection_, &QToolButton::clicked, this, &TframTree::AddGroup);
    connect(btSetAsMale_, &QToolButton::clicked, this, &TframTree::SetCurrentMale);
    connect(btSetAsFemale_, &QToolButton::clicked, this, &TframTree::SetCurrentFemale);
    connect(btSetAsSection_, &QToolButton::clicked, this, &TframTree::ToggleCurrentGroup);
    connect(btZoomIn_, &QToolButton::clicked, this, [this] { SetZoom(zoom_ + 1); });
    connect(btZoomOut_, &QToolButton::clicked, this, [this] { SetZoom(zoom_ - 1); });
    connect(btRtl_, &QToolButton::toggled, this, &TframTree::SetMirrored);
}

void TframTree::BuildMenu() {
    pmnuTree_ = new QMenu(this);
    mnuAdd_ = pmnuTree_->addMenu(QString());
    mnuAddSon_ = mnuAdd_->addMenu(QString());
    mnuAddDaughter_ = mnuAdd_->addMenu(QString());
    mnuAddSonNoOther_ = mnuAdd_->addAction(QString());
    mnuAddDaughterNoOther_ = mnuAdd_->addAction(QString());
    mnuAddFather_ = mnuAdd_->addAction(QString());
    mnuRename_ = pmnuTree_->addAction(QString());
    mnuDelete_ = pmnuTree_->addAction(QString());
    pmnuTree_->addSeparator();
    mnuRefresh_ = pmnuTree_->addAction(QString());
    mnuMarkAncestors_ = pmnuTree_->addAction(QString());
    mnuUnMarkAncestors_ = pmnuTree_->addAction(QString());
    mnuShowTraceWindow_ = pmnuTree_->addAction(QString());
    pmnuTree_->addSeparator();
    mnuExpand_ = pmnuTree_->addAction(QString());
    mnuAdd_->setIcon(Icon(u"list-add"));
    mnuAddSon_->setIcon(Icon(u"person-add-male"));
    mnuAddDaughter_->setIcon(Icon(u"person-add-female"));
    mnuAddSonNoOther_->setIcon(Icon(u"person-add-male"));
    mnuAddDaughterNoOther_->setIcon(Icon(u"person-add-female"));
    mnuRename_->setIcon(Icon(u"accessories-text-editor"));
    mnuDelete_->setIcon(Icon(u"edit-delete"));
    mnuRefresh_->setIcon(Icon(u"view-refresh"));
    mnuMarkAncestors_->setIcon(Icon(u"mark-ancestors"));
    mnuUnMarkAncestors_->setIcon(Icon(u"edit-clear"));
    mnuShowTraceWindow_->setIcon(Icon(u"family-chart"));
    mnuExpand_->setIcon(Icon(u"outline-expand"));

    connect(mnuAdd_, &QMenu::aboutToShow, this, &TframTree::PrepareAddMenu);
    connect(mnuAddSon_, &QMenu::aboutToShow, this,
            [this] { BuildAddSubmenu(mnuAddSon_, QStringLiteral("m")); });
    connect(mnuAddDaughter_, &QMenu::aboutToShow, this,
            [this] { BuildAddSubmenu(mnuAddDaughter_, QStringLiteral("f")); });
    connect(mnuAddSonNoOther_, &QAction::triggered, this,
            [this] { AddChildWithParent(QStringLiteral("0"), QStringLiteral("m")); });
    connect(mnuAddDaughterNoOther_, &QAction::triggered, this,
            [this] { AddChildWithParent(QStringLiteral("0"), QStringLiteral("f")); });
    connect(mnuAddFather_, &QAction::triggered, this, &TframTree::AddFatherToCurrent);
    connect(mnuRename_, &QAction::triggered, this, &TframTree::EditCurrentName);
    connect(mnuDelete_, &QAction::triggered, this, [this] { DeleteSelected(true); });
    connect(mnuRefresh_, &QAction::triggered, this, [this] { RefreshNode(CurrentIndex()); });
    connect(mnuMarkAncestors_, &QAction::triggered, this, &TframTree::MarkAncestors);
    connect(mnuUnMarkAncestors_, &QAction::triggered, this, &TframTree::UnmarkAncestors);
    connect(mnuShowTraceWindow_, &QAction::triggered, this, [this] {
        if (!CurrentPersonId().isEmpty())
            emit PersonChartWanted(CurrentPersonId());
    });
    connect(mnuExpand_, &QAction::triggered, this, &TframTree::ToggleExpand);
}

void TframTree::ApplyCaptions() {
    btAddMale_->setToolTip(Translate(QStringLiteral("Add Male Person (Insert)")));
    btAddFemale_->setToolTip(Translate(QStringLiteral("Add Female Person (Shift Insert)")));
    btAddSection_->setToolTip(Translate(QStringLiteral("Add Group")));
    btSetAsMale_->setToolTip(Translate(QStringLiteral("Set as Male (F7)")));
    btSetAsFemale_->setToolTip(Translate(QStringLiteral("Set as Female (F8)")));
    btSetAsSection_->setToolTip(Translate(QStringLiteral("Set as Group (F6)")));
    btRtl_->setToolTip(Translate(QStringLiteral("Toggle Tree Display from Right-to-Left and Left-toRight")));
    btZoomIn_->setToolTip(Translate(QStringLiteral("Zoom in (Ctrl Alt =)")));
    btZoomOut_->setToolTip(Translate(QStringLiteral("Zoom out (Ctrl Alt -)")));
    // The buttons show pictures only: screen readers say what the hint says.
    for (QToolButton* button : {btAddMale_, btAddFemale_, btAddSection_, btSetAsMale_, btSetAsFemale_,
                                btSetAsSection_, btRtl_, btZoomIn_, btZoomOut_})
        button->setAccessibleName(button->toolTip());

    mnuAdd_->setTitle(Translate(QStringLiteral("Add")));
    mnuAddSon_->setTitle(Translate(QStringLiteral("Add Son")));
    mnuAddDaughter_->setTitle(Translate(QStringLiteral("Add Daughter")));
    mnuAddSonNoOther_->setText(TranslateContext(QStringLiteral("Son"), QStringLiteral("add_menu")) +
                               QString(30, u' ') + QStringLiteral("F4"));
    mnuAddDaughterNoOther_->setText(TranslateContext(QStringLiteral("Daughter"), QStringLiteral("add_menu")) +
                                    QString(29, u' ') + QStringLiteral("Shift + F4"));
    mnuAddFather_->setText(Translate(QStringLiteral("father")));
    mnuRename_->setText(Translate(QStringLiteral("Edit Name")));
    mnuDelete_->setText(Translate(QStringLiteral("Delete")) + QStringLiteral(".."));
    mnuRefresh_->setText(Translate(QStringLiteral("Refresh")));
    mnuMarkAncestors_->setText(Translate(QStringLiteral("Mark Ancestors")));
    mnuUnMarkAncestors_->setText(Translate(QStringLiteral("Unmark Ancestors")));
    mnuShowTraceWindow_->setText(Translate(QStringLiteral("Family Tree Chart")));
    mnuExpand_->setText(Translate(QStringLiteral("Expand")) + QString(6, u' ') + QStringLiteral("F5"));

    const bool rightToLeft = Local().Target.RightToLeft;
    SetMirrored(rightToLeft);
    pmnuTree_->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

void TframTree::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        ApplyCaptions();
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------------------------------------
// Loading and display

void TframTree::OpenTree(bool readOnly) {
    SetReadOnly(readOnly);
    ReloadTree(true);
}

void TframTree::ReloadTree(bool load) {
    ClearSelectionDisplay();
    ApplyCaptions();
    previous_ = QPersistentModelIndex();
    editing_ = QPersistentModelIndex();
    loading_ = true;
    if (!load) {
        model_->ClearTree();
        loading_ = false;
        return;
    }
    TBusyCursor busy;
    model_->FillTree();
    const QModelIndex root = model_->RootIndex();
    trv_->expand(root);
    const QModelIndex first = model_->index(0, 0, root);
    if (first.isValid())
        trv_->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
    loading_ = false;
    // The first person is selected silently while loading; his lines below the outline still show.
    if (first.isValid())
        ShowSelectionInfo(first);
}

void TframTree::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    model_->SetReadOnly(readOnly);
    pnlAdd_->setVisible(!readOnly);
    pnlSetGender_->setVisible(!readOnly);
    mnuAdd_->menuAction()->setVisible(!readOnly);
    mnuRename_->setVisible(!readOnly);
    mnuDelete_->setVisible(!readOnly);
}

void TframTree::SetMultiSelect(bool on) {
    trv_->setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void TframTree::ClearSelectionDisplay() {
    shownPersonId_.clear();
    lblName_->clear();
    lblMotherName_->clear();
    lblLevel_->clear();
    imgPerson_->clear();
}

void TframTree::ShowSelection(const QModelIndex& current) {
    ShowSelectionInfo(current);
    emit PersonSelected(shownPersonId_);
}

void TframTree::ShowSelectionInfo(const QModelIndex& current) {
    const TPersonNode* record = model_->Record(current);
    shownPersonId_ = record ? record->PersonId : QString();
    if (!record) {
        ClearSelectionDisplay();
    } else {
        lblName_->setText(GetLineageName(shownPersonId_));
        const QString mother = GetMotherLineageName(shownPersonId_);
        lblMotherName_->setText(mother.trimmed().isEmpty()
                                    ? QString()
                                    : Translate(QStringLiteral("Mother")) + QStringLiteral(": ") + mother);
        lblLevel_->setText(FillPattern(Translate(QStringLiteral("Generation %#")),
                                       {QString::number(model_->Level(current))}));
        QImage picture(kPictureSize, kPictureSize, QImage::Format_RGB32);
        if (DrawDefaultPicture(shownPersonId_, picture))
            imgPerson_->setPixmap(QPixmap::fromImage(picture));
        else
            imgPerson_->clear();
    }
}

QTreeView* TframTree::View() const {
    return trv_;
}

bool TframTree::IsEditing() const {
    return trv_->IsEditing();
}

QString TframTree::CurrentPersonId() const {
    const TPersonNode* record = model_->Record(CurrentIndex());
    return record ? record->PersonId : QString();
}

QModelIndex TframTree::CurrentIndex() const {
    return trv_->selectionModel()->currentIndex();
}

void TframTree::SelectNode(const QModelIndex& index) {
    if (!index.isValid())
        return;
    trv_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    trv_->scrollTo(index);
}

bool TframTree::LocatePerson(const QString& personId) {
    const QModelIndex found = model_->LocatePerson(personId);
    if (!found.isValid())
        return false;
    for (QModelIndex node = found; node.isValid(); node = node.parent())
        trv_->expand(node);
    SelectNode(found);
    if (isVisible() && trv_->focusPolicy() != Qt::NoFocus && window()->isActiveWindow())
        trv_->setFocus();
    return true;
}

QModelIndex TframTree::FindPersonNode(const QString& personId) const {
    return model_->FindPersonNode(personId);
}

void TframTree::RefreshPersonNode(const QString& personId) {
    model_->RefreshPersonNode(personId);
}

void TframTree::RefreshNode(const QModelIndex& index) {
    if (!index.isValid())
        return;
    if (model_->IsRoot(index)) {
        ReloadTree(true);
        return;
    }
    if (trv_->isExpanded(index))
        trv_->collapse(index); // drops the children
    else
        model_->ResetNode(index);
    trv_->expand(index);
}

void TframTree::ExpandAll(const QModelIndex& index) {
    trv_->expand(index);
    for (int row = 0; row < model_->rowCount(index); ++row) {
        const QModelIndex child = model_->index(row, 0, index);
        if (model_->hasChildren(child))
            ExpandAll(child);
    }
}

void TframTree::ToggleExpand() {
    const QModelIndex index = CurrentIndex();
    const TPersonNode* record = model_->Record(index);
    if (!record)
        return;
    if (trv_->isExpanded(index)) {
        trv_->collapse(index);
        return;
    }
    TBusyCursor busy;
    if (CountDescendants(record->PersonId) >= kFullExpandLimit) {
        // A large branch opens only along its first-child line.
        for (QModelIndex node = index; node.isValid() && model_->hasChildren(node);
             node = model_->index(0, 0, node))
            trv_->expand(node);
    } else {
        ExpandAll(index);
    }
}

void TframTree::SetZoom(int size) {
    QFont font = trv_->font();
    if (size <= 0) {
        zoom_ = font.pointSize();
        return;
    }
    zoom_ = std::clamp(size, kMinZoom, kMaxZoom);
    font.setPointSize(zoom_);
    trv_->setFont(font);
    Options().TreeFontSize = zoom_;
}

void TframTree::SetMirrored(bool on) {
    trv_->setLayoutDirection(on ? Qt::RightToLeft : Qt::LeftToRight);
    if (btRtl_->isChecked() != on)
        btRtl_->setChecked(on);
    trv_->viewport()->update();
}

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
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    if (key == Qt::Key_F5) {
        ToggleExpand();
        return true;
    }
    if (readOnly_)
        return false;
    dataChanged_ = false;
    if ((key == Qt::Key_Insert || key == Qt::Key_F4) && !ctrl && !alt) {
        AddChildPerson(shift ? QStringLiteral("f") : QStringLiteral("m"));
        return true;
    }
    if (ctrl && (key == Qt::Key_Equal || key == Qt::Key_Plus)) {
        SetZoom(zoom_ + 1);
        return true;
    }
    if (ctrl && key == Qt::Key_Minus) {
        SetZoom(zoom_ - 1);
        return true;
    }
    const TPersonNode* record = model_->Record(CurrentIndex());
    if (!record)
        return false;
    switch (key) {
    case Qt::Key_Delete:
        if (ctrl || alt)
            return false;
        DeleteSelected(!shift);
        return true;
    case Qt::Key_F2:
        EditCurrentName();
        return true;
    case Qt::Key_F6:
        if (record->Gender.toLower() == u"m")
            SetCurrentFemale();
        else
            SetCurrentMale();
        return true;
    case Qt::Key_F7:
        SetCurrentMale();
        return true;
    default:
        break;
    }
    if (!ctrl)
        return false;
    if (key == Qt::Key_Apostrophe) {
        ToggleCurrentDead();
        return true;
    }
    if (key == Qt::Key_D) {
        emit DateApproximationWanted(record->PersonId);
        dataChanged_ = true;
        return true;
    }
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
    const QList<QAction*> entries{mnuAdd_->menuAction(), mnuRename_,        mnuDelete_,
                                  mnuRefresh_,           mnuMarkAncestors_, mnuUnMarkAncestors_,
                                  mnuShowTraceWindow_,   mnuExpand_};
    for (QAction* entry : entries)
        entry->setEnabled(true);
    const bool root = model_->IsRoot(index);
    const bool global = model_->IsGlobalParent(index);
    if (root || global) {
        for (QAction* entry : entries)
            entry->setEnabled(false);
        mnuAdd_->menuAction()->setEnabled(root);
        mnuRefresh_->setEnabled(true);
        mnuExpand_->setEnabled(true);
    }
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
        menu->addAction(label + QStringLiteral(": ") + GetLineageName(mate), this,
                        [this, mate, gender] { AddChildWithParent(mate, gender); });
    }
}

} // namespace verdan
