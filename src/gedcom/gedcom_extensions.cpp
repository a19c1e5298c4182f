#include "gedcom_extensions.h"

#include "gedcom/gedcom_internal.h"
#include "text/localisation.h"

#include <QHash>
#include <QSet>
#include <sqlite3.h>
#include <vector>

namespace verdan {

namespace {

constexpr int kBreastfeedingSiblings = 1;
constexpr int kBreastfeedingMother = 2;

// "@@" is how a value writes one "@".
QString Trimmed(std::string_view value) {
    return QString::fromUtf8(value.data(), qsizetype(value.size()))
        .trimmed()
        .replace(QStringLiteral("@@"), QStringLiteral("@"));
}

// The value of the first line tagged `tag` one level below lines[i], within its block.
QString SubValue(TGedLines lines, size_t i, std::string_view tag) {
    for (size_t j = i + 1; j < lines.size() && lines[j].Level > lines[i].Level; ++j)
        if (lines[j].Level == lines[i].Level + 1 && TagIs(lines[j].Tag, tag))
            return Trimmed(lines[j].Value);
    return {};
}

enum class Kind { Other, Mother, Sibling };

Kind KindOf(const QString& relation) {
    if (relation.compare(QLatin1String("Breastfeeding mother"), Qt::CaseInsensitive) == 0)
        return Kind::Mother;
    if (relation.compare(QLatin1String("Breastfeeding sibling"), Qt::CaseInsensitive) == 0)
        return Kind::Sibling;
    return Kind::Other;
}

class ExtensionWriter {
public:
    ExtensionWriter(const TGedcomData& data, const TGedcomTreeContext& context)
        : Data(data), Context(context), IsGroup(data.Persons.size(), false) {
        for (const TGedGroup& group : data.Groups)
            IsGroup[size_t(group.Person)] = true;
    }

    bool Write(QString& error) {
        if (!WriteGroups() || !WriteAssociations() || !WriteNotes()) {
            error = FillPattern(Translate(QStringLiteral("The tree could not be written: %*")),
                                {QString::fromUtf8(sqlite3_errmsg(Context.Db))});
            return false;
        }
        return true;
    }

private:
    const QString& IdOf(int person) const { return Data.Persons[size_t(person)].Data.PersonId; }

    bool WriteGroups() {
        if (Data.Groups.empty())
            return true;
        TGedStatement update(Context.Db,
                             "UPDATE ftPerson SET is_section = 1, section_type = ? WHERE person_id = ?");
        if (!update.Prepared())
            return false;
        for (const TGedGroup& group : Data.Groups)
            if (!update.Text(group.Type).Text(IdOf(group.Person)).Run())
                return false;
        return true;
    }

    // The other individual when the association can hold as a breastfeeding relation, else -1.
    int Partner(const TGedAssociation& association, Kind kind) const {
        const auto found = Data.PersonIndex.constFind(association.Xref);
        if (kind == Kind::Other || found == Data.PersonIndex.constEnd())
            return -1;
        const int other = *found;
        if (other == association.Person || IsGroup[size_t(other)] || IsGroup[size_t(association.Person)])
            return -1;
        if (kind == Kind::Mother && Data.Persons[size_t(other)].Data.Sex == QLatin1String("m"))
            return -1;
        return other;
    }

    bool WriteAssociations() {
        if (Data.Associations.empty())
            return true;
        TGedStatement insert(Context.Db,
                             "INSERT INTO ftRelation (owner_id, person_id_1, person_id_2, name_1, name_2, "
                             "relation_type, date_created, user_created) VALUES (?, ?, ?, ?, ?, ?, ?, '')");
        if (!insert.Prepared())
            return false;
        QSet<std::pair<int, int>> written[3];
        for (const TGedAssociation& association : Data.Associations) {
            const Kind kind = KindOf(association.Relation);
            const int other = Partner(association, kind);
            if (other < 0) {
                NoteLines[association.Person].append(NoteLine(association));
                continue;
            }
            // The nursing mother comes first; siblings are one pair whichever of them names the other.
            int first = other, second = association.Person, type = kBreastfeedingMother;
            if (kind == Kind::Sibling) {
                first = std::min(other, association.Person);
                second = std::max(other, association.Person);
                type = kBreastfeedingSiblings;
            }
            if (written[type].contains({first, second}))
                continue;
            written[type].insert({first, second});
            if (!insert.Text(Context.OwnerId)
                     .Text(IdOf(first))
                     .Text(IdOf(second))
                     .Text(Context.LineageName(first))
                     .Text(Context.LineageName(second))
                     .Int(type)
                     .Text(Context.Stamp)
                     .Run())
                return false;
        }
        return true;
    }

    QString NoteLine(const TGedAssociation& association) const {
        const auto found = Data.PersonIndex.constFind(association.Xref);
        const QString name =
            found == Data.PersonIndex.constEnd() ? association.Value : Context.LineageName(*found);
        // In the file's own words, whatever the interface language.
        QString line = QStringLiteral("ASSO ") + name;
        if (!association.Relation.isEmpty())
            line += QStringLiteral("\r\n  RELA ") + association.Relation;
        return line;
    }

    bool WriteNotes() {
        if (NoteLines.isEmpty())
            return true;
        TGedStatement update(Context.Db,
                             "UPDATE ftPerson SET notes = CASE WHEN coalesce(notes, '') = '' THEN ?1 "
                             "ELSE notes || char(13, 10) || ?1 END WHERE person_id = ?2");
        if (!update.Prepared())
            return false;
        for (auto it = NoteLines.cbegin(); it != NoteLines.cend(); ++it)
            if (!update.Text(it->join(QStringLiteral("\r\n"))).Text(IdOf(it.key())).Run())
                return false;
        return true;
    }

    const TGedcomData& Data;
    const TGedcomTreeContext& Context;
    std::vector<bool> IsGroup;
    QHash<int, QStringList> NoteLines; // by person, in file order
};

} // namespace

void ReadIndividualExtensions(TGedLines record, int person, TGedcomData& data) {
    for (size_t i = 1; i < record.size(); ++i) {
        const TGedLine& line = record[i];
        if (line.Level != 1)
            continue;
        if (TagIs(line.Tag, "ASSO")) {
            data.Associations.push_back(
                {person, XrefOf(line.Value), Trimmed(line.Value), SubValue(record, i, "RELA")});
        } else if (TagIs(line.Tag, "_GROUP")) {
            if (Trimmed(line.Value).compare(QLatin1String("N"), Qt::CaseInsensitive) != 0)
                data.Groups.push_back({person, SubValue(record, i, "TYPE")});
        }
    }
}

bool WriteGedcomExtensions(const TGedcomData& data, const TGedcomTreeContext& context, QString& error) {
    return ExtensionWriter(data, context).Write(error);
}

} // namespace verdan
