#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace verdan {

// Whether the start of a file is a GEDCOM 7 header (HEAD.GEDC.VERS 7.x).
bool IsGedcom7Header(QByteArrayView start);

// A GEDCOM 7 document in the form the 5.5.1 reader takes, which then reads both alike: "@" escapes, shared
// notes, dates with their phrases and calendars (the Hijri calendar of our files and its sort date), ages in
// words, roles of associations, the pedigree of the nursing family, identifiers, and the extensions our
// export declares (by their URI in HEAD.SCHMA, whatever tag the file gives them): group records, a
// group as a family's parent or child, event texts and times. What has no place stays as it is, for the
// reader to keep in the notes.
QByteArray Gedcom7ToOlderForm(QByteArrayView utf8);

} // namespace verdan
