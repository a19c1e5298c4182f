#include "testing.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

// Core suites that draw text need fonts, and fonts need the GUI application (headless here).
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    verdan::test::PrepareTestEnvironment();
    return RUN_ALL_TESTS();
}
