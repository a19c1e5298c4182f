#include "cli_commands.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("verdan-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VERDAN_VERSION));
    return verdan::cli::Run(QCoreApplication::arguments().mid(1));
}
