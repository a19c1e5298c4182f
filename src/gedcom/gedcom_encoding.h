#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace verdan {

// Encoding names the GEDCOM reader uses besides the code page names Qt knows.
inline constexpr char kGedUtf8[] = "UTF-8";
inline constexpr char kGedUtf16Le[] = "UTF-16LE";
inline constexpr char kGedUtf16Be[] = "UTF-16BE";
inline constexpr char kGedAnsel[] = "ANSEL";

// The code page for undeclared 8-bit text: Arabic script for an Arabic, Persian or Urdu interface.
QString GedcomFallbackEncoding(const QString& interfaceLanguage);

bool IsValidUtf8(QByteArrayView bytes);

// The encoding the start of a file declares by a byte order mark or the header's CHAR line; empty when
// only the bytes themselves can tell.
QString DeclaredGedcomEncoding(QByteArrayView start, const QString& fallback);

// The encoding of a whole file: a byte order mark first, then the header's CHAR line, then the bytes
// themselves (valid UTF-8 stays UTF-8, anything else falls back).
QString DetectGedcomEncoding(QByteArrayView bytes, const QString& fallback);

// The canonical name of an encoding a user asked for, or an empty text when it is unknown.
QString NormaliseGedcomEncoding(const QString& name, const QString& fallback);

// Turns the file's bytes into UTF-8 in place, dropping a byte order mark.
void ConvertToUtf8(QByteArray& bytes, const QString& encoding);

// ANSEL puts combining marks before their base letter; the result has them after it, composed.
QString DecodeAnsel(QByteArrayView bytes);

} // namespace verdan
