#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <utility>

namespace verdan {

// The document information of a PDF file: its entries read from the last trailer's /Info dictionary (text
// strings decoded), empty when there is none.
QList<std::pair<QString, QString>> ReadPdfInformation(const QByteArray& pdf);

// Gives the document a new information dictionary with these entries and CreationDate, appended as an
// incremental update (the body the writer made stays byte for byte). False when the document has no
// classic trailer to extend.
bool SetPdfInformation(QByteArray& pdf, const QList<std::pair<QString, QString>>& entries,
                       const QDateTime& created);

// Gives every page the user unit (the size of one unit in 1/72 inch), so that a page larger than viewers
// take (200 inches) can be written at a fraction of its size and shown and printed whole. Appended as an
// incremental update; false when the document has no classic trailer or no page.
bool SetPdfUserUnit(QByteArray& pdf, double unit);

// "D:YYYYMMDDHHmmSS+HH'mm'", the PDF date of a local time.
QByteArray PdfDate(const QDateTime& time);

} // namespace verdan
