#include "tree_dialog.h"

#include "navigator/tree_model.h"
#include "navigator/ui/tree_frame.h"
#include "reports/grid_model.h"
#include "reports/ui/name_search_box.h"
#include "reports/ui/zel_grid.h"
#include "storage/bookmark_store.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/search_fold.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/form_grid.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kCascadeStep = 10;
constexpr int kIdCol = 1;
constexpr int kNameCol = 2;
constexpr int kBookmarkIdCol = 1;
constexpr int kBookmarkPersonCol = 2;
constexpr int kBookmarkNameCol = 3;
const QColor kFoundColor(0, 0, 255);

QPoint& CascadePosition() {
    static QPoint position;
    return position;
}

TZelGrid* MakeGrid(QWidget* parent, const char* name) {
    auto* grid = new TZelGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->SetReadonly(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

} // namespace

TfrmTreeDialog::TfrmTreeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmTreeDialog"));
    btStayOnTop_ = new QToolButton(this);
    btStayOnTop_->setObjectName(QStringLiteral("btStayOnTop"));
    btStayOnTop_->setCheckable(true);
    btStayOnTop_->setAutoRaise(true);
    tabs_ = new QTabWidget(this);

    tabTree_ = new QWidget(tabs_);
    tabTree_->setObjectName(QStringLiteral("tabTree"));
    splitter_ = new QSplitter(Qt::Vertical, tabTree_);
    search_ = new TNameSearchBox(splitter_);
    framTree_ = new TframTree(splitter_);
    framTree_->setObjectName(QStringLiteral("framTree"));
    splitter_->addWidget(search_);
    splitter_->addWidget(framTree_);
    splitter_->setCollapsible(0, false);
    splitter_->setCollapsible(1, false);
    splitter_->setStretchFactor(1, 1);
    search_->SetOutline(framTree_->View());
    auto* treeLayout = new QVBoxLayout(tabTree_);
    treeLayout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    treeLayout->addWidget(splitter_);

    tabList_ = new QWidget(tabs_);
    tabList_->setObjectName(QStringLiteral("tabList"));
    txtNameList_ = new QLineEdit(tabList_);
    txtNameList_->setObjectName(QStringLiteral("txtNameList"));
    txtNameList_->setClearButtonEnabled(true);
    KeepReadingAlignment(txtNameList_);
    btFindInList_ = new QPushButton(tabList_);
    btFindInList_->setAutoDefault(false);
    chkInFullName_ = new QCheckBox(tabList_);
    btRefreshList_ = new QPushButton(tabList_);
    btRefreshList_->hide();
    g_ = MakeGrid(tabList_, "g");
    auto* findRow = new QHBoxLayout;
    findRow->setSpacing(kSpacing);
    findRow->addWidget(txtNameList_, 1);
    findRow->addWidget(btFindInList_);
    findRow->addWidget(chkInFullName_);
    findRow->addWidget(btRefreshList_);
    auto* listLayout = new QVBoxLayout(tabList_);
    listLayout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    listLayout->setSpacing(kRowSpacing);
    listLayout->addLayout(findRow);
    listLayout->addWidget(g_, 1);

    tabBookMark_ = new QWidget(tabs_);
    tabBookMark_->setObjectName(QStringLiteral("tabBookMark"));
    gBookmark_ = MakeGrid(tabBookMark_, "gBookmark");
    btOpenbookmark_ = new QPushButton(tabBookMark_);
    btOpenbookmark_->setAutoDefault(false);
    auto* bookmarkButtons = new QHBoxLayout;
    bookmarkButtons->addStretch();
    bookmarkButtons->addWidget(btOpenbookmark_);
    auto* bookmarkLayout = new QVBoxLayout(tabBookMark_);
    bookmarkLayout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    bookmarkLayout->setSpacing(kRowSpacing);
    bookmarkLayout->addWidget(gBookmark_, 1);
    bookmarkLayout->addLayout(bookmarkButtons);

    tabs_->addTab(tabTree_, QString());
    tabs_->addTab(tabList_, QString());
    tabs_->addTab(tabBookMark_, QString());

    lblRefusal_ = new QLabel(this);
    lblRefusal_->setObjectName(QStringLiteral("lblRefusal"));
    lblRefusal_->setWordWrap(true);
    lblRefusal_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette warning = lblRefusal_->palette();
    warning.setColor(QPalette::WindowText, QColor(170, 0, 0));
    lblRefusal_->setPalette(warning);
    KeepReadingAlignment(lblRefusal_);
    lblRefusal_->hide();
    btOk_ = new QPushButton(this);
    btOk_->setObjectName(QStringLiteral("btOk"));
    btOk_->setDefault(true);
    btCancel_ = new QPushButton(this);
    btCancel_->setObjectName(QStringLiteral("btCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addWidget(btStayOnTop_);
    buttons->addStretch();
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kRowSpacing);
    layout->addWidget(tabs_, 1);
    layout->addWidget(lblRefusal_);
    layout->addLayout(buttons);

    // The picker's outline lays out right to left from its creation, whatever the language.
    framTree_->SetMirrored(true);
    g_->OnDrawCell = [this](QPainter& painter, const QRect& rect, int col, int row) {
        DrawNameCell(painter, rect, col, row);
    };
    txtNameList_->installEventFilter(this);
    g_->viewport()->installEventFilter(this);
    gBookmark_->viewport()->installEventFilter(this);
    gBookmark_->installEventFilter(this);

    connect(btOk_, &QPushButton::clicked, this, &TfrmTreeDialog::accept);
    connect(btCancel_, &QPushButton::clicked, this, &TfrmTreeDialog::reject);
    connect(btStayOnTop_, &QToolButton::toggled, this, [this](bool on) {
        const bool shown = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
        if (shown)
            show();
    });
    connect(btFindInList_, &QPushButton::clicked, this, &TfrmTreeDialog::FindInList);
    connect(txtNameList_, &QLineEdit::textChanged, g_->viewport(), qOverload<>(&QWidget::update));
    connect(search_, &TNameSearchBox::personChosen, this, &TfrmTreeDialog::LocateInOutline);
    // A result clicked (or reached with the arrows) is the person OK takes: the outline shows it selected.
    connect(search_, &TNameSearchBox::personSelected, this,
            [this](const QString& id) { framTree_->LocatePerson(id); });
    // Another choice: the refusal of the last one no longer applies.
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { ShowRefusal(QString()); });
    connect(framTree_, &TframTree::PersonSelected, this, [this] { ShowRefusal(QString()); });
    connect(btOpenbookmark_, &QPushButton::clicked, this, [this] { OpenBookmark(gBookmark_->Row()); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (tabs_->widget(index) == tabList_ && !listFilled_)
            FillNameList();
    });
    resize(420, 560);
}

void TfrmTreeDialog::ResetCascade() {
    CascadePosition() = QPoint();
}

void TfrmTreeDialog::SetMultiSelect(bool multiple) {
    multiple_ = multiple;
    framTree_->SetMultiSelect(multiple);
}

void TfrmTreeDialog::SetOkVisible(bool visible) {
    btOk_->setVisible(visible);
}

bool TfrmTreeDialog::Choose(const QString& caption, bool multiple) {
    setWindowTitle(caption);
    SetMultiSelect(multiple);
    SetOkVisible(true);
    exec();
    return accepted_ && !chosen_.Ids.isEmpty();
}

bool TfrmTreeDialog::Choose(const QString& caption, bool multiple, const QString& genderFilter,
                            TPickCheck check) {
    SetGenderFilter(genderFilter);
    check_ = std::move(check);
    const bool chosen = Choose(caption, multiple);
    check_ = {};
    return chosen;
}

QString TfrmTreeDialog::RefusalShown() const {
    return lblRefusal_->isHidden() ? QString() : lblRefusal_->text();
}

void TfrmTreeDialog::ShowRefusal(const QString& reason) {
    lblRefusal_->setText(reason);
    lblRefusal_->setVisible(!reason.isEmpty());
}

bool TfrmTreeDialog::Checked() {
    answer_ = 0;
    ShowRefusal(QString());
    if (!check_)
        return true;
    const TPickVerdict verdict = check_(chosen_);
    switch (verdict.kind) {
    case TPickVerdict::Kind::Allowed:
        return true;
    case TPickVerdict::Kind::Refused:
        ShowRefusal(verdict.reason);
        return false;
    case TPickVerdict::Kind::Ask:
        break;
    }
    const int answer = MsgAsk(verdict.question);
    if (answer == QuestionEscapeCode(verdict.question))
        return false;
    answer_ = answer;
    return true;
}

void TfrmTreeDialog::TranslateTexts() {
    btStayOnTop_->setText(Translate(QStringLiteral("Stay on Top")));
    btStayOnTop_->setToolTip(Translate(QStringLiteral("Stay on Top")));
    tabs_->setTabText(0, Translate(QStringLiteral("Tree")));
    tabs_->setTabText(1, Translate(QStringLiteral("List")));
    tabs_->setTabText(2, Translate(QStringLiteral("Bookmarks")));
    search_->TranslateTexts();
    btFindInList_->setText(Translate(QStringLiteral("Find")));
    chkInFullName_->setText(Translate(QStringLiteral("Find in whole name")));
    btRefreshList_->setText(Translate(QStringLiteral("Update")));
    btOpenbookmark_->setText(Translate(QStringLiteral("Show")));
    txtNameList_->setPlaceholderText(Translate(QStringLiteral("Enter name to find")));
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Close")));
}

void TfrmTreeDialog::showEvent(QShowEvent* event) {
    Prepare();
    QDialog::showEvent(event);
}

void TfrmTreeDialog::Prepare() {
    TranslateTexts();
    TBusyCursor busy;
    // Each opening steps away from the last position, like the tree windows.
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QPoint& cascade = CascadePosition();
    cascade += QPoint(kCascadeStep, kCascadeStep);
    if (cascade.x() + width() / 2 > area.width() || cascade.y() + height() / 2 > area.height())
        cascade = QPoint(kCascadeStep, kCascadeStep);
    move(area.topLeft() + cascade);
    search_->ClearResults();
    search_->CollapseResults();

    // Filled from the tree open now: after another tree was opened, the old outline would offer persons
    // of that tree.
    if (filledGeneration_ != TreeGeneration()) {
        filledGeneration_ = TreeGeneration();
        framTree_->OpenTree(true);
        framTree_->SetMirrored(true);
    }
    framTree_->SetReadOnly(true);

    chosen_ = TPickedPersons();
    accepted_ = false;
    answer_ = 0;
    ShowRefusal(QString());
    listFilled_ = false;
    g_->DeleteAllRows();
    FillBookmarks();
    tabs_->setCurrentWidget(tabTree_);
    framTree_->View()->setFocus();
}

void TfrmTreeDialog::FillNameList() {
    TBusyCursor busy;
    listFilled_ = true;
    QStringList names;
    QStringList ids;
    if (IsTreeOpen())
        ListFullNames(names, ids, genderFilter_);
    g_->DeleteAllRows();
    g_->SetColCount(3);
    g_->SetRowCount(static_cast<int>(ids.size()) + TZelGridModel::kFixedRows);
    g_->SetCells(kNameCol, 0, Translate(QStringLiteral("Name")));
    for (qsizetype i = 0; i < ids.size(); ++i) {
        g_->SetCells(kIdCol, static_cast<int>(i + 1), ids[i]);
        g_->SetCells(kNameCol, static_cast<int>(i + 1), names[i]);
    }
    g_->SetColWidths({30, 0, 300});
    if (!ids.isEmpty())
        g_->SetCurrentCell(kNameCol, 1);
}

void TfrmTreeDialog::FillBookmarks() {
    TextTable table;
    if (IsTreeOpen())
        ListBookmarks(table);
    gBookmark_->DeleteAllRows();
    gBookmark_->SetColCount(5);
    if (table.size() > 1)
        FillGridFromTable(*gBookmark_, table, QString(), false);
    gBookmark_->SetColCount(5);
    gBookmark_->SetCells(kBookmarkNameCol, 0, Translate(QStringLiteral("Name")));
    gBookmark_->SetCells(4, 0, Translate(QStringLiteral("Notes")));
    for (int row = 1; row < gBookmark_->RowCount(); ++row)
        gBookmark_->SetCells(kBookmarkNameCol, row,
                             GetLineageName(gBookmark_->Cells(kBookmarkPersonCol, row)));
    gBookmark_->SetColWidths({30, 0, 0, 180, 280});
}

void TfrmTreeDialog::DrawNameCell(QPainter& painter, const QRect& rect, int col, int row) {
    const QString find = txtNameList_->text().trimmed();
    if (col != kNameCol || row < 1 || find.isEmpty())
        return;
    const QString name = g_->Cells(col, row);
    if (!FoldedContains(name, SearchFold(find)))
        return;
    const QModelIndex index = g_->Model().index(row - TZelGridModel::kFixedRows, col - 1);
    QColor back = row % 2 == 1 ? g_->BackColor() : g_->AlternatingBackColor();
    if (g_->selectionModel()->isSelected(index))
        back = g_->SelectColor();
    QFont font = g_->font();
    font.setBold(true);
    painter.setLayoutDirection(g_->layoutDirection());
    painter.setBrush(back);
    painter.setPen(kFoundColor);
    painter.setFont(font);
    TZelGrid::DrawCellText(painter, rect.adjusted(2, 2, -2, -2), name, Qt::AlignLeading | Qt::AlignVCenter);
}

void TfrmTreeDialog::FindInList() {
    // Names compare folded for searching, however they were written or typed.
    const QString find = SearchFold(txtNameList_->text().trimmed());
    const int rows = g_->RowCount() - TZelGridModel::kFixedRows;
    if (find.isEmpty() || rows < 1)
        return;
    int current = g_->Row();
    if (current >= rows)
        current = 0;
    int found = 1;
    for (int row = current + 1; row <= rows; ++row) {
        const QString name = SearchFold(g_->Cells(kNameCol, row));
        const qsizetype at = name.indexOf(find);
        if (at == 0 || (at > 0 && chkInFullName_->isChecked())) {
            found = row;
            break;
        }
    }
    g_->SetCurrentCell(kNameCol, found);
    g_->viewport()->update();
    txtNameList_->setFocus();
}

void TfrmTreeDialog::LocateInOutline(const QString& personId) {
    if (framTree_->LocatePerson(personId))
        framTree_->View()->setFocus();
}

void TfrmTreeDialog::OpenBookmark(int row) {
    if (row < 1 || row >= gBookmark_->RowCount())
        return;
    const QString id = gBookmark_->Cells(kBookmarkPersonCol, row).trimmed();
    if (id.isEmpty())
        return;
    tabs_->setCurrentWidget(tabTree_);
    LocateInOutline(id);
}

void TfrmTreeDialog::DeleteBookmarkRow(int row) {
    if (row < 1 || row >= gBookmark_->RowCount() ||
        gBookmark_->Cells(kBookmarkIdCol, row).trimmed().isEmpty())
        return;
    if (MsgYesNo(Translate(QStringLiteral("Please confirm the removal.")) + u'|' +
                     gBookmark_->Cells(kBookmarkNameCol, row),
                 Translate(QStringLiteral("Remove Bookmark")), IDNO) != IDYES)
        return;
    const QString personId = gBookmark_->Cells(kBookmarkPersonCol, row).trimmed();
    UndoStep step(StepText("Remove the bookmark of «%*»", {personId}), personId);
    if (DeleteBookmark(gBookmark_->Cells(kBookmarkIdCol, row)))
        gBookmark_->DeleteRow(row);
}

bool TfrmTreeDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtNameList_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            FindInList();
            return true;
        }
    } else if (watched == g_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const int row = g_->Row();
        if (row >= 1 && row < g_->RowCount()) {
            tabs_->setCurrentWidget(tabTree_);
            LocateInOutline(g_->Cells(kIdCol, row));
        }
        return true;
    } else if (watched == gBookmark_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        OpenBookmark(gBookmark_->Row());
        return true;
    } else if (watched == gBookmark_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier)) {
            DeleteBookmarkRow(gBookmark_->Row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmTreeDialog::accept() {
    chosen_ = TPickedPersons();
    QWidget* shown = tabs_->currentWidget();
    if (shown == tabTree_) {
        TTreeModel* model = framTree_->Model();
        QModelIndexList selected = framTree_->View()->selectionModel()->selectedRows();
        const QModelIndex current = framTree_->View()->currentIndex();
        if (selected.isEmpty() && current.isValid())
            selected << current;
        if (selected.size() > 1) {
            // Several persons: the outside-the-tree group and the root are never among them.
            for (const QModelIndex& index : selected) {
                const TPersonNode* record = model->Record(index);
                if (record && !model->IsGlobalParent(index))
                    chosen_.Ids << record->PersonId;
            }
        } else if (selected.size() == 1) {
            const QModelIndex& index = selected.front();
            if (const TPersonNode* record = model->Record(index)) {
                chosen_.Id = record->PersonId;
                chosen_.Gender = record->Gender;
            } else {
                chosen_.Id = QStringLiteral("-1");
            }
            chosen_.Caption = index.data().toString();
            chosen_.Ids << chosen_.Id;
        }
    } else if (shown == tabList_) {
        const int row = g_->Row();
        if (row >= 1 && row < g_->RowCount() && !g_->Cells(kIdCol, row).isEmpty()) {
            chosen_.Id = g_->Cells(kIdCol, row);
            chosen_.Caption = g_->Cells(kNameCol, row);
            chosen_.Ids << chosen_.Id;
        }
    } else {
        const int row = gBookmark_->Row();
        if (row >= 1 && row < gBookmark_->RowCount() &&
            !gBookmark_->Cells(kBookmarkPersonCol, row).isEmpty()) {
            chosen_.Id = gBookmark_->Cells(kBookmarkPersonCol, row);
            chosen_.Caption = gBookmark_->Cells(kBookmarkNameCol, row);
            chosen_.Ids << chosen_.Id;
        }
    }
    // A person the open tree does not hold is never handed on.
    QStringList existing;
    for (const QString& id : std::as_const(chosen_.Ids)) {
        if (id == u"-1" || PersonExists(id))
            existing << id;
    }
    if (existing.size() != chosen_.Ids.size()) {
        chosen_.Ids = existing;
        if (!existing.contains(chosen_.Id))
            chosen_.Id.clear();
    }
    // Many persons share a first name: the questions name the one chosen with his lineage.
    if (!chosen_.Id.isEmpty() && chosen_.Id != u"-1")
        chosen_.Caption = GetLineageName(chosen_.Id);
    if (!Checked())
        return;
    accepted_ = true;
    SavePosition();
    QDialog::accept();
}

void TfrmTreeDialog::reject() {
    chosen_ = TPickedPersons();
    accepted_ = false;
    SavePosition();
    QDialog::reject();
}

void TfrmTreeDialog::closeEvent(QCloseEvent* event) {
    SavePosition();
    QDialog::closeEvent(event);
}

void TfrmTreeDialog::SavePosition() {
    CascadePosition() = pos() - (screen() ? screen()->availableGeometry().topLeft() : QPoint());
}

void TfrmTreeDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QDialog::changeEvent(event);
}

} // namespace verdan
