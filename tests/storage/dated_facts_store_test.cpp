#include "storage/event_store.h"
#include "storage/marriage_facts.h"
#include "storage/person_dates.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/schema.h"
#include "storage/undo_log.h"
#include "tree_fixture.h"

namespace verdan {
namespace {

using Q = TDateQualifier;

TDateValue Value(Q qualifier, int gregorian, int hijri, int gregorian2 = 0, int hijri2 = 0,
                 const QString& phrase = QString()) {
    TDateValue v;
    v.Qualifier = qualifier;
    v.Gregorian = gregorian;
    v.Hijri = hijri;
    v.Gregorian2 = gregorian2;
    v.Hijri2 = hijri2;
    v.Phrase = phrase;
    return v;
}

class DatedFactsTest : public test::TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        if (HasFatalFailure())
            return;
        for (const auto& [id, name, gender] :
             {std::tuple{"{H}", "Hasan", "m"}, std::tuple{"{W}", "Warda", "f"}})
            ASSERT_EQ(
                Dm().Execute("INSERT INTO ftPerson (Person_Id, Father_Id, Mother_Id, Person_Name, Gender) "
                             "VALUES (?, '-1', '0', ?, ?)",
                             QString::fromLatin1(id), QString::fromLatin1(name), QString::fromLatin1(gender)),
                1);
    }

    static TEvent Event(const char* type, const QStringList& persons, bool family = false) {
        TEvent event;
        event.Type = QString::fromLatin1(type);
        event.Family = family;
        for (const QString& person : persons)
            event.Persons.append({person, QString()});
        return event;
    }
};

TEST_F(DatedFactsTest, PersonDatesKeepTheirQualifiersWhole) {
    TPerson person;
    ASSERT_TRUE(ReadPerson("{H}", person));
    TPersonDates dates;
    dates.Birth = Value(Q::Between, 18500000, 12660000, 18550203, 12710617);
    dates.Birth.DualYear = 1848; // not the year before 1850: dropped
    dates.Death = Value(Q::Interpreted, 19000101, 0, 0, 0, QStringLiteral("New Year's Day"));
    person.Place_of_Death = QStringLiteral("Makkah");
    ASSERT_TRUE(WritePersonDateValues(person, dates));

    TPersonDates read;
    ASSERT_TRUE(ReadPersonDates("{H}", read));
    dates.Birth.DualYear = 0;
    EXPECT_EQ(read, dates);
    ASSERT_TRUE(ReadPerson("{H}", person));
    EXPECT_EQ(person.Date_of_Birth_G, 18500000);
    EXPECT_EQ(person.Place_of_Death, QStringLiteral("Makkah"));
    EXPECT_EQ(PersonDatesOf(person).Birth, Value(Q::Exact, 18500000, 12660000));

    // Writing the first dates alone keeps the rest, but clearing them clears it; words alone stay.
    person.Date_of_Birth_G = 18510000;
    person.Date_of_Death_G = 0;
    person.Date_of_Death_H = 0;
    ASSERT_TRUE(WritePersonDates(person));
    ASSERT_TRUE(ReadPersonDates("{H}", read));
    EXPECT_EQ(read.Birth.Qualifier, Q::Between);
    EXPECT_EQ(read.Birth.Gregorian, 18510000);
    EXPECT_EQ(read.Death, TDateValue());
    dates.Death = Value(Q::Phrase, 0, 0, 0, 0, QStringLiteral("in the year of the flood"));
    ASSERT_TRUE(WritePersonDateValues(person, dates));
    ASSERT_TRUE(WritePersonDates(person));
    ASSERT_TRUE(ReadPersonDates("{H}", read));
    EXPECT_EQ(read.Death, dates.Death);

    // A dual year that fits is kept.
    TDateValue dual = Value(Q::About, 16380123, 0);
    dual.DualYear = 1637;
    ASSERT_TRUE(WritePersonDateValues(person, {dual, TDateValue()}));
    ASSERT_TRUE(ReadPersonDates("{H}", read));
    EXPECT_EQ(read.Birth, dual);
    EXPECT_FALSE(ReadPersonDates("{nobody}", read));
}

TEST_F(DatedFactsTest, MarriagesKeepTheirDatesPlacesAndDivorce) {
    ASSERT_TRUE(AddMarriage("{H}", "{W}"));
    TMarriageFacts facts;
    EXPECT_TRUE(ReadMarriageFacts("{H}", "{W}", facts));
    EXPECT_EQ(facts, TMarriageFacts());
    facts.Married = Value(Q::About, 19500600, 13690800);
    facts.Place = QString(300, u'م'); // a place of any length
    facts.Divorced = Value(Q::After, 0, 13800000);
    facts.DivorcePlace = QStringLiteral("Jeddah");
    facts.Notes = QStringLiteral("two lines\r\nof notes");
    ASSERT_TRUE(WriteMarriageFacts("{H}", "{W}", facts));
    TMarriageFacts read;
    ASSERT_TRUE(ReadMarriageFacts("{H}", "{W}", read));
    EXPECT_EQ(read, facts);
    EXPECT_FALSE(ReadMarriageFacts("{W}", "{H}", read)) << "the husband comes first";
    EXPECT_FALSE(WriteMarriageFacts("{W}", "{H}", facts));
}

TEST_F(DatedFactsTest, EventsBelongToAnyNumberOfPersonsAndGoWithThem) {
    TEvent burial = Event("BURI", {"{H}"});
    burial.Date = Value(Q::Exact, 19000105, 0);
    burial.Place = QStringLiteral("Baqi");
    TEvent office = Event("OFFICE", {"{H}"});
    office.Value = QString(120, u'ق'); // beyond the old 50 characters
    office.Date = Value(Q::FromTo, 18900000, 0, 18990000, 0);
    office.Persons[0].Age = QStringLiteral("42y 3m");
    TEvent contract = Event("MARC", {"{H}", "{W}"}, true);
    contract.Date = Value(Q::Exact, 0, 13050901);
    // A person may have many events (the table once allowed one).
    for (TEvent* event : {&burial, &office, &contract})
        ASSERT_TRUE(AddEvent(*event)) << event->Type.toStdString();
    EXPECT_NE(burial.Event_Id, office.Event_Id);
    EXPECT_EQ(Dm().ScalarInt("SELECT age FROM ftEvents_persn WHERE age_text = '42y 3m'"), 42);

    QList<TEvent> events = ListPersonEvents("{H}");
    ASSERT_EQ(events.size(), 3);
    EXPECT_EQ(events[0], burial);
    EXPECT_EQ(events[1], office);
    EXPECT_EQ(events[2], contract);
    EXPECT_EQ(ListPersonEvents("{W}"), QList<TEvent>{contract});
    int all = 0;
    ForEachEvent([&](TEvent& event) {
        EXPECT_EQ(event, events[all++]);
        return true;
    });
    EXPECT_EQ(all, 3);
    EXPECT_EQ(CountEvents(), 3);

    // Writing an event changes its fields and its persons; nobody is refused.
    burial.Cause = QStringLiteral("fever");
    burial.Persons.append({QStringLiteral("{W}"), QString()});
    ASSERT_TRUE(WriteEvent(burial));
    TEvent read;
    ASSERT_TRUE(ReadEvent(burial.Event_Id, read));
    EXPECT_EQ(read, burial);
    read.Persons.clear();
    EXPECT_FALSE(WriteEvent(read));
    EXPECT_FALSE(AddEvent(read));
    TEvent kindless = Event("", {"{H}"});
    EXPECT_FALSE(AddEvent(kindless));

    // A deleted person takes the events only he had; the couple's contract stays with his wife.
    ASSERT_TRUE(DeletePerson("{H}"));
    EXPECT_EQ(CountEvents(), 2);
    events = ListPersonEvents("{W}");
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[1].Type, QStringLiteral("MARC"));
    EXPECT_EQ(events[1].Persons.size(), 1);
    ASSERT_TRUE(DeleteEvent(events[0].Event_Id));
    EXPECT_EQ(CountEvents(), 1);
    EXPECT_FALSE(DeleteEvent(events[0].Event_Id));
}

TEST_F(DatedFactsTest, EventEditsAreUndoable) {
    TEvent hajj = Event("HAJJ", {"{W}"});
    hajj.Date = Value(Q::Exact, 0, 14001200);
    {
        UndoStep step(QStringLiteral("Add Hajj"), QStringLiteral("{W}"));
        ASSERT_TRUE(AddEvent(hajj));
    }
    hajj.Place = QStringLiteral("Makkah");
    {
        UndoStep step(QStringLiteral("Edit Hajj"), QStringLiteral("{W}"));
        ASSERT_TRUE(WriteEvent(hajj));
    }
    ASSERT_TRUE(Undo());
    EXPECT_TRUE(ListPersonEvents("{W}").value(0).Place.isEmpty());
    ASSERT_TRUE(Undo());
    EXPECT_TRUE(ListPersonEvents("{W}").isEmpty());
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftEvents_persn"), 0);
    ASSERT_TRUE(Redo());
    ASSERT_TRUE(Redo());
    EXPECT_EQ(ListPersonEvents("{W}"), QList<TEvent>{hajj});
}

// A tree file from before: no qualifier columns, the Hijri marriage date in relation_date_2, events limited
// to one a person, or no event tables at all.
class OlderTreeTest : public test::TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        if (HasFatalFailure())
            return;
        Dm().Execute(
            "INSERT INTO ftPerson (Person_Id, Father_Id, Mother_Id, Person_Name, Gender, Date_of_Birth_G) "
            "VALUES ('{H}', '-1', '0', 'Hasan', 'm', 19500000), ('{W}', '-1', '0', 'Warda', 'f', 0)");
        Dm().Execute("INSERT INTO ftRelation (person_id_1, person_id_2, relation_type, relation_date_1, "
                     "relation_date_2) VALUES ('{H}', '{W}', 0, 19700101, 13891123)");
        CloseTreeFile();
        Tdm dm;
        ASSERT_TRUE(dm.Open(path_));
        // The columns the qualifiers, second dates and Hijri marriage dates came with.
        const auto added = [](const QString& column) {
            for (const char* part : {"qualifier", "_2_", "dual", "phrase"})
                if (column.contains(QLatin1String(part)))
                    return true;
            return column.endsWith(QLatin1String("_h")) || column == QLatin1String("divorce_place");
        };
        for (const auto& [table, field] : UpgradeColumns()) {
            if ((table == QLatin1String("ftPerson") || table == QLatin1String("ftRelation")) &&
                added(field.name)) {
                ASSERT_TRUE(dm.ExecSql("ALTER TABLE " + table + " DROP COLUMN " + field.name))
                    << dm.LastError().toStdString();
            }
        }
        ASSERT_TRUE(dm.ExecSql("DROP TABLE ftEvents"));
        ASSERT_TRUE(dm.ExecSql("DROP TABLE ftEvents_persn"));
        ASSERT_TRUE(dm.ExecSql(
            "CREATE TABLE ftEvents_persn (oid INTEGER PRIMARY KEY AUTOINCREMENT, owner_id TEXT, "
            "event_Id TEXT, person_id TEXT, age INTEGER, date_modified TEXT, user_modified TEXT)"));
        ASSERT_TRUE(
            dm.ExecSql("CREATE UNIQUE INDEX ftEvents_persn_idx_person_id ON ftEvents_persn (person_id)"));
        EXPECT_GT(MissingDatedFactColumns(dm).size(), 20);
    }
};

TEST_F(OlderTreeTest, ReadsAsEmptyWithoutTheUpgrade) {
    ASSERT_TRUE(Dm().Open(path_));
    TPersonDates dates;
    ASSERT_TRUE(ReadPersonDates("{H}", dates));
    EXPECT_EQ(dates.Birth, Value(Q::Exact, 19500000, 0));
    TMarriageFacts facts;
    ASSERT_TRUE(ReadMarriageFacts("{H}", "{W}", facts));
    // The Hijri marriage date the first import put where the divorce date goes now is read as what it is.
    EXPECT_EQ(facts.Married, Value(Q::Exact, 19700101, 13891123));
    EXPECT_EQ(facts.Divorced, TDateValue());
    EXPECT_TRUE(ListPersonEvents("{H}").isEmpty());
    EXPECT_EQ(CountEvents(), 0);
    EXPECT_FALSE(HasEventTables());
    TEvent event;
    event.Type = QStringLiteral("BURI");
    event.Persons.append({QStringLiteral("{H}"), QString()});
    EXPECT_FALSE(AddEvent(event)) << "no table to keep it";
    EXPECT_FALSE(WriteMarriageFacts("{H}", "{W}", facts)) << "no columns to keep the qualifiers";
    // The first dates are still written where only they have columns.
    TPerson person;
    ASSERT_TRUE(ReadPerson("{H}", person));
    dates.Birth = Value(Q::About, 19510000, 0);
    EXPECT_TRUE(WritePersonDateValues(person, dates));
    EXPECT_EQ(Dm().ScalarInt("SELECT Date_of_Birth_G FROM ftPerson WHERE person_id = '{H}'"), 19510000);
    person.Date_of_Birth_G = 19520000;
    EXPECT_TRUE(WritePersonDates(person));
    EXPECT_EQ(Dm().ScalarInt("SELECT Date_of_Birth_G FROM ftPerson WHERE person_id = '{H}'"), 19520000);
    Dm().Close();

    // Opened only to be read, it shows the columns it lacks as empty: the old marriage date still reads
    // right.
    ASSERT_TRUE(OpenTreeFile(path_, TOpenAccess::ReadOnly));
    ASSERT_TRUE(ReadMarriageFacts("{H}", "{W}", facts));
    EXPECT_EQ(facts.Married, Value(Q::Exact, 19700101, 13891123));
    EXPECT_EQ(facts.Divorced, TDateValue());
    EXPECT_TRUE(ListPersonEvents("{H}").isEmpty());
    ASSERT_TRUE(ReadPersonDates("{H}", dates));
    EXPECT_EQ(dates.Birth.Gregorian, 19520000);
    EXPECT_EQ(MissingDatedFactColumns(Dm()).size(), 0) << "shown, though not stored";
    CloseTreeFile();
}

TEST_F(OlderTreeTest, TheUpgradeAddsTheColumnsTablesAndIndexes) {
    ASSERT_TRUE(OpenTreeFile(path_));
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(u'\n').toStdString();
    EXPECT_TRUE(MissingDatedFactColumns(Dm()).isEmpty());
    EXPECT_TRUE(HasEventTables());
    // The Hijri marriage date the first import put into relation_date_2 moves to its own column.
    TMarriageFacts facts;
    ASSERT_TRUE(ReadMarriageFacts("{H}", "{W}", facts));
    EXPECT_EQ(facts.Married, Value(Q::Exact, 19700101, 13891123));
    EXPECT_EQ(facts.Divorced, TDateValue());
    // Any number of events a person.
    for (const char* type : {"BURI", "HAJJ"}) {
        TEvent event;
        event.Type = QString::fromLatin1(type);
        event.Persons.append({QStringLiteral("{H}"), QString()});
        EXPECT_TRUE(AddEvent(event)) << type;
    }
    EXPECT_EQ(ListPersonEvents("{H}").size(), 2);
    // Opening again changes nothing more.
    CloseTreeFile();
    ASSERT_TRUE(OpenTreeFile(path_));
    ASSERT_TRUE(ReadMarriageFacts("{H}", "{W}", facts));
    EXPECT_EQ(facts.Married.Hijri, 13891123);
    EXPECT_EQ(
        Dm().ScalarInt("SELECT count(*) FROM sqlite_master WHERE name = 'ftEvents_persn_idx_person_id'"), 0);
}

} // namespace
} // namespace verdan
