#include "cli_commands.h"
#include "text/localisation.h"

#include <QMap>

namespace verdan::cli {

namespace {

const QMap<QString, QString> kLanguageFiles = {
    {QStringLiteral("ar"), QStringLiteral("arabic.local")},
    {QStringLiteral("en"), QStringLiteral("english.local")},
    {QStringLiteral("fa"), QStringLiteral("persian.local")},
    {QStringLiteral("ur"), QStringLiteral("urdu.local")},
};

} // namespace

// Prints what the program shows for an English source text: in one of the built-in languages as this build
// carries them (copies in the langs folder may be older), or in any language document given by its path.
int CmdTranslate(const QStringList& args) {
    QString source;
    QString context;
    QString lang = QStringLiteral("ar");
    QString file;
    bool hasSource = false;
    bool hasContext = false;
    bool feminine = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--context") && i + 1 < args.size()) {
            context = args[++i];
            hasContext = true;
        } else if (a == QLatin1String("--lang") && i + 1 < args.size()) {
            lang = args[++i];
        } else if (a == QLatin1String("--file") && i + 1 < args.size()) {
            file = args[++i];
        } else if (a == QLatin1String("--feminine")) {
            feminine = true;
        } else if (!hasSource && !a.startsWith(QLatin1String("--"))) {
            source = a;
            hasSource = true;
        } else {
            Err() << "translate: unexpected argument " << a << Qt::endl;
            return 2;
        }
    }
    if (!hasSource || !kLanguageFiles.contains(lang) || (hasContext && feminine)) {
        Err() << "usage: verdan-cli translate SOURCE [--context C | --feminine] [--lang ar|en|fa|ur | --file "
                 "DOC]"
              << Qt::endl;
        return 2;
    }

    if (file.isEmpty())
        file = QStringLiteral(":/langs/") + kLanguageFiles.value(lang);
    if (!LoadLanguage(file)) {
        Err() << "translate: cannot load " << file << Qt::endl;
        return 1;
    }

    // A shell passes line breaks as LF; multi-line sources are stored with CR LF.
    source.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
    QString result = hasContext ? TranslateContext(source, context)
                     : feminine ? TranslateFeminine(source)
                                : Translate(source);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    Out() << result << Qt::endl;
    return 0;
}

} // namespace verdan::cli
