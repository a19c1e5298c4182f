// Selection, dragging and keys of the chart, in view coordinates; the window turns its events into these.

#include "chart.h"
#include "storage/person_store.h"

#include <QRect>

namespace verdan {

int TChart::MoveToEnd(int index) {
    if (index < 0 || index >= persons_.size() - 1)
        return index;
    persons_.move(index, persons_.size() - 1);
    IndexDirty();
    return int(persons_.size() - 1);
}

void TChart::MousePress(const QPoint& viewPoint, Qt::KeyboardModifiers modifiers) {
    const QPoint p = ChartPoint(viewPoint);
    int person = HitPerson(p);
    current_ = person;
    const int mark = HitMark(p);
    if (mark >= 0) {
        DeselectAll();
        maritals_.move(mark, maritals_.size() - 1);
        MarksDirty();
        TMarital& m = maritals_.last();
        m.Selected = true;
        grabOffset_ = p - QPoint(m.Mark.X, m.Mark.Y);
        dragKind_ = DragKind::Marital;
        return;
    }
    if (person < 0) {
        DeselectAll();
        bandStart_ = bandEnd_ = p;
        dragKind_ = DragKind::Band;
        return;
    }
    person = MoveToEnd(person);
    current_ = person;
    TPersonObject& item = persons_[person];
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (ctrl || (modifiers & Qt::ShiftModifier)) {
        item.Selected = !item.Selected;
    } else if (SelectedPersonCount() < 2 || !item.Selected) {
        DeselectAll();
        persons_[person].Selected = true;
    }
    if (persons_[person].Selected && ctrl)
        SelectDescendants(person, true);
    grabOffset_ = p - QPoint(persons_[person].Box.X, persons_[person].Box.Y);
    dragKind_ = DragKind::Person;
}

void TChart::MouseMove(const QPoint& viewPoint) {
    const QPoint p = ChartPoint(viewPoint);
    if (dragKind_ == DragKind::None)
        return;
    if (dragKind_ == DragKind::Band) {
        bandEnd_ = p;
        return;
    }
    if (SelectedPersonCount() == 0 && SelectedMarkCount() == 0)
        return;
    QPoint grabbed;
    if (dragKind_ == DragKind::Marital && !maritals_.isEmpty())
        grabbed = QPoint(maritals_.last().Mark.X, maritals_.last().Mark.Y);
    else if (dragKind_ == DragKind::Person && !persons_.isEmpty())
        grabbed = QPoint(persons_.last().Box.X, persons_.last().Box.Y);
    else
        return;
    const QPoint delta = p - grabOffset_ - grabbed;
    MoveSelected(delta.x(), delta.y());
}

void TChart::MouseRelease() {
    if (dragKind_ == DragKind::Band) {
        const QRect band = QRect(bandStart_, bandEnd_).normalized();
        if (bandStart_.x() != bandEnd_.x() && bandStart_.y() != bandEnd_.y()) {
            auto inside = [&](const TChartBox& b) {
                return b.X >= band.left() && b.Y >= band.top() && b.Right() <= band.right() &&
                       b.Bottom() <= band.bottom();
            };
            for (int i = 0; i < persons_.size(); ++i) {
                persons_[i].Selected = inside(persons_[i].Box);
                if (persons_[i].Selected)
                    current_ = i;
            }
            for (TMarital& m : maritals_)
                m.Selected = inside(m.Mark);
        }
    }
    bandStart_ = bandEnd_ = QPoint();
    dragKind_ = DragKind::None;
}

void TChart::DoubleClick(const QPoint& viewPoint) {
    const int person = HitPerson(ChartPoint(viewPoint));
    if (person < 0)
        return;
    const QString id = persons_[person].Id;
    const bool hasChildren = std::any_of(persons_.begin(), persons_.end(), [&](const TPersonObject& p) {
        return SameId(p.FatherId, id) || SameId(p.MotherId, id);
    });
    if (!hasChildren) {
        ShowChildren(person);
        return;
    }
    TPersonObject& item = persons_[person];
    item.DescendantsToggle = !item.DescendantsToggle;
    SelectDescendants(person, item.DescendantsToggle);
}

bool TChart::WheelZoom(bool up) {
    // Steps land on whole percentages, so a wheel round trip comes back to the zoom it started from.
    const float next = float(RoundChart((double(zoom_) + (up ? 0.05 : -0.05)) * 100.0)) / 100.0f;
    return SetZoom(next);
}

TChartKeyResult TChart::KeyPress(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (ctrl && key == Qt::Key_A) {
        SelectAll();
        return TChartKeyResult::Handled;
    }
    if (ctrl && (key == Qt::Key_C || key == Qt::Key_Insert))
        return TChartKeyResult::Copy;
    if (ctrl && (key == Qt::Key_Equal || key == Qt::Key_Plus || key == Qt::Key_Minus)) {
        const double step = key == Qt::Key_Minus ? -0.1 : 0.1;
        SetZoom(float(RoundChart((double(zoom_) + step) * 100.0)) / 100.0f);
        return TChartKeyResult::Handled;
    }
    if (key == Qt::Key_Delete) {
        if (SelectedPersonCount() > 0)
            RemoveSelected();
        else
            RemoveSelectedMarks();
        return TChartKeyResult::Handled;
    }
    const int step = shift ? 1 : ctrl ? 40 : 10;
    switch (key) {
    case Qt::Key_Left:
        MoveSelected(-step, 0);
        return TChartKeyResult::Handled;
    case Qt::Key_Right:
        MoveSelected(step, 0);
        return TChartKeyResult::Handled;
    case Qt::Key_Up:
        MoveSelected(0, -step);
        return TChartKeyResult::Handled;
    case Qt::Key_Down:
        MoveSelected(0, step);
        return TChartKeyResult::Handled;
    default:
        return TChartKeyResult::Ignored;
    }
}

QRect TChart::RubberBand() const {
    if (dragKind_ != DragKind::Band || bandStart_ == bandEnd_)
        return QRect();
    const TChartMapping map = Mapping();
    return QRect(map.ToView(bandStart_), map.ToView(bandEnd_)).normalized();
}

} // namespace verdan
