#pragma once

#include <QChar>
#include <QString>
#include <optional>

namespace verdan {

// Numbers as users type them. Whatever the keyboard, a digit may come as an ASCII digit, an Arabic-Indic
// digit (U+0660-U+0669) or a Persian one (U+06F0-U+06F9); every number the program reads from a user
// (dates, order numbers, the date calculator, filters, command-line arguments) goes through here.

// True for a digit of any of the three sets.
bool IsTypedDigit(QChar c);

// The text with every digit written as its ASCII digit, the Arabic decimal separator (U+066B) as "." and
// the minus sign (U+2212) as "-"; everything else as it is.
QString NormaliseDigits(const QString& text);

// The whole text, blanks around it ignored, as a decimal integer with an optional sign; nothing when it is
// empty, holds anything else or does not fit.
std::optional<int> ReadTypedInteger(const QString& text);

} // namespace verdan
