// Imports generated GEDCOM files of growing size into new trees and prints time and peak memory.
//
//   bench_gedcom_import                  10,000 and 100,000 persons made by scripts/gen_tree.py
//   bench_gedcom_import --sizes 10000,100000,1000000
//   bench_gedcom_import --persons 1000000   one size
//   bench_gedcom_import FILE.ged ...      the given files
//   bench_gedcom_import --events ...      generated files whose persons and marriages have events
//
// Each import runs in a process of its own so that its peak memory is its own.
#include "gedcom/gedcom_import.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>

namespace {

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

long PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The child: one import, one line "persons milliseconds peak-MB".
int RunOne(const QString& file) {
    QTemporaryDir home;
    verdan::TGedcomImportOptions options;
    options.BaseFolder = home.path();
    verdan::TGedcomImportResult result;
    QElapsedTimer timer;
    timer.start();
    if (!verdan::ImportGedcomFile(file, options, result)) {
        Out() << "error " << result.ErrorMessage << Qt::endl;
        return 1;
    }
    const qint64 elapsed = timer.elapsed();
    Out() << result.Summary.Individuals << ' ' << elapsed << ' ' << PeakMegabytes() << Qt::endl;
    return 0;
}

QString Generator() {
    return QStringLiteral(VERDAN_SOURCE_DIR "/scripts/gen_tree.py");
}

bool Generate(int persons, const QString& file, bool events) {
    QProcess python;
    // Seed 1: the generator's default seed dies out early at 10,000 persons.
    QStringList args{Generator(),
                     QStringLiteral("--persons"),
                     QString::number(persons),
                     QStringLiteral("--seed"),
                     QStringLiteral("1"),
                     QStringLiteral("--out"),
                     file};
    if (events)
        args << QStringLiteral("--events");
    python.start(QStringLiteral("python3"), args);
    return python.waitForFinished(-1) && python.exitCode() == 0;
}

void Measure(const QString& file) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--run"), file});
    child.waitForFinished(-1);
    const QStringList fields = QString::fromUtf8(child.readAllStandardOutput()).simplified().split(u' ');
    const double megabytes = double(QFileInfo(file).size()) / (1024 * 1024);
    if (child.exitCode() != 0 || fields.size() != 3) {
        Out() << QFileInfo(file).fileName() << ": failed " << fields.join(u' ') << Qt::endl;
        return;
    }
    const double persons = fields[0].toDouble();
    const double ms = fields[1].toDouble();
    Out() << qSetFieldWidth(9) << fields[0] << qSetFieldWidth(0) << " persons  " << qSetRealNumberPrecision(1)
          << Qt::fixed << megabytes << " MB file  " << ms / 1000.0 << " s  " << qSetRealNumberPrecision(2)
          << (persons > 0 ? ms * 1000.0 / persons : 0) << " us/person  peak " << fields[2] << " MB"
          << Qt::endl;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool events = args.removeAll(QStringLiteral("--events")) > 0;
    if (args.size() == 2 && args[0] == QLatin1String("--run"))
        return RunOne(args[1]);
    QList<int> sizes = {10000, 100000};
    if (args.size() == 2 && args[0] == QLatin1String("--persons"))
        args = QStringList{QStringLiteral("--sizes"), args[1]};
    if (args.size() == 2 && args[0] == QLatin1String("--sizes")) {
        sizes.clear();
        for (const QString& size : args[1].split(u','))
            sizes << size.toInt();
        args.clear();
    }
    if (!args.isEmpty()) {
        for (const QString& file : args)
            Measure(file);
        return 0;
    }
    QTemporaryDir work;
    for (int persons : sizes) {
        const QString file = work.filePath(QStringLiteral("tree-%1.ged").arg(persons));
        if (!Generate(persons, file, events)) {
            Out() << "could not run " << Generator() << Qt::endl;
            return 1;
        }
        Measure(file);
    }
    return 0;
}
