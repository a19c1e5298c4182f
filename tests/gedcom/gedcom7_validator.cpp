#include "gedcom7_validator.h"

#include "common/testing.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <map>
#include <memory>
#include <vector>

namespace verdan::test {

namespace {

// One structure type as the standard's definitions write it: tag, payload descriptor, URI, and the
// substructures it allows (structure types and rules of several).
struct Entry {
    bool IsRule = false;
    QString Rule; // the rule's name for a rule
    int Def = -1; // the structure type otherwise
    bool Required = false, Multiple = false;
};

struct Def {
    QString Tag, Payload, Uri;
    std::vector<Entry> Children;
};

// What may stand under a structure: by tag, the structure types, with their cardinality.
struct Allowed {
    int Def;
    bool Required, Multiple;
};

class Grammar {
public:
    Grammar() {
        QFile file(TestData(QStringLiteral("gedcom7/structures.txt")));
        if (!file.open(QIODevice::ReadOnly))
            return;
        static const QRegularExpression start(QStringLiteral("^([A-Za-z_]+) :=$"));
        static const QRegularExpression line(
            QStringLiteral("^\\s*(n|0|\\+\\d+) (.*?)\\s+\\{(\\d):(\\d|M)\\}\\s*(\\S*)\\s*$"));
        QString rule;
        std::vector<std::pair<int, int>> stack; // (level, def) of the open structure types
        for (const QByteArray& raw : file.readAll().split('\n')) {
            const QString text =
                QString::fromUtf8(raw).trimmed().isEmpty() ? QString() : QString::fromUtf8(raw);
            const auto startMatch = start.match(text);
            if (startMatch.hasMatch()) {
                rule = startMatch.captured(1);
                Rules[rule];
                stack.clear();
                continue;
            }
            if (rule.isEmpty())
                continue;
            const QString trimmed = text.trimmed();
            if (trimmed == u"[" || trimmed == u"|" || trimmed == u"]")
                continue;
            const auto m = line.match(text);
            if (!m.hasMatch()) {
                if (!text.isEmpty())
                    rule.clear(); // the prose after a rule
                continue;
            }
            const QString levelText = m.captured(1);
            const int level = levelText.startsWith(u'+') ? levelText.mid(1).toInt() : 0;
            Entry entry;
            entry.Required = m.captured(3) == u"1";
            entry.Multiple = m.captured(4) == u"M";
            QString body = m.captured(2).trimmed();
            if (body.startsWith(QLatin1String("<<"))) {
                entry.IsRule = true;
                entry.Rule = body.mid(2, body.indexOf(QLatin1String(">>")) - 2);
            } else {
                if (body.startsWith(QLatin1String("@XREF:")))
                    body = body.mid(body.indexOf(u' ') + 1);
                Def def;
                const qsizetype space = body.indexOf(u' ');
                def.Tag = space < 0 ? body : body.left(space);
                def.Payload = space < 0 ? QString() : body.mid(space + 1).trimmed();
                def.Uri = m.captured(5);
                entry.Def = int(Defs.size());
                Defs.push_back(def);
            }
            while (!stack.empty() && stack.back().first >= level)
                stack.pop_back();
            if (stack.empty())
                Rules[rule].push_back(entry);
            else
                Defs[size_t(stack.back().second)].Children.push_back(entry);
            if (!entry.IsRule)
                stack.emplace_back(level, entry.Def);
        }
    }

    bool Loaded() const { return Rules.contains(QStringLiteral("INDIVIDUAL_RECORD")); }

    // The structure types allowed under def (-1: the document's records), by tag.
    const std::multimap<QString, Allowed>& Under(int def) {
        auto found = Cache.find(def);
        if (found != Cache.end())
            return found->second;
        std::multimap<QString, Allowed>& out = Cache[def];
        const std::vector<Entry>& entries =
            def < 0 ? Rules[QStringLiteral("Dataset")] : Defs[size_t(def)].Children;
        for (const Entry& e : entries)
            Flatten(e, true, false, out);
        return out;
    }

    const Def& At(int def) const { return Defs[size_t(def)]; }

private:
    // Rules instantiated in rules: required only if both are, singular only if both are.
    void Flatten(const Entry& e, bool required, bool multiple, std::multimap<QString, Allowed>& out) {
        required = required && e.Required;
        multiple = multiple || e.Multiple;
        if (!e.IsRule) {
            out.emplace(Defs[size_t(e.Def)].Tag, Allowed{e.Def, required, multiple});
            return;
        }
        const std::vector<Entry> top = Rules.value(e.Rule);
        // The alternatives of a rule in brackets are each required only when chosen.
        const bool alternatives = top.size() > 1 && std::all_of(top.begin(), top.end(), [](const Entry& t) {
                                      return t.Required && !t.Multiple && !t.IsRule;
                                  });
        for (const Entry& t : top)
            Flatten(t, required && !alternatives, multiple, out);
    }

    std::vector<Def> Defs;
    QHash<QString, std::vector<Entry>> Rules;
    std::map<int, std::multimap<QString, Allowed>> Cache;
};

// The enumeration values each enumerated structure type takes.
const QHash<QString, QStringList>& EnumSets() {
    static const QStringList events = {"ADOP", "ANUL", "BAPM", "BARM", "BASM", "BIRT", "BLES", "BURI",
                                       "CENS", "CHR",  "CHRA", "CONF", "CREM", "DEAT", "DIV",  "DIVF",
                                       "EMIG", "ENGA", "FCOM", "GRAD", "IMMI", "MARB", "MARC", "MARL",
                                       "MARR", "MARS", "NATU", "ORDN", "PROB", "RETI", "WILL"};
    static const QStringList attributes = {"CAST", "DSCR", "EDUC", "IDNO", "NATI", "NCHI", "NMR", "OCCU",
                                           "PROP", "RELI", "RESI", "SSN",  "TITL", "FACT", "EVEN"};
    static const QHash<QString, QStringList> sets = {
        {"g7:SEX", {"M", "F", "X", "U"}},
        {"g7:PEDI", {"ADOPTED", "BIRTH", "FOSTER", "SEALING", "OTHER"}},
        {"g7:ROLE",
         {"CHIL", "CLERGY", "FATH", "FRIEND", "GODP", "HUSB", "MOTH", "MULTIPLE", "NGHBR", "OFFICIATOR",
          "PARENT", "SPOU", "WIFE", "WITN", "OTHER"}},
        {"g7:RESN", {"CONFIDENTIAL", "LOCKED", "PRIVACY"}},
        {"g7:MEDI",
         {"AUDIO", "BOOK", "CARD", "ELECTRONIC", "FICHE", "FILM", "MAGAZINE", "MANUSCRIPT", "MAP",
          "NEWSPAPER", "PHOTO", "TOMBSTONE", "VIDEO", "OTHER"}},
        {"g7:QUAY", {"0", "1", "2", "3"}},
        {"g7:FAMC-STAT", {"CHALLENGED", "DISPROVEN", "PROVEN"}},
        {"g7:ord-STAT",
         {"BIC", "CANCELED", "CHILD", "COMPLETED", "EXCLUDED", "DNS", "DNS_CAN", "INFANT", "PRE_1970",
          "STILLBORN", "SUBMITTED", "UNCLEARED"}},
        {"g7:NAME-TYPE", {"AKA", "BIRTH", "IMMIGRANT", "MAIDEN", "MARRIED", "PROFESSIONAL", "OTHER"}},
        {"g7:FAMC-ADOP", {"HUSB", "WIFE", "BOTH"}},
        {"g7:NO", events},
        {"g7:DATA-EVEN", events + attributes},
        {"g7:SOUR-EVEN", events + attributes},
    };
    return sets;
}

const QString kExtTag = QStringLiteral("_[A-Z0-9_]+");

bool Matches(const QString& pattern, const QString& text) {
    return QRegularExpression(QStringLiteral("^(?:") + pattern + QStringLiteral(")$")).match(text).hasMatch();
}

// The words of one date: [calendar] [[day] month] year [epoch], months and epochs by calendar.
bool IsDate(const QStringList& w, QStringList& extensions) {
    static const QHash<QString, QString> months = {
        {"GREGORIAN", "JAN|FEB|MAR|APR|MAY|JUN|JUL|AUG|SEP|OCT|NOV|DEC"},
        {"JULIAN", "JAN|FEB|MAR|APR|MAY|JUN|JUL|AUG|SEP|OCT|NOV|DEC"},
        {"FRENCH_R", "VEND|BRUM|FRIM|NIVO|PLUV|VENT|GERM|FLOR|PRAI|MESS|THER|FRUC|COMP"},
        {"HEBREW", "TSH|CSH|KSL|TVT|SHV|ADR|ADS|NSN|IYR|SVN|TMZ|AAV|ELL"}};
    qsizetype i = 0;
    QString calendar = QStringLiteral("GREGORIAN");
    if (i < w.size() && (months.contains(w[i]) || Matches(kExtTag, w[i])))
        calendar = w[i++];
    const bool extension = calendar.startsWith(u'_');
    if (extension)
        extensions << calendar;
    QStringList rest = w.mid(i);
    if (!rest.isEmpty() && !Matches(QStringLiteral("\\d+"), rest.back())) {
        const QString epoch = rest.takeLast();
        if (extension ? !Matches(kExtTag, epoch)
                      : (epoch != u"BCE" || calendar == u"FRENCH_R" || calendar == u"HEBREW"))
            return false;
        if (extension)
            extensions << epoch;
    }
    if (rest.isEmpty() || rest.size() > 3 || !Matches(QStringLiteral("\\d+"), rest.back()))
        return false;
    if (rest.size() >= 2) {
        const QString month = rest[rest.size() - 2];
        // Extension calendars take any month tag (a documented one may stand for a standard calendar), the
        // standard ones their own months or extension months.
        if (extension ? !Matches(QStringLiteral("[A-Z_][A-Z0-9_]*"), month)
                      : !Matches(months.value(calendar) + u'|' + kExtTag, month))
            return false;
        if (extension)
            extensions << month;
    }
    return rest.size() < 3 ||
           (Matches(QStringLiteral("\\d+"), rest[0]) && rest[0].toInt() >= 1 && rest[0].toInt() <= 36);
}

bool IsDateValue(const QString& text, const QString& kind, QStringList& extensions) {
    if (text.isEmpty())
        return kind != u"DateExact";
    const QStringList w = text.split(u' ');
    if (w.contains(QString()))
        return false;
    if (kind == u"DateExact")
        return Matches(QStringLiteral("\\d{1,2} (JAN|FEB|MAR|APR|MAY|JUN|JUL|AUG|SEP|OCT|NOV|DEC) \\d+"),
                       text);
    const auto split = [&](const QString& joint) -> std::pair<QStringList, QStringList> {
        const qsizetype at = w.indexOf(joint);
        return at < 0 ? std::pair{w.mid(1), QStringList()} : std::pair{w.mid(1, at - 1), w.mid(at + 1)};
    };
    if (w[0] == u"FROM") {
        const auto [a, b] = split(QStringLiteral("TO"));
        return IsDate(a, extensions) &&
               (b.isEmpty() ? !w.contains(QStringLiteral("TO")) : IsDate(b, extensions));
    }
    if (w[0] == u"TO")
        return IsDate(w.mid(1), extensions);
    if (kind == u"DatePeriod")
        return false;
    if (w[0] == u"BET") {
        const auto [a, b] = split(QStringLiteral("AND"));
        return !b.isEmpty() && IsDate(a, extensions) && IsDate(b, extensions);
    }
    if (w[0] == u"BEF" || w[0] == u"AFT" || w[0] == u"ABT" || w[0] == u"CAL" || w[0] == u"EST")
        return IsDate(w.mid(1), extensions);
    return IsDate(w, extensions);
}

struct Node {
    int Line = 0, Level = 0;
    QString Xref, Tag, Value; // Value with its CONT lines joined by line breaks, "@@" undone
    bool Pointer = false;
    std::vector<std::unique_ptr<Node>> Children;
};

class Validator {
public:
    Validator(Grammar& grammar, bool declaredOnly) : G(grammar), DeclaredOnly(declaredOnly) {}

    QStringList Run(const QByteArray& document) {
        if (!G.Loaded())
            return {QStringLiteral("the structure definitions could not be read")};
        Parse(document);
        if (Records.empty() || Records.front()->Tag != u"HEAD")
            Fault(1, QStringLiteral("the document does not start with HEAD"));
        if (Records.empty() || Records.back()->Tag != u"TRLR")
            Fault(0, QStringLiteral("the document does not end with TRLR"));
        for (const auto& r : Records)
            if (r->Tag == u"HEAD")
                ReadSchema(*r);
        Check(Records, -1);
        for (const auto& [line, tag] : UsedExtensions)
            if (DeclaredOnly && !Schema.contains(tag))
                Fault(line, QStringLiteral("extension %1 is not declared in HEAD.SCHMA").arg(tag));
        return Faults;
    }

private:
    void Fault(int line, const QString& what) { Faults << QStringLiteral("line %1: %2").arg(line).arg(what); }

    void Parse(QByteArray document) {
        if (document.startsWith("\xEF\xBB\xBF"))
            document.remove(0, 3);
        static const QRegularExpression lineForm(
            QStringLiteral("^(0|[1-9][0-9]*) (?:@([A-Z0-9_]+)@ )?([A-Z][A-Z0-9_]*|_[A-Z0-9_]+)(?: (.+))?$"));
        static const QRegularExpression banned(
            QStringLiteral("[\\x{0}-\\x{8}\\x{B}\\x{C}\\x{E}-\\x{1F}\\x{7F}-\\x{9F}\\x{FFFE}\\x{FFFF}]"));
        std::vector<Node*> open;
        QList<QByteArray> lines = document.replace("\r\n", "\n").replace('\r', '\n').split('\n');
        if (!lines.isEmpty() && lines.back().isEmpty())
            lines.removeLast();
        int number = 0;
        for (const QByteArray& raw : lines) {
            ++number;
            const QString text = QString::fromUtf8(raw);
            if (banned.match(text).hasMatch())
                Fault(number, QStringLiteral("a banned character"));
            const auto m = lineForm.match(text);
            if (!m.hasMatch()) {
                Fault(number, QStringLiteral("not a line: ") + text.left(60));
                continue;
            }
            const int level = m.captured(1).toInt();
            QString value = m.captured(4);
            const QString tag = m.captured(3);
            if (level > int(open.size())) {
                Fault(number, QStringLiteral("level %1 skips a level").arg(level));
                continue;
            }
            open.resize(size_t(level));
            bool pointer = false;
            if (value.startsWith(u'@')) {
                if (value.startsWith(QLatin1String("@@")))
                    value.remove(0, 1);
                else if (Matches(QStringLiteral("@[A-Z0-9_]+@"), value))
                    pointer = true;
                else
                    Fault(number, QStringLiteral("a value starting with a single @ that is no pointer"));
            }
            if (tag == u"CONC")
                Fault(number, QStringLiteral("CONC is not part of this version"));
            if (tag == u"CONT") {
                // CONT lines come right after their line, before its substructures.
                if (level == 0 || !open.back() || !open.back()->Children.empty() || !m.captured(2).isEmpty())
                    Fault(number, QStringLiteral("CONT out of place"));
                else
                    open.back()->Value += u'\n' + value;
                open.push_back(nullptr); // nothing goes under it
                continue;
            }
            auto node = std::make_unique<Node>();
            node->Line = number;
            node->Level = level;
            node->Xref = m.captured(2);
            node->Tag = tag;
            node->Value = value;
            node->Pointer = pointer;
            if (!node->Xref.isEmpty()) {
                if (level != 0)
                    Fault(number, QStringLiteral("a cross-reference on a substructure"));
                if (node->Xref == u"VOID" || Xrefs.contains(node->Xref))
                    Fault(number, QStringLiteral("cross-reference @%1@ used twice or void").arg(node->Xref));
                Xrefs.insert(node->Xref, tag);
            }
            Node* made = node.get();
            if (level == 0) {
                Records.push_back(std::move(node));
            } else if (!open.back()) {
                Fault(number, QStringLiteral("a substructure under CONT"));
                continue;
            } else {
                open.back()->Children.push_back(std::move(node));
            }
            open.push_back(made);
        }
    }

    void ReadSchema(const Node& head) {
        for (const auto& c : head.Children)
            if (c->Tag == u"SCHMA")
                for (const auto& t : c->Children) {
                    const QStringList parts = t->Value.split(u' ');
                    if (t->Tag != u"TAG" || parts.size() != 2 || !Matches(kExtTag, parts[0]) ||
                        parts[1].contains(u'\n'))
                        Fault(t->Line, QStringLiteral("not a tag definition: ") + t->Value);
                    else
                        Schema.insert(parts[0], parts[1]); // a tag may name several things apart
                }
    }

    void UseExtension(int line, const QString& tag) { UsedExtensions.emplace_back(line, tag); }

    void Check(const std::vector<std::unique_ptr<Node>>& nodes, int parent) {
        const auto& allowed = G.Under(parent);
        std::map<int, int> counts;
        for (const auto& n : nodes) {
            if (n->Tag.startsWith(u'_')) {
                UseExtension(n->Line, n->Tag);
                continue; // extension structures mean what their definition says
            }
            const auto [from, to] = allowed.equal_range(n->Tag);
            if (from == to) {
                if (parent >= 0 || n->Tag != u"TRLR")
                    Fault(n->Line, QStringLiteral("%1 is not allowed here").arg(n->Tag));
                continue;
            }
            // The first structure type whose payload fits (a tag can stand for several).
            const Allowed* chosen = &from->second;
            for (auto it = from; it != to; ++it)
                if (PayloadFault(*n, G.At(it->second.Def)).isEmpty()) {
                    chosen = &it->second;
                    break;
                }
            ++counts[chosen->Def];
            if (counts[chosen->Def] == 2 && !chosen->Multiple)
                Fault(n->Line, QStringLiteral("a second %1 where one is allowed").arg(n->Tag));
            const Def& def = G.At(chosen->Def);
            const QString payloadFault = PayloadFault(*n, def);
            if (!payloadFault.isEmpty())
                Fault(n->Line, n->Tag + QStringLiteral(": ") + payloadFault);
            if (n->Level > 0 && n->Value.isEmpty() && n->Children.empty())
                Fault(n->Line, QStringLiteral("%1 has neither payload nor substructures").arg(n->Tag));
            Check(n->Children, chosen->Def);
        }
        for (const auto& [tag, a] : allowed)
            if (a.Required && !counts.count(a.Def)) {
                bool other = false; // another type of the same tag counts for it
                for (const auto& [def, count] : counts)
                    other = other || (G.At(def).Tag == tag && count > 0);
                if (!other)
                    Fault(parent < 0      ? 0
                          : nodes.empty() ? 0
                                          : nodes.front()->Line - 1,
                          QStringLiteral("required %1 missing").arg(tag));
            }
    }

    QString PayloadFault(const Node& n, const Def& def) {
        const QString& p = def.Payload;
        const QString& v = n.Value;
        if (p.isEmpty())
            return v.isEmpty() ? QString() : QStringLiteral("no payload allowed");
        if (p.startsWith(QLatin1String("@<XREF:"))) {
            if (!n.Pointer)
                return QStringLiteral("a pointer is needed");
            const QString target = p.mid(7, p.indexOf(u'>') - 7);
            const QString xref = v.mid(1, v.size() - 2);
            const QString tag = Xrefs.value(xref);
            if (xref != u"VOID" && tag.isEmpty())
                return QStringLiteral("pointer to @%1@, which no record has").arg(xref);
            if (xref != u"VOID" && tag != target && !tag.startsWith(u'_'))
                return QStringLiteral("points to a %1, not a %2").arg(tag, target);
            return {};
        }
        if (n.Pointer)
            return QStringLiteral("a pointer where text belongs");
        if (p == u"[Y|<NULL>]")
            return v.isEmpty() || v == u"Y" ? QString() : QStringLiteral("only Y or nothing");
        const QString type = p.mid(1, p.size() - 2);
        const auto single = [&](const char* what) {
            return v.contains(u'\n') ? QStringLiteral("%1 on one line").arg(QLatin1String(what)) : QString();
        };
        QStringList extensions;
        QString fault;
        if (type == u"Text" || type == u"Special" || type == u"List:Text" || type == u"FilePath") {
        } else if (type == u"Integer") {
            fault = Matches(QStringLiteral("\\d+"), v) ? QString() : QStringLiteral("not an integer");
        } else if (type == u"Enum" || type == u"List:Enum") {
            const QStringList values = EnumSets().value(def.Uri);
            const QStringList items =
                type == u"Enum" ? QStringList{v} : v.split(QRegularExpression(QStringLiteral(" *, *")));
            for (const QString& item : items) {
                if (Matches(kExtTag, item))
                    extensions << item;
                else if (!values.contains(item))
                    fault = QStringLiteral("%1 is no value of %2").arg(item, def.Uri);
            }
        } else if (type == u"DateValue" || type == u"DatePeriod" || type == u"DateExact") {
            if (!IsDateValue(v, type, extensions))
                fault = QStringLiteral("not a date: ") + v;
        } else if (type == u"Time") {
            if (!Matches(QStringLiteral("([01]?\\d|2[0-3]):[0-5]\\d(:[0-5]\\d(\\.\\d+)?)?Z?"), v))
                fault = QStringLiteral("not a time: ") + v;
        } else if (type == u"Age") {
            if (!v.isEmpty() && !Matches(QStringLiteral("([<>] )?(\\d+y( \\d+m)?( \\d+w)?( \\d+d)?|\\d+m( "
                                                        "\\d+w)?( \\d+d)?|\\d+w( \\d+d)?|\\d+d)"),
                                         v))
                fault = QStringLiteral("not an age: ") + v;
        } else if (type == u"PersonalName") {
            if (!Matches(QStringLiteral("[^/\\t\\n]+|[^/\\t\\n]*/[^/\\t\\n]*/[^/\\t\\n]*"), v))
                fault = QStringLiteral("not a personal name: ") + v;
        } else if (type == u"Language") {
            fault = Matches(QStringLiteral("[A-Za-z]{2,8}(-[A-Za-z0-9]{1,8})*"), v)
                        ? QString()
                        : QStringLiteral("not a language");
        } else if (type == u"MediaType") {
            fault = Matches(QStringLiteral("[^/ ]+/[^/ ;]+( *;.*)?"), v) ? QString()
                                                                         : QStringLiteral("not a media type");
        } else if (type == u"TagDef" || type == u"URI") {
            fault = single("a URI");
        } else if (type == u"Latitude") {
            fault = Matches(QStringLiteral("[NS]\\d{1,2}(\\.\\d+)?"), v) ? QString()
                                                                         : QStringLiteral("not a latitude");
        } else if (type == u"Longitude") {
            fault = Matches(QStringLiteral("[EW]\\d{1,3}(\\.\\d+)?"), v) ? QString()
                                                                         : QStringLiteral("not a longitude");
        } else {
            fault = QStringLiteral("unknown payload type ") + type;
        }
        if (fault.isEmpty() && type != u"Text" && type != u"Special" && type != u"List:Text")
            fault = single("a value");
        if (fault.isEmpty())
            for (const QString& e : extensions)
                UseExtension(n.Line, e);
        return fault;
    }

    Grammar& G;
    const bool DeclaredOnly;
    std::vector<std::unique_ptr<Node>> Records;
    QHash<QString, QString> Xrefs;  // cross-reference -> record tag
    QHash<QString, QString> Schema; // extension tag -> URI
    std::vector<std::pair<int, QString>> UsedExtensions;
    QStringList Faults;
};

} // namespace

QStringList ValidateGedcom7(const QByteArray& document, bool declaredOnly) {
    static Grammar grammar;
    Validator validator(grammar, declaredOnly);
    return validator.Run(document);
}

} // namespace verdan::test
