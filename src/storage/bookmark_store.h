#pragma once

#include "database.h"

#include <QString>

namespace verdan {

// Bookmarks (b_type 0 or null: a note on a person) and favourites (b_type 1: the main window's strip) of
// the open tree. A person may have one of each. Oids come from grid cells as text: a text that is not a
// whole positive number addresses no row.

// oid, person_id, an empty name column, notes; newest first.
void ListBookmarks(TextTable& table);
QString GetBookmarkNote(const QString& oid);
QString GetPersonBookmarkNote(const QString& id);
// The person's bookmark; false with both outputs empty when there is none.
bool GetPersonBookmark(const QString& id, QString& oid, QString& note);
// Replaces the note of the person's bookmark, or adds the bookmark.
bool SetPersonBookmark(const QString& id, const QString& note);
bool SetBookmarkNote(const QString& oid, const QString& note);
bool SetBookmarkOrder(const QString& oid, int order);
bool DeleteBookmark(const QString& oid);
bool DeletePersonBookmark(const QString& id);

// oid, person_id, notes; in display order.
void ListFavourites(TextTable& table);
// False when the person is a favourite already.
bool AddFavourite(const QString& id, const QString& note);
bool DeleteFavourite(const QString& oid);

// Persons whose notes (or briefing) are not empty: Person_Id, Person_Name, the text and the day of the
// last change, oldest change first.
void ListPersonsWithNotes(TextTable& table);
void ListPersonsWithBriefing(TextTable& table);

} // namespace verdan
