#pragma once

#include "chart/chart.h"
#include "chart/chart_painter.h"

#include <QAbstractScrollArea>
#include <QStringList>
#include <functional>

class QMenu;

namespace verdan {

class Tfrm_Chrt_Cildren_List;

// The chart's view: a white, scrolled drawing of one TChart, with the chart's mouse, keys, wheel and
// context menus, and persons dropped from a tree outline. The drawing keeps its geometry in either reading
// direction (the chart places fathers right of their children by itself); menus follow the language.
class Tfrm_Chart : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit Tfrm_Chart(QWidget* parent = nullptr);
    ~Tfrm_Chart() override;

    TChart& Chart() { return chart_; }
    const TChart& Chart() const { return chart_; }

    // After any change of the chart from outside: scroll ranges, repaint, ChartChanged.
    void Refresh();
    // The person at the view point with the generations below and above him the window asks for, and a
    // bolder name, under the busy cursor.
    int FullBuild(const QString& personId, const QPoint& viewPoint);
    // The generations of the chart's root again (BuildGenerations), under the busy cursor.
    void BuildGenerations();
    // Generations a build takes: up, down, and daughters' children below the root's own children.
    int GenerationsUp = 1;
    int GenerationsDown = 1;
    bool DaughtersChildren = false;
    // The whole chart in the view: the zoom that shows it all (at least 0.1, at most 2), scrolled to it.
    void FitToWindow();
    // Scrolls so that the item stands in the middle of the view.
    void CentreOn(int index);
    // The chart as a picture on the clipboard; false with a message when it cannot be drawn.
    bool CopyToClipboard();
    void SetZoom(float zoom);

    // The person a drop from this source names; empty when it names none. Reads the current node of a
    // tree outline by default; tests replace it.
    std::function<QString(QObject* source)> DroppedPerson;
    // Asks which children of the person to add (person, pointer position); empty when cancelled. Shows
    // the children dialog by default.
    std::function<QStringList(const QString& personId, const QPoint& globalPosition)> ChooseChildren;

    // The menus as the last right click built them (for tests), and the pointer's chart point then.
    QMenu* PersonMenu() const { return personMenu_; }
    QMenu* MarkMenu() const { return markMenu_; }
    QMenu* ChartMenu() const { return chartMenu_; }
    // Builds the context menu for the view point without showing it; null for none.
    QMenu* BuildContextMenu(const QPoint& viewPoint);

signals:
    // The chart changed (items, positions, zoom or selection).
    void ChartChanged();
    // Ctrl+C in the view.
    void CopyWanted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void UpdateScrollRanges();
    void FollowPointer(const QPoint& viewPoint);
    void BuildPersonMenu(int index);
    void BuildMarkMenu();
    void BuildChartMenu();
    QStringList DefaultChooseChildren(const QString& personId, const QPoint& globalPosition);

    TChart chart_;
    TChartPaintCache cache_;
    QMenu* personMenu_ = nullptr;
    QMenu* markMenu_ = nullptr;
    QMenu* chartMenu_ = nullptr;
    Tfrm_Chrt_Cildren_List* childrenDialog_ = nullptr;
    bool draggingFromOutline_ = false;
};

} // namespace verdan
