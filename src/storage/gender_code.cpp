#include "storage/gender_code.h"

namespace verdan {

namespace {

const QString kMaleArabic = QStringLiteral(u"ذكر");
const QString kFemaleArabic = QStringLiteral(u"أنثى");

} // namespace

QString NormaliseGender(const QString& code) {
    const QString lower = code.trimmed().toLower();
    if (lower == kMaleArabic)
        return QStringLiteral("m");
    if (lower == kFemaleArabic)
        return QStringLiteral("f");
    return lower;
}

QString SqlGenderCode(const QString& column) {
    const QString lower = QStringLiteral("lower(trim(ifnull(%1, '')))").arg(column);
    return QStringLiteral("(CASE %1 WHEN '%2' THEN 'm' WHEN '%3' THEN 'f' ELSE %1 END)")
        .arg(lower, kMaleArabic, kFemaleArabic);
}

} // namespace verdan
