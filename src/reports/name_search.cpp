#include "reports/name_search.h"

#include "storage/name_index.h"
#include "storage/tree_file.h"
#include "text/name_utils.h"
#include "text/search_fold.h"

#include <QCollatorSortKey>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <vector>

namespace verdan {

namespace {

using name_index::kNoName;
using name_index::kUnknown;
using name_index::TRow;

// A person with three father-line ancestors in the tree, and the positions of those ancestors.
struct Lineage {
    int person;
    std::array<int, 3> fathers;
};

// The three father-line ancestors of a person, when the tree holds them all.
bool FatherLine(const std::vector<TRow>& rows, int person, Lineage& line) {
    int at = person;
    for (int& father : line.fathers) {
        at = rows[size_t(at)].father;
        if (at < 0 || !rows[size_t(at)].alive)
            return false;
        father = at;
    }
    line.person = person;
    return true;
}

// What one search compares: the typed text and its words as tokens of the tree's names. A text nobody
// carries is kUnknown, which equals no name.
struct Search {
    QString joined; // the words joined by blanks, folded
    int joinedToken = kUnknown;
    int textToken = kUnknown;
    QStringList words; // folded
    std::vector<int> wordTokens;
    bool hideNickname = false;

    int Nickname(const TRow& row) const { return hideNickname ? kNoName : row.nickname; }
    // Person_Name, Cognomen, Other_Name or nickname.
    bool NamedAs(const TRow& row, int token) const {
        return token >= 0 &&
               (row.name == token || row.cognomen == token || row.other == token || Nickname(row) == token);
    }
};

// The first name alone or followed by one, two or three father names, blank-separated.
bool LineageEquals(const std::vector<TRow>& rows, const Lineage& line, const Search& search,
                   const std::vector<char>& startsJoined) {
    const int first = rows[line.person].name;
    if (first >= 0 && !startsJoined[size_t(first)])
        return false;
    QString composed = name_index::TextOf(first);
    if (composed.trimmed() == search.joined)
        return true;
    for (const int father : line.fathers) {
        composed += u' ' + name_index::TextOf(rows[father].name);
        if (composed.trimmed() == search.joined)
            return true;
    }
    return false;
}

// The second lineage walk: the person's names and then name, cognomen, nickname and last name of each
// father, as the words of the search meet them. For each word, each value equal to it is appended after a
// blank; the person counts when that text holds the last word and the first word is one of his names.
bool MatchesWordByWord(const std::vector<TRow>& rows, const Lineage& line, const Search& search) {
    const TRow& self = rows[line.person];
    std::array<int, 17> values{self.name, self.other, self.cognomen, search.Nickname(self), self.last};
    size_t n = 5;
    for (const int father : line.fathers) {
        const TRow& f = rows[father];
        values[n++] = f.name;
        values[n++] = f.cognomen;
        values[n++] = search.Nickname(f);
        values[n++] = f.last;
    }
    bool any = false;
    bool lastMatched = false;
    for (size_t w = 0; w < search.wordTokens.size(); ++w) {
        const int word = search.wordTokens[w];
        if (word < 0)
            continue;
        for (const int value : values) {
            if (value == word) {
                any = true;
                lastMatched = lastMatched || w + 1 == search.wordTokens.size();
            }
        }
    }
    bool holdsLast = lastMatched;
    if (any && !holdsLast) {
        // The last word may still be part of the values put together ("عبد الله" over two of them).
        QString matched;
        for (const int word : search.wordTokens)
            for (const int value : values)
                if (word >= 0 && value == word)
                    matched += u' ' + name_index::TextOf(value);
        holdsLast = matched.contains(search.words.last());
    }
    if (holdsLast)
        return search.NamedAs(self, search.wordTokens.front());
    return search.NamedAs(self, search.joinedToken);
}

// Collects the persons one pass finds and appends them to the result in name order, each identifier once.
class Collector {
public:
    Collector(const std::vector<TRow>& rows, QStringList& result)
        : rows_(rows), result_(result), found_(rows.size(), false) {
        for (const QString& id : result_)
            listed_.insert(id.toUpper());
    }

    void Add(int row) {
        if (found_[size_t(row)])
            return;
        found_[size_t(row)] = true;
        pass_.push_back(row);
    }

    // Ends a pass: what it found goes to the result, ordered by first name, equal names in file order.
    void EndPass() {
        std::vector<int> tokens;
        QHash<int, std::vector<int>> byName;
        for (const int row : pass_) {
            auto& group = byName[rows_[size_t(row)].name];
            if (group.empty())
                tokens.push_back(rows_[size_t(row)].name);
            group.push_back(row);
        }
        std::sort(tokens.begin(), tokens.end(),
                  [](int a, int b) { return name_index::SortKey(a).compare(name_index::SortKey(b)) < 0; });
        for (const int token : tokens) {
            std::vector<int>& group = byName[token];
            std::sort(group.begin(), group.end(),
                      [this](int a, int b) { return rows_[size_t(a)].oid < rows_[size_t(b)].oid; });
            for (const int row : group) {
                QString id = QString::fromUtf8(rows_[size_t(row)].id);
                // Each row comes once; only identifiers the caller listed before can repeat.
                if (listed_.isEmpty() || !listed_.contains(id.toUpper()))
                    result_.append(std::move(id));
            }
        }
        pass_.clear();
    }

private:
    const std::vector<TRow>& rows_;
    QStringList& result_;
    std::vector<bool> found_;
    QSet<QString> listed_;
    std::vector<int> pass_;
};

void LineagePasses(const std::vector<TRow>& rows, const Search& search, Collector& found) {
    // Which first names the joined words may begin with: every composed lineage text starts with one.
    // A name with blanks at an end may still lead to the joined text once trimmed, so it is always tried.
    std::vector<char> startsJoined(size_t(name_index::TokenCount()), 0);
    for (int token = 0; token < name_index::TokenCount(); ++token) {
        const QString& text = name_index::TextOf(token);
        startsJoined[size_t(token)] =
            text.front().isSpace() || text.back().isSpace() || search.joined.startsWith(text);
    }
    // Only persons whose own names can match need their father line: the first walk wants a first name the
    // joined words begin with, the second one of his names equal to the first word or to all of them.
    std::vector<Lineage> lines;
    for (int i = 0; i < int(rows.size()); ++i) {
        const TRow& row = rows[size_t(i)];
        const bool first = row.name < 0 || startsJoined[size_t(row.name)];
        if (!row.alive || !(first || search.NamedAs(row, search.wordTokens.front()) ||
                            search.NamedAs(row, search.joinedToken)))
            continue;
        Lineage line;
        if (FatherLine(rows, i, line))
            lines.push_back(line);
    }
    for (const Lineage& line : lines)
        if (LineageEquals(rows, line, search, startsJoined))
            found.Add(line.person);
    found.EndPass();
    for (const Lineage& line : lines)
        if (MatchesWordByWord(rows, line, search))
            found.Add(line.person);
    found.EndPass();
}

void FallbackPasses(const std::vector<TRow>& rows, const Search& search, Collector& found) {
    const qsizetype wordCount = search.wordTokens.size();
    // For a single word: the first names that hold it anywhere.
    std::vector<char> holdsWord;
    if (wordCount == 1) {
        holdsWord.assign(size_t(name_index::TokenCount()), 0);
        for (int token = 0; token < name_index::TokenCount(); ++token)
            holdsWord[size_t(token)] = name_index::TextOf(token).contains(search.words.front());
    }
    const auto namedOrLast = [&search](const TRow& row, int token) {
        return token >= 0 && (search.NamedAs(row, token) || row.last == token);
    };
    for (int i = 0; i < int(rows.size()); ++i) {
        const TRow& row = rows[size_t(i)];
        if (!row.alive)
            continue;
        const bool named = namedOrLast(row, search.joinedToken) || namedOrLast(row, search.textToken);
        const bool byMother = wordCount >= 2 && row.name >= 0 && row.name == search.wordTokens[0] &&
                              row.mother >= 0 && rows[size_t(row.mother)].alive &&
                              rows[size_t(row.mother)].name == search.wordTokens[1];
        const bool inFirstName = wordCount == 1 && row.name >= 0 && holdsWord[size_t(row.name)];
        if (named || byMother || inFirstName)
            found.Add(i);
    }
    found.EndPass();

    QStringList variants;
    for (const QString& word : search.words)
        WordVariants(word, variants);
    std::vector<char> spelling(size_t(name_index::TokenCount()), 0);
    bool anySpelling = false;
    for (const QString& variant : variants) {
        const int token = name_index::TokenOf(name_index::Fold(variant));
        if (token >= 0) {
            spelling[size_t(token)] = 1;
            anySpelling = true;
        }
    }
    if (!anySpelling)
        return;
    const auto spelt = [&spelling](int token) {
        return token >= 0 && spelling[size_t(token)];
    };
    for (int i = 0; i < int(rows.size()); ++i) {
        const TRow& row = rows[size_t(i)];
        if (row.alive &&
            (spelt(row.name) || spelt(row.cognomen) || spelt(row.other) || spelt(search.Nickname(row))))
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
    Search search;
    for (const QString& word : words) {
        if (!word.isEmpty())
            search.words << name_index::Fold(word);
    }
    const QString typed = name_index::Fold(text.trimmed());
    if ((typed.isEmpty() && search.words.isEmpty()) || !name_index::Sync())
        return;
    search.joined = search.words.join(u' ').trimmed();
    search.joinedToken = search.joined.isEmpty() ? kUnknown : name_index::TokenOf(search.joined);
    search.textToken = typed.isEmpty() ? kUnknown : name_index::TokenOf(typed);
    for (const QString& word : search.words)
        search.wordTokens.push_back(name_index::TokenOf(word));
    search.hideNickname = HideNicknameOption();
    const std::vector<TRow>& rows = name_index::Rows();
    Collector found(rows, result);
    // The lineage passes first, then the fallback passes always: a person named exactly as typed whose
    // father line is short in the tree must not go missing because somebody else matched by lineage.
    if (!search.words.isEmpty())
        LineagePasses(rows, search, found);
    FallbackPasses(rows, search, found);
}

void PrepareNameSearch() {
    name_index::StartReading();
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
    // Folded before it is split, so the connectives and prefix words are known however they were typed.
    const QString text = CleanName(SearchFold(typed));
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
