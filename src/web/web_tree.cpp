#include "web/web_tree.h"

#include "storage/database.h"
#include "storage/date_columns.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "text/localisation.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <algorithm>

namespace verdan {

namespace {

QString Text(const Query& q, int column) {
    const QByteArrayView view = q.Utf8(column);
    return QString::fromUtf8(view.data(), view.size());
}

// Identifiers compare without regard to case or surrounding blanks, as the tree file compares them.
QString Key(const QString& id) {
    return id.trimmed().toUpper();
}

bool IsParent(const QString& key) {
    return !key.isEmpty() && key != u"0" && key != u"-1";
}

class Reader {
public:
    Reader(TWebTree& tree, QString& error) : tree_(tree), error_(error) {}

    bool Run() {
        Tdm& dm = Dm();
        tree_.TreeName =
            dm.ScalarText(QStringLiteral("SELECT tree_name FROM ftTreeInfo ORDER BY oid LIMIT 1"));
        tree_.OwnerName =
            dm.ScalarText(QStringLiteral("SELECT owner_name FROM ftTreeInfo ORDER BY oid LIMIT 1"));
        {
            Query q = dm.Prepare(QStringLiteral("SELECT description FROM ftTreeInfo ORDER BY oid LIMIT 1"));
            if (q.Next())
                tree_.Description = q.Blob(0);
        }
        tree_.HideNickname = HideNicknameOption();
        return Persons() && Options() && Relations() && Pictures() && Events();
    }

private:
    bool Fail(const Query& q) {
        error_ = FillPattern(Translate(QStringLiteral("The tree could not be read: %*")), {q.Error()});
        return false;
    }

    int Find(const QString& id) const { return index_.value(Key(id), -1); }

    bool Persons() {
        const QString global = Key(GetGlobalParentId());
        Query q = Dm().Prepare(
            QStringLiteral(
                "SELECT person_id, father_id, mother_id, gender, person_name, other_name, last_name, "
                "nickname, cognomen, family_name, family_nickname, section_type, is_section, "
                "is_dead, place_of_birth, place_of_death, notes, briefing, order_by_father, "
                "order_by_mother, display_order, ") +
            DateColumnList(kBirthDateColumns) + QStringLiteral(", ") + DateColumnList(kDeathDateColumns) +
            QStringLiteral(" FROM ftPerson ORDER BY oid"));
        std::vector<std::pair<QString, QString>> parents;
        while (q.Next()) {
            const QString id = Text(q, 0);
            const QString key = Key(id);
            if (!IsParent(key) || index_.contains(key))
                continue;
            index_.insert(key, int(tree_.Persons.size()));
            TWebPerson& p = tree_.Persons.emplace_back();
            p.Id = id.trimmed();
            p.Hex = AddressOfId(p.Id);
            // Two identifiers with the same digits (one without its braces) cannot share an address.
            if (addresses_.contains(p.Hex))
                p.Hex = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Md5).toHex().toUpper();
            addresses_.insert(p.Hex);
            const QString father = Key(Text(q, 1));
            parents.emplace_back(father, Key(Text(q, 2)));
            p.TopLevel = !IsParent(father);
            p.Female = q.Utf8(3).trimmed().compare("f", Qt::CaseInsensitive) == 0 ||
                       Text(q, 3).trimmed() == QStringLiteral("أنثى");
            p.Name = Text(q, 4).trimmed();
            p.Other = Text(q, 5).trimmed();
            p.Last = Text(q, 6).trimmed();
            p.Nickname = Text(q, 7).trimmed();
            p.Cognomen = Text(q, 8).trimmed();
            p.FamilyName = Text(q, 9).trimmed();
            p.FamilyNickname = Text(q, 10).trimmed();
            p.SectionType = Text(q, 11).trimmed();
            p.Section = q.Bool(12);
            p.DeadMark = q.Bool(13);
            p.BirthPlace = Text(q, 14).trimmed();
            p.DeathPlace = Text(q, 15).trimmed();
            p.Notes = Text(q, 16).trimmed();
            p.Briefing = Text(q, 17).trimmed();
            p.OrderByFather = int(q.Int(18));
            p.OrderByMother = int(q.Int(19));
            displayOrder_.push_back(int(q.Int(20)));
            p.Birth = ReadDateColumnsAt(q, 21);
            p.Death = ReadDateColumnsAt(q, 28);
            if (key == global)
                tree_.GlobalParent = int(tree_.Persons.size()) - 1;
        }
        if (q.Failed())
            return Fail(q);
        const int count = int(tree_.Persons.size());
        // Children hang under the parent whose column names them, a man's by his order of children, a
        // woman's by hers; the group outside the tree gathers whoever names it in either column.
        std::vector<std::vector<int>> byFather(static_cast<size_t>(count)),
            byMother(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            TWebPerson& p = tree_.Persons[size_t(i)];
            p.Father = Find(parents[size_t(i)].first);
            p.Mother = Find(parents[size_t(i)].second);
            if (p.Father == i)
                p.Father = -1;
            if (p.Mother == i)
                p.Mother = -1;
            if (p.Father >= 0)
                byFather[size_t(p.Father)].push_back(i);
            if (p.Mother >= 0 && p.Mother != p.Father)
                byMother[size_t(p.Mother)].push_back(i);
            if (p.TopLevel)
                tree_.TopLevel.push_back(i);
        }
        const auto sorted = [&](std::vector<int> list, bool byMotherOrder) {
            std::stable_sort(list.begin(), list.end(), [&](int a, int b) {
                const TWebPerson& x = tree_.Persons[size_t(a)];
                const TWebPerson& y = tree_.Persons[size_t(b)];
                const int ox = byMotherOrder ? x.OrderByMother : x.OrderByFather;
                const int oy = byMotherOrder ? y.OrderByMother : y.OrderByFather;
                if (ox != oy)
                    return ox < oy;
                return displayOrder_[size_t(a)] < displayOrder_[size_t(b)];
            });
            return list;
        };
        for (int i = 0; i < count; ++i) {
            TWebPerson& p = tree_.Persons[size_t(i)];
            std::vector<int>& own = p.Female ? byMother[size_t(i)] : byFather[size_t(i)];
            std::vector<int>& other = p.Female ? byFather[size_t(i)] : byMother[size_t(i)];
            p.Children = sorted(std::move(own), p.Female);
            // Children put on the column that does not fit the parent's gender still hang under it, after
            // the others, as in the program's outline.
            for (const int child : sorted(std::move(other), p.Female))
                if (std::find(p.Children.begin(), p.Children.end(), child) == p.Children.end())
                    p.Children.push_back(child);
        }
        std::stable_sort(tree_.TopLevel.begin(), tree_.TopLevel.end(), [&](int a, int b) {
            const TWebPerson& x = tree_.Persons[size_t(a)];
            const TWebPerson& y = tree_.Persons[size_t(b)];
            if (x.OrderByFather != y.OrderByFather)
                return x.OrderByFather < y.OrderByFather;
            if (x.OrderByMother != y.OrderByMother)
                return x.OrderByMother < y.OrderByMother;
            return displayOrder_[size_t(a)] < displayOrder_[size_t(b)];
        });
        return true;
    }

    bool Options() {
        Query q = Dm().Prepare(QStringLiteral(
            "SELECT person_id, hide_picture, hide_name, deny_publish, title FROM ftPersonOption"));
        while (q.Next()) {
            const int p = Find(Text(q, 0));
            if (p < 0)
                continue;
            TWebPerson& person = tree_.Persons[size_t(p)];
            person.HidePicture = q.Bool(1);
            person.HideName = q.Bool(2);
            person.DenyPublish = q.Bool(3);
            person.Title = Text(q, 4).trimmed();
        }
        return !q.Failed() || Fail(q);
    }

    bool Relations() {
        const bool oldDates = MarriageHijriInDivorceColumn();
        Query q = Dm().Prepare(
            QStringLiteral("SELECT person_id_1, person_id_2, relation_type, split, relation_order_1, "
                           "relation_order_2, place, divorce_place, ") +
            DateColumnList(kMarriageDateColumns) + QStringLiteral(", ") +
            DateColumnList(kDivorceDateColumns) + QStringLiteral(" FROM ftRelation ORDER BY oid"));
        struct Mate {
            int Order, Marriage;
        };
        std::vector<std::vector<Mate>> mates(tree_.Persons.size());
        while (q.Next()) {
            const int a = Find(Text(q, 0));
            const int b = Find(Text(q, 1));
            if (a < 0 || b < 0 || a == b)
                continue;
            const qint64 type = q.Int(2);
            if (type == kBreastfeedingMother) {
                AddOnce(tree_.Persons[size_t(b)].NursedBy, a);
                AddOnce(tree_.Persons[size_t(a)].Nursed, b);
                continue;
            }
            if (type == kBreastfeedingSiblings) {
                AddOnce(tree_.Persons[size_t(a)].MilkSiblings, b);
                AddOnce(tree_.Persons[size_t(b)].MilkSiblings, a);
                continue;
            }
            if (type != kMarriage)
                continue;
            const int m = int(tree_.Marriages.size());
            TWebMarriage& marriage = tree_.Marriages.emplace_back();
            marriage.Husband = a;
            marriage.Wife = b;
            marriage.Split = q.Bool(3);
            marriage.HusbandOrder = int(q.Int(4));
            marriage.WifeOrder = int(q.Int(5));
            marriage.Place = Text(q, 6).trimmed();
            marriage.DivorcePlace = Text(q, 7).trimmed();
            marriage.Married = ReadDateColumnsAt(q, 8);
            marriage.Divorced = ReadDateColumnsAt(q, 15);
            // A tree from before the Hijri marriage column kept that date where the divorce date goes now.
            if (oldDates) {
                marriage.Married.Hijri = marriage.Divorced.Gregorian;
                marriage.Divorced = TDateValue();
            }
            mates[size_t(a)].push_back({marriage.WifeOrder, m});
            mates[size_t(b)].push_back({marriage.HusbandOrder, m});
        }
        if (q.Failed())
            return Fail(q);
        for (size_t i = 0; i < mates.size(); ++i) {
            std::stable_sort(mates[i].begin(), mates[i].end(),
                             [](const Mate& x, const Mate& y) { return x.Order < y.Order; });
            for (const Mate& mate : mates[i])
                tree_.Persons[i].Marriages.push_back(mate.Marriage);
        }
        return true;
    }

    bool Pictures() {
        Query q = Dm().Prepare(QStringLiteral("SELECT picture_id, person_id, file_path, pic_default, "
                                              "picture_date, pic_description FROM ftPictures ORDER BY oid"));
        while (q.Next()) {
            const int p = Find(Text(q, 1));
            const QString id = Text(q, 0).trimmed();
            if (p < 0 || id.isEmpty())
                continue;
            const int at = int(tree_.Pictures.size());
            TWebPicture& picture = tree_.Pictures.emplace_back();
            picture.Id = id;
            picture.Hex = AddressOfId(id);
            picture.Person = p;
            picture.FilePath = Text(q, 2).trimmed();
            picture.Default = q.Bool(3);
            picture.Date = int(q.Int(4));
            picture.Description = Text(q, 5).trimmed();
            std::vector<int>& own = tree_.Persons[size_t(p)].Pictures;
            if (picture.Default)
                own.insert(own.begin(), at);
            else
                own.push_back(at);
        }
        return !q.Failed() || Fail(q);
    }

    bool Events() {
        ForEachEvent([&](const TEvent& event) {
            std::vector<int> persons;
            for (const TEventPerson& person : event.Persons) {
                const int p = Find(person.Person_Id);
                if (p >= 0)
                    AddOnce(persons, p);
            }
            if (persons.empty())
                return true;
            const int e = int(tree_.Events.size());
            for (const int p : persons)
                tree_.Persons[size_t(p)].Events.push_back(e);
            tree_.Events.push_back(event);
            tree_.EventPersons.push_back(std::move(persons));
            return true;
        });
        return true;
    }

    static void AddOnce(std::vector<int>& list, int value) {
        if (std::find(list.begin(), list.end(), value) == list.end())
            list.push_back(value);
    }

    TWebTree& tree_;
    QString& error_;
    QHash<QString, int> index_;
    QSet<QByteArray> addresses_;
    std::vector<int> displayOrder_;
};

} // namespace

QByteArray AddressOfId(const QString& id) {
    QByteArray hex;
    hex.reserve(32);
    bool guid = true;
    for (const QChar c : id.trimmed()) {
        if (c == u'{' || c == u'}' || c == u'-')
            continue;
        if ((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')) {
            hex += char(c.toUpper().unicode());
        } else {
            guid = false;
            break;
        }
    }
    if (guid && hex.size() == 32)
        return hex;
    return QCryptographicHash::hash(Key(id).toUtf8(), QCryptographicHash::Md5).toHex().toUpper();
}

bool ReadWebTree(TWebTree& tree, QString& error) {
    tree = TWebTree();
    Reader reader(tree, error);
    return reader.Run();
}

} // namespace verdan
