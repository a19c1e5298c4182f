#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace verdan {

// Literals for callers that build statement text. Text literals always double the apostrophe, so typed text
// is stored as typed and can never end a literal early.

QString EscapeSqlText(const QString& text); // apostrophes doubled
QString Quote(const QString& text);         // standard SQL text literal
QString QuoteEscaped(const QString& text);  // the same literal; kept for callers that mark free text
QString SqlBool(bool value);                // "1" or "0"
QString SqlBit(bool value);                 // "1" or "0"
QString SqlDate(const QDate& date);         // 'yyyy-MM-dd'
QString SqlDate(const QDateTime& date);     // 'yyyy-MM-dd', the time of day dropped

// Stamps (Date_Created, Date_Modified) are ISO local time, so Max() and Order By compare them correctly.
QString StampText(const QDateTime& time);  // yyyy-MM-dd HH:mm:ss
QString NowStamp();                        // StampText of the current local time
QDateTime ParseStamp(const QString& text); // invalid for blank or unreadable text

} // namespace verdan
