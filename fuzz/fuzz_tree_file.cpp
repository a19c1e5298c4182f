#include "storage/page_file.h"
#include "storage/tree_probe.h"
#include "storage/tree_rescue.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Takes arbitrary bytes as a whole tree file (the corpus holds sound trees, which the fuzzer damages page
// by page): the probe must tell what it is without writing to it, and the rescue must either fail with a
// reason or write a tree that passes the engine's check, leaving the damaged file as it was. Nothing may
// crash or hang.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    verdan::TPageFile pages;
    if (pages.OpenBytes(bytes)) {
        std::vector<bool> seen(size_t(pages.PageCount()) + 1);
        int damaged = 0;
        pages.WalkTable(1, seen, damaged, [](qint64, verdan::TPageRow&) {});
    }
    const QString damaged = folder.filePath(QStringLiteral("tree.vrd"));
    {
        QFile file(damaged);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            return 0;
    }
    verdan::ProbeTreeFile(damaged);
    const QString target = folder.filePath(QStringLiteral("rescued/rescued.vrd"));
    verdan::TRescueReport report;
    QString error;
    const bool rescued = verdan::RescueTree(damaged, target, {}, report, error);
    if (!rescued && error.isEmpty())
        std::abort();
    QFile file(damaged);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != bytes)
        std::abort(); // the damaged file must stay as it was
    QDir(folder.filePath(QStringLiteral("rescued"))).removeRecursively();
    return 0;
}
