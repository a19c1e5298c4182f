#include "relations/ui/person_list_window.h"

#include "reports/ui/zel_grid.h"
#include "storage/person_names.h"
#include "storage/tree_file.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/escape_closes.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"
#include "text/ui/person_follow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kTitleRowHeight = 30;
constexpr int kRowNumberWidth = 30;

// Enter on a row does what a double click does.
class TEnterOpensRow : public QObject {
public:
    TEnterOpensRow(QObject* parent, std::function<void()> open) : QObject(parent), open_(std::move(open)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                open_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> open_;
};

} // namespace

TfrmPersonList::TfrmPersonList(QWidget* parent)
    : QWidget(parent, Qt::Window), btStayOnTop_(new QToolButton(this)), btUpdate_(new QPushButton(this)),
      bar_(new QHBoxLayout), body_(new QVBoxLayout(this)), popup_(new QMenu(this)) {
    CloseOnEscape(this);
    btStayOnTop_->setObjectName(QStringLiteral("bt_StayOnTop"));
    btStayOnTop_->setIcon(Icon(u"view-pin"));
    btStayOnTop_->setCheckable(true);
    btStayOnTop_->setAutoRaise(true);
    btUpdate_->setObjectName(QStringLiteral("bt_Update"));
    btUpdate_->setIcon(Icon(u"view-refresh"));
    btUpdate_->setAutoDefault(false);
    bar_->setSpacing(kSpacing);
    bar_->addWidget(btStayOnTop_);
    bar_->addWidget(btUpdate_);
    bar_->addStretch(1);
    body_->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    body_->setSpacing(kRowSpacing);
    body_->addLayout(bar_);

    mnuDataCard_ = popup_->addAction(Icon(u"x-office-address-book"), QString());
    mnuTreeWindow_ = popup_->addAction(Icon(u"window-new"), QString());
    mnuMainTree_ = popup_->addAction(Icon(u"go-home"), QString());

    connect(btStayOnTop_, &QToolButton::toggled, this, &TfrmPersonList::SetStayOnTop);
    connect(btUpdate_, &QPushButton::clicked, this, &TfrmPersonList::Refresh);
    resize(900, 520);
}

void TfrmPersonList::TranslateTexts() {
    btStayOnTop_->setToolTip(Translate(QStringLiteral("Stay on Top")));
    btStayOnTop_->setAccessibleName(btStayOnTop_->toolTip());
    btUpdate_->setText(Translate(QStringLiteral("Update")));
    mnuDataCard_->setText(Translate(QStringLiteral("Data Card")) + QStringLiteral(".."));
    mnuTreeWindow_->setText(Translate(QStringLiteral("Separate Tree")) + QStringLiteral(".."));
    mnuMainTree_->setText(Translate(QStringLiteral("Show in Main Window")));
}

void TfrmPersonList::ShowCell(const TZelGrid*, int, int, QString&) const {
}

void TfrmPersonList::Refresh() {
    TBusyCursor busy;
    ReadList();
}

bool TfrmPersonList::IsStayOnTop() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TfrmPersonList::SetStayOnTop(bool on) {
    if (btStayOnTop_->isChecked() != on)
        btStayOnTop_->setChecked(on);
    if (IsStayOnTop() == on)
        return;
    // Changing the window's flags hides it; it comes back where it was, without taking the focus.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) {
        restyling_ = true;
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
        restyling_ = false;
    }
}

TZelGrid* TfrmPersonList::NewGrid(QWidget* parent) {
    auto* grid = new TZelGrid(parent);
    grid->SetReadonly(true);
    grid->SetAllowSorting(true);
    grid->SetAutoRowNumber(true);
    grid->SetColWidth(0, kRowNumberWidth);
    grid->SetRowHeight(0, kTitleRowHeight);
    grid->SetColHeaderHeight(kTitleRowHeight);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint& at) { ShowPopup(grid, at); });
    connect(grid, &QAbstractItemView::doubleClicked, this,
            [this, grid](const QModelIndex& index) { OpenRow(grid, index.row() + 1); });
    grid->installEventFilter(new TEnterOpensRow(grid, [this, grid] { OpenRow(grid, grid->Row()); }));
    const QPointer<TZelGrid> guard(grid);
    grid->CellView = [this, guard](int col, int row, QString& text, int&, Qt::LayoutDirection&) {
        if (!guard)
            return;
        for (const ListedGrid& listed : persons_) {
            if (listed.grid != guard || !listed.lazy || !text.isEmpty())
                continue;
            for (const PersonColumn& c : listed.columns) {
                if (c.name != col)
                    continue;
                const QString id = guard->Cells(c.id, row).trimmed();
                if (id.isEmpty())
                    continue;
                // Looked up once: a person without a name keeps a blank, which is not looked up again.
                QString name = GetLineageName(id);
                if (name.isEmpty())
                    name = QStringLiteral(" ");
                text = name;
                QMetaObject::invokeMethod(
                    guard,
                    [guard, col, row, name] {
                        if (guard && col < guard->ColCount() && row < guard->RowCount() &&
                            guard->Cells(col, row).isEmpty())
                            guard->SetCells(col, row, name);
                    },
                    Qt::QueuedConnection);
            }
        }
        ShowCell(guard, col, row, text);
    };
    return grid;
}

void TfrmPersonList::Fill(TZelGrid* grid, const QList<QStringList>& table, const QList<int>& widths) {
    grid->SetColCount(static_cast<int>(widths.size()));
    // A table that could not be read still empties the grid.
    QList<QStringList> rows = table.isEmpty() ? QList<QStringList>{QStringList(widths.size() - 1)} : table;
    FillGridFromTable(*grid, rows, QString(), false);
    grid->SetColWidths(widths);
}

void TfrmPersonList::ListPersons(TZelGrid* grid, const QList<PersonColumn>& columns, bool lazy) {
    persons_ << ListedGrid{grid, columns, lazy};
    FollowPersonView(grid, [this, grid](const QModelIndex& index) {
        return PersonAt(grid, index.column() + 1, index.row() + 1);
    });
}

QString TfrmPersonList::PersonAt(TZelGrid* grid, int col, int row) const {
    for (const ListedGrid& listed : persons_) {
        if (listed.grid != grid || listed.columns.isEmpty())
            continue;
        for (const PersonColumn& c : listed.columns)
            if (c.name == col)
                return grid->Cells(c.id, row).trimmed();
        return grid->Cells(listed.columns.first().id, row).trimmed();
    }
    return QString();
}

QStringList TfrmPersonList::PersonsOfRow(TZelGrid* grid, int row) const {
    QStringList ids;
    for (const ListedGrid& listed : persons_) {
        if (listed.grid != grid)
            continue;
        for (const PersonColumn& c : listed.columns) {
            const QString id = grid->Cells(c.id, row).trimmed();
            if (!id.isEmpty() && !ids.contains(id))
                ids << id;
        }
    }
    return ids;
}

void TfrmPersonList::OpenRow(TZelGrid* grid, int row) {
    // The empty row of an empty list holds nobody.
    if (row < 1 || !IsTreeOpen())
        return;
    for (const QString& id : PersonsOfRow(grid, row))
        emit TreeWindowWanted(id);
}

void TfrmPersonList::ShowPopup(TZelGrid* grid, const QPoint& at) {
    const QModelIndex index = grid->indexAt(at);
    if (!index.isValid())
        return;
    grid->setCurrentIndex(index);
    const QString id = PersonAt(grid, index.column() + 1, index.row() + 1);
    if (id.isEmpty())
        return;
    QAction* chosen = popup_->exec(grid->viewport()->mapToGlobal(at));
    if (chosen == mnuDataCard_)
        emit DataCardWanted(id);
    else if (chosen == mnuTreeWindow_)
        emit TreeWindowWanted(id);
    else if (chosen == mnuMainTree_)
        emit MainTreeWanted(id);
}

void TfrmPersonList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown again by the desktop (restored from an icon) or after the stay-on-top change: as it was.
    if (event->spontaneous() || restyling_)
        return;
    TranslateTexts();
    Refresh();
}

void TfrmPersonList::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

} // namespace verdan
