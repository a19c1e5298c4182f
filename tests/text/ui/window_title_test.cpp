#include "text/ui/window_title.h"

#include <QApplication>
#include <QFontMetrics>
#include <QProgressDialog>
#include <gtest/gtest.h>

namespace verdan {
namespace {

// A small window is widened for its whole title beside the title bar's buttons; a wider one keeps its
// width, and a short title changes nothing.
TEST(WindowTitle, SmallWindowsAreWideEnoughForTheirTitles) {
    QProgressDialog progress;
    progress.setWindowTitle(QStringLiteral(u"استيراد ملف GEDCOM من شجرة العائلة الكبيرة"));
    const int before = progress.sizeHint().width();
    FitTitleWidth(&progress);
    QFont bold = progress.font();
    bold.setBold(true);
    const int title = QFontMetrics(bold).horizontalAdvance(progress.windowTitle());
    EXPECT_GT(progress.minimumWidth(), title + 100);
    EXPECT_GE(progress.sizeHint().width(), before);
    progress.show();
    QApplication::processEvents();
    EXPECT_GT(progress.width(), title + 100);

    QProgressDialog wide;
    wide.setMinimumWidth(2000);
    wide.setWindowTitle(QStringLiteral("Import"));
    FitTitleWidth(&wide);
    EXPECT_EQ(wide.minimumWidth(), 2000);
}

} // namespace
} // namespace verdan
