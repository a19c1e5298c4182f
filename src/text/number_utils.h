#pragma once

#include <QString>

namespace verdan {

// Reads the first run of digits and minus signs in the text as a 32-bit integer; 0 when that run is not
// one ("12px" → 12, "x-5" → -5, "1-2" → 0).
int ExtractInteger(const QString& text);

// The text with everything but the ASCII digits removed.
QString DigitsOnly(const QString& text);

// The whole text as a decimal integer; 0 when it is not one.
int TextToIntegerOrZero(const QString& text);

// True when the whole text is a decimal number written with "." as the decimal point.
bool IsNumber(const QString& text);

// Numbers in the user's number format. Reading also accepts "." so that numbers written on another
// machine still read.
double TextToFloatOrZero(const QString& text);
QString FloatText(double value);
QString FixedText(double value, int decimals);

// Decimal text with leading zeros up to `width` characters (the sign included).
QString PadNumber(int value, int width);
QString IntText(int value);

// "true", "t", "1", "-1", "yes", "y" (any letter case) are true; everything else is false.
bool TextToBool(const QString& text);
QString BoolToText(bool value);

} // namespace verdan
