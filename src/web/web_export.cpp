#include "web/web_export.h"

#include "text/localisation.h"
#include "text/rtf_reader.h"
#include "web/site_output.h"
#include "web/web_addresses.h"
#include "web/web_export_steps.h"
#include "web/web_pages.h"

#include <QTextDocument>
#include <QTextDocumentFragment>

namespace verdan {

namespace {

constexpr int kProgressEvery = 512;

// The tree's description as plain paragraphs: the program keeps its editor's HTML, older files rich text
// or plain text. Only the words go into the site, never the stored markup.
QString DescriptionText(const QByteArray& stored) {
    if (stored.trimmed().isEmpty())
        return QString();
    if (LooksLikeRtf(stored))
        return ReadRtf(stored).PlainText();
    const QString text = QString::fromUtf8(stored);
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

} // namespace

bool ExportWebsite(const QString& folder, const TWebOptions& options, const TWebProgressFn& progress,
                   TWebExportSummary& summary, QString& error) {
    summary = TWebExportSummary();
    TWebTree tree;
    if (!ReadWebTree(tree, error))
        return false;
    TSiteOutput output(folder);
    if (!output.Open(error))
        return false;
    TWebSite site(tree, options);

    TWebProgress state;
    state.Total = int(tree.Persons.size() + tree.Pictures.size()) + 4;
    int sinceReport = 0;
    const auto step = [&]() {
        ++state.Done;
        if (!progress || ++sinceReport < kProgressEvery)
            return true;
        sinceReport = 0;
        if (progress(state))
            return true;
        error = Translate(QStringLiteral("The export was cancelled."));
        return false;
    };
    const TSiteFileSink sink = [&](const QByteArray& path, const QByteArray& bytes) {
        return output.Write(path, bytes, error);
    };

    if (!WriteSiteAssets(site, output, error) || !WriteSitePictures(site, output, step, error))
        return false;
    for (size_t i = 0; i < tree.Persons.size(); ++i) {
        if (!step())
            return false;
        if (site.HasPage(int(i))) {
            ++summary.Pages;
            if (!sink(PersonPagePath(tree.Persons[i].Hex), MakePersonPage(site, int(i))))
                return false;
        }
        summary.Private += site.Shown[i] == TShown::Private;
        summary.Absent += site.Shown[i] == TShown::Absent;
    }
    if (!sink("index.html", MakeHomePage(site, DescriptionText(tree.Description))) || !step() ||
        !sink("outline.html", MakeOutlinePage(site)) || !sink("search.html", MakeSearchPage(site)) ||
        !MakeFamilyPages(site, sink) || !step() || !MakeOutlineScripts(site, sink) || !step() ||
        !MakeSearchScripts(site, sink) || !sink("assets/fold.js", MakeFoldScript()) || !step())
        return false;
    if (!output.Finish(error))
        return false;
    for (const char ready : site.PictureReady)
        summary.Pictures += ready;
    summary.Written = output.Written();
    summary.Unchanged = output.Unchanged();
    summary.Removed = output.Removed();
    if (progress) {
        state.Done = state.Total;
        progress(state);
    }
    return true;
}

QString WebExportSummaryText(const TWebExportSummary& summary) {
    const auto line = [](const char* source, int n) {
        return FillPattern(Translate(QString::fromUtf8(source)), {QString::number(n)});
    };
    return QStringList{line("Person pages: %#", summary.Pages),
                       line("Persons shown without a name: %#", summary.Private),
                       line("Persons left out: %#", summary.Absent),
                       line("Pictures: %#", summary.Pictures),
                       line("Files written: %#", summary.Written),
                       line("Files unchanged: %#", summary.Unchanged),
                       line("Files removed: %#", summary.Removed)}
        .join(u'\n');
}

} // namespace verdan
