#pragma once

#include "storage/jet_table_reader.h"

#include <QByteArrayView>
#include <QString>

namespace verdan {

// What the first page of a file tells about it as a Jet database.
struct TJetHeader {
    bool Jet = false;      // "Standard Jet DB" at offset 4
    int Version = -1;      // 0 for Jet 3, 1 for Jet 4.0
    bool Password = false; // a database password is set
    bool IsJet4() const { return Jet && Version == 1; }
};
TJetHeader ReadJetHeader(QByteArrayView firstPage);

// A Jet 4.0 text: either UCS-2 little-endian, or the compressed form that starts with FF FE, in which
// characters take one byte each (their high byte being zero) and each zero byte switches between one and
// two bytes per character.
QString DecodeJetText(QByteArrayView bytes);

// A date-time value (days since 30 December 1899; the fraction, also of a day before it, is the time of
// day) as the tree file's stamp text "yyyy-MM-dd HH:mm:ss"; empty for a value outside the years 100 to
// 9999 or one that is no number.
QString JetDateTimeStamp(double days);

// The 16 bytes of a GUID in its text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; empty for another size.
QString JetGuidText(QByteArrayView bytes);

// A number column's value; false when the bytes do not fit the type or it is no number column.
bool JetInteger(TJetType type, QByteArrayView bytes, qint64& value);
bool JetReal(TJetType type, QByteArrayView bytes, double& value);

} // namespace verdan
