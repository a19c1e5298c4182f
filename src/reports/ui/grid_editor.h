#pragma once

#include <QPlainTextEdit>

namespace verdan {

// The multi-line editor laid over a grid cell. It grows downwards with its text while it fits in the
// grid; Return keys are left to the grid's delegate.
class TGridEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TGridEditor(QWidget* parent);

    // Places the editor over a cell; the cell's rectangle is its smallest size.
    void PlaceOver(const QRect& cell);
    void MoveCaretToEnd();

private:
    void Grow();

    QRect cell_;
};

} // namespace verdan
