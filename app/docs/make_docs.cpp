// Writes the manual pages and the bash completions of both programs below the folder given, as the build
// installs them: man/man1/ and bash-completion/completions/.
#include "cli_help.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

bool Write(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0) {
        fprintf(stderr, "make_docs: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fputs("usage: make_docs FOLDER\n", stderr);
        return 2;
    }
    using namespace verdan::cli;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok =
        Write(folder + QStringLiteral("/man/man1/verdan.1"), ProgramManualPage()) &&
        Write(folder + QStringLiteral("/man/man1/verdan-cli.1"), CliManualPage()) &&
        Write(folder + QStringLiteral("/bash-completion/completions/verdan"), ProgramCompletion()) &&
        Write(folder + QStringLiteral("/bash-completion/completions/verdan-cli"), CliCompletion());
    return ok ? 0 : 1;
}
