#include "favourites_strip.h"

#include "datasheet/ui/data_sheet.h"
#include "reports/name_search.h"
#include "reports/ui/zel_grid.h"
#include "storage/bookmark_store.h"
#include "storage/person_names.h"
#include "storage/tree_file.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/empty_note.h"
#include "text/ui/form_grid.h"
#include "text/ui/person_follow.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kOidCol = 1;
constexpr int kIdCol = 2;
constexpr int kTextCol = 3;
constexpr int kGridLeft = 5;
constexpr int kGridSpare = 15;

// The handle: a grip of dots, and an arrow pointing where the strip will move when pressed.
QPixmap HandlePicture(bool hover, bool open, bool mirrored) {
    QPixmap picture(TFavouritesStrip::kHandleWidth, 48);
    picture.fill(hover ? QColor(0xD8, 0xE4, 0xF4) : QColor(0xE6, 0xE6, 0xE6));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(hover ? QColor(0x30, 0x60, 0xA0) : QColor(0x70, 0x70, 0x70));
    // The strip sits at the trailing edge: it opens towards the leading side.
    const bool pointLeft = open == mirrored;
    const QPolygonF arrow =
        pointLeft ? QPolygonF{{5.5, 20}, {1.5, 24}, {5.5, 28}} : QPolygonF{{1.5, 20}, {5.5, 24}, {1.5, 28}};
    painter.drawPolygon(arrow);
    for (const int y : {8, 12, 36, 40})
        painter.drawEllipse(QPointF(3.5, y), 1, 1);
    return picture;
}

// Person identifiers a drag carries, one a line: in the person-list format, or as plain text.
QStringList DroppedPersons(const QMimeData* data) {
    QStringList ids;
    if (!data)
        return ids;
    const QString format = QString::fromLatin1(TframDataSheet::kPersonIdsMimeType);
    const QString text = data->hasFormat(format) ? QString::fromUtf8(data->data(format))
                         : data->hasText()       ? data->text()
                                                 : QString();
    for (const QString& line : text.split(u'\n'))
        if (IsIdentifierText(line.trimmed()))
            ids << line.trimmed();
    return ids;
}

} // namespace

TFavouritesStrip::TFavouritesStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlSpeedHost"));
    setAcceptDrops(true);
    imgSpeed_ = new QLabel(this);
    imgSpeed_->setObjectName(QStringLiteral("imgSpeed"));
    imgSpeed_->setFixedWidth(kHandleWidth);
    imgSpeed_->setAlignment(Qt::AlignCenter);
    imgSpeed_->setCursor(Qt::PointingHandCursor);
    imgSpeed_->setAutoFillBackground(true);
    imgSpeed_->installEventFilter(this);

    gridHost_ = new QWidget(this);
    gSpeed_ = new TZelGrid(gridHost_);
    FollowPersonView(gSpeed_,
                     [this](const QModelIndex& index) { return gSpeed_->Cells(kIdCol, index.row() + 1); });
    gSpeed_->setObjectName(QStringLiteral("gSpeed"));
    gSpeed_->SetColWidth(0, 0);
    gSpeed_->SetRowHeight(0, 0);
    gSpeed_->SetReadonly(true);
    gSpeed_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gSpeed_->setSelectionMode(QAbstractItemView::SingleSelection);
    gSpeed_->setContextMenuPolicy(Qt::CustomContextMenu);
    gSpeed_->viewport()->installEventFilter(this);
    lblSpeed_ = new QLabel(gridHost_);
    lblSpeed_->setObjectName(QStringLiteral("lblSpeed"));
    QFont bold = lblSpeed_->font();
    bold.setBold(true);
    lblSpeed_->setFont(bold);
    KeepReadingAlignment(lblSpeed_);
    noteEmpty_ = ShowNoteWhileEmpty(gSpeed_, [this] {
        return gSpeed_->RowCount() < 2 || gSpeed_->Cells(kOidCol, 1).trimmed().isEmpty();
    });
    auto* gridLayout = new QVBoxLayout(gridHost_);
    gridLayout->setContentsMargins(kGridLeft, kRowSpacing, kGridSpare - kGridLeft, 0);
    gridLayout->setSpacing(kRowSpacing);
    gridLayout->addWidget(lblSpeed_);
    gridLayout->addWidget(gSpeed_, 1);
    gridHost_->hide();
    connect(gSpeed_, &QWidget::customContextMenuRequested, this, &TFavouritesStrip::ShowPopup);

    pmSpeed_ = new QMenu(this);
    mnuDelete_ = pmSpeed_->addAction(QString(), this, [this] { RemoveRow(gSpeed_->Row()); });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(imgSpeed_);
    layout->addWidget(gridHost_, 1);

    setFixedWidth(kHandleWidth);
    ShowHandle(false);
    TranslateTexts();
}

QWidget* TFavouritesStrip::Handle() const {
    return imgSpeed_;
}

void TFavouritesStrip::TranslateTexts() {
    mnuDelete_->setText(Translate(QStringLiteral("Remove")));
    imgSpeed_->setToolTip(Translate(QStringLiteral("Favourites")));
    lblSpeed_->setText(Translate(QStringLiteral("Favourites")));
    noteEmpty_->setText(
        Translate(QStringLiteral("Drag persons from the outline here to keep them at hand.")));
}

void TFavouritesStrip::FillFavourites() {
    TextTable table;
    if (IsTreeOpen())
        ListFavourites(table);
    gSpeed_->DeleteAllRows();
    gSpeed_->SetColCount(kTextCol + 1);
    if (!table.isEmpty())
        FillGridFromTable(*gSpeed_, table, QString(), false);
    gSpeed_->SetColWidth(kOidCol, 0);
    gSpeed_->SetColWidth(kIdCol, 0);
    gSpeed_->horizontalHeader()->setStretchLastSection(true);
}

void TFavouritesStrip::SetOpen(bool open) {
    open_ = open;
    gridHost_->setVisible(open);
    setFixedWidth(open ? kOpenWidth : kHandleWidth);
    ShowHandle(imgSpeed_->underMouse());
    if (open) {
        gSpeed_->SetCurrentCell(kTextCol, 1);
        gSpeed_->setFocus();
    }
}

bool TFavouritesStrip::AddPerson(const QString& personId) {
    if (!IsTreeOpen() || !IsIdentifierText(personId))
        return false;
    bool added;
    {
        UndoStep step(StepText("Add «%*» to the favourites", {personId}), personId);
        added = AddFavourite(personId, GetLineageName(personId));
    }
    FillFavourites();
    return added;
}

bool TFavouritesStrip::RemoveRow(int row) {
    if (row < 1 || row >= gSpeed_->RowCount() || gSpeed_->Cells(kOidCol, row).trimmed().isEmpty())
        return false;
    gSpeed_->SetCurrentCell(kTextCol, row);
    const QString text = Translate(QStringLiteral("Remove the name from the list?")) + u'\r' +
                         gSpeed_->Cells(kTextCol, row) + u'|' + Translate(QStringLiteral("Please confirm"));
    if (MsgOkCancel(text, Translate(QStringLiteral("Remove From List")), IDCANCEL) != IDOK)
        return false;
    const QString personId = gSpeed_->Cells(kIdCol, row).trimmed();
    {
        UndoStep step(StepText("Remove «%*» from the favourites", {personId}), personId);
        if (!DeleteFavourite(gSpeed_->Cells(kOidCol, row)))
            return false;
    }
    gSpeed_->DeleteRow(row);
    return true;
}

void TFavouritesStrip::ShowHandle(bool hover) {
    imgSpeed_->setPixmap(HandlePicture(hover, open_, layoutDirection() == Qt::RightToLeft));
}

void TFavouritesStrip::ShowPopup(const QPoint& position) {
    const int row = gSpeed_->RowAt(position);
    if (row < 1 || gSpeed_->Cells(kOidCol, row).trimmed().isEmpty())
        return;
    gSpeed_->SetCurrentCell(kTextCol, row);
    pmSpeed_->popup(gSpeed_->viewport()->mapToGlobal(position));
}

bool TFavouritesStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == imgSpeed_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            SetOpen(!open_);
            return true;
        case QEvent::Enter:
            ShowHandle(true);
            break;
        case QEvent::Leave:
            ShowHandle(false);
            break;
        case QEvent::LayoutDirectionChange:
            ShowHandle(false);
            break;
        default:
            break;
        }
    } else if (watched == gSpeed_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const QString id = gSpeed_->Cells(kIdCol, gSpeed_->Row()).trimmed();
        if (!id.isEmpty())
            emit PersonChosen(id);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFavouritesStrip::dragEnterEvent(QDragEnterEvent* event) {
    if (IsTreeOpen() && !DroppedPersons(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFavouritesStrip::dropEvent(QDropEvent* event) {
    const QStringList ids = DroppedPersons(event->mimeData());
    for (const QString& id : ids)
        AddPerson(id);
    if (!ids.isEmpty()) {
        event->acceptProposedAction();
        if (!open_)
            SetOpen(true);
    }
}

} // namespace verdan
