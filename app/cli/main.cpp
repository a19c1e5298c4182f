#include <QCoreApplication>
#include <QTextStream>

#include "cli_commands.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("verdan-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VERDAN_VERSION));
    return verdan::cli::Run(QCoreApplication::arguments().mid(1));
}
