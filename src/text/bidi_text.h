#pragma once

#include <QString>

class QFontMetrics;

namespace verdan {

// Texts of one reading order set into a sentence or a window of the other: a path in an Arabic message, a
// Latin name in a mirrored outline, "12 KB" after Arabic words. Without help the bidirectional algorithm
// moves their leading and trailing punctuation to the wrong end ("home/me/copy.vrd/"). Each helper wraps
// the text in Unicode isolates (U+2066..U+2069), which keep it in its own order and keep the surrounding
// sentence from reordering around it. The marks are invisible and cost nothing in a text of one direction.

// The text in the direction of its own first letter (first-strong isolate): names, titles, any text
// that may be written in either script.
QString Isolate(const QString& text);

// Always left to right: paths, file names, addresses, file filters, numbers with their units. A path whose
// folders have Arabic names still reads from its root.
QString IsolateLtr(const QString& text);

// A path as the desktop writes it (native separators), isolated left to right.
QString IsolatePath(const QString& path);

// A file-dialog filter "Description (*.ext)": the patterns keep their order after an Arabic description.
// The brackets take the direction of the mark before them, and the dialog still reads the patterns.
QString FileFilter(const QString& description, const QString& patterns);

// The text without the isolates and direction marks these helpers and others add, for comparing, copying
// or writing it anywhere but the screen.
QString StripBidiControls(const QString& text);

// The reading order a value takes on its own: that of its first letter; a text without letters (a number,
// a date, a phone number such as "+966 50 123 4567") reads left to right; an empty text takes `empty`.
Qt::LayoutDirection ReadingDirection(const QString& text, Qt::LayoutDirection empty);

// True when the text holds a letter of the Arabic script (Arabic, Persian, Urdu).
bool HasArabicLetters(const QString& text);

// Shortens the text to fit `width` pixels by cutting it at its own end, the end its reading order gives it
// (the right for Latin, the left for Arabic), whatever the direction of the window it is drawn in, and
// returns it isolated so the ellipsis stays at that end.
QString ElideAtOwnEnd(const QString& text, const QFontMetrics& metrics, int width);

} // namespace verdan
