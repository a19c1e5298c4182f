#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

// The separator a grid's field delimiter names: "TAB", "SEMICOLON", "SPACE", "COMMA" (any case) or the
// first character of any other text; TAB when empty. A ".csv" file always uses ",".
QChar GridSeparator(const QString& fieldDelimiter, const QString& fileName);

// Text of a grid file: a byte-order mark decides the encoding, else strict UTF-8, else windows-1256.
// UTF-16 is recognised only by its mark.
QString DecodeGridText(const QByteArray& bytes);

// Splits text into records of fields. A field that starts with a double quote and whose closing quote
// is followed by the separator or a line end is quoted: doubled quotes inside become one and separators
// and line breaks inside belong to the field. Any other field is taken as it is. Empty lines and lines
// that start with `commentDelimiter` are skipped.
QList<QStringList> ParseGridText(const QString& text, QChar separator, const QString& commentDelimiter);

// One record as a line ParseGridText reads back. Only fields that contain the separator, a quote or a
// line break, or start with the comment delimiter, are quoted, so plain lines stay as they always were;
// a first field is also quoted when the line would otherwise be empty or read as a comment.
QString FormatGridLine(const QStringList& fields, QChar separator, const QString& commentDelimiter);

// UTF-8 with a byte-order mark, CR LF after every line.
QByteArray EncodeGridText(const QStringList& lines);

} // namespace verdan
