#include "quick_cards.h"

#include "datasheet/mate_children.h"
#include "storage/bookmark_store.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"

namespace verdan {

TQuickInfo ReadQuickInfo(const QString& personId) {
    TQuickInfo info;
    const QString id = personId.trimmed();
    if (id.isEmpty() || !PersonExists(id))
        return info;
    info.Name = GetLineageName(id);
    info.MotherName = GetMotherLineageName(id);
    TMateList mates;
    ListMates(id, mates);
    for (const TMate& mate : std::as_const(mates))
        info.Mates << mate.LineageName;
    if (!mates.isEmpty())
        info.MatesCaptionSource =
            MatesCaptionSource(NormaliseGender(GetGender(id)), static_cast<int>(mates.size()));
    return info;
}

TCardTexts ReadCardTexts(const QString& personId) {
    TCardTexts texts;
    TPersonText text;
    if (personId.trimmed().isEmpty() || !ReadPersonText(personId, text))
        return texts;
    texts.Briefing = text.Briefing;
    texts.Notes = text.Notes;
    texts.Bookmark = GetPersonBookmarkNote(personId);
    return texts;
}

bool SaveCardTexts(const QString& personId, const TCardTexts& loaded, const TCardTexts& edited) {
    if (personId.trimmed().isEmpty() || !PersonExists(personId))
        return false;
    bool written = true;
    if (edited.Briefing != loaded.Briefing || edited.Notes != loaded.Notes) {
        // A text left alone keeps what the tree holds now: the sheet may have written it meanwhile.
        TPersonText stored;
        ReadPersonText(personId, stored);
        if (edited.Briefing != loaded.Briefing)
            stored.Briefing = edited.Briefing.trimmed();
        if (edited.Notes != loaded.Notes)
            stored.Notes = edited.Notes.trimmed();
        written = WritePersonText(personId, stored);
    }
    if (edited.Bookmark != loaded.Bookmark) {
        const QString note = edited.Bookmark.trimmed();
        if (note.isEmpty())
            written = DeletePersonBookmark(personId) && written;
        else
            written = SetPersonBookmark(personId, note) && written;
    }
    return written;
}

} // namespace verdan
