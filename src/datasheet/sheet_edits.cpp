#include "sheet_edits.h"

#include "datasheet/date_value_boxes.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_info.h"
#include "text/localisation.h"
#include "text/typed_numbers.h"

namespace verdan {

namespace {

QString OrderBoxText(int order) {
    return order == kUnsetOrder ? QString() : QString::number(order);
}

// The box when the user changed it, else the stored value.
template <typename T> T Pick(const T& loaded, const T& edited, const T& stored) {
    return edited == loaded ? stored : edited;
}

bool SameNames(const TPersonNames& a, const TPersonNames& b) {
    return a.Person_Name == b.Person_Name && a.Other_Name == b.Other_Name && a.Last_Name == b.Last_Name &&
           a.Family_Name == b.Family_Name && a.Family_Nickname == b.Family_Nickname &&
           a.Nickname == b.Nickname && a.Cognomen == b.Cognomen && a.Is_Section == b.Is_Section &&
           a.Section_Type == b.Section_Type && a.Order_By_Father == b.Order_By_Father &&
           a.Order_By_Mother == b.Order_By_Mother;
}

bool SameDates(const TPerson& a, const TPerson& b) {
    return a.Date_of_Birth_G == b.Date_of_Birth_G && a.Date_of_Birth_H == b.Date_of_Birth_H &&
           a.Date_of_Death_G == b.Date_of_Death_G && a.Date_of_Death_H == b.Date_of_Death_H &&
           a.Place_of_Birth == b.Place_of_Birth && a.Place_of_Death == b.Place_of_Death &&
           a.Is_Dead == b.Is_Dead;
}

// Common ground of every save: edits pending for a person whose row still exists.
template <typename Boxes> bool Pending(TSectionEdits<Boxes>& edits, TSaveResult& result) {
    if (!edits.Changed()) {
        result = TSaveResult::Nothing;
        return false;
    }
    if (!PersonExists(edits.PersonId())) {
        edits.Reset();
        result = TSaveResult::Gone;
        return false;
    }
    return true;
}

template <typename Boxes> TSaveResult Finish(TSectionEdits<Boxes>& edits, bool written) {
    if (!written)
        return TSaveResult::Failed;
    edits.ClearChanged();
    return TSaveResult::Written;
}

} // namespace

TNamesBoxes NamesBoxesOf(const TPersonNames& names) {
    TNamesBoxes boxes;
    boxes.Person_Name = names.Person_Name;
    boxes.Cognomen = names.Cognomen;
    boxes.Other_Name = names.Other_Name;
    boxes.Nickname = names.Nickname;
    boxes.Last_Name = names.Last_Name;
    boxes.Family_Name = names.Family_Name;
    boxes.Family_Nickname = names.Family_Nickname;
    boxes.Is_Section = names.Is_Section;
    boxes.Section_Type = names.Section_Type;
    boxes.Order_By_Father = OrderBoxText(names.Order_By_Father);
    boxes.Order_By_Mother = OrderBoxText(names.Order_By_Mother);
    return boxes;
}

int OrderOfBox(const QString& text) {
    return ReadTypedInteger(text).value_or(kUnsetOrder);
}

QStringList SectionTypeChoices() {
    QStringList choices = Translate(QStringLiteral("[Family Groups]")).split(u'\n');
    for (QString& choice : choices)
        choice = choice.trimmed();
    choices.removeAll(QString());
    MergeSectionTypes(choices);
    return choices;
}

TNamesBoxes StartNamesEdits(TNamesEdits& edits, const QString& personId) {
    TPersonNames names;
    TNamesBoxes boxes;
    if (!personId.isEmpty() && ReadPersonNames(personId, names))
        boxes = NamesBoxesOf(names);
    edits.Start(personId, boxes);
    return boxes;
}

TTextBoxes StartTextEdits(TTextEdits& edits, const QString& personId) {
    TPersonText text;
    if (!personId.isEmpty())
        ReadPersonText(personId, text);
    const TTextBoxes boxes{text.Notes, text.Briefing};
    edits.Start(personId, boxes);
    return boxes;
}

TDateBoxes StartDatesEdits(TDatesEdits& edits, const TPerson& person) {
    TPersonDates dates = PersonDatesOf(person);
    ReadPersonDates(person.Person_Id, dates);
    const TDateBoxes boxes = DateBoxesOf(person, dates);
    edits.Start(person.Person_Id, boxes);
    return boxes;
}

TPersonNames MergeNames(const TNamesBoxes& loaded, const TNamesBoxes& edited, const TPersonNames& stored) {
    TPersonNames names = stored;
    if (edited.Person_Name != loaded.Person_Name)
        names.Person_Name =
            edited.Person_Name.trimmed().isEmpty() ? QStringLiteral("<>") : edited.Person_Name;
    names.Cognomen = Pick(loaded.Cognomen, edited.Cognomen, stored.Cognomen);
    names.Other_Name = Pick(loaded.Other_Name, edited.Other_Name, stored.Other_Name);
    names.Nickname = Pick(loaded.Nickname, edited.Nickname, stored.Nickname);
    names.Last_Name = Pick(loaded.Last_Name, edited.Last_Name, stored.Last_Name);
    names.Family_Name = Pick(loaded.Family_Name, edited.Family_Name, stored.Family_Name);
    names.Family_Nickname = Pick(loaded.Family_Nickname, edited.Family_Nickname, stored.Family_Nickname);
    names.Is_Section = Pick(loaded.Is_Section, edited.Is_Section, stored.Is_Section);
    names.Section_Type =
        names.Is_Section ? Pick(loaded.Section_Type, edited.Section_Type, stored.Section_Type) : QString();
    if (edited.Order_By_Father != loaded.Order_By_Father)
        names.Order_By_Father = OrderOfBox(edited.Order_By_Father);
    if (edited.Order_By_Mother != loaded.Order_By_Mother)
        names.Order_By_Mother = OrderOfBox(edited.Order_By_Mother);
    return names;
}

TPersonText MergeText(const TTextBoxes& loaded, const TTextBoxes& edited, const TPersonText& stored) {
    TPersonText text = stored;
    if (edited.Notes != loaded.Notes)
        text.Notes = edited.Notes.trimmed();
    if (edited.Briefing != loaded.Briefing)
        text.Briefing = edited.Briefing.trimmed();
    return text;
}

TDateValue MergeDateValue(const TDateDetailBoxes& loaded, const TDateDetailBoxes& edited, int gregorian,
                          int hijri, const TDateValue& stored) {
    if (edited != loaded)
        return ReadDateValue(gregorian, hijri, edited, stored);
    TDateValue value = stored;
    value.Gregorian = gregorian;
    value.Hijri = hijri;
    // A date typed where only words were: words beside it explain it, a text kept as written gives way.
    if ((gregorian != 0 || hijri != 0) && value.Qualifier == TDateQualifier::Phrase)
        value.Qualifier = TDateQualifier::Interpreted;
    else if ((gregorian != 0 || hijri != 0) && value.Qualifier == TDateQualifier::Text)
        value = TDateValue{TDateDetail(), gregorian, hijri};
    return NormalisedDate(value);
}

void MergeDates(const TDateBoxes& loaded, const TDateBoxes& edited, TPerson& stored) {
    TPerson typed;
    ApplyDateBoxes(edited, typed);
    if (edited.BirthG != loaded.BirthG)
        stored.Date_of_Birth_G = typed.Date_of_Birth_G;
    if (edited.BirthH != loaded.BirthH)
        stored.Date_of_Birth_H = typed.Date_of_Birth_H;
    if (edited.DeathG != loaded.DeathG)
        stored.Date_of_Death_G = typed.Date_of_Death_G;
    if (edited.DeathH != loaded.DeathH)
        stored.Date_of_Death_H = typed.Date_of_Death_H;
    stored.Place_of_Birth = Pick(loaded.Place_of_Birth, edited.Place_of_Birth, stored.Place_of_Birth);
    stored.Place_of_Death = Pick(loaded.Place_of_Death, edited.Place_of_Death, stored.Place_of_Death);
    stored.Is_Dead = Pick(loaded.Is_Dead, edited.Is_Dead, stored.Is_Dead);
}

TSaveResult SaveNamesEdits(TNamesEdits& edits, const TNamesBoxes& boxes) {
    TSaveResult result;
    if (!Pending(edits, result))
        return result;
    TPersonNames stored;
    ReadPersonNames(edits.PersonId(), stored);
    const TPersonNames names = MergeNames(edits.Loaded(), boxes, stored);
    if (SameNames(names, stored)) {
        edits.ClearChanged();
        return TSaveResult::Nothing;
    }
    result = Finish(edits, WritePersonNames(edits.PersonId(), names));
    // Relation rows keep the lineage names they were written with.
    if (result == TSaveResult::Written)
        RefreshRelationNamesOf(edits.PersonId());
    return result;
}

TSaveResult SaveTextEdits(TTextEdits& edits, const TTextBoxes& boxes) {
    TSaveResult result;
    if (!Pending(edits, result))
        return result;
    TPersonText stored;
    ReadPersonText(edits.PersonId(), stored);
    const TPersonText text = MergeText(edits.Loaded(), boxes, stored);
    if (text.Notes == stored.Notes && text.Briefing == stored.Briefing) {
        edits.ClearChanged();
        return TSaveResult::Nothing;
    }
    return Finish(edits, WritePersonText(edits.PersonId(), text));
}

TSaveResult SaveDatesEdits(TDatesEdits& edits, const TDateBoxes& boxes) {
    TSaveResult result;
    if (!Pending(edits, result))
        return result;
    TPerson stored;
    ReadPerson(edits.PersonId(), stored);
    TPerson merged = stored;
    MergeDates(edits.Loaded(), boxes, merged);
    const bool invalid = FindDateProblem(edits.Loaded(), boxes).has_value();
    if (invalid || FindDateConflict(merged) != TDateConflict::None) {
        // The dates stay as stored; what does not take part in the refusal is kept.
        TPerson kept = stored;
        kept.Place_of_Birth = merged.Place_of_Birth;
        kept.Place_of_Death = merged.Place_of_Death;
        kept.Is_Dead = merged.Is_Dead;
        if (!SameDates(kept, stored))
            WritePersonDates(kept);
        return invalid ? TSaveResult::Invalid : TSaveResult::Conflict;
    }
    TPersonDates storedDates = PersonDatesOf(stored);
    ReadPersonDates(edits.PersonId(), storedDates);
    const TPersonDates dates{
        MergeDateValue(edits.Loaded().BirthDetail, boxes.BirthDetail, merged.Date_of_Birth_G,
                       merged.Date_of_Birth_H, storedDates.Birth),
        MergeDateValue(edits.Loaded().DeathDetail, boxes.DeathDetail, merged.Date_of_Death_G,
                       merged.Date_of_Death_H, storedDates.Death)};
    const TPersonDates normalised{NormalisedDate(storedDates.Birth), NormalisedDate(storedDates.Death)};
    if (SameDates(merged, stored) && dates == normalised) {
        edits.ClearChanged();
        return TSaveResult::Nothing;
    }
    return Finish(edits, WritePersonDateValues(merged, dates));
}

} // namespace verdan
