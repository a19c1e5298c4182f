#pragma once

#include <QHash>
#include <QString>
#include <memory>
#include <string_view>
#include <vector>

namespace verdan {

// Shares the texts that repeat across records (names, places, cross-references) instead of copying them.
// An open-addressing table keyed by the UTF-8 bytes, so a repeated value costs no conversion.
class TGedStrings {
public:
    TGedStrings();
    QString Get(std::string_view utf8);
    // A reference to an individual: the text the individual's own record already gave, when it came first.
    QString PersonXref(std::string_view utf8) const;
    void SetPersonIndex(const QHash<QString, int>* index) { Persons = index; }

private:
    struct Slot {
        std::string_view Key; // bytes in Arena
        size_t Hash = 0;
        QString Text;
    };
    void Grow();
    std::string_view Keep(std::string_view bytes);

    std::vector<Slot> Slots;
    size_t Used = 0;
    std::vector<std::unique_ptr<char[]>> Arena;
    char* ArenaNext = nullptr;
    size_t ArenaLeft = 0;
    const QHash<QString, int>* Persons = nullptr;
};

} // namespace verdan
