#pragma once

#include "datasheet/date_boxes.h"
#include "storage/person_records.h"

#include <QString>
#include <QStringList>

namespace verdan {

// The data sheet keeps a person's edits in its boxes until it leaves the person. Each section remembers
// what it showed when it was filled; writing merges field by field: a field the user changed takes the
// box, a field left alone takes what the tree file holds now, so a command that changed the person in the
// meantime (a rename in the outline, a new gender) is never undone by the sheet. Edits of a person whose
// row is gone are dropped, never written.

enum class TSaveResult {
    Nothing,  // no edits pending, or the edits change nothing
    Written,  // the edits are in the tree file
    Failed,   // the tree file refused the write; the edits stay pending
    Gone,     // the person no longer exists; the edits were dropped
    Conflict, // dates: the death lies before the birth; places and the deceased flag were written
    Invalid,  // dates: a box the user changed holds no day of its calendar; likewise
};

// The names section as its boxes hold it.
struct TNamesBoxes {
    QString Person_Name;
    QString Cognomen;
    QString Other_Name;
    QString Nickname;
    QString Last_Name;
    QString Family_Name;
    QString Family_Nickname;
    bool Is_Section = false;
    QString Section_Type;
    QString Order_By_Father; // empty for an unset order
    QString Order_By_Mother;

    bool operator==(const TNamesBoxes&) const = default;
};

TNamesBoxes NamesBoxesOf(const TPersonNames& names);
// The order a box holds: its integer, or the unset order when it holds none.
int OrderOfBox(const QString& text);

// The lines of the language's "[Family Groups]" list followed by the user's own group kinds.
QStringList SectionTypeChoices();

// The notes and the summary text of a person.
struct TTextBoxes {
    QString Notes;
    QString Briefing;

    bool operator==(const TTextBoxes&) const = default;
};

// The pending edits of one section for one person.
template <typename Boxes> class TSectionEdits {
public:
    // Starts over for a person (empty: nobody) whose section shows `shown`.
    void Start(const QString& personId, const Boxes& shown) {
        personId_ = personId;
        loaded_ = shown;
        changed_ = false;
    }
    // Nobody shown, nothing pending.
    void Reset() { Start(QString(), Boxes()); }
    const QString& PersonId() const { return personId_; }
    const Boxes& Loaded() const { return loaded_; }
    void MarkChanged() { changed_ = !personId_.isEmpty(); }
    bool Changed() const { return changed_; }
    void ClearChanged() { changed_ = false; }

private:
    QString personId_;
    Boxes loaded_;
    bool changed_ = false;
};

using TNamesEdits = TSectionEdits<TNamesBoxes>;
using TDatesEdits = TSectionEdits<TDateBoxes>;
using TTextEdits = TSectionEdits<TTextBoxes>;

// Start a section's edits from the tree file; the boxes to show (empty when there is no such person).
TNamesBoxes StartNamesEdits(TNamesEdits& edits, const QString& personId);
TTextBoxes StartTextEdits(TTextEdits& edits, const QString& personId);
TDateBoxes StartDatesEdits(TDatesEdits& edits, const TPerson& person);

// The values to write: for each field the box when the user changed it, else the stored value. A given
// name changed to blank becomes "<>"; the group kind is kept only for a group; texts are trimmed.
TPersonNames MergeNames(const TNamesBoxes& loaded, const TNamesBoxes& edited, const TPersonNames& stored);
TPersonText MergeText(const TTextBoxes& loaded, const TTextBoxes& edited, const TPersonText& stored);
void MergeDates(const TDateBoxes& loaded, const TDateBoxes& edited, TPerson& stored);
// A dated fact with its merged first date numbers: the detail boxes when the user changed them, else what
// the tree file holds (its dual years kept while the date stays).
TDateValue MergeDateValue(const TDateDetailBoxes& loaded, const TDateDetailBoxes& edited, int gregorian,
                          int hijri, const TDateValue& stored);

// Write the pending edits of a section when it has any (see TSaveResult); a result other than Failed,
// Conflict and Invalid clears the changed flag.
TSaveResult SaveNamesEdits(TNamesEdits& edits, const TNamesBoxes& boxes);
TSaveResult SaveTextEdits(TTextEdits& edits, const TTextBoxes& boxes);
TSaveResult SaveDatesEdits(TDatesEdits& edits, const TDateBoxes& boxes);

} // namespace verdan
