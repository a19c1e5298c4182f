#include "localisation.h"

namespace verdan {

QString Translate(const QString& text) {
    return text;
}

QString TranslateContext(const QString& text, const QString&) {
    return text;
}

QString TranslateFeminine(const QString& text) {
    return text;
}

QString TranslateLines(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

QString FillPattern(const QString& pattern, const QStringList& args) {
    QString out;
    int next = 0;
    for (int i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && (pattern[i + 1] == u's' || pattern[i + 1] == u'd')) {
            if (next < args.size())
                out += args[next];
            ++next;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace verdan
