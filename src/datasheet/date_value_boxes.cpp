#include "date_value_boxes.h"

namespace verdan {

bool ShowsSecondDate(TDateQualifier qualifier) {
    return IsRangeQualifier(qualifier);
}

bool ShowsPhrase(TDateQualifier qualifier) {
    return qualifier == TDateQualifier::Interpreted || qualifier == TDateQualifier::Phrase ||
           qualifier == TDateQualifier::Text;
}

bool ShowsFirstDate(TDateQualifier qualifier) {
    return qualifier != TDateQualifier::Phrase && qualifier != TDateQualifier::Text;
}

TDateDetailBoxes DateDetailBoxesOf(const TDateValue& value) {
    TDateDetailBoxes boxes;
    boxes.Qualifier = value.Qualifier;
    boxes.Gregorian2 = DateBoxOf(value.Gregorian2);
    boxes.Hijri2 = DateBoxOf(value.Hijri2);
    boxes.Phrase = value.Phrase;
    return boxes;
}

TDateValueBoxes DateValueBoxesOf(const TDateValue& value) {
    return {DateBoxOf(value.Gregorian), DateBoxOf(value.Hijri), DateDetailBoxesOf(value)};
}

std::optional<TSecondDateProblem> FindSecondDateProblem(const TDateDetailBoxes& boxes) {
    if (!ShowsSecondDate(boxes.Qualifier))
        return std::nullopt;
    for (const bool hijri : {false, true}) {
        const TDateBox& box = hijri ? boxes.Hijri2 : boxes.Gregorian2;
        const TDateProblem problem = CheckDateBox(box, hijri ? TCalendar::Hijri : TCalendar::Gregorian);
        if (problem != TDateProblem::None)
            return TSecondDateProblem{hijri, problem, box.Text.trimmed()};
    }
    return std::nullopt;
}

TDateValue ReadDateValue(int gregorian, int hijri, const TDateDetailBoxes& boxes, const TDateValue& shown) {
    TDateValue value;
    value.Qualifier = boxes.Qualifier;
    value.Gregorian = gregorian;
    value.Hijri = hijri;
    value.Gregorian2 = ReadDateBox(boxes.Gregorian2, TCalendar::Gregorian);
    value.Hijri2 = ReadDateBox(boxes.Hijri2, TCalendar::Hijri);
    value.Phrase = boxes.Phrase.trimmed();
    // The boxes cannot show "1637/38"; a date left as it was keeps the year it was written with.
    if (value.Gregorian == shown.Gregorian)
        value.DualYear = shown.DualYear;
    if (value.Gregorian2 == shown.Gregorian2)
        value.DualYear2 = shown.DualYear2;
    return NormalisedDate(value);
}

TDateValue ReadDateValueBoxes(const TDateValueBoxes& boxes, const TDateValue& shown) {
    return ReadDateValue(ReadDateBox(boxes.Gregorian, TCalendar::Gregorian),
                         ReadDateBox(boxes.Hijri, TCalendar::Hijri), boxes.Detail, shown);
}

} // namespace verdan
