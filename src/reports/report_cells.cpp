#include "report_cells.h"

#include "calendar/date_numbers.h"
#include "storage/gender_code.h"
#include "text/localisation.h"
#include "text/number_utils.h"

#include <cstdlib>

namespace verdan {

namespace {

bool IsField(const QString& field, const char* name) {
    return field.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

bool IsGregorianDate(const QString& field) {
    return IsField(field, "date_of_birth_g") || IsField(field, "date_of_death_g");
}

bool IsHijriDate(const QString& field) {
    return IsField(field, "date_of_birth_h") || IsField(field, "date_of_death_h");
}

bool IsLeftToRight(const QString& field) {
    return IsField(field, "cell_phone") || IsField(field, "home_phone") || IsField(field, "identity_no") ||
           IsField(field, "net_accounts") || IsField(field, "email");
}

QString DateText(const QString& text, bool hijri) {
    const int n = ExtractInteger(text);
    if (n == 0)
        return {};
    const QString shown = DateNumberToText(std::abs(n));
    if (n > 0)
        return shown;
    return shown + u' ' + Translate(hijri ? QStringLiteral("BH") : QStringLiteral("BC"));
}

} // namespace

TReportCellView ReportCellView(TReportKind kind, const QString& field, const QString& text) {
    TReportCellView view;
    if (kind == TReportKind::Persons) {
        if (IsField(field, "gender")) {
            if (IsMaleGender(text))
                view.text = Translate(QStringLiteral("Male"));
            else if (IsFemaleGender(text))
                view.text = Translate(QStringLiteral("Female"));
            return view;
        }
        if (IsGregorianDate(field) || IsHijriDate(field)) {
            view.text = DateText(text, IsHijriDate(field));
            return view;
        }
        if (IsField(field, "is_dead")) {
            view.text = Translate(text == u"True" ? QStringLiteral("Yes") : QStringLiteral("No"));
            view.align = TReportCellView::Align::Centre;
            return view;
        }
    } else if (IsLeftToRight(field)) {
        view.text = text;
        view.align = TReportCellView::Align::Left;
        view.leftToRight = true;
        return view;
    }
    view.text = text;
    return view;
}

bool ReportFieldIsConverted(TReportKind kind, const QString& field) {
    return kind == TReportKind::Persons && (IsField(field, "gender") || IsGregorianDate(field) ||
                                            IsHijriDate(field) || IsField(field, "is_dead"));
}

} // namespace verdan
