#include "report_cells.h"

#include "calendar/date_value_text.h"
#include "grid_model.h"
#include "storage/date_columns.h"
#include "storage/gender_code.h"
#include "text/localisation.h"
#include "text/number_utils.h"

#include <array>

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

// The date as the tree holds it, in the text every list shows, with its calendar or its era.
QString DateText(const QString& text, bool hijri, const QString& detail) {
    TDateValue value;
    (hijri ? value.Hijri : value.Gregorian) = ExtractInteger(text);
    if (!detail.isEmpty()) {
        const QStringList parts = detail.split(u';');
        value.Qualifier = QualifierOf(parts.value(0).toInt());
        (hijri ? value.Hijri2 : value.Gregorian2) = parts.value(hijri ? 2 : 1).toInt();
        ApplyDualMarks(parts.value(3).toInt(), value);
        // The phrase comes last and may hold the separator itself.
        value.Phrase = parts.mid(4).join(u';');
    }
    // A date of words alone shows once, in the Gregorian column.
    const bool words = value.Qualifier == TDateQualifier::Phrase || value.Qualifier == TDateQualifier::Text;
    if (words ? hijri : value.Gregorian == 0 && value.Hijri == 0)
        return {};
    return DateValueText(value, hijri ? TDateShown::Hijri : TDateShown::Gregorian);
}

} // namespace

TReportCellView ReportCellView(TReportKind kind, const QString& field, const QString& text, bool group,
                               const QString& dateDetail) {
    TReportCellView view;
    if (kind == TReportKind::Persons) {
        if (IsField(field, "gender")) {
            if (group)
                view.text = Translate(QStringLiteral("Group"));
            else if (IsMaleGender(text))
                view.text = Translate(QStringLiteral("Male"));
            else if (IsFemaleGender(text))
                view.text = Translate(QStringLiteral("Female"));
            return view;
        }
        if (IsGregorianDate(field) || IsHijriDate(field)) {
            view.text = DateText(text, IsHijriDate(field), dateDetail);
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

QString DateDetailText(int qualifier, int gregorian2, int hijri2, int dualMarks, const QString& phrase) {
    if (qualifier == 0 && gregorian2 == 0 && hijri2 == 0 && dualMarks == 0 && phrase.isEmpty())
        return {};
    return QStringLiteral("%1;%2;%3;%4;").arg(qualifier).arg(gregorian2).arg(hijri2).arg(dualMarks) + phrase;
}

TReportCellView ReportGridCellView(const TZelGridModel& grid, TReportKind kind, int col, int row) {
    const QString field = ReportFieldOfColumn(kind, col);
    if (row == 0) {
        TReportCellView title;
        title.text = grid.CellText(col, row);
        return title;
    }
    bool group = false;
    QString detail;
    if (kind == TReportKind::Persons) {
        static const int groupColumn =
            ReportColumnOfField(TReportKind::Persons, QStringLiteral("is_section"));
        static const int birthColumn =
            ReportColumnOfField(TReportKind::Persons, QStringLiteral("birth_detail"));
        static const int deathColumn =
            ReportColumnOfField(TReportKind::Persons, QStringLiteral("death_detail"));
        if (IsField(field, "gender")) {
            const QString mark = grid.Cell(groupColumn, row).trimmed();
            group = !mark.isEmpty() && mark != u"0" && mark.compare(u"false", Qt::CaseInsensitive) != 0;
        } else if (IsGregorianDate(field) || IsHijriDate(field)) {
            detail = grid.Cell(
                field.contains(QLatin1String("birth"), Qt::CaseInsensitive) ? birthColumn : deathColumn, row);
        }
    }
    return ReportCellView(kind, field, grid.CellText(col, row), group, detail);
}

bool ReportFieldIsConverted(TReportKind kind, const QString& field) {
    return kind == TReportKind::Persons && (IsField(field, "gender") || IsGregorianDate(field) ||
                                            IsHijriDate(field) || IsField(field, "is_dead"));
}

bool ReportColumnIsConverted(TReportKind kind, int col) {
    static const auto table = [] {
        std::array<QList<bool>, 3> converted;
        for (const TReportKind each : {TReportKind::Persons, TReportKind::Contacts, TReportKind::Addresses})
            for (int c = 0; c <= ReportColumns(each).size(); ++c)
                converted[static_cast<int>(each)]
                    << ReportFieldIsConverted(each, ReportFieldOfColumn(each, c));
        return converted;
    }();
    return table[static_cast<int>(kind)].value(col);
}

} // namespace verdan
