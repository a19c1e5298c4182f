#include "counted_nouns.h"

#include "text/localisation.h"

#include <QStringList>

namespace verdan {

namespace {

const char* Key(TCountedNoun noun) {
    switch (noun) {
    case TCountedNoun::Years:
        return "[years]";
    case TCountedNoun::Months:
        return "[months]";
    case TCountedNoun::HijriYears:
        return "[hijri years]";
    case TCountedNoun::Days:
        break;
    }
    return "[days]";
}

QString EnglishForm(TCountedNoun noun, bool one) {
    switch (noun) {
    case TCountedNoun::Years:
        return one ? QStringLiteral("%d year") : QStringLiteral("%d years");
    case TCountedNoun::Months:
        return one ? QStringLiteral("%d month") : QStringLiteral("%d months");
    case TCountedNoun::HijriYears:
        return one ? QStringLiteral("%d Hijri year") : QStringLiteral("%d Hijri years");
    case TCountedNoun::Days:
        break;
    }
    return one ? QStringLiteral("%d day") : QStringLiteral("%d days");
}

// The form of a category in a list of "category=form" lines; empty when the list has none.
QString FormIn(const QString& list, const QString& category) {
    for (const QString& line : list.split(QStringLiteral("\r\n"))) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && line.left(equals).trimmed() == category)
            return line.mid(equals + 1).trimmed();
    }
    return QString();
}

} // namespace

TPluralCategory PluralCategory(const QString& language, qint64 n) {
    const qint64 absolute = n < 0 ? -n : n;
    if (language == u"ar") {
        const qint64 hundreds = absolute % 100;
        if (absolute == 0)
            return TPluralCategory::Zero;
        if (absolute == 1)
            return TPluralCategory::One;
        if (absolute == 2)
            return TPluralCategory::Two;
        if (hundreds >= 3 && hundreds <= 10)
            return TPluralCategory::Few;
        if (hundreds >= 11)
            return TPluralCategory::Many;
        return TPluralCategory::Other;
    }
    if (language == u"fa")
        return absolute <= 1 ? TPluralCategory::One : TPluralCategory::Other;
    return absolute == 1 ? TPluralCategory::One : TPluralCategory::Other;
}

QString PluralCategoryName(TPluralCategory category) {
    static const char* const kNames[] = {"zero", "one", "two", "few", "many", "other"};
    return QString::fromLatin1(kNames[int(category)]);
}

QString CountedNoun(qint64 n, TCountedNoun noun) {
    const TPluralCategory category = PluralCategory(InterfaceLanguageCode(), n);
    const QString list = Translate(QString::fromLatin1(Key(noun)));
    QString form = FormIn(list, PluralCategoryName(category));
    if (form.isEmpty())
        form = FormIn(list, QStringLiteral("other"));
    if (form.isEmpty())
        form = EnglishForm(noun, PluralCategory(QStringLiteral("en"), n) == TPluralCategory::One);
    return FillPattern(form, {QString::number(n)});
}

QString CountedSentence(const QString& source, bool feminine,
                        const QList<std::pair<qint64, TCountedNoun>>& parts) {
    QStringList counted;
    for (const auto& [n, noun] : parts)
        counted << CountedNoun(n, noun);
    return FillPattern(feminine ? TranslateFeminine(source) : Translate(source), counted);
}

} // namespace verdan
