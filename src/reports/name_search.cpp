#include "reports/name_search.h"

#include "storage/database.h"
#include "storage/tree_file.h"
#include "text/name_utils.h"

#include <QCollator>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <vector>

namespace verdan {

namespace {

// One person as the search compares it. Parents are positions in the row list (-1: no such row), so the
// father line is followed without further reads.
struct Row {
    qint64 oid = 0;
    QString id;
    int father = -1;
    int mother = -1;
    QString name;
    QString other;
    QString cognomen;
    QString nickname; // empty while the tree hides nicknames
    QString last;
};

// Identifiers compare as the tree file compares them, without regard to letter case. Stored identifiers
// are upper case already, so folding them usually shares the text instead of copying it.
QString IdKey(const QString& id) {
    return id.toUpper();
}

// The whole person table in one sequential read; parents are found in memory, which is much faster than
// joining the table with itself through its identifier index.
std::vector<Row> ReadRows() {
    std::vector<Row> rows;
    Query q = Dm().Prepare(QStringLiteral(
        "SELECT oid, Person_Id, Father_Id, Mother_Id, Person_Name, Other_Name, Cognomen, Nickname, "
        "Last_Name FROM ftPerson"));
    if (q.Failed())
        return rows;
    const auto expected = qsizetype(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPerson")));
    rows.reserve(size_t(expected));
    QStringList parents;
    parents.reserve(2 * expected);
    QHash<QString, int> position;
    position.reserve(expected);
    const bool hideNickname = HideNicknameOption();
    q.ForEachRow([&](Query& r) {
        Row& row = rows.emplace_back();
        row.oid = r.Int(0);
        row.id = r.Text(1);
        row.name = r.Text(4);
        row.other = r.Text(5);
        row.cognomen = r.Text(6);
        if (!hideNickname)
            row.nickname = r.Text(7);
        row.last = r.Text(8);
        parents << r.Text(2) << r.Text(3);
        position.insert(IdKey(row.id), int(rows.size()) - 1);
    });
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].father = position.value(IdKey(parents[2 * i]), -1);
        rows[i].mother = position.value(IdKey(parents[2 * i + 1]), -1);
    }
    return rows;
}

// A person with three father-line ancestors in the tree, and the positions of those ancestors.
struct Lineage {
    int person;
    std::array<int, 3> fathers;
};

std::vector<Lineage> LineageRows(const std::vector<Row>& rows) {
    std::vector<Lineage> lineages;
    for (int i = 0; i < int(rows.size()); ++i) {
        const int f1 = rows[i].father;
        const int f2 = f1 < 0 ? -1 : rows[f1].father;
        const int f3 = f2 < 0 ? -1 : rows[f2].father;
        if (f3 >= 0)
            lineages.push_back({i, {f1, f2, f3}});
    }
    return lineages;
}

bool NamedAs(const Row& row, const QString& text) {
    return row.name == text || row.cognomen == text || row.other == text || row.nickname == text;
}

// The first name alone or followed by one, two or three father names, blank-separated.
bool LineageEquals(const std::vector<Row>& rows, const Lineage& line, const QString& joined) {
    QString composed = rows[line.person].name;
    // Every composed text begins with a first name that has no blank around it: most rows end here.
    if (!composed.isEmpty() && !composed.front().isSpace() && !composed.back().isSpace() &&
        !joined.startsWith(composed))
        return false;
    if (composed.trimmed() == joined)
        return true;
    for (const int father : line.fathers) {
        composed += u' ' + rows[father].name;
        if (composed.trimmed() == joined)
            return true;
    }
    return false;
}

// The person's names and then name, cognomen, nickname and last name of each father, as the words of the
// search meet them: for each word, each value equal to it, after a blank.
QString MatchedValues(const std::vector<Row>& rows, const Lineage& line, const QStringList& words) {
    const Row& self = rows[line.person];
    std::array<const QString*, 17> values{&self.name, &self.other, &self.cognomen, &self.nickname,
                                          &self.last};
    size_t n = 5;
    for (const int father : line.fathers) {
        const Row& f = rows[father];
        values[n++] = &f.name;
        values[n++] = &f.cognomen;
        values[n++] = &f.nickname;
        values[n++] = &f.last;
    }
    QString matched;
    for (const QString& word : words) {
        for (const QString* value : values) {
            if (*value == word)
                matched += u' ' + *value;
        }
    }
    return matched;
}

// Collects the persons one pass finds and appends them to the result in name order, each identifier once.
class Collector {
public:
    Collector(const std::vector<Row>& rows, QStringList& result)
        : rows_(rows), result_(result), found_(rows.size(), false) {
        for (const QString& id : result_)
            listed_.insert(IdKey(id));
    }

    void Add(int row) {
        if (found_[row])
            return;
        found_[row] = true;
        foundAny_ = true;
        pass_.push_back(row);
    }

    // Ends a pass: what it found goes to the result, ordered by first name.
    void EndPass() {
        std::vector<std::pair<QCollatorSortKey, int>> keyed;
        keyed.reserve(pass_.size());
        for (const int row : pass_)
            keyed.emplace_back(collator_.sortKey(rows_[row].name), row);
        std::sort(keyed.begin(), keyed.end(), [this](const auto& a, const auto& b) {
            const int order = a.first.compare(b.first);
            return order != 0 ? order < 0 : rows_[a.second].oid < rows_[b.second].oid;
        });
        for (const auto& [key, row] : keyed) {
            const QString id = IdKey(rows_[row].id);
            if (!listed_.contains(id)) {
                listed_.insert(id);
                result_.append(rows_[row].id);
            }
        }
        pass_.clear();
    }

    bool FoundAny() const { return foundAny_; }

private:
    const std::vector<Row>& rows_;
    QStringList& result_;
    QCollator collator_;
    std::vector<bool> found_;
    bool foundAny_ = false;
    QSet<QString> listed_;
    std::vector<int> pass_;
};

void LineagePasses(const std::vector<Row>& rows, const QStringList& words, const QString& joined,
                   Collector& found) {
    const std::vector<Lineage> lineages = LineageRows(rows);
    for (const Lineage& line : lineages) {
        if (LineageEquals(rows, line, joined))
            found.Add(line.person);
    }
    found.EndPass();
    for (const Lineage& line : lineages) {
        const Row& self = rows[line.person];
        if (MatchedValues(rows, line, words).contains(words.last())) {
            if (NamedAs(self, words.first()))
                found.Add(line.person);
        } else if (NamedAs(self, joined)) {
            found.Add(line.person);
        }
    }
    found.EndPass();
}

void FallbackPasses(const std::vector<Row>& rows, const QString& text, const QStringList& words,
                    const QString& joined, Collector& found) {
    for (int i = 0; i < int(rows.size()); ++i) {
        const Row& row = rows[i];
        const bool named = (!joined.isEmpty() && (NamedAs(row, joined) || row.last == joined)) ||
                           (!text.isEmpty() && (NamedAs(row, text) || row.last == text));
        const bool byMother =
            words.size() >= 2 && row.name == words[0] && row.mother >= 0 && rows[row.mother].name == words[1];
        const bool inFirstName = words.size() == 1 && row.name.contains(words[0]);
        if (named || byMother || inFirstName)
            found.Add(i);
    }
    found.EndPass();

    QStringList variants;
    for (const QString& word : words)
        WordVariants(word, variants);
    const QSet<QString> spellings(variants.cbegin(), variants.cend());
    if (spellings.isEmpty())
        return;
    for (int i = 0; i < int(rows.size()); ++i) {
        const Row& row = rows[i];
        if (spellings.contains(row.name) || spellings.contains(row.cognomen) ||
            spellings.contains(row.other) || spellings.contains(row.nickname))
            found.Add(i);
    }
    found.EndPass();
}

bool IsAlefOrHamza(QChar c) {
    return c == u'\u0621' || c == u'\u0622' || c == u'\u0623' || c == u'\u0625' || c == u'\u0627';
}

bool IsHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

} // namespace

void NameSearch(const QString& text, const QStringList& words, QStringList& result) {
    QStringList names;
    for (const QString& word : words) {
        if (!word.isEmpty())
            names << word;
    }
    const QString searched = text.trimmed();
    if (searched.isEmpty() && names.isEmpty())
        return;
    const std::vector<Row> rows = ReadRows();
    const QString joined = names.join(u' ').trimmed();
    Collector found(rows, result);
    if (!names.isEmpty())
        LineagePasses(rows, names, joined, found);
    if (!found.FoundAny())
        FallbackPasses(rows, searched, names, joined, found);
}

void WordVariants(const QString& word, QStringList& list) {
    static const QChar kAlefForms[] = {u'\u0627', u'\u0623', u'\u0625', u'\u0622', u'\u0621'};
    static const QChar kTaForms[] = {u'\u0647', u'\u0629'};
    auto vary = [&](qsizetype at, const auto& forms) {
        for (const QChar form : forms) {
            QString variant = word;
            variant[at] = form;
            list << variant;
        }
    };
    for (qsizetype at = 0; at < word.size(); ++at) {
        const QChar c = word[at];
        if (IsAlefOrHamza(c))
            vary(at, kAlefForms);
        else if (c == u'\u0629' || c == u'\u0647')
            vary(at, kTaForms);
    }
}

QStringList SearchPersonsByName(const QString& typed) {
    const QString text = CleanName(StripDiacritics(typed));
    QStringList result;
    if (text.isEmpty())
        return result;
    QStringList words;
    SplitNameWords(text, words);
    NameSearch(text, words, result);
    return result;
}

bool IsIdentifierText(const QString& text) {
    static const int kDashes[] = {9, 14, 19, 24};
    if (text.size() != 38 || text.front() != u'{' || text.back() != u'}')
        return false;
    for (int i = 1; i < 37; ++i) {
        const bool dash = std::find(std::begin(kDashes), std::end(kDashes), i) != std::end(kDashes);
        if (dash ? text[i] != u'-' : !IsHexDigit(text[i]))
            return false;
    }
    return true;
}

} // namespace verdan
