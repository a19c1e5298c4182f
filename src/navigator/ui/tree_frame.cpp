#include "tree_frame.h"

#include "navigator/tree_model.h"
#include "navigator/ui/link_dialogs.h"
#include "navigator/ui/outline_images.h"
#include "navigator/ui/outline_keys.h"
#include "navigator/ui/outline_view.h"
#include "relations/ui/person_path_tree.h"
#include "storage/person_index.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/picture_store.h"
#include "storage/relation_store.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/ui/menu_captions.h"
#include "text/ui/own_end_delegate.h"
#include "text/ui/person_follow.h"
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

} // namespace

TframTree::TframTree(QWidget* parent) : QWidget(parent) {
    static quint64 outlines = 0;
    outlineSerial_ = ++outlines;
    model_ = new TTreeModel(this);
    model_->SetImages(OutlineImages());
    BuildControls();
    BuildMenu();
    ApplyCaptions();
    // The cards that follow the user learn of the person under the pointer and of every selection.
    FollowPointer(trv_, [this](const QModelIndex& index) {
        const TPersonNode* node = model_->Record(index);
        return node ? node->PersonId : QString();
    });

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
                // A person the user moved to is a visit too, as is one located for him.
                if (now && !navigating_ && history_.IsActive()) {
                    history_.Add(now->PersonId.trimmed());
                    UpdateHistoryButtons();
                }
            });
    connect(model_, &TTreeModel::PersonRenamed, this, &TframTree::OnRenamed);
    connect(this, &TframTree::SecondParentWanted, this, &TframTree::OfferSecondParent);
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
    btShowQuickInfo_ = MakeButton(this, u"user-info", "btShowQuickInfo");
    bar->addWidget(pnlAdd_);
    bar->addWidget(pnlSetGender_);
    BuildNavigationControls(bar);
    bar->addStretch();
    bar->addWidget(btShowQuickInfo_);
    bar->addWidget(btZoomIn_);
    bar->addWidget(btZoomOut_);
    bar->addWidget(btRtl_);
    layout->addLayout(bar);

    trv_ = new TOutlineView(this);
    trv_->setModel(model_);
    trv_->setItemDelegate(new TLabelDelegate(trv_));
    trv_->StartDragging = [this] {
        StartDrag();
    };
    trv_->DragOver = [this](const QDropEvent* event) {
        return DragOverAt(event);
    };
    trv_->Dropped = [this](QDropEvent* event) {
        DropAt(event);
    };
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
    lblName_->setObjectName(QStringLiteral("lblName"));
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
    connect(btShowQuickInfo_, &QToolButton::clicked, this, &TframTree::QuickInfoToggleWanted);
}

void TframTree::ApplyCaptions() {
    // The translations keep their keys in parentheses; the keys named are the ones the outline answers to.
    btAddMale_->setToolTip(
        HintWithKey(Translate(QStringLiteral("Add Male Person (Insert)")), TOutlineKey::AddSon));
    btAddFemale_->setToolTip(
        HintWithKey(Translate(QStringLiteral("Add Female Person (Shift Insert)")), TOutlineKey::AddDaughter));
    btAddSection_->setToolTip(Translate(QStringLiteral("Add Group")));
    btSetAsMale_->setToolTip(
        HintWithKey(Translate(QStringLiteral("Set as Male (F7)")), TOutlineKey::SetMale));
    btSetAsFemale_->setToolTip(
        HintWithKey(Translate(QStringLiteral("Set as Female (F8)")), TOutlineKey::SetFemale));
    btSetAsSection_->setToolTip(
        HintWithKey(Translate(QStringLiteral("Set as Group (F6)")), TOutlineKey::SetGroup));
    btRtl_->setToolTip(Translate(QStringLiteral("Toggle Tree Display from Right-to-Left and Left-toRight")));
    btZoomIn_->setToolTip(
        HintWithKey(Translate(QStringLiteral("Zoom in (Ctrl Alt =)")), TOutlineKey::ZoomIn));
    btZoomOut_->setToolTip(
        HintWithKey(Translate(QStringLiteral("Zoom out (Ctrl Alt -)")), TOutlineKey::ZoomOut));
    btShowQuickInfo_->setToolTip(Translate(QStringLiteral("Show/ Hide Quick Info Card")));
    // The buttons show pictures only: screen readers say what the hint says.
    for (QToolButton* button : {btAddMale_, btAddFemale_, btAddSection_, btSetAsMale_, btSetAsFemale_,
                                btSetAsSection_, btRtl_, btZoomIn_, btZoomOut_, btShowQuickInfo_})
        button->setAccessibleName(button->toolTip());
    ApplyMenuCaptions();
    ApplyNavigationCaptions();
    GiveArabicMnemonics(pmnuTree_);

    const bool rightToLeft = Local().Target.RightToLeft;
    SetMirrored(rightToLeft);
    pmnuTree_->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

void TframTree::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ApplyCaptions();
        if (!shownPersonId_.isEmpty())
            ShowSelectionInfo(CurrentIndex());
    }
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
        history_.Stop();
        UpdateHistoryButtons();
        loading_ = false;
        return;
    }
    TBusyCursor busy;
    if (!history_.IsActive())
        history_.Start();
    UpdateHistoryButtons();
    model_->FillTree();
    const QModelIndex root = model_->RootIndex();
    trv_->expand(root);
    const QModelIndex first = model_->index(0, 0, root);
    if (first.isValid())
        trv_->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
    loading_ = false;
    // The first person is selected silently while loading; his lines below the outline still show, and
    // a new history starts at him, so that Go Backward returns to him.
    if (first.isValid()) {
        ShowSelectionInfo(first);
        const TPersonNode* record = model_->Record(first);
        if (record && history_.Entries().isEmpty())
            history_.Add(record->PersonId.trimmed());
        UpdateHistoryButtons();
    }
}

void TframTree::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    model_->SetReadOnly(readOnly);
    pnlAdd_->setVisible(!readOnly);
    pnlSetGender_->setVisible(!readOnly);
    mnuAdd_->menuAction()->setVisible(!readOnly);
    mnuRename_->setVisible(!readOnly);
    mnuDelete_->setVisible(!readOnly);
    mnuSetMate_->menuAction()->setVisible(!readOnly);
    mnuSetRelation_->menuAction()->setVisible(!readOnly);
    mnuSwitchParent_->setVisible(!readOnly);
    mnuApplyToDescendents_->menuAction()->setVisible(!readOnly);
    mnuPersonOption_->setVisible(!readOnly);
}

void TframTree::SetTreeWritable(bool writable) {
    readOnly_ = !writable;
    model_->SetReadOnly(!writable);
    pnlAdd_->setEnabled(writable);
    pnlSetGender_->setEnabled(writable);
    for (QAction* entry : EditingCommands())
        entry->setEnabled(writable);
}

QList<QAction*> TframTree::EditingCommands() const {
    return {mnuAdd_->menuAction(),
            mnuRename_,
            mnuDelete_,
            mnuSetMate_->menuAction(),
            mnuSetRelation_->menuAction(),
            mnuSwitchParent_,
            mnuApplyToDescendents_->menuAction(),
            mnuPersonOption_};
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
    PersonFollow().Choose(shownPersonId_, this);
    // The lineage path window follows every outline while it is shown. The outside-the-tree group has no
    // lineage (its popup offers none): the window stays at the last person rather than listing everyone
    // who hangs outside the tree.
    if (!shownPersonId_.isEmpty() && !model_->IsGlobalParent(current) && TLinkDialogs::Instance())
        if (TfrmPersonPathTree* path = TLinkDialogs::Instance()->PathWindowIfShown())
            path->ShowPath(shownPersonId_);
    emit PersonSelected(shownPersonId_);
}

void TframTree::ShowSelectionInfo(const QModelIndex& current) {
    const TPersonNode* record = model_->Record(current);
    shownPersonId_ = record ? record->PersonId : QString();
    if (!record) {
        ClearSelectionDisplay();
    } else {
        ShowNameLines(shownPersonId_);
        lblLevel_->setText(FillPattern(Translate(QStringLiteral("Generation %#")),
                                       {QString::number(model_->Level(current))}));
        QImage picture(kPictureSize, kPictureSize, QImage::Format_RGB32);
        if (DrawDefaultPicture(shownPersonId_, picture))
            imgPerson_->setPixmap(QPixmap::fromImage(picture));
        else
            imgPerson_->clear();
    }
}

void TframTree::ShowNameLines(const QString& personId) {
    lblName_->setText(Isolate(GetLineageName(personId)));
    const QString mother = GetMotherLineageName(personId);
    lblMotherName_->setText(mother.trimmed().isEmpty() ? QString()
                                                       : Translate(QStringLiteral("Mother")) +
                                                             QStringLiteral(": ") + Isolate(mother));
}

void TframTree::ShowFoundPerson(const QString& personId) {
    if (personId.trimmed().isEmpty())
        return;
    ShowNameLines(personId);
    // The generation and the picture belong to the node selected, which stays as it was.
    lblLevel_->clear();
    imgPerson_->clear();
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
    if (!found.isValid()) {
        navigating_ = false;
        return false;
    }
    // Moves by Go Backward and Go Forward walk the history; every other move is added to it.
    if (!navigating_)
        history_.Add(personId.trimmed());
    for (QModelIndex node = found; node.isValid(); node = node.parent())
        trv_->expand(node);
    SelectNode(found);
    navigating_ = false;
    UpdateHistoryButtons();
    // Showing the person may still change the outline's height (his lineage below it can take another
    // line); once that is laid out, a row no longer wholly in view is brought to the middle.
    const QPersistentModelIndex located = found;
    QTimer::singleShot(0, trv_, [this, located] {
        if (located.isValid() && located == CurrentIndex() &&
            !trv_->viewport()->rect().contains(trv_->visualRect(located)))
            trv_->scrollTo(located, QAbstractItemView::PositionAtCenter);
    });
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

} // namespace verdan
