#include "chart/chart_poster.h"
#include "cli_commands.h"
#include "storage/tree_file.h"
#include "text/typed_numbers.h"

#include <QDir>

namespace verdan::cli {

namespace {

int Fail(const QString& message) {
    Err() << "verdan-cli poster: " << message << Qt::endl;
    return 1;
}

bool ParseArgs(const QStringList& args, QString& tree, QString& out, TPosterOptions& o, QString& error) {
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        auto value = [&](QString& into) {
            if (i + 1 >= args.size()) {
                error = arg + QStringLiteral(" needs a value");
                return false;
            }
            into = args[++i];
            return true;
        };
        auto number = [&](int& into) {
            QString text;
            if (!value(text))
                return false;
            const std::optional<int> read = ReadTypedInteger(text);
            into = read.value_or(-1);
            if (!read || into < 0 || into > 200) {
                error = arg + QStringLiteral(" needs a number from 0 to 200");
                return false;
            }
            return true;
        };
        QString text;
        bool ok = true;
        if (arg == u"--out") {
            ok = value(out);
        } else if (arg == u"--up") {
            ok = number(o.Up);
        } else if (arg == u"--down") {
            ok = number(o.Down);
        } else if (arg == u"--paper") {
            bool known = false;
            ok = value(text) && (o.Paper = PaperOf(text, &known), known);
            if (!known && error.isEmpty())
                error = QStringLiteral("--paper takes A4, A3, A2, A1 or A0");
        } else if (arg == u"--calendar") {
            ok = value(text);
            if (ok && text != u"hijri" && text != u"gregorian" && text != u"both")
                ok = (error = QStringLiteral("--calendar takes hijri, gregorian or both"), false);
            o.Calendar = text == u"gregorian" ? TDateShown::Gregorian
                         : text == u"both"    ? TDateShown::Both
                                              : TDateShown::Hijri;
        } else if (arg == u"--landscape") {
            o.Landscape = true;
        } else if (arg == u"--tiles") {
            o.Tiles = true;
        } else if (arg == u"--pictures") {
            o.Pictures = true;
        } else if (arg == u"--spouses") {
            o.Spouses = true;
        } else if (arg == u"--daughters") {
            o.Daughters = true;
        } else if (arg == u"--no-dates") {
            o.Dates = false;
        } else if (arg == u"--ltr") {
            o.LeftToRight = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            ok = (error = QStringLiteral("unknown option ") + arg, false);
        } else {
            positional << arg;
        }
        if (!ok)
            return false;
    }
    if (out.isEmpty()) {
        error = QStringLiteral("--out FILE.pdf|.svg|.png is needed");
        return false;
    }
    if (positional.isEmpty() || positional.size() > 2) {
        error = QStringLiteral("a tree file and, if you like, a person identifier are needed");
        return false;
    }
    tree = positional[0];
    o.PersonId = positional.value(1);
    return true;
}

} // namespace

// poster TREE.vrd [PERSON_ID] --out FILE: the person's descendants (by default the founder of the tree's
// largest father line) as a framed wall poster, on one page or in tiles of a paper size.
int Poster(const QStringList& args) {
    const ErrorLines errors;
    QString tree;
    QString out;
    TPosterOptions options;
    QString error;
    if (!ParseArgs(args, tree, out, options, error))
        return Fail(error);
    if (!OpenTreeFile(tree))
        return 1;
    TChart chart;
    int status = 0;
    if (BuildPosterChart(chart, options) < 0) {
        status = Fail(options.PersonId.isEmpty()
                          ? QStringLiteral("the tree has no persons")
                          : QStringLiteral("no person ") + options.PersonId + QStringLiteral(" in the tree"));
    } else {
        const TPoster poster(chart, options);
        if (!ExportPoster(poster, out, &error)) {
            status = Fail(error);
        } else {
            Out() << QDir::toNativeSeparators(out) << ' ' << chart.Persons().size() << " persons, "
                  << qRound(poster.Size().width() / 72 * 2.54) << " x "
                  << qRound(poster.Size().height() / 72 * 2.54) << " cm";
            if (options.Tiles)
                Out() << ", " << poster.TileCount() << " sheets (" << poster.Rows() << " x "
                      << poster.Columns() << ")";
            Out() << Qt::endl;
        }
    }
    CloseTreeFile();
    return status;
}

} // namespace verdan::cli
