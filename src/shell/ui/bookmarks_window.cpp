#include "shell/ui/bookmarks_window.h"

#include "navigator/ui/edit_note_dialog.h"
#include "reports/ui/zel_grid.h"
#include "storage/bookmark_store.h"
#include "storage/person_names.h"
#include "storage/tree_file.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/empty_note.h"
#include "text/ui/escape_closes.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/ui/person_follow.h"

#include <QAction>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QShowEvent>
#include <QToolBar>
#include <QVBoxLayout>

namespace verdan {

namespace {

enum Column { kOid = 1, kPersonId, kName, kNote };

QAction* NewAction(QObject* parent, const char16_t* icon) {
    auto* action = new QAction(Icon(icon), QString(), parent);
    return action;
}

} // namespace

TfrmBookmark::TfrmBookmark(QWidget* parent)
    : QWidget(parent, Qt::Window), toolBar_(new QToolBar(this)), popup_(new QMenu(this)),
      gBookmark_(new TZelGrid(this)), frmEditNote_(new TfrmEditNote(this)) {
    CloseOnEscape(this);
    setObjectName(QStringLiteral("frmBookmark"));
    actEdit_ = NewAction(this, u"document-edit");
    actDelete_ = NewAction(this, u"edit-delete");
    actRefresh_ = NewAction(this, u"view-refresh");
    actGoto_ = NewAction(this, u"go-home");
    actShowData_ = NewAction(this, u"x-office-address-book");
    actShowInTreeWindow_ = NewAction(this, u"window-new");
    mnuCopy_ = NewAction(this, u"edit-copy");
    actDelete_->setShortcut(QKeySequence::Delete);
    actDelete_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(actDelete_);
    // Tool buttons show their pictures only.
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (QAction* action : {actEdit_, actDelete_, actRefresh_, actGoto_, actShowData_})
        toolBar_->addAction(action);
    popup_->addActions({actEdit_, actDelete_, mnuCopy_});
    popup_->addSeparator();
    popup_->addAction(actRefresh_);
    popup_->addSeparator();
    popup_->addActions({actGoto_, actShowInTreeWindow_});

    gBookmark_->setObjectName(QStringLiteral("gBookmark"));
    gBookmark_->SetAutoRowNumber(true);
    gBookmark_->SetAutoRowHeight(true);
    gBookmark_->SetColHeaderHeight(30);
    gBookmark_->setSelectionMode(QAbstractItemView::SingleSelection);
    gBookmark_->setContextMenuPolicy(Qt::CustomContextMenu);
    FollowPersonView(gBookmark_, [this](const QModelIndex& index) {
        return gBookmark_->Cells(kPersonId, index.row() + 1);
    });

    noteEmpty_ = ShowNoteWhileEmpty(gBookmark_, [this] { return count_ <= 0; });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    column->addWidget(toolBar_);
    column->addWidget(gBookmark_, 1);

    connect(actEdit_, &QAction::triggered, this, &TfrmBookmark::EditCurrent);
    connect(actDelete_, &QAction::triggered, this, &TfrmBookmark::DeleteCurrent);
    connect(actRefresh_, &QAction::triggered, this, &TfrmBookmark::Refresh);
    connect(actGoto_, &QAction::triggered, this, [this] {
        if (currentPerson_.isEmpty())
            return;
        emit MainTreeWanted(currentPerson_);
        activateWindow();
    });
    connect(actShowData_, &QAction::triggered, this, [this] {
        if (!currentPerson_.isEmpty())
            emit DataCardWanted(currentPerson_);
    });
    connect(actShowInTreeWindow_, &QAction::triggered, this, [this] {
        const QString id = gBookmark_->Cells(kPersonId, gBookmark_->Row()).trimmed();
        if (!id.isEmpty())
            emit TreeWindowWanted(id);
    });
    connect(mnuCopy_, &QAction::triggered, gBookmark_, &TZelGrid::CopyToClipboard);
    connect(gBookmark_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    SelectCell(current.column() + 1, current.row() + 1);
            });
    connect(gBookmark_, &TZelGrid::AfterEdit, this, &TfrmBookmark::NoteEdited);
    connect(gBookmark_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = gBookmark_->indexAt(at);
        if (index.isValid())
            gBookmark_->setCurrentIndex(index);
        popup_->exec(gBookmark_->viewport()->mapToGlobal(at));
    });
    TranslateTexts();
    UpdateActions();
    resize(560, 460);
}

void TfrmBookmark::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Bookmarks")));
    const auto set = [](QAction* action, const char* caption, const char* hint) {
        action->setText(TranslateContext(QString::fromLatin1(caption), QStringLiteral("bookmarks")));
        action->setToolTip(TranslateContext(QString::fromLatin1(hint), QStringLiteral("bookmarks")));
    };
    set(actEdit_, "Edit", "Edit bookmark");
    set(actDelete_, "Delete", "Delete bookmark");
    set(actRefresh_, "Update", "Update data");
    set(actGoto_, "Show in Main Window", "Show person in main window");
    set(actShowData_, "Data Card", "Data Card");
    set(actShowInTreeWindow_, "Separate Tree", "Show person in separate tree");
    mnuCopy_->setText(Translate(QStringLiteral("Copy")));
    noteEmpty_->setText(TranslateContext(
        QStringLiteral(
            "No bookmarks yet. To bookmark a person, choose Bookmark.. in the person's menu in the "
            "outline and write a note."),
        QStringLiteral("bookmarks")));
    gBookmark_->SetColTitles({QString(), QString(), QString(), Translate(QStringLiteral("Name")),
                              Translate(QStringLiteral("Notes"))});
}

void TfrmBookmark::Refresh() {
    TBusyCursor busy;
    TextTable table;
    if (IsTreeOpen())
        ListBookmarks(table);
    if (table.isEmpty())
        table = {{"oid", "person_id", "name", "notes"}};
    gBookmark_->SetColCount(kNote + 1);
    FillGridFromTable(*gBookmark_, table, QString(), false);
    count_ = static_cast<int>(table.size()) - 1;
    for (int row = 1; row <= count_; ++row)
        gBookmark_->SetCells(kName, row, GetLineageName(gBookmark_->Cells(kPersonId, row).trimmed()));
    gBookmark_->SetColWidths({30, -1, -1, 180, 280});
    TranslateTexts();
    ClearSelection();
}

void TfrmBookmark::ClearSelection() {
    currentRow_ = -1;
    currentPerson_.clear();
    currentOid_.clear();
    gBookmark_->SetAllowEdit(false);
    gBookmark_->clearSelection();
    gBookmark_->setCurrentIndex(QModelIndex());
    UpdateActions();
}

void TfrmBookmark::UpdateActions() {
    const bool any = count_ > 0;
    for (QAction* action : {actEdit_, actDelete_, actGoto_, actShowData_, actShowInTreeWindow_})
        action->setEnabled(any && !currentPerson_.isEmpty());
    mnuCopy_->setEnabled(any);
}

void TfrmBookmark::SelectCell(int col, int row) {
    // Only the note is edited in place.
    gBookmark_->SetAllowEdit(col == kNote && count_ > 0);
    const QString person = gBookmark_->Cells(kPersonId, row).trimmed();
    if (person.isEmpty()) {
        currentRow_ = -1;
        currentPerson_.clear();
        currentOid_.clear();
    } else {
        currentRow_ = row;
        currentPerson_ = person;
        currentOid_ = gBookmark_->Cells(kOid, row).trimmed();
    }
    UpdateActions();
}

void TfrmBookmark::NoteEdited(int col, int row) {
    // The note belongs to the row that was edited, whichever row is current by now.
    const QString oid = gBookmark_->Cells(kOid, row).trimmed();
    if (col != kNote || oid.isEmpty())
        return;
    const QString personId = gBookmark_->Cells(kPersonId, row).trimmed();
    UndoStep step(StepText("Edit the bookmark of «%*»", {personId}), personId);
    SetBookmarkNote(oid, gBookmark_->Cells(kNote, row));
}

void TfrmBookmark::EditCurrent() {
    if (currentPerson_.isEmpty() || currentRow_ < 1)
        return;
    QString note = GetBookmarkNote(currentOid_);
    if (!frmEditNote_->Edit(GetLineageName(currentPerson_), note))
        return;
    UndoStep step(StepText("Edit the bookmark of «%*»", {currentPerson_}), currentPerson_);
    if (SetBookmarkNote(currentOid_, note))
        gBookmark_->SetCells(kNote, currentRow_, note);
}

void TfrmBookmark::DeleteCurrent() {
    if (currentOid_.isEmpty() || currentRow_ < 1)
        return;
    // Closing the question keeps the bookmark: only Yes deletes.
    if (MsgYesNo(TranslateContext(QStringLiteral("Please confirm deleting the bookmark."),
                                  QStringLiteral("bookmarks")),
                 TranslateContext(QStringLiteral("Delete bookmark"), QStringLiteral("bookmarks")),
                 IDNO) != IDYES)
        return;
    {
        UndoStep step(StepText("Remove the bookmark of «%*»", {currentPerson_}), currentPerson_);
        if (!DeleteBookmark(currentOid_))
            return;
    }
    // The last one gone, the list reads again and keeps its one empty row.
    if (count_ <= 1) {
        Refresh();
        return;
    }
    gBookmark_->DeleteRow(currentRow_);
    --count_;
    ClearSelection();
}

void TfrmBookmark::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Refresh();
}

void TfrmBookmark::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

} // namespace verdan
