#include "lineage_path.h"

#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

namespace verdan {

namespace {

// A parent value naming a person of the tree, not a placement.
bool IsReal(const QString& id) {
    const QString global = GetGlobalParentId();
    return !IsReservedParentId(id) && !(!global.trimmed().isEmpty() && SameId(id, global));
}

void AddEntries(TLineagePath& path, int parent, const QStringList& texts, const QString& suffix = QString()) {
    for (const QString& text : texts)
        path.Entries.append({text + suffix, parent, false, false});
}

// The brothers and sisters of a person under `parent`: full ones, then those of the father alone and of
// the mother alone, marked.
void AddSiblings(TLineagePath& path, int parent, const QString& id) {
    const TParent parents = GetParents(id);
    QStringList names;
    ListSiblingNames(id, names);
    AddEntries(path, parent, names);
    if (IsReal(parents.Father_Id)) {
        names.clear();
        ListPaternalHalfSiblingNames(id, names);
        AddEntries(path, parent, names, QStringLiteral(" ") + Translate(QStringLiteral("(father's side)")));
    }
    if (IsReal(parents.Mother_Id)) {
        names.clear();
        ListMaternalHalfSiblingNames(id, names);
        AddEntries(path, parent, names, QStringLiteral(" ") + Translate(QStringLiteral("(mother's side)")));
    }
}

} // namespace

TLineagePath BuildLineagePath(const QString& personId, TLineageKind kind) {
    TLineagePath path;
    if (IsReservedParentId(personId) || !PersonExists(personId))
        return path;
    path.Caption = QStringLiteral("  ") + GetLineageName(personId);
    const TParent parents = GetParents(personId);
    QStringList chain;
    QString x;
    switch (kind) {
    case TLineageKind::FatherLine:
        ListFatherLineNames(personId, chain);
        x = parents.Father_Id;
        break;
    case TLineageKind::MothersFatherLine:
        ListMothersFatherLineNames(personId, chain);
        x = parents.Mother_Id;
        break;
    case TLineageKind::MothersLine:
        ListMotherLineNames(personId, chain);
        x = parents.Mother_Id;
        break;
    }
    if (chain.isEmpty())
        return path;
    for (qsizetype i = chain.size() - 1; i >= 0; --i)
        path.Entries.append({chain[i], static_cast<int>(path.Entries.size()) - 1, i == 0, true});
    const int person = static_cast<int>(path.Entries.size()) - 1;
    const int parent = path.Entries[person].Parent;

    QStringList children;
    ListChildrenNames(personId, children);
    AddEntries(path, person, children);
    if (parent < 0)
        return path;
    AddSiblings(path, parent, personId);
    if (IsReal(x))
        AddSiblings(path, path.Entries[parent].Parent, x);
    return path;
}

QStringList LineageChainNames(const TLineagePath& path) {
    QStringList names;
    for (const TPathEntry& entry : path.Entries) {
        if (entry.InChain)
            names << entry.Text;
    }
    return names;
}

} // namespace verdan
