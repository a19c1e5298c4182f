#include "gedcom_strings.h"

#include <cstring>

namespace verdan {

namespace {

size_t HashBytes(std::string_view bytes) {
    size_t h = 1469598103934665603ULL;
    for (char c : bytes)
        h = (h ^ uchar(c)) * 1099511628211ULL;
    return h;
}

constexpr size_t kArenaBlock = 256 * 1024; // large enough to go back to the system when freed

} // namespace

TGedStrings::TGedStrings() : Slots(4096) {
}

QString TGedStrings::PersonXref(std::string_view utf8) const {
    QString xref = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    if (Persons) {
        const auto found = Persons->constFind(xref);
        if (found != Persons->constEnd())
            return found.key();
    }
    return xref;
}

std::string_view TGedStrings::Keep(std::string_view bytes) {
    if (bytes.size() > ArenaLeft) {
        const size_t size = std::max(kArenaBlock, bytes.size());
        Arena.push_back(std::make_unique<char[]>(size));
        ArenaNext = Arena.back().get();
        ArenaLeft = size;
    }
    char* place = ArenaNext;
    std::memcpy(place, bytes.data(), bytes.size());
    ArenaNext += bytes.size();
    ArenaLeft -= bytes.size();
    return std::string_view(place, bytes.size());
}

void TGedStrings::Grow() {
    std::vector<Slot> old(Slots.size() * 2);
    old.swap(Slots);
    const size_t mask = Slots.size() - 1;
    for (Slot& slot : old) {
        if (slot.Key.data() == nullptr)
            continue;
        size_t i = slot.Hash & mask;
        while (Slots[i].Key.data() != nullptr)
            i = (i + 1) & mask;
        Slots[i] = std::move(slot);
    }
}

QString TGedStrings::Get(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const size_t hash = HashBytes(utf8);
    const size_t mask = Slots.size() - 1;
    size_t i = hash & mask;
    while (Slots[i].Key.data() != nullptr) {
        if (Slots[i].Hash == hash && Slots[i].Key == utf8)
            return Slots[i].Text;
        i = (i + 1) & mask;
    }
    Slot& slot = Slots[i];
    slot.Key = Keep(utf8);
    slot.Hash = hash;
    slot.Text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    const QString text = slot.Text;
    if (++Used * 2 > Slots.size())
        Grow();
    return text;
}

} // namespace verdan
