#include "start_page.h"

#include "calendar/calendar_names.h"
#include "reports/ui/zel_grid.h"
#include "shell/recent_trees.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

enum Column { MarkerCol = 0, TreeCol = 1, CreatorCol = 2, FileCol = 3, DateCol = 4, FolderCol = 5 };

// Where a tree file lies, as its folder reads for the user: the home folder written "~".
QString ShownFolder(const QString& file) {
    const QString folder = QFileInfo(file).absolutePath();
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + u'/'))
        return QDir::toNativeSeparators(u'~' + folder.mid(home.size()));
    return QDir::toNativeSeparators(folder);
}
constexpr int kOpenSpot = 18; // width of the open arrow at the end of a tree name
const QColor kMissingColor(128, 128, 128);
const QColor kNameColor(54, 54, 54);

// A placeholder in the current language; the English document leaves bracketed texts untranslated.
QString Placeholder(const QString& text) {
    const QString translated = Translate(text);
    return translated.isEmpty() ? text.mid(1, text.size() - 2) : translated;
}

// The stored date in the interface language; a text that is no date stays as it is.
QString ShownDate(const QString& stored) {
    QDate date = QDate::fromString(stored.trimmed(), Qt::ISODate);
    if (!date.isValid())
        date = QLocale::system().toDate(stored.trimmed(), QLocale::ShortFormat);
    return date.isValid() ? InterfaceDateText(date) : stored;
}

} // namespace

Tfrm_Start_Page::Tfrm_Start_Page(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Start_Page"));
    lblSelect_ = new QLabel(this);
    gTrees_ = new TZelGrid(this);
    gTrees_->setObjectName(QStringLiteral("gTrees"));
    gTrees_->SetColCount(6);
    gTrees_->SetReadonly(true);
    gTrees_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gTrees_->setSelectionMode(QAbstractItemView::SingleSelection);
    gTrees_->SetDefaultRowHeight(QFontMetrics(gTrees_->font()).height() + 10);
    gTrees_->SetColWidths({1, 200, 150, 0, 110, 200});
    gTrees_->horizontalHeader()->setStretchLastSection(true);
    gTrees_->setContextMenuPolicy(Qt::CustomContextMenu);
    gTrees_->viewport()->setMouseTracking(true);
    gTrees_->viewport()->installEventFilter(this);
    gTrees_->installEventFilter(this);
    gTrees_->OnDrawCell = [this](QPainter& painter, const QRect& rect, int col, int row) {
        DrawCell(painter, rect, col, row);
    };
    txtPath_ = new QLineEdit(this);
    txtPath_->setObjectName(QStringLiteral("txtPath"));
    txtPath_->setReadOnly(true);
    txtPath_->setLayoutDirection(Qt::LeftToRight);
    btOpen_ = new QPushButton(this);
    btNew_ = new QPushButton(this);
    btClose_ = new QPushButton(this);
    pmTrees_ = new QMenu(this);
    mnuRemove_ = pmTrees_->addAction(QString());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btOpen_);
    buttons->addWidget(btNew_);
    buttons->addStretch();
    buttons->addWidget(btClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSelect_);
    layout->addWidget(gTrees_, 1);
    layout->addWidget(txtPath_);
    layout->addLayout(buttons);
    resize(560, 400);

    connect(btOpen_, &QPushButton::clicked, this, &Tfrm_Start_Page::OpenDialogClick);
    connect(btNew_, &QPushButton::clicked, this, &Tfrm_Start_Page::NewTreeClick);
    connect(btClose_, &QPushButton::clicked, this, &QDialog::reject);
    connect(gTrees_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { OpenRow(index.row() + TZelGridModel::kFixedRows); });
    connect(gTrees_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { ShowPath(current.row() + TZelGridModel::kFixedRows); });
    connect(gTrees_, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
        const int row = gTrees_->RowAt(point);
        if (busy_ || row < TZelGridModel::kFixedRows || row > RecentTrees().Count())
            return;
        gTrees_->SetCurrentCell(TreeCol, row);
        pmTrees_->exec(gTrees_->viewport()->mapToGlobal(point));
    });
    connect(mnuRemove_, &QAction::triggered, this, [this] { RemoveRow(gTrees_->Row()); });
    connect(&RecentTrees(), &TRecentTrees::Changed, this, &Tfrm_Start_Page::Fill);
}

QString Tfrm_Start_Page::PathText() const {
    return txtPath_->text();
}

void Tfrm_Start_Page::showEvent(QShowEvent* event) {
    // A page shown again takes input again, whatever happened to the tree chosen last time.
    busy_ = false;
    TranslateTexts();
    Fill();
    QDialog::showEvent(event);
}

void Tfrm_Start_Page::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Start Page")));
    lblSelect_->setText(Translate(QStringLiteral("Select tree file to open:")));
    btOpen_->setText(Translate(QStringLiteral("Open tree file")));
    btNew_->setText(Translate(QStringLiteral("Create new tree file")));
    btClose_->setText(Translate(QStringLiteral("&Close")));
    mnuRemove_->setText(Translate(QStringLiteral("Remove From List")));
    mnuRemove_->setShortcut(QKeySequence(QStringLiteral(".")));
    gTrees_->SetColTitles({QString(), Translate(QStringLiteral("Tree")), Translate(QStringLiteral("Creator")),
                           Translate(QStringLiteral("File")), Translate(QStringLiteral("Last modified")),
                           Translate(QStringLiteral("Folder"))});
}

void Tfrm_Start_Page::Fill() {
    const int current = gTrees_->Row();
    const QList<TRecentTree>& items = RecentTrees().Items();
    gTrees_->DeleteAllRows();
    gTrees_->SetRowCount(TZelGridModel::kFixedRows + std::max<int>(1, static_cast<int>(items.size())));
    for (int i = 0; i < items.size(); ++i) {
        const TRecentTree& item = items[i];
        const int row = TZelGridModel::kFixedRows + i;
        const QString name =
            item.TreeName.isEmpty() ? Placeholder(QStringLiteral("[Untitled]")) : item.TreeName;
        gTrees_->SetCells(MarkerCol, row, QFileInfo(item.File).isFile() ? QString() : QStringLiteral("1"));
        gTrees_->SetCells(TreeCol, row, QStringLiteral("  ") + name + QStringLiteral("  "));
        gTrees_->SetCells(CreatorCol, row,
                          item.Creator.isEmpty() ? Placeholder(QStringLiteral("[Not specified]"))
                                                 : item.Creator);
        gTrees_->SetCells(FileCol, row, item.File);
        gTrees_->SetCells(DateCol, row, ShownDate(item.LastModified));
        // Trees of one name told apart by where they lie.
        gTrees_->SetCells(FolderCol, row, ShownFolder(item.File));
    }
    if (!items.isEmpty())
        gTrees_->SetCurrentCell(TreeCol, std::clamp<int>(current, 1, static_cast<int>(items.size())));
    ShowPath(gTrees_->Row());
}

void Tfrm_Start_Page::ShowPath(int row) {
    const bool listed = row >= TZelGridModel::kFixedRows && row <= RecentTrees().Count();
    const QString file = listed ? gTrees_->Cells(FileCol, row) : QString();
    txtPath_->setText(QDir::toNativeSeparators(file));
    QPalette palette = txtPath_->palette();
    palette.setColor(QPalette::Text, gTrees_->Cells(MarkerCol, row).isEmpty() ? kNameColor : QColor(Qt::red));
    txtPath_->setPalette(palette);
}

void Tfrm_Start_Page::DrawCell(QPainter& painter, const QRect& rect, int col, int row) {
    if (row > RecentTrees().Count())
        return;
    const QModelIndex index = gTrees_->Model().index(row - TZelGridModel::kFixedRows, col - 1);
    const bool focused = gTrees_->hasFocus() && gTrees_->currentIndex() == index;
    QColor back = row % 2 == 1 ? gTrees_->BackColor() : gTrees_->AlternatingBackColor();
    if (gTrees_->selectionModel()->isSelected(index) && !focused)
        back = gTrees_->SelectColor();
    const bool missing = !gTrees_->Cells(MarkerCol, row).isEmpty();
    QFont font = gTrees_->font();
    QColor color = missing ? kMissingColor : QColor(Qt::black);
    if (col == TreeCol) {
        font.setBold(true);
        if (!missing)
            color = kNameColor;
    }
    painter.setLayoutDirection(gTrees_->layoutDirection());
    painter.setBrush(back);
    painter.setPen(color);
    painter.setFont(font);
    // Each text in its own reading order: a Latin tree name in the mirrored list, an English date; a
    // folder reads from its root and, when it is too long, keeps its last folders.
    const QString text = col == FolderCol ? IsolatePath(QFontMetrics(font).elidedText(
                                                gTrees_->Cells(col, row), Qt::ElideLeft, rect.width() - 8))
                                          : Isolate(gTrees_->Cells(col, row));
    TZelGrid::DrawCellText(painter, rect, text, Qt::AlignLeft | Qt::AlignVCenter);
    if (col != TreeCol)
        return;
    // The open arrow at the end of the name, pointing in reading direction.
    const bool rtl = gTrees_->layoutDirection() == Qt::RightToLeft;
    const int tip = rtl ? rect.left() + 6 : rect.right() - 6;
    const int base = rtl ? tip + 6 : tip - 6;
    const int middle = rect.center().y();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(missing ? kMissingColor : QColor(0, 128, 64));
    painter.drawPolygon(QPolygon({QPoint(base, middle - 5), QPoint(tip, middle), QPoint(base, middle + 5)}));
}

bool Tfrm_Start_Page::OnOpenSpot(const QPoint& point) const {
    const QModelIndex index = gTrees_->indexAt(point);
    if (!index.isValid() || index.column() != TreeCol - 1 ||
        index.row() + TZelGridModel::kFixedRows > RecentTrees().Count())
        return false;
    const QRect cell = gTrees_->visualRect(index);
    return gTrees_->layoutDirection() == Qt::RightToLeft ? point.x() < cell.left() + kOpenSpot
                                                         : point.x() > cell.right() - kOpenSpot;
}

bool Tfrm_Start_Page::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == gTrees_->viewport()) {
        if (type == QEvent::MouseMove) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            gTrees_->viewport()->setCursor(OnOpenSpot(mouse->position().toPoint()) ? Qt::PointingHandCursor
                                                                                   : Qt::ArrowCursor);
        } else if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                   type == QEvent::MouseButtonDblClick) {
            if (busy_)
                return true;
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint point = mouse->position().toPoint();
            if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
                OnOpenSpot(point)) {
                OpenRow(gTrees_->RowAt(point));
                return true;
            }
        }
    } else if (watched == gTrees_ && type == QEvent::KeyPress) {
        if (busy_)
            return true;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            OpenRow(gTrees_->Row());
            return true;
        }
        if (key->text() == u".") {
            RemoveRow(gTrees_->Row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_Start_Page::OpenRow(int row) {
    if (busy_ || row < TZelGridModel::kFixedRows || row > RecentTrees().Count())
        return;
    const QString file = RecentTrees().Items()[row - TZelGridModel::kFixedRows].File;
    if (!QFileInfo(file).isFile()) {
        MsgErrorRtl(Translate(QStringLiteral("File not found.")) + u'|' + IsolatePath(file));
        return;
    }
    busy_ = true;
    accept();
    if (OpenTree)
        OpenTree(file);
}

void Tfrm_Start_Page::RemoveRow(int row) {
    if (busy_ || row < TZelGridModel::kFixedRows || row > RecentTrees().Count())
        return;
    const QString file = RecentTrees().Items()[row - TZelGridModel::kFixedRows].File;
    const QString name = gTrees_->Cells(TreeCol, row).trimmed();
    const QString text = Translate(QStringLiteral("File")) + u':' + u'\n' + u'"' + name + u'"' + u'\n' +
                         Translate(QStringLiteral("Remove file name from the list?")) + u'|' +
                         Translate(QStringLiteral("Please confirm")) + u'.';
    if (MsgOkCancel(text, Translate(QStringLiteral("Remove From List")), IDCANCEL) != IDOK)
        return;
    RecentTrees().Remove(RecentTrees().IndexOf(file));
}

void Tfrm_Start_Page::OpenDialogClick() {
    if (!busy_ && OpenTreeDialog && OpenTreeDialog())
        accept();
}

void Tfrm_Start_Page::NewTreeClick() {
    if (!busy_ && NewTree && NewTree())
        accept();
}

} // namespace verdan
