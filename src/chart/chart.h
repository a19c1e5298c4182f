#pragma once

#include "calendar/date_value_text.h"
#include "chart/chart_layout.h"
#include "chart/chart_types.h"
#include "chart/text_measurer.h"

#include <QHash>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace verdan {

// Positions stay within [0, kMaxChartPosition] chart units, whatever a file or a move asks for: room for
// a row of a million persons, far from the limits of the arithmetic.
inline constexpr int kMaxChartPosition = 400000000;
inline constexpr float kMinChartZoom = 0.1f;
inline constexpr float kMaxChartZoom = 2.0f;

// An identifier as the chart keeps it: trimmed; "0" and "-1" name nobody (empty).
QString NormaliseChartId(const QString& id);

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
    // The person the chart is built around: his ancestors stand above him, his descendants below.
    QString RootId;
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

    // The calendar of the dates in the boxes: Hijri, Gregorian or both, each date converted where the tree
    // holds it in the other calendar only, and marked with its calendar or era. Changing it sizes every
    // item again and lays the chart out.
    TDateShown DatesShown() const { return datesShown_; }
    void SetDatesShown(TDateShown shown, bool layOut = true);

    // Reading order of the layout: right to left (the father right of his wife, the first child rightmost)
    // unless set. Changing it mirrors every position of the chart.
    bool LeftToRight() const { return leftToRight_; }
    void SetLeftToRight(bool on, bool mirror = true);
    // The chart-wide "Root at top" (Defaults.RootAtTop); changing it mirrors the chart top to bottom.
    void SetRootAtTop(bool on, bool mirror = true);

    // ---------------------------------------------------------------------------------------------------
    // Adding persons. Identifiers are trimmed; "0" and "-1" name nobody.

    // The item of the person, or a new one appended; -1 for no person or one the tree does not hold.
    int FindOrAddPerson(const QString& id);
    // The same for many persons, read from the tree together; the indices of the items, -1 where none.
    QList<int> AddPersons(const QStringList& ids);
    // FindOrAddPerson, then its position (text rectangle's top-left) at the chart point under viewPoint,
    // placed by hand.
    int AddPersonAt(const QString& id, const QPoint& viewPoint);
    // A mark between the person and each of its mates that has an item, unless the pair has one.
    void AddMaritalsFor(const QString& id);
    // A person dropped from the outline: added or moved to the drop point, then its marks; with
    // fullBuild, the person with children, parents and a bolder font instead (FullBuild).
    int DropPerson(const QString& id, const QPoint& viewPoint, bool fullBuild);
    // The person at the point with his children and parents, the parents under their expanded names; with
    // more generations, as BuildGenerations.
    int FullBuild(const QString& id, const QPoint& viewPoint, int up = 1, int down = 1,
                  bool daughters = false);
    // The person (the chart's root from now on) with `up` generations of fathers and mothers and `down`
    // of descendants; below his own children, daughters' children come only with `daughters`. Persons of
    // those lines beyond the generations asked for leave the chart. Every item added gets the look the
    // full build gives it; the chart is then laid out.
    int BuildGenerations(const QString& id, int up, int down, bool daughters);
    // Each adds the person's relatives that are not on the chart and lays out the relatives, whether new
    // or already there, around him.
    void ShowParents(int index);
    void ShowChildren(int index);
    // The chosen children only, each linked to this parent.
    void ShowChildrenFrom(int index, const QStringList& ids);
    void ShowSpouses(int index);
    // The spouses of all these persons at once.
    void ShowSpousesOf(const QStringList& ids);
    // Lays the whole chart out afresh: items placed by hand lose their places too.
    void Arrange();
    // Every item counts as placed by hand (a chart read from its file).
    void PinAll();
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
    // The bars over the item's groups of children (by other parent) whose links it draws.
    void ComputePersonStick(int index);
    void ComputeMaritalMark(int markIndex, const QString& idA, const QString& idB);
    void ComputeMaritalStick(int markIndex);
    // Every item's and mark's stick, in one pass over the chart.
    void ComputeAllSticks();
    int HitPerson(const QPoint& chartPoint) const;
    int HitMark(const QPoint& chartPoint) const;
    // The greatest right and bottom edges of the items and marks, (0, 0) for an empty chart.
    QSize Extents() const;
    // The least left and top edges of the items and marks (pictures can reach above 0), (0, 0) for an
    // empty chart.
    QPoint Origin() const;
    // Index of the mark of the pair in either order, -1 without.
    int MarkOf(const QString& a, const QString& b) const;
    // Index of the mark with exactly this husband and wife, -1 without.
    int CoupleMark(const QString& husbandId, const QString& wifeId) const;
    // The item a child's link is drawn from when its parents have no mark: its mother when it follows her
    // (none when she is not on the chart), else its father, else its mother; -1 for none.
    int LinkParent(const TPersonObject& child) const;
    // The bar of the parent's group the child belongs to; null without one.
    const TChildStick* StickFor(const TPersonObject& parent, const TPersonObject& child) const;

private:
    enum class DragKind { None, Person, Marital, Band };

    int AddItem(TPersonObject item);
    void FillDateTexts(TPersonObject& item) const;
    // The identifiers that name persons, not groups (named branches, the outside-the-tree group): groups
    // stand in no chart as parents.
    QStringList WithoutGroups(const QStringList& ids) const;
    // Marks between the items and their mates on the chart, where the pair has none.
    void AddMarks(const QList<int>& items);
    int Build(const QString& id, const QPoint* viewPoint, int up, int down, bool daughters, bool trim);
    // Removes the root's ancestors and descendants that are not among those kept, and spouses that stood
    // only beside them.
    void TrimLines(const QString& rootId, const QSet<QString>& above, const QSet<QString>& below);
    // Removes the items of these identifier keys with their marks.
    void RemoveItems(const QSet<QString>& keys);
    void ApplyOptions(int index);
    void PlaceBoxAt(int index, int x, int y);
    void MoveItem(int index, int dx, int dy);
    void AddChildren(int index, const QStringList& ids, bool linkToParent);
    // Lays the chart out and moves the items not placed by hand: all of them around the anchor when none
    // is, else each family of them beside the item placed by hand it belongs to, clear of everything.
    void AutoPlace(const QString& anchorId);
    void SetSticks(int index, const QList<int>& children);
    void SetMarkStick(TMarital& mark, const QList<int>& children);
    void PlaceBesidePinned(const TLayoutResult& layout, int anchor,
                           const std::function<int(const TLayoutMark&)>& markAt);
    void MirrorPositions(bool horizontal);
    QList<int> Descendants(int index) const;
    int MoveToEnd(int index);
    void RecomputeMarksOf(int index);
    QPoint ChartPoint(const QPoint& viewPoint) const { return Mapping().ToChart(viewPoint); }
    void IndexDirty() { indexValid_ = false; }
    const QHash<QString, int>& Index() const;
    void MarksDirty() { coupleIndexValid_ = false; }
    // Marks by "husband/wife" identifier keys.
    const QHash<QString, int>& CoupleIndex() const;

    std::shared_ptr<const TTextMeasurer> measurer_;
    QList<TPersonObject> persons_;
    QList<TMarital> maritals_;
    float zoom_ = 1.0f;
    TLinkType linkType_ = TLinkType::Stick;
    bool leftToRight_ = false;
    TDateShown datesShown_ = TDateShown::Hijri;
    int current_ = -1;
    DragKind dragKind_ = DragKind::None;
    QPoint grabOffset_;
    QPoint bandStart_;
    QPoint bandEnd_;
    bool placingMany_ = false; // sticks are computed once at the end
    mutable QHash<QString, int> index_;
    mutable bool indexValid_ = false;
    mutable QHash<QString, int> coupleIndex_;
    mutable bool coupleIndexValid_ = false;
};

// The key under which identifiers are compared: the tree file ignores ASCII letter case.
QString ChartIdKey(const QString& id);

} // namespace verdan
