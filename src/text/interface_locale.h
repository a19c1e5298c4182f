#pragma once

#include <QCollator>
#include <QDateTime>
#include <QLocale>

namespace verdan {

// The locale of the interface language in force (English for a language document the system does not
// know), for sorting and comparing names as its readers expect.
QLocale InterfaceLocale();

// A collator of the interface language that orders names as a reader of it does: letter case, and
// punctuation only where the letters are equal.
QCollator InterfaceCollator();

// The program's own time stamps as the interface language writes them, for showing only: its month names
// and its digits ("١١ ديسمبر ٢٠٢٦" in Arabic, "۱۱ دسامبر ۲۰۲۶" in Persian, "11 December 2026" in
// English). Editable date boxes, stored stamps, SQL and every export keep their own forms with Latin digits.
QString StampDateText(const QDate& date);
// The time of day, hours 0 to 23 ("١٤:٣٠").
QString StampTimeText(const QTime& time);
// The date and then the time.
QString StampDateTimeText(const QDateTime& time);
// The text with its digits written in the interface language's digits.
QString StampDigits(const QString& text);

} // namespace verdan
