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

void AddEntries(TLineagePath& path, int parent, const TPersonNameList& persons,
                const QString& suffix = QString()) {
    for (const TPersonNameEntry& person : persons)
        path.Entries.append({person.Name + suffix, person.Person_Id, parent, false, false});
}

// The brothers and sisters of a person under `parent`: full ones, then those of the father alone and of
// the mother alone, marked.
void AddSiblings(TLineagePath& path, int parent, const QString& id) {
    const TParent parents = GetParents(id);
    TPersonNameList names;
    ListSiblings(id, names);
    AddEntries(path, parent, names);
    if (IsReal(parents.Father_Id)) {
        names.clear();
        ListPaternalHalfSiblings(id, names);
        AddEntries(path, parent, names, QStringLiteral(" ") + Translate(QStringLiteral("(father's side)")));
    }
    if (IsReal(parents.Mother_Id)) {
        names.clear();
        ListMaternalHalfSiblings(id, names);
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
    TPersonNameList chain;
    QString x;
    switch (kind) {
    case TLineageKind::FatherLine:
        ListFatherLine(personId, chain);
        x = parents.Father_Id;
        break;
    case TLineageKind::MothersFatherLine:
        ListMothersFatherLine(personId, chain);
        x = parents.Mother_Id;
        break;
    case TLineageKind::MothersLine:
        ListMotherLine(personId, chain);
        x = parents.Mother_Id;
        break;
    }
    if (chain.isEmpty())
        return path;
    for (qsizetype i = chain.size() - 1; i >= 0; --i)
        path.Entries.append(
            {chain[i].Name, chain[i].Person_Id, static_cast<int>(path.Entries.size()) - 1, i == 0, true});
    const int person = static_cast<int>(path.Entries.size()) - 1;
    const int parent = path.Entries[person].Parent;

    TPersonNameList children;
    ListChildrenNamed(personId, children);
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
