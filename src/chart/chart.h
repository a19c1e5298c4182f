#pragma once

#include "chart/chart_types.h"
#include "chart/text_measurer.h"

#include <QHash>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

namespace verdan {

// Positions stay within [0, kMaxChartPosition] chart units, whatever a file or a move asks for.
inline constexpr int kMaxChartPosition = 1000000;
inline constexpr float kMinChartZoom = 0.1f;
inline constexpr float kMaxChartZoom = 2.0f;

// Round to the nearest integer, halves to the even neighbour, as every mapping of the chart does.
int RoundChart(double value);

// The chart point under a view pixel and back, at a zoom and scroll offset (chart units).
struct TChartMapping {
    float Zoom = 1.0f;
    int ScrollX = 0;
    int ScrollY = 0;

    QPoint ToView(const QPoint& p) const;
    QPoint ToChart(const QPoint& viewPoint) const;
    QRect ToView(const TChartRect& r) const;
    QRect ToView(const TChartBox& b) const;
    int Length(int n) const { return RoundChart(double(n) * Zoom); }
};

// Where a point of a straight line from the box's centre toward `point` leaves the box.
QPoint BorderPoint(const TChartBox& box, const QPoint& point);

// What a key press asks of the window beyond the chart itself.
enum class TChartKeyResult { Ignored, Handled, Copy };

// A family chart of the open tree: person items and marriage marks, in drawing order (later items lie on
// top). The chart reads the tree through the stores and never writes to it.
class TChart {
public:
    explicit TChart(std::shared_ptr<const TTextMeasurer> measurer = FontMeasurer());

    // ---------------------------------------------------------------------------------------------------
    // State.

    TChartOption Defaults;
    QString ChartFileName;
    bool Modified = false;
    int ScrollX = 0;
    int ScrollY = 0;

    const QList<TPersonObject>& Persons() const { return persons_; }
    const QList<TMarital>& Maritals() const { return maritals_; }
    const TPersonObject& Person(int index) const { return persons_[index]; }
    int IndexOf(const QString& id) const; // -1 without item
    int SelectedPersonCount() const;
    int SelectedMarkCount() const;
    int CurrentIndex() const { return current_; }

    float Zoom() const { return zoom_; }
    // Ignored outside 0.1-2; true when the zoom was taken.
    bool SetZoom(float zoom);
    TChartMapping Mapping() const { return {zoom_, ScrollX, ScrollY}; }

    // The chart-wide link style, Line or Stick; setting it recomputes every stick.
    TLinkType LinkType() const { return linkType_; }
    void SetLinkType(TLinkType type);
    TLinkType EffectiveLinkType(const TPersonObject& item) const;

    // ---------------------------------------------------------------------------------------------------
    // Adding persons. Identifiers are trimmed; "0" and "-1" name nobody.

    // The item of the person, or a new one appended; -1 for no person or one the tree does not hold.
    int FindOrAddPerson(const QString& id);
    // FindOrAddPerson, then its position (text rectangle's top-left) at the chart point under viewPoint.
    int AddPersonAt(const QString& id, const QPoint& viewPoint);
    // A mark between the person and each of its mates that has an item, unless the pair has one.
    void AddMaritalsFor(const QString& id);
    // A person dropped from the outline: added or moved to the drop point, then its marks; with
    // fullBuild, the person with children, parents and a bolder font instead (FullBuild).
    int DropPerson(const QString& id, const QPoint& viewPoint, bool fullBuild);
    // The person at the point with his children and parents, the parents under their expanded names.
    int FullBuild(const QString& id, const QPoint& viewPoint);
    void ShowParents(int index);
    void ShowChildren(int index);
    // The chosen children only, each linked to this parent.
    void ShowChildrenFrom(int index, const QStringList& ids);
    void ShowSpouses(int index);
    bool IsGlobalParent(const TPersonObject& item) const;

    // ---------------------------------------------------------------------------------------------------
    // Editing.

    void SelectAll();
    void DeselectAll();
    void SetPersonSelected(int index, bool selected);
    // Selects the mark alone.
    void SelectOnlyMark(int index);
    void SelectDescendants(int index, bool selected);
    void MoveSelected(int dx, int dy);
    // 0 left, 1 centre, 2 right, 3 top, 4 middle, 5 bottom, on the first selected item.
    void AlignSelected(int mode);
    // Asks first when more than three items would go; false when the user kept them.
    bool RemoveSelected();
    void RemoveSelectedMarks();
    void ShiftAll(int dx, int dy);
    void Clear();
    // Moves the item so that its position (text rectangle's top-left) is the chart point.
    void MoveItemTo(int index, const QPoint& position);
    // Changes what an item shows and sizes it again at the same position.
    void SetItemOptions(int index, const TShowOption& options);
    void SetItemLinkType(int index, TLinkType type);
    void SetItemConnection(int index, TConnectionTo connection);
    enum class TShowFlag { FullName, Dates, Picture };
    void SetSelectedShowFlag(TShowFlag flag, bool on);
    void SetSelectedLinkType(TLinkType type);
    // Between the two, items are placed without computing sticks; EndPlacing computes them all at once.
    void BeginPlacing() { placingMany_ = true; }
    void EndPlacing();
    // Appends a mark at a saved position; false when a person has no item, the two are one person or the
    // pair already has a mark.
    bool AddSavedMark(const QString& husbandId, const QString& wifeId, const QPoint& position);

    // ---------------------------------------------------------------------------------------------------
    // Mouse and keys (view coordinates). The window shows menus and handles the clipboard.

    void MousePress(const QPoint& viewPoint, Qt::KeyboardModifiers modifiers);
    void MouseMove(const QPoint& viewPoint);
    void MouseRelease();
    void DoubleClick(const QPoint& viewPoint);
    // A wheel step with Ctrl: zoom in (up) or out; true when the zoom changed.
    bool WheelZoom(bool up);
    TChartKeyResult KeyPress(int key, Qt::KeyboardModifiers modifiers);
    bool Dragging() const { return dragKind_ != DragKind::None; }
    // The rubber band in view pixels (empty when none).
    QRect RubberBand() const;

    // ---------------------------------------------------------------------------------------------------
    // Geometry.

    // Sizes the item from its options and puts its text rectangle's top-left at (x, y).
    void PlaceItem(int index, int x, int y);
    void ComputePersonStick(int index);
    void ComputeMaritalMark(int markIndex, const QString& idA, const QString& idB);
    void ComputeMaritalStick(int markIndex);
    // Every item's and mark's stick, in one pass over the chart.
    void ComputeAllSticks();
    int HitPerson(const QPoint& chartPoint) const;
    int HitMark(const QPoint& chartPoint) const;
    // The greatest right and bottom edges of the items, (0, 0) for an empty chart.
    QSize Extents() const;
    // The least left and top edges of the items (pictures can reach above 0), (0, 0) for an empty chart.
    QPoint Origin() const;
    // Index of the mark of the pair in either order, -1 without.
    int MarkOf(const QString& a, const QString& b) const;
    // Index of the mark with exactly this husband and wife, -1 without.
    int CoupleMark(const QString& husbandId, const QString& wifeId) const;

private:
    enum class DragKind { None, Person, Marital, Band };

    bool LoadItem(const QString& id, TPersonObject& item) const;
    void ApplyOptions(int index);
    void PlaceBoxAt(int index, int x, int y);
    void MoveItem(int index, int dx, int dy);
    void AddChildren(int index, const QStringList& ids, bool linkToParent);
    void PlaceChildrenRow(int parent, const QList<int>& children);
    QList<int> Descendants(int index) const;
    int MoveToEnd(int index);
    void RecomputeMarksOf(int index);
    QPoint ChartPoint(const QPoint& viewPoint) const { return Mapping().ToChart(viewPoint); }
    void IndexDirty() { indexValid_ = false; }
    const QHash<QString, int>& Index() const;

    std::shared_ptr<const TTextMeasurer> measurer_;
    QList<TPersonObject> persons_;
    QList<TMarital> maritals_;
    float zoom_ = 1.0f;
    TLinkType linkType_ = TLinkType::Stick;
    int current_ = -1;
    DragKind dragKind_ = DragKind::None;
    QPoint grabOffset_;
    QPoint bandStart_;
    QPoint bandEnd_;
    bool placingMany_ = false; // sticks are computed once at the end
    mutable QHash<QString, int> index_;
    mutable bool indexValid_ = false;
};

// The key under which identifiers are compared: the tree file ignores ASCII letter case.
QString ChartIdKey(const QString& id);

} // namespace verdan
