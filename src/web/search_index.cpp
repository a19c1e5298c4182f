#include "text/search_fold.h"
#include "web/web_addresses.h"
#include "web/web_pages.h"

#include <QHash>
#include <algorithm>

namespace verdan {

namespace {

// Names per shard: a search loads one or a few shards of this size, whatever the size of the tree.
constexpr int kShardSize = 2000;
// Keys stop growing here; a longer common beginning is split into numbered parts instead.
constexpr int kLongestKey = 24;

// A person under one of his names.
struct Posting {
    int Person;
    bool FirstName; // the name is his own first name, not a family name or another of his names
};

struct Token {
    QString Text; // folded
    std::vector<Posting> Postings;
};

// A shard: the names that begin with its key (or, exact, the name that is its key), in parts.
struct Leaf {
    QString Key;
    bool Exact = false;
    size_t First = 0, End = 0; // tokens
    int Parts = 1;
};

// A name as every search compares it: folded as the program folds, blanks made single.
QString TokenOf(const QString& value) {
    return SearchFold(value).simplified();
}

size_t Count(const std::vector<Token>& tokens, size_t first, size_t end) {
    size_t n = 0;
    for (size_t i = first; i < end; ++i)
        n += tokens[i].Postings.size();
    return n;
}

int PartsFor(size_t postings) {
    return std::max(1, int((postings + kShardSize - 1) / kShardSize));
}

// Splits the tokens [first, end), which all begin with `prefix`, into shards of at most kShardSize names:
// by their next letter while a group is too large; a name that is the whole prefix becomes a shard of its
// own. `tokens` is sorted.
void Split(const std::vector<Token>& tokens, size_t first, size_t end, const QString& prefix,
           std::vector<Leaf>& leaves) {
    const size_t count = Count(tokens, first, end);
    if (count <= size_t(kShardSize) || prefix.size() >= kLongestKey) {
        leaves.push_back({prefix, false, first, end, PartsFor(count)});
        return;
    }
    size_t at = first;
    if (tokens[at].Text == prefix) {
        leaves.push_back({prefix, true, at, at + 1, PartsFor(tokens[at].Postings.size())});
        ++at;
    }
    while (at < end) {
        const QString next = tokens[at].Text.left(prefix.size() + 1);
        size_t stop = at;
        while (stop < end && tokens[stop].Text.startsWith(next))
            ++stop;
        Split(tokens, at, stop, next, leaves);
        at = stop;
    }
}

QByteArray ShardName(const Leaf& leaf, int part) {
    QByteArray name = (leaf.Exact ? "e" : "p") + leaf.Key.toUtf8().toHex();
    if (part > 0)
        name += '-' + QByteArray::number(part);
    return name;
}

QByteArray ShardPath(const QByteArray& name) {
    return "s/" + HashedFolder(name).left(2) + '/' + name + ".js";
}

} // namespace

bool MakeSearchScripts(const TWebSite& site, const TSiteFileSink& sink) {
    const TWebTree& tree = site.Tree;
    // Every person with a page, under each of his names: first name, other name, cognomen, nickname and
    // family names (nicknames only while the tree shows them).
    QHash<QString, std::vector<Posting>> byToken;
    for (size_t i = 0; i < tree.Persons.size(); ++i) {
        if (!site.HasPage(int(i)))
            continue;
        const TWebPerson& p = tree.Persons[i];
        QStringList values{p.Name, p.Other, p.Cognomen, p.Last, p.FamilyName};
        if (!tree.HideNickname)
            values << p.Nickname << p.FamilyNickname;
        QStringList seen;
        const QString first = TokenOf(p.Name);
        for (const QString& value : values) {
            const QString token = TokenOf(value);
            if (token.isEmpty() || seen.contains(token))
                continue;
            seen << token;
            byToken[token].push_back({int(i), token == first});
        }
    }
    std::vector<Token> tokens;
    tokens.reserve(size_t(byToken.size()));
    for (auto it = byToken.begin(); it != byToken.end(); ++it) {
        // Under each name, those who bear it as their first name come first.
        std::stable_sort(it.value().begin(), it.value().end(),
                         [](const Posting& a, const Posting& b) { return a.FirstName && !b.FirstName; });
        tokens.push_back({it.key(), std::move(it.value())});
    }
    std::sort(tokens.begin(), tokens.end(), [](const Token& a, const Token& b) { return a.Text < b.Text; });

    std::vector<Leaf> leaves;
    size_t at = 0;
    while (at < tokens.size()) {
        const QString letter = tokens[at].Text.left(1);
        size_t stop = at;
        while (stop < tokens.size() && tokens[stop].Text.startsWith(letter))
            ++stop;
        Split(tokens, at, stop, letter, leaves);
        at = stop;
    }

    QByteArray index = "window.verdanSearchIndex = [";
    for (size_t l = 0; l < leaves.size(); ++l) {
        const Leaf& leaf = leaves[l];
        index += l == 0 ? "\n[" : ",\n[";
        AppendJsString(index, leaf.Key);
        index += ',' + QByteArray::number(leaf.Parts) + ',' + (leaf.Exact ? '1' : '0') + ']';

        // The leaf's names, cut into parts of kShardSize persons; a name may continue into the next part.
        int part = 0, inPart = 0;
        QByteArray shard;
        const auto begin = [&] {
            shard = "verdanShard(\"" + ShardName(leaf, part) + "\",[";
        };
        const auto end = [&] {
            shard += "]);\n";
            return sink(ShardPath(ShardName(leaf, part)), shard);
        };
        begin();
        bool firstToken = true;
        for (size_t t = leaf.First; t < leaf.End; ++t) {
            const Token& token = tokens[t];
            size_t p = 0;
            while (p < token.Postings.size()) {
                if (inPart == kShardSize) {
                    if (!end())
                        return false;
                    ++part;
                    inPart = 0;
                    begin();
                    firstToken = true;
                }
                shard += firstToken ? "\n[" : ",\n[";
                firstToken = false;
                AppendJsString(shard, token.Text);
                shard += ",[";
                bool firstPerson = true;
                for (; p < token.Postings.size() && inPart < kShardSize; ++p, ++inPart) {
                    const Posting& posting = token.Postings[p];
                    const TWebPerson& person = tree.Persons[size_t(posting.Person)];
                    const TSiteName& name = site.Name(posting.Person);
                    shard += firstPerson ? "[\"" : ",[\"";
                    firstPerson = false;
                    shard += person.Hex + "\",";
                    AppendJsString(shard, person.Section ? name.Label : name.Chain);
                    shard += ',';
                    AppendJsString(shard, name.Years);
                    shard += ',' + QByteArray::number((person.Female ? 1 : 0) | (person.Section ? 2 : 0)) +
                             ',' + (posting.FirstName ? '1' : '0') + ']';
                }
                shard += "]]";
            }
        }
        if (!end())
            return false;
    }
    index += "];\n";
    return sink("s/index.js", index);
}

QByteArray MakeFoldScript() {
    QByteArray out =
        "// The program's search fold: what each character becomes (nothing: dropped), and the Latin\n"
        "// letters, after which an accent mark is dropped.\nwindow.verdanFold = {\ntable: {";
    bool first = true;
    for (const TSearchFoldEntry& entry : SearchFoldTable()) {
        out += first ? "\n" : ",\n";
        first = false;
        AppendJsString(out, QString::fromUcs4(&entry.Character, 1));
        out += ':';
        AppendJsString(out, entry.Folded);
    }
    out += "},\nlatin: [";
    // Ranges of the letters of the Latin script, as pairs of first and last code point.
    bool firstRange = true;
    char32_t start = 0;
    bool inRange = false;
    for (char32_t c = 0; c <= 0x10000; ++c) {
        const bool latin = c < 0x10000 && !(c >= 0xD800 && c <= 0xDFFF) && QChar(c).isLetter() &&
                           QChar(c).script() == QChar::Script_Latin;
        if (latin && !inRange) {
            start = c;
            inRange = true;
        } else if (!latin && inRange) {
            out += firstRange ? "" : ",";
            firstRange = false;
            out += QByteArray::number(quint32(start)) + ',' + QByteArray::number(quint32(c - 1));
            inRange = false;
        }
    }
    out += "]\n};\n";
    return out;
}

} // namespace verdan
