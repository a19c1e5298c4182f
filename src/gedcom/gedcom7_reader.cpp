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

    std::string_view TagOf(size_t i) const {
        const std::string_view tag = Lines[i].Tag;
        if (!tag.empty() && tag.front() == '_' && !Renamed.isEmpty()) {
            const auto found = Renamed.constFind(Bytes(tag));
            if (found != Renamed.constEnd())
                return std::string_view(found->constData(), size_t(found->size()));
        }
        return tag;
    }

    // A text as it is, its leading "@" no longer doubled.
    static QString Unescaped(std::string_view v) {
        QString text = Str(v);
        if (text.startsWith(QLatin1String("@@")))
            text.remove(0, 1);
        return text;
    }

    void Start(int level, std::string_view tag, std::string_view xref = {}) {
        char digits[12];
        int count = 0;
        do {
            digits[count++] = char('0' + level % 10);
            level /= 10;
        } while (level > 0);
        while (count > 0)
            Out += digits[--count];
        Out += ' ';
        if (!xref.empty()) {
            Out += '@';
            Out.append(xref.data(), qsizetype(xref.size()));
            Out += "@ ";
        }
        Out.append(tag.data(), qsizetype(tag.size()));
    }

    // A line whose value is as the file has it: in the older form every "@" of a text is doubled.
    void Emit(int level, std::string_view tag, std::string_view value, std::string_view xref = {}) {
        Start(level, tag, xref);
        if (!value.empty()) {
            Out += ' ';
            if (IsPointerValue(value)) {
                Out.append(value.data(), qsizetype(value.size()));
            } else {
                if (value.substr(0, 2) == "@@")
                    value.remove_prefix(1);
                for (size_t at = value.find('@'); at != std::string_view::npos; at = value.find('@')) {
                    Out.append(value.data(), qsizetype(at + 1));
                    Out += '@';
                    value.remove_prefix(at + 1);
                }
                Out.append(value.data(), qsizetype(value.size()));
            }
        }
        Out += "\r\n";
    }

    // A line with a value made here.
    void EmitText(int level, std::string_view tag, const QString& text) {
        QByteArray value = text.toUtf8();
        Start(level, tag);
        if (!value.isEmpty()) {
            Out += ' ';
            Out += value.replace("@", "@@");
        }
        Out += "\r\n";
    }

    void EmitLine(size_t i, std::string_view tag) {
        Emit(Lines[i].Level, tag, Lines[i].Value, Lines[i].Xref);
    }

    void Translate(size_t i) {
        const TGedLine& line = Lines[i];
        const std::string_view tag = TagOf(i);
        const int level = line.Level;
        Path.resize(size_t(level));
        Path.push_back(tag);
        // The type our export gives an event of no type of its own where one is needed (an EVEN, a title).
        if (Own && tag == "TYPE" && level >= 2 && Path[size_t(level - 1)] == line.Value)
            return;
        if (level == 0) {
            Record = tag;
            Titled = false;
            if (tag == "_GROUP") {
                // A group is an individual marked as one for the reader; its TYPE goes under the mark.
                Emit(0, "INDI", {}, line.Xref);
                Emit(1, "_GROUP", "Y");
                if (const size_t type = Child(i, "TYPE")) {
                    Emit(2, "TYPE", Lines[type].Value);
                    Skip[type] = true;
                }
                return;
            }
            EmitLine(i, tag == "SNOTE" ? std::string_view("NOTE") : tag);
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
                Emit(level, "AGE", Lines[phrase].Value);
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
        if (IsIndividualEventTag(tag) || IsFamilyEventTag(tag)) {
            // The text of an event whose payload can only be "Y" came in a line of its own.
            if (const size_t value = Child(i, "_VALUE")) {
                Emit(level, tag, Lines[value].Value);
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
            Emit(Lines[i].Level + 1, "RELA", phrase ? Lines[phrase].Value : Lines[role].Value);
            for (size_t j = role; j < BlockEnd(role); ++j)
                Skip[j] = true;
        }
    }

    void Pedigree(size_t i) {
        const std::string_view value = Lines[i].Value;
        const size_t phrase = Child(i, "PHRASE");
        if (value == "OTHER" && phrase) {
            Emit(Lines[i].Level, "PEDI",
                 Lines[phrase].Value == kNursingPhrase ? "_RADA" : Lines[phrase].Value);
            Skip[phrase] = true;
            return;
        }
        const QByteArray lower = Bytes(value).toLower();
        Emit(Lines[i].Level, "PEDI", std::string_view(lower.constData(), size_t(lower.size())));
    }

    // Whether an extension or a sort date stands beside the date, later among its siblings.
    bool HasSiblingsAfter(size_t i) const {
        const int level = Lines[i].Level;
        for (size_t j = i + 1; j < Lines.size() && Lines[j].Level >= level; ++j)
            if (Lines[j].Level == level && (Lines[j].Tag == "SDATE" || Lines[j].Tag.front() == '_'))
                return true;
        return false;
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
        // Most dates read alike in both forms: Gregorian, with nothing under them or beside them.
        const std::string_view raw = Lines[i].Value;
        const bool plain =
            BlockEnd(i) == i + 1 && raw.find('_') == std::string_view::npos &&
            raw.find("BCE") == std::string_view::npos && raw.find("JULIAN") == std::string_view::npos &&
            raw.find("GREGORIAN") == std::string_view::npos && raw.find("HEBREW") == std::string_view::npos &&
            raw.find("FRENCH_R") == std::string_view::npos;
        if (plain && !HasSiblingsAfter(i)) {
            EmitLine(i, "DATE");
            return;
        }
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
            EmitText(level, "DATE", gregorian);
            EmitText(level + 1, "_HIJRONLY", text);
        } else {
            EmitText(level, "DATE", text);
            if (hijriDate) {
                skipBlock(hijriDate);
                const QString other = OurDateWords(Str(Lines[hijriDate].Value).trimmed());
                EmitText(level + 1, "_HIJR", Gedcom7ToOlderDateText(other, hijriTag));
            } else if (noHijri) {
                skipBlock(noHijri);
                Emit(level + 1, "_HIJR", {});
            }
        }
        if (keepPhrase)
            EmitText(level + 1, "PHRASE", phrase);
    }

    std::vector<TGedLine> Lines;
    std::vector<bool> Skip;                // lines already written with another
    QHash<QByteArray, QByteArray> Renamed; // the file's extension tags that are ours, by our tag
    QHash<QString, QString> DateWords;     // the same for calendars, months and eras
    QString HijriTag;
    std::string_view Record;            // the tag of the record being read
    std::vector<std::string_view> Path; // the tags of the line being read and of those it is under
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
