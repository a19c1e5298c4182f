#include "grid_editor.h"

#include <QTextCursor>
#include <algorithm>
#include <climits>

namespace verdan {

namespace {
// The text is measured this much narrower than the column, leaving room for the editor's margins.
constexpr int kMeasureMargin = 20;
} // namespace

TGridEditor::TGridEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    document()->setDocumentMargin(2);
    connect(this, &QPlainTextEdit::textChanged, this, &TGridEditor::Grow);
}

void TGridEditor::PlaceOver(const QRect& cell) {
    cell_ = cell;
    setGeometry(cell);
    Grow();
}

void TGridEditor::MoveCaretToEnd() {
    moveCursor(QTextCursor::End);
}

void TGridEditor::Grow() {
    if (cell_.isNull())
        return;
    const QFontMetrics metrics(font());
    const int width = std::max(cell_.width() - kMeasureMargin, 1);
    const int textHeight =
        metrics.boundingRect(QRect(0, 0, width, INT_MAX / 2), Qt::TextWordWrap, toPlainText()).height();
    const int wanted = std::max(cell_.height(), textHeight + metrics.lineSpacing() / 2);
    const QWidget* area = parentWidget();
    if (area != nullptr && cell_.top() + wanted > area->height())
        return;
    resize(cell_.width(), wanted);
}

} // namespace verdan
