#include "testing.h"

#include "text/program_folder.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace verdan::test {

namespace {
std::unique_ptr<QTemporaryDir>& Home() {
    static std::unique_ptr<QTemporaryDir> home;
    return home;
}
} // namespace

void PrepareTestEnvironment() {
    Home() = std::make_unique<QTemporaryDir>();
    SetProgramFolder(Home()->path() + QStringLiteral("/program"));
}

QString NewTempDir() {
    static int counter = 0;
    const QString path = Home()->path() + QStringLiteral("/t%1").arg(++counter);
    QDir().mkpath(path);
    return path;
}

QString TestData(const QString& relative) {
    return QStringLiteral(VERDAN_TEST_DATA "/") + relative;
}

QString SampleData(const QString& relative) {
    return TestData(QStringLiteral("samples/") + relative);
}

} // namespace verdan::test
