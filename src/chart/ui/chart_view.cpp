#include "chart_view.h"

#include "chart/chart_export.h"
#include "chart/ui/children_dialog.h"
#include "navigator/tree_model.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

namespace verdan {

namespace {

// The current node's person of a tree outline that a drag started from.
QString OutlinePerson(QObject* source) {
    const auto* view = qobject_cast<const QAbstractItemView*>(source);
    if (!view || !qobject_cast<const TTreeModel*>(view->model()))
        return QString();
    return view->currentIndex().data(TTreeModel::PersonIdRole).toString().trimmed();
}

} // namespace

Tfrm_Chart::Tfrm_Chart(QWidget* parent) : QAbstractScrollArea(parent) {
    // The window sets the display defaults it wants; these are the chart's own.
    chart_.Defaults.Font = TOFont{QStringLiteral("Arial"), 14, 0, 0};
    chart_.Defaults.RootAtTop = true;
    chart_.Defaults.ShowPicture = false;
    chart_.Defaults.ShowFullName = false;
    chart_.Defaults.ShowDates = false;
    chart_.SetLinkType(TLinkType::Stick);
    chart_.Modified = false;
    // The drawing keeps its geometry in both reading directions, and its scroll bars with it.
    setLayoutDirection(Qt::LeftToRight);
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    viewport()->setMouseTracking(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    horizontalScrollBar()->setSingleStep(10);
    verticalScrollBar()->setSingleStep(10);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DroppedPerson = OutlinePerson;
    ChooseChildren = [this](const QString& id, const QPoint& at) {
        return DefaultChooseChildren(id, at);
    };
    UpdateScrollRanges();
}

Tfrm_Chart::~Tfrm_Chart() = default;

void Tfrm_Chart::Refresh() {
    UpdateScrollRanges();
    viewport()->update();
    emit ChartChanged();
}

void Tfrm_Chart::SetZoom(float zoom) {
    if (chart_.SetZoom(zoom))
        Refresh();
}

int Tfrm_Chart::FullBuild(const QString& personId, const QPoint& viewPoint) {
    int index = -1;
    {
        const TBusyCursor busy;
        index = chart_.FullBuild(personId, viewPoint, GenerationsUp, GenerationsDown, DaughtersChildren);
    }
    Refresh();
    return index;
}

void Tfrm_Chart::BuildGenerations() {
    if (chart_.IndexOf(chart_.RootId) < 0)
        return;
    {
        const TBusyCursor busy;
        chart_.BuildGenerations(chart_.RootId, GenerationsUp, GenerationsDown, DaughtersChildren);
    }
    Refresh();
}

void Tfrm_Chart::FitToWindow() {
    const QPoint origin = chart_.Origin();
    const QSize extents = chart_.Extents();
    const double width = std::max(1, extents.width() - origin.x() + 30);
    const double height = std::max(1, extents.height() - origin.y() + 30);
    const double fit = std::min(viewport()->width() / width, viewport()->height() / height);
    // Whole percentages, as the zoom box shows them; never below 10 % however large the chart.
    const float zoom = std::clamp(float(std::floor(fit * 100.0) / 100.0), kMinChartZoom, kMaxChartZoom);
    chart_.SetZoom(zoom);
    UpdateScrollRanges();
    horizontalScrollBar()->setValue(origin.x());
    verticalScrollBar()->setValue(origin.y());
    Refresh();
}

void Tfrm_Chart::CentreOn(int index) {
    if (index < 0 || index >= chart_.Persons().size())
        return;
    const TChartBox box = chart_.Person(index).Box;
    const double zoom = chart_.Zoom();
    horizontalScrollBar()->setValue(box.CentreX() - int(viewport()->width() / zoom / 2));
    verticalScrollBar()->setValue(box.CentreY() - int(viewport()->height() / zoom / 2));
    chart_.ScrollX = horizontalScrollBar()->value();
    chart_.ScrollY = verticalScrollBar()->value();
    viewport()->update();
}

bool Tfrm_Chart::CopyToClipboard() {
    QImage image;
    QString error;
    bool done = false;
    {
        const TBusyCursor busy;
        done = RenderToImage(chart_, image, &error);
        if (done)
            QGuiApplication::clipboard()->setImage(image);
    }
    viewport()->update();
    emit ChartChanged();
    if (!done)
        MsgError(error);
    return done;
}

// Scroll positions are chart units. The ranges reach from the least item edge (pictures may stand above
// the chart's top) to the far edges with a margin, less what the view shows at this zoom.
void Tfrm_Chart::UpdateScrollRanges() {
    const QSize extents = chart_.Extents();
    const QPoint origin = chart_.Origin();
    const double zoom = chart_.Zoom();
    const int pageX = std::max(1, int(viewport()->width() / zoom));
    const int pageY = std::max(1, int(viewport()->height() / zoom));
    horizontalScrollBar()->setRange(origin.x(), std::max(origin.x(), extents.width() + 30 - pageX));
    verticalScrollBar()->setRange(origin.y(), std::max(origin.y(), extents.height() + 30 - pageY));
    horizontalScrollBar()->setPageStep(pageX);
    verticalScrollBar()->setPageStep(pageY);
    chart_.ScrollX = horizontalScrollBar()->value();
    chart_.ScrollY = verticalScrollBar()->value();
}

// While items are dragged past the view's edge, the view follows them.
void Tfrm_Chart::FollowPointer(const QPoint& viewPoint) {
    const int step = std::max(1, int(20 / chart_.Zoom()));
    if (viewPoint.x() > viewport()->width())
        horizontalScrollBar()->setMaximum(
            std::max(horizontalScrollBar()->maximum(), horizontalScrollBar()->value() + step));
    if (viewPoint.y() > viewport()->height())
        verticalScrollBar()->setMaximum(
            std::max(verticalScrollBar()->maximum(), verticalScrollBar()->value() + step));
    if (viewPoint.x() > viewport()->width())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + step);
    else if (viewPoint.x() < 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - step);
    if (viewPoint.y() > viewport()->height())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + step);
    else if (viewPoint.y() < 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - step);
    chart_.ScrollX = horizontalScrollBar()->value();
    chart_.ScrollY = verticalScrollBar()->value();
}

void Tfrm_Chart::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    chart_.ScrollX = horizontalScrollBar()->value();
    chart_.ScrollY = verticalScrollBar()->value();
    PaintChart(chart_, painter, chart_.Mapping(), viewport()->size(), false, &cache_);
}

void Tfrm_Chart::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void Tfrm_Chart::scrollContentsBy(int, int) {
    chart_.ScrollX = horizontalScrollBar()->value();
    chart_.ScrollY = verticalScrollBar()->value();
    viewport()->update();
}

void Tfrm_Chart::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::RightButton)
        return; // the context menu event follows
    chart_.MousePress(event->position().toPoint(), event->modifiers());
    viewport()->update();
    emit ChartChanged();
}

void Tfrm_Chart::mouseMoveEvent(QMouseEvent* event) {
    if (draggingFromOutline_ || !(event->buttons() & Qt::LeftButton) || !chart_.Dragging())
        return;
    FollowPointer(event->position().toPoint());
    chart_.MouseMove(event->position().toPoint());
    viewport()->update();
}

void Tfrm_Chart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    chart_.MouseRelease();
    Refresh();
}

void Tfrm_Chart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    {
        const TBusyCursor busy;
        chart_.DoubleClick(event->position().toPoint());
    }
    Refresh();
}

void Tfrm_Chart::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        if (chart_.WheelZoom(delta > 0))
            Refresh();
    } else {
        QScrollBar* bar =
            event->modifiers() & Qt::ShiftModifier ? horizontalScrollBar() : verticalScrollBar();
        bar->setValue(bar->value() + (delta > 0 ? -30 : 30));
    }
    event->accept();
}

void Tfrm_Chart::keyPressEvent(QKeyEvent* event) {
    switch (chart_.KeyPress(event->key(), event->modifiers())) {
    case TChartKeyResult::Copy:
        emit CopyWanted();
        break;
    case TChartKeyResult::Handled:
        Refresh();
        break;
    case TChartKeyResult::Ignored:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void Tfrm_Chart::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->pos() : QPoint(20, 20);
    if (QMenu* menu = BuildContextMenu(at)) {
        viewport()->update();
        menu->popup(viewport()->mapToGlobal(at));
    }
}

void Tfrm_Chart::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedPerson(event->source()).isEmpty()) {
        event->ignore();
        return;
    }
    draggingFromOutline_ = true;
    chart_.DeselectAll();
    viewport()->update();
    event->acceptProposedAction();
}

void Tfrm_Chart::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void Tfrm_Chart::dragLeaveEvent(QDragLeaveEvent*) {
    draggingFromOutline_ = false;
}

void Tfrm_Chart::dropEvent(QDropEvent* event) {
    draggingFromOutline_ = false;
    const QString person = DroppedPerson(event->source());
    if (person.isEmpty())
        return;
    event->acceptProposedAction();
    const QPoint at = event->position().toPoint();
    if (event->modifiers() & Qt::ControlModifier) {
        FullBuild(person, at);
    } else {
        chart_.DropPerson(person, at, false);
        Refresh();
    }
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

QStringList Tfrm_Chart::DefaultChooseChildren(const QString& personId, const QPoint& globalPosition) {
    if (!childrenDialog_)
        childrenDialog_ = new Tfrm_Chrt_Cildren_List(this);
    QStringList ids;
    if (!childrenDialog_->ShowChildrenDialog(personId, globalPosition, ids))
        return QStringList();
    return ids;
}

} // namespace verdan
