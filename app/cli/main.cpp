#include "cli_commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <memory>

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    // Commands that draw pages need fonts, hence the GUI application; it never shows a window, so it
    // needs no display either.
    std::unique_ptr<QCoreApplication> app;
    if (verdan::cli::NeedsGui(args)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("verdan-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VERDAN_VERSION));
    return verdan::cli::Run(QCoreApplication::arguments().mid(1));
}
