#pragma once

#include "file_names.h"
#include "name_utils.h"
#include "number_utils.h"

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QRect>
#include <QString>

class QPainter;

namespace verdan {

// A (name, value) pair of texts, as the children of an SML node give them.
struct TName_String_Value {
    QString name;
    QString value;
    bool operator==(const TName_String_Value&) const = default;
};
using TName_String_Value_Array = QList<TName_String_Value>;

// Whole-text checks of an e-mail address and of a web address ("scheme://host.tld/...").
bool IsValidEmail(const QString& text);
bool IsValidUrl(const QString& text);

// "month/day/year" without leading zeros, the body of a date literal in SQL text; empty for an invalid
// date.
QString SqlDateText(const QDate& date);

// When the program file was built (its modification time), for the about window.
QDateTime BuildTime();

// The source size scaled to fit inside `bounds` keeping its proportions, centred in the bounds.
QRect FitRect(const QRect& bounds, const QSize& source);

// Moves each colour channel `percent` (0..100) of the way towards white.
QColor LightenColor(const QColor& color, int percent);

// Draws the text in one line in right-to-left reading order so that it ends at x, its top at y.
void DrawTextRight(QPainter& painter, int x, int y, const QString& text);

} // namespace verdan
