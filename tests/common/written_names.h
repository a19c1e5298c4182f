#pragma once

#include <QString>
#include <vector>

namespace verdan::test {

// A name as the tree holds it and as a user may type it: every search finds the first by the second. Each
// stored name is used once, so a search for one finds none of the others.
struct TWrittenName {
    QString Stored;
    QString Typed;
    const char* What;
};

inline const std::vector<TWrittenName>& WrittenNames() {
    static const std::vector<TWrittenName> names = {
        {u"نَصَّار"_qs, u"نصار"_qs, "harakat and shadda in the tree"},
        {u"سلمان"_qs, u"سَلْمان"_qs, "harakat typed"},
        {u"عمّار"_qs, u"عمار"_qs, "shadda in the tree"},
        {u"ريان"_qs, u"ريّان"_qs, "shadda typed"},
        {u"جـمـيـل"_qs, u"جميل"_qs, "tatweel in the tree"},
        {u"هاشم"_qs, u"هـاشم"_qs, "tatweel typed"},
        {u"علي"_qs, u"علی"_qs, "Persian yeh typed"},
        {u"مهدی"_qs, u"مهدي"_qs, "Persian yeh in the tree"},
        {u"مصطفى"_qs, u"مصطفی"_qs, "alef maksura in the tree, Persian yeh typed"},
        {u"كمال"_qs, u"کمال"_qs, "keheh typed"},
        {u"ابراهيم"_qs, u"ابراہیم"_qs, "Urdu heh and yeh typed"},
        {u"Victoria"_qs, u"VICTORIA"_qs, "Latin letter case"},
        {u"Émile"_qs, u"emile"_qs, "Latin accents in the tree"},
        {u"Zoe"_qs, u"ZOË"_qs, "Latin accents typed"},
    };
    return names;
}

} // namespace verdan::test
