#pragma once

#include <QString>
#include <QStringList>

namespace verdan {

// The current-language text for an English source text. The result is a pattern: "%*" and "%#" of the
// source come back as "%s" and "%d"; fill it with FillPattern, never with printf-style formatting.
QString Translate(const QString& text);
QString TranslateContext(const QString& text, const QString& context);
QString TranslateFeminine(const QString& text);
QString TranslateLines(const QStringList& lines);

// Fills "%s" and "%d" placeholders in order; missing arguments leave the placeholder empty and extra
// arguments are dropped, so a faulty language document cannot break a message.
QString FillPattern(const QString& pattern, const QStringList& args);

} // namespace verdan
