#include "children_list.h"

#include "navigator/tree_commands.h"
#include "storage/database.h"
#include "storage/person_store.h"
#include "text/localisation.h"
#include "text/name_utils.h"

#include <algorithm>

namespace verdan {

namespace {

struct TChild {
    QString name;
    QString gender;
    int number = 0; // place in the lists, from 1
};

// The children of the two lists with their places: sons first, then daughters after every line of the
// sons list, blank ones included.
QList<TChild> ReadLists(const QStringList& sons, const QStringList& daughters) {
    QList<TChild> children;
    for (qsizetype i = 0; i < sons.size(); ++i) {
        QString name = sons[i].trimmed();
        QString gender = QStringLiteral("m");
        if (name.endsWith(u'+')) {
            name.chop(1);
            gender = QStringLiteral("f");
        }
        name = StoredPersonName(name);
        if (!name.isEmpty())
            children.append({name, gender, static_cast<int>(i + 1)});
    }
    for (qsizetype j = 0; j < daughters.size(); ++j) {
        const QString name = StoredPersonName(daughters[j]);
        if (!name.isEmpty())
            children.append({name, QStringLiteral("f"), static_cast<int>(sons.size() + j + 1)});
    }
    return children;
}

} // namespace

TChildrenListResult CreateChildrenList(const QString& fatherId, const QString& motherId,
                                       const QStringList& sons, const QStringList& daughters) {
    TChildrenListResult result;
    const QString father = IsReservedParentId(fatherId) ? QStringLiteral("0") : fatherId.trimmed();
    const QString mother = IsReservedParentId(motherId) ? QStringLiteral("0") : motherId.trimmed();
    const QList<TChild> children = ReadLists(sons, daughters);
    if (children.isEmpty()) {
        result.Written = true;
        return result;
    }
    StoreOperation operation;
    const bool hasFather = father != u"0";
    const bool hasMother = mother != u"0";
    const int fatherBase = hasFather ? CountChildrenOfFather(father) : 0;
    const int motherBase = hasMother ? CountChildrenOfMother(mother) : 0;
    Transaction transaction;
    bool written = transaction.Active() && (!hasFather || PersonExists(father)) &&
                   (!hasMother || PersonExists(mother)) && !SameId(father, mother);
    for (qsizetype i = 0; i < children.size() && written; ++i) {
        const TChild& child = children[i];
        QString id;
        written = AddPerson(child.name, father, mother, id, child.gender) &&
                  (!hasFather || SetOrderByFather(id, fatherBase + child.number)) &&
                  (!hasMother || SetOrderByMother(id, motherBase + child.number)) && InheritFamilyNames(id);
        result.CreatedIds << id;
    }
    result.Written = written && transaction.Commit();
    if (!result.Written) {
        result.CreatedIds.clear();
        ShowStoreMessage(StoreMessage::ErrorRtl,
                         Translate(QStringLiteral("The children could not be added.")) + u'|' +
                             Translate(QStringLiteral("Nothing of the lists was added to "
                                                      "the tree.")));
    }
    return result;
}

QString ArrangePastedNames(const QString& text, qsizetype at, const QString& pasted, const QString& andWord,
                           qsizetype* caret) {
    at = std::clamp<qsizetype>(at, 0, text.size());
    const qsizetype end = std::min<qsizetype>(at + pasted.size(), text.size());
    QString joined = StripDiacritics(text.left(at)) + u',' + StripDiacritics(text.mid(at, end - at)) + u',';
    const qsizetype boundary = joined.size();
    joined += StripDiacritics(text.mid(end));
    static const QString kPunctuation = QStringLiteral("\u060C.,;\u061B\"");
    for (QChar& c : joined)
        if (kPunctuation.contains(c))
            c = u' ';

    // Walks the text; a name ends where the "and" letter follows a blank, and the letter is dropped.
    const bool splits = andWord.size() == 1;
    QString out;
    QString name;
    qsizetype caretInName = -1; // the boundary's place inside the name being read
    qsizetype caretAt = -1;
    auto flush = [&](bool lineBreak) {
        const QString trimmed = name.trimmed();
        if (caretInName >= 0) {
            qsizetype lead = 0;
            while (lead < name.size() && name[lead].isSpace())
                ++lead;
            caretAt = out.size() + std::clamp<qsizetype>(caretInName - lead, 0, trimmed.size());
            caretInName = -1;
        }
        out += trimmed;
        if (lineBreak)
            out += u'\n';
        name.clear();
    };
    for (qsizetype i = 0; i < joined.size(); ++i) {
        if (i == boundary)
            caretInName = name.size();
        const QChar c = joined[i];
        if (splits && c == andWord.front() && i > 0 && joined[i - 1] == u' ') {
            flush(true);
            continue;
        }
        name += c;
    }
    if (boundary >= joined.size())
        caretInName = name.size();
    flush(false);
    if (caret)
        *caret = caretAt < 0 ? out.size() : caretAt;
    return out;
}

} // namespace verdan
