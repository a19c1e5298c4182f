#include "lineage_chain.h"

#include "navigator/tree_commands.h"
#include "storage/database.h"
#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

namespace verdan {

QStringList NameSeparators() {
    // A language without the list gives an empty text, and then only commas separate.
    QStringList words;
    for (const QString& line : Translate(QStringLiteral("[name_seperators]")).split(u'\n')) {
        const QString word = line.trimmed();
        if (!word.isEmpty())
            words << word;
    }
    return words;
}

QStringList SplitLineage(const QString& text, const QStringList& separators) {
    QString sentence = text;
    for (const QString& word : separators)
        sentence.replace(u' ' + word + u' ', QStringLiteral(","), Qt::CaseInsensitive);
    QStringList names = sentence.split(u',');
    for (QString& name : names)
        name = name.trimmed();
    return names;
}

QStringList SplitLineage(const QString& text) {
    return SplitLineage(text, NameSeparators());
}

QString NominativeKunya(const QString& name) {
    static const std::pair<QString, QString> kForms[] = {
        {QStringLiteral("أبي "), QStringLiteral("أبو ")},
        {QStringLiteral("ابي "), QStringLiteral("ابو ")},
        {QStringLiteral("ابا "), QStringLiteral("ابو ")},
        {QStringLiteral("أبا "), QStringLiteral("أبو ")},
    };
    QString result = name;
    for (const auto& [from, to] : kForms)
        result.replace(from, to, Qt::CaseInsensitive);
    return result;
}

QStringList ChainNames(const QString& text, bool sentence) {
    QStringList names;
    // A sentence may run over several lines: a line break is a blank in it.
    QString typed = text;
    if (sentence)
        typed.replace(u'\r', u' ').replace(u'\n', u' ').replace(u'\t', u' ');
    const QStringList pieces = sentence ? SplitLineage(typed) : typed.split(u'\n');
    for (const QString& piece : pieces) {
        QString name = piece.trimmed();
        if (sentence)
            name = NominativeKunya(name);
        name = StoredPersonName(name);
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

TChainResult CreateLineageChain(const QString& fatherId, const QString& motherId, const QStringList& names) {
    TChainResult result;
    if (names.isEmpty()) {
        result.Written = true;
        return result;
    }
    QString father = fatherId.trimmed();
    QString mother = motherId.trimmed();
    {
        StoreOperation operation;
        Transaction transaction;
        bool written = transaction.Active();
        for (qsizetype i = names.size() - 1; i >= 0 && written; --i) {
            const QString name = StoredPersonName(names[i]);
            if (name.isEmpty())
                continue;
            QString id;
            written = AddPerson(name, father, mother, id, QStringLiteral("m")) && InheritFamilyNames(id);
            result.CreatedIds << id;
            father = id;
            mother = QStringLiteral("0");
        }
        result.Written = written && transaction.Commit();
        if (!result.Written) {
            result.CreatedIds.clear();
            ShowStoreMessage(StoreMessage::ErrorRtl,
                             Translate(QStringLiteral("The lineage could not be written.")) + u'|' +
                                 Translate(QStringLiteral("Nothing of it was added to the tree.")));
        }
    }
    return result;
}

TChainResult CreateLineageChainUnder(const QString& personId, const QStringList& names) {
    const QString id = personId.trimmed();
    if (id == u"-1")
        return CreateLineageChain(QStringLiteral("-1"), QString(), names);
    if (IsReservedParentId(id) || !PersonExists(id)) {
        ShowStoreMessage(StoreMessage::ErrorRtl,
                         Translate(QStringLiteral("The person was not found in the tree.")));
        return {};
    }
    return IsMaleGender(GetGender(id)) ? CreateLineageChain(id, QString(), names)
                                       : CreateLineageChain(QString(), id, names);
}

} // namespace verdan
