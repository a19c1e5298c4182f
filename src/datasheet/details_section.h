#pragma once

#include "datasheet/sheet_edits.h"
#include "storage/person_details_store.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace verdan {

// What the details section checks and opens: e-mail and web addresses, accounts and map searches.

// An address of the form name@domain.tld; an empty text is not one.
bool IsWellFormedEmail(const QString& text);
// A web address (http, https or ftp); a text without "http" is checked as if "http://" stood before it.
bool IsWellFormedWebAddress(const QString& text);

// The kinds an account may be of, as the account box offers them (English sources; the first is
// translated, the others are names of services).
QStringList AccountKindSources();
// The start of a profile address of the service, for the account kinds that have one; empty otherwise.
QString AccountAddressPrefix(const QString& kind);

// What the desktop is handed to open an account's address: only http, https and mailto addresses, an
// address without a scheme taken as http:// (an e-mail address as mailto:). An invalid URL for anything
// else: the address is never handed to the desktop.
QUrl AccountUrl(const QString& address);
// The web map's search page for a location (coordinates or a place); an invalid URL for a blank one.
QUrl MapSearchUrl(const QString& location);

// The details section's pending edits: what the boxes showed when the person was loaded, so that a save
// takes the boxes the user changed and keeps what the tree holds for the others.
TPerson_Details MergeDetails(const TPerson_Details& loaded, const TPerson_Details& edited,
                             const TPerson_Details& stored);

using TDetailsEdits = TSectionEdits<TPerson_Details>;
// Starts the edits from the tree file; the details to show (empty for nobody or a person without a row).
TPerson_Details StartDetailsEdits(TDetailsEdits& edits, const QString& personId);
// Writes the pending edits when there are any: a person without a row gets one.
TSaveResult SaveDetailsEdits(TDetailsEdits& edits, const TPerson_Details& boxes);

} // namespace verdan
