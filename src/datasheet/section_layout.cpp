#include "section_layout.h"

#include "text/localisation.h"

#include <algorithm>

namespace verdan {

namespace {

qsizetype IndexOfKey(const QList<TSectionState>& sections, const QString& key) {
    for (qsizetype i = 0; i < sections.size(); ++i)
        if (sections[i].Key == key)
            return i;
    return -1;
}

} // namespace

bool SectionNameMatches(const QString& storedName, const QString& key) {
    const QString name = storedName.trimmed();
    return !name.isEmpty() &&
           (name == key || name == Translate(key).trimmed() || Translate(name).trimmed() == key);
}

QList<TSectionState> ArrangeSections(const QList<TSectionState>& defaults,
                                     const QList<TDataSection>& stored) {
    QList<TSectionState> arranged;
    for (const TDataSection& entry : stored) {
        for (const TSectionState& section : defaults) {
            if (SectionNameMatches(entry.Name, section.Key) && IndexOfKey(arranged, section.Key) < 0) {
                arranged.append({section.Key, entry.Hidden});
                break;
            }
        }
    }
    for (qsizetype i = 0; i < defaults.size(); ++i) {
        if (IndexOfKey(arranged, defaults[i].Key) >= 0)
            continue;
        const qsizetype after = i == 0 ? -1 : IndexOfKey(arranged, defaults[i - 1].Key);
        arranged.insert(after + 1, defaults[i]);
    }
    return arranged;
}

QList<TDataSection> SectionLayoutToStore(const QList<TSectionState>& current,
                                         const QList<TDataSection>& previous) {
    QList<TDataSection> layout;
    for (const TSectionState& section : current)
        layout.append({section.Key, section.Collapsed});
    for (const TDataSection& entry : previous) {
        const bool known = std::any_of(current.cbegin(), current.cend(), [&](const TSectionState& section) {
            return SectionNameMatches(entry.Name, section.Key);
        });
        if (!known)
            layout.append(entry);
    }
    return layout;
}

} // namespace verdan
