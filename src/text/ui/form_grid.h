#pragma once

#include <QGridLayout>
#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace verdan {

// The measures every window is laid out with, in device-independent pixels.
inline constexpr int kWindowMargin = 8; // around the content of a window, a dialog or a sheet's section
inline constexpr int kSpacing = 6;      // between controls side by side, and between a caption and its field
inline constexpr int kRowSpacing = 4;   // between the rows of a form
inline constexpr int kFieldChars = 36;  // a field grows to about this many characters of its font, no wider

// The widest a field of a form may grow, about kFieldChars characters of the widget's font: a name, a
// date or a place reads at a glance there, and a wide window does not pull values away from their captions.
int ReadableFieldWidth(const QWidget* widget);

// Lets a value read in its own direction and start at its own reading start, whatever the window's: an
// Arabic name on the right in an English window, a Latin name, a date or a phone number on the left in an
// Arabic one; an empty box and a formatted text follow the window. Kept after every change of the text or
// of the window's direction. For labels and edit boxes.
void KeepReadingAlignment(QWidget* widget);

// One width for the captions of several forms, so that the fields of every section of a sheet start at the
// same place. The forms add their captions; after their texts change (a language switch), Update.
class TCaptionColumn : public QObject {
    Q_OBJECT
public:
    explicit TCaptionColumn(QObject* parent = nullptr);

    void Add(QWidget* caption);
    // Adds the captions of every form laid out in `widget` and below it.
    void AddCaptionsOf(QWidget* widget);
    // Gives every caption the width of the widest one.
    void Update();
    int Width() const { return width_; }

private:
    QList<QPointer<QWidget>> captions_;
    int width_ = 0;
};

// A form on the program's grid: captions in the first column, at the reading start (right in right-to-left
// languages, left otherwise: the layout mirrors its columns with its widget), each field beside its caption
// at a readable width, the row's further controls (an era box, a button) right after the field, and what is
// left of the width empty after them. Values in labels and edit boxes are aligned to the reading start too.
class TFormGrid : public QGridLayout {
    Q_OBJECT
public:
    // Lays out `parent`; captions join `captions` when given.
    explicit TFormGrid(QWidget* parent, TCaptionColumn* captions = nullptr);

    // A row of a caption (a label or a check box; null leaves the caption cell empty), its field and the
    // controls after it. Returns the row.
    int AddRow(QWidget* caption, QWidget* field, const QList<QWidget*>& extras = {});
    // A line under the fields, as wide as the field and its controls together (computed texts, notes).
    int AddLine(QWidget* widget);
    // Shows or hides every widget of a row.
    void SetRowVisible(int row, bool visible);
    // The caption widgets, in row order.
    QList<QWidget*> Captions() const;

    // The columns of the grid; the last one takes the width left over.
    static constexpr int kCaptionColumn = 0;
    static constexpr int kFieldColumn = 1;
    static constexpr int kMaxExtras = 3;
    static constexpr int kFillColumn = kFieldColumn + kMaxExtras + 1;

private:
    TCaptionColumn* captions_;
    QList<QPointer<QWidget>> captionWidgets_;
};

} // namespace verdan
