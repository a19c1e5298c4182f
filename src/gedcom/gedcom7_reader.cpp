#include "gedcom7_reader.h"

#include "calendar/date_value_gedcom.h"
#include "calendar/date_value_gedcom7.h"
#include "calendar/date_value_text.h"
#include "gedcom/gedcom7_schema.h"
#include "gedcom/gedcom_internal.h"
#include "gedcom/gedcom_reader.h"

#include <QHash>
#include <vector>

namespace verdan {

namespace {

constexpr std::string_view kNursingPhrase = "Breastfeeding";

QString Str(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QByteArray Bytes(std::string_view s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}

bool IsPointerValue(std::string_view v) {
    if (v.size() < 3 || v.front() != '@' || v.back() != '@')
        return false;
    for (char c : v.substr(1, v.size() - 2))
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

class Translator {
public:
    explicit Translator(QByteArrayView utf8) {
        std::string_view text(utf8.data(), size_t(utf8.size()));
        if (text.substr(0, 3) == "\xEF\xBB\xBF")
            text.remove_prefix(3);
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string_view::npos)
                end = text.size();
            TGedLine line;
            if (SplitGedcomLine(text.substr(pos, end - pos), line))
                Lines.push_back(line);
            pos = end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n'
                      ? end + 2
                      : end + 1;
        }
        Skip.assign(Lines.size(), false);
        Out.reserve(utf8.size() + utf8.size() / 8);
    }

    QByteArray Run() {
        ReadHeader();
        for (size_t i = 0; i < Lines.size(); ++i) {
            if (Skip[i])
                continue;
            Translate(i);
        }
        return std::move(Out);
    }

private:
    size_t BlockEnd(size_t i) const {
        size_t j = i + 1;
        while (j < Lines.size() && Lines[j].Level > Lines[i].Level)
            ++j;
        return j;
    }

    // The first line tagged tag (after renaming) directly under lines[i]; 0 for none.
    size_t Child(size_t i, const char* tag) const {
        const size_t end = BlockEnd(i);
        for (size_t j = i + 1; j < end; ++j)
            if (Lines[j].Level == Lines[i].Level + 1 && TagOf(j) == tag)
                return j;
        return 0;
    }

    // Extension tags go by their URI: ours and relocated standard structures get the tag the reader knows.
    void ReadHeader() {
        if (Lines.empty() || Lines[0].Tag != "HEAD")
            return;
        const size_t end = BlockEnd(0);
        for (size_t i = 1; i < end; ++i) {
            const TGedLine& line = Lines[i];
            if (line.Level == 1 && line.Tag == "SOUR")
                Own = line.Value == "VERDAN";
            if (line.Level != 2 || line.Tag != "TAG" || Lines[i - 1].Level < 1)
                continue;
            const QString value = Str(line.Value).trimmed();
            const qsizetype space = value.indexOf(u' ');
            if (space < 0)
                continue;
            const QByteArray tag = value.left(space).toUtf8();
            const QString uri = value.mid(space + 1).trimmed();
            QString ours = Ged7ExtensionTagOf(uri);
            const QString eventBase = Ged7EventUri(QString());
            const QString standard =
                QLatin1String(kGed7StandardBase.data(), qsizetype(kGed7StandardBase.size()));
            if (ours.isEmpty() && uri.startsWith(eventBase))
                ours = uri.mid(eventBase.size());
            else if (ours.isEmpty() && uri.startsWith(standard)) {
                const QString name = uri.mid(standard.size());
                const std::string plain = name.toStdString();
                if (IsIndividualEventTag(plain) || IsFamilyEventTag(plain))
                    ours = name;
            }
            if (!ours.isEmpty())
                Renamed.insert(tag, ours.toUtf8());
            if (ours == QLatin1String(kHijriCalendarTag))
                HijriTag = Str(tag.toStdString());
        }
        for (auto it = Renamed.cbegin(); it != Renamed.cend(); ++it)
            if (it.value().startsWith('_'))
                DateWords.insert(Str(it.key().toStdString()), Str(it.value().toStdString()));
    }

    QByteArray TagOf(size_t i) const {
        const std::string_view tag = Lines[i].Tag;
        if (!tag.empty() && tag.front() == '_') {
            const auto found = Renamed.constFind(Bytes(tag));
            if (found != Renamed.constEnd())
                return *found;
        }
        return Bytes(tag);
    }

    // A text as it is, its leading "@" no longer doubled.
    static QString Unescaped(std::string_view v) {
        QString text = Str(v);
        if (text.startsWith(QLatin1String("@@")))
            text.remove(0, 1);
        return text;
    }

    // A text value as the older form writes it: every "@" doubled.
    static QByteArray Value(std::string_view v) {
        if (IsPointerValue(v))
            return Bytes(v);
        QByteArray text = Bytes(v);
        if (text.startsWith("@@"))
            text.remove(0, 1);
        return text.contains('@') ? text.replace("@", "@@") : text;
    }

    void Emit(int level, const QByteArray& tag, const QByteArray& value, std::string_view xref = {}) {
        Out += QByteArray::number(level);
        Out += ' ';
        if (!xref.empty()) {
            Out += '@';
            Out += Bytes(xref);
            Out += "@ ";
        }
        Out += tag;
        if (!value.isEmpty()) {
            Out += ' ';
            Out += value;
        }
        Out += "\r\n";
    }

    void EmitLine(size_t i, const QByteArray& tag) {
        Emit(Lines[i].Level, tag, Value(Lines[i].Value), Lines[i].Xref);
    }

    void Translate(size_t i) {
        const TGedLine& line = Lines[i];
        const QByteArray tag = TagOf(i);
        const int level = line.Level;
        Path.resize(size_t(level));
        Path.push_back(tag);
        // The type our export gives an event of no type of its own where one is needed (an EVEN, a title).
        if (Own && tag == "TYPE" && level >= 2 && Path[size_t(level - 1)] == Bytes(line.Value))
            return;
        if (level == 0) {
            Record = tag;
            Titled = false;
            if (tag == "_GROUP") {
                // A group is an individual marked as one for the reader; its TYPE goes under the mark.
                Emit(0, "INDI", {}, line.Xref);
                Emit(1, "_GROUP", "Y");
                if (const size_t type = Child(i, "TYPE")) {
                    Emit(2, "TYPE", Value(Lines[type].Value));
                    Skip[type] = true;
                }
                return;
            }
            EmitLine(i, tag == "SNOTE" ? QByteArray("NOTE") : tag);
            return;
        }
        if (tag == "DATE") {
            Date(i);
            return;
        }
        if (tag == "SNOTE") {
            EmitLine(i, "NOTE");
            return;
        }
        if (tag == "AGE" && line.Value.empty()) {
            if (const size_t phrase = Child(i, "PHRASE")) {
                Emit(level, "AGE", Value(Unescaped(Lines[phrase].Value).toStdString()));
                Skip[phrase] = true;
                return;
            }
        }
        if (level == 1 && (Record == "INDI" || Record == "_GROUP") && tag == "UID") {
            EmitLine(i, "_UID");
            return;
        }
        if (level == 1 && Record == "FAM") {
            if (tag == "_HUSBGROUP" || tag == "_WIFEGROUP" || tag == "_CHILGROUP") {
                EmitLine(i, tag == "_HUSBGROUP" ? "HUSB" : tag == "_WIFEGROUP" ? "WIFE" : "CHIL");
                return;
            }
            if (tag == "NO" && line.Value == "DIV" && BlockEnd(i) == i + 1) {
                Emit(1, "DIV", "N");
                return;
            }
        }
        if (tag == "ASSO") {
            Association(i);
            return;
        }
        if (tag == "PEDI") {
            Pedigree(i);
            return;
        }
        if (tag == "_TIME") {
            EmitLine(i, "TIME");
            return;
        }
        if (level == 1 && tag == "TITL") {
            // A title our export typed only so that it is no cognomen: an empty cognomen goes first, as the
            // older form writes it.
            const size_t type = Child(i, "TYPE");
            if (Own && !Titled && type && Lines[type].Value == "TITL")
                Emit(1, "TITL", {});
            Titled = true;
        }
        const std::string plain = tag.toStdString();
        if (IsIndividualEventTag(plain) || IsFamilyEventTag(plain)) {
            // The text of an event whose payload can only be "Y" came in a line of its own.
            if (const size_t value = Child(i, "_VALUE")) {
                Emit(level, tag, Value(Lines[value].Value));
                Skip[value] = true;
                return;
            }
        }
        EmitLine(i, tag);
    }

    // ROLE (and its phrase) becomes the relation the older form gives.
    void Association(size_t i) {
        EmitLine(i, "ASSO");
        if (const size_t role = Child(i, "ROLE")) {
            const size_t phrase = Child(role, "PHRASE");
            Emit(Lines[i].Level + 1, "RELA", Value(phrase ? Lines[phrase].Value : Lines[role].Value));
            for (size_t j = role; j < BlockEnd(role); ++j)
                Skip[j] = true;
        }
    }

    void Pedigree(size_t i) {
        const std::string_view value = Lines[i].Value;
        const size_t phrase = Child(i, "PHRASE");
        QByteArray out = Bytes(value).toLower();
        if (value == "OTHER" && phrase) {
            out = Lines[phrase].Value == kNursingPhrase ? QByteArray("_RADA") : Value(Lines[phrase].Value);
            Skip[phrase] = true;
        }
        Emit(Lines[i].Level, "PEDI", out);
    }

    // A date with the file's tags of our calendar, months and era replaced by ours.
    QString OurDateWords(const QString& payload) const {
        if (DateWords.isEmpty())
            return payload;
        QStringList words = payload.split(u' ');
        for (QString& w : words)
            w = DateWords.value(w, w);
        return words.join(u' ');
    }

    // A date in the older form: calendars as escapes, the phrase as INT or in brackets where it can be, dual
    // years back in the year, and in our files the Hijri date with the Gregorian sort date beside it.
    void Date(size_t i) {
        const int level = Lines[i].Level;
        const QString payload = OurDateWords(Str(Lines[i].Value).trimmed());
        const QString hijriTag = HijriTag.isEmpty() ? QLatin1String(kHijriCalendarTag) : HijriTag;
        const QString older = Gedcom7ToOlderDateText(payload, hijriTag);
        QString phrase;
        if (const size_t p = Child(i, "PHRASE")) {
            phrase = Unescaped(Lines[p].Value);
            Skip[p] = true;
        }
        bool asWritten = false;
        if (const size_t w = Child(i, "_ASWRITTEN")) {
            asWritten = Lines[w].Value == "Y";
            Skip[w] = true;
        }
        const bool hijri = payload.split(u' ').contains(hijriTag);
        // Our files give the sort date beside a date known in the Hijri calendar alone, and the Hijri date
        // of its own beside a Gregorian one; both are siblings of the date.
        size_t sortDate = 0, hijriDate = 0, noHijri = 0;
        for (size_t j = BlockEnd(i); j < Lines.size() && Lines[j].Level >= level; ++j) {
            if (Lines[j].Level != level)
                continue;
            if (hijri && Own && Lines[j].Tag == "SDATE")
                sortDate = j;
            else if (!hijri && TagOf(j) == "_HIJRIDATE")
                hijriDate = j;
            else if (!hijri && TagOf(j) == "_NOHIJRI")
                noHijri = j;
        }
        QString text = older;
        const TDateValue read = ReadGedcomDate(older);
        bool keepPhrase = false;
        if (!phrase.isEmpty()) {
            const bool shown = hijri && Own && phrase == DateValueText(read, TDateShown::Hijri);
            // A phrase in the older form with a dual year, for the same days as the date.
            const TDateValue dual = ReadGedcomDate(phrase);
            const bool sameDays =
                dual.Gregorian == read.Gregorian && dual.Gregorian2 == read.Gregorian2 &&
                (dual.Qualifier == read.Qualifier ||
                 (read.Qualifier == TDateQualifier::Exact && dual.Qualifier == TDateQualifier::Interpreted));
            if (asWritten)
                text = phrase;
            else if (payload.isEmpty())
                text = u'(' + phrase + u')';
            else if (shown)
                ; // the date in words our export writes beside a Hijri date
            else if ((dual.DualYear != 0 || dual.DualYear2 != 0) && sameDays)
                text = phrase;
            else if (read.Qualifier == TDateQualifier::Exact && HasDateNumbers(read))
                text = QStringLiteral("INT ") + older + QStringLiteral(" (") + phrase + u')';
            else
                keepPhrase = true;
        }
        const auto skipBlock = [&](size_t j) {
            for (size_t k = j; k < BlockEnd(j); ++k)
                Skip[k] = true;
        };
        if (sortDate) {
            skipBlock(sortDate);
            const QString gregorian = Gedcom7ToOlderDateText(Str(Lines[sortDate].Value).trimmed(), {});
            Emit(level, "DATE", Value(gregorian.toStdString()));
            Emit(level + 1, "_HIJRONLY", Value(text.toStdString()));
        } else {
            Emit(level, "DATE", Value(text.toStdString()));
            if (hijriDate) {
                skipBlock(hijriDate);
                const QString other = OurDateWords(Str(Lines[hijriDate].Value).trimmed());
                Emit(level + 1, "_HIJR", Value(Gedcom7ToOlderDateText(other, hijriTag).toStdString()));
            } else if (noHijri) {
                skipBlock(noHijri);
                Emit(level + 1, "_HIJR", {});
            }
        }
        if (keepPhrase)
            Emit(level + 1, "PHRASE", Value(phrase.toStdString()));
    }

    std::vector<TGedLine> Lines;
    std::vector<bool> Skip;                // lines already written with another
    QHash<QByteArray, QByteArray> Renamed; // the file's extension tags that are ours, by our tag
    QHash<QString, QString> DateWords;     // the same for calendars, months and eras
    QString HijriTag;
    QByteArray Record;            // the tag of the record being read
    std::vector<QByteArray> Path; // the tags of the line being read and of those it is under
    bool Own = false;
    bool Titled = false; // a TITL came in this record
    QByteArray Out;
};

} // namespace

bool IsGedcom7Header(QByteArrayView start) {
    std::string_view text(start.data(), size_t(start.size()));
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    bool inHead = false, inGedc = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        TGedLine line;
        if (SplitGedcomLine(text.substr(pos, end - pos), line)) {
            if (line.Level == 0 && inHead)
                return false;
            if (line.Level == 0)
                inHead = TagIs(line.Tag, "HEAD");
            else if (line.Level == 1)
                inGedc = TagIs(line.Tag, "GEDC");
            else if (line.Level == 2 && inGedc && TagIs(line.Tag, "VERS"))
                return line.Value.substr(0, 2) == "7.";
            if (!inHead)
                return false;
        }
        pos = end + 1;
    }
    return false;
}

QByteArray Gedcom7ToOlderForm(QByteArrayView utf8) {
    return Translator(utf8).Run();
}

} // namespace verdan
