#include "window_title.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace verdan {

namespace {

// Room for the window's icon and its buttons beside the title.
constexpr int kTitleBarExtras = 160;

} // namespace

void FitTitleWidth(QWidget* window) {
    // The title bar's face is the desktop's, a little larger than a window's text at most.
    QFont font = window->font();
    font.setBold(true);
    const int wanted = QFontMetrics(font).horizontalAdvance(window->windowTitle()) + kTitleBarExtras;
    window->setMinimumWidth(std::max(window->minimumWidth(), wanted));
}

} // namespace verdan
