#include "person_fixture.h"
#include "storage/person_names.h"
#include "text/name_utils.h"

#include <QRegularExpression>

namespace verdan::test {
namespace {

const QStringList kAwkwardTexts = {
    QStringLiteral("x'); DELETE FROM ftPerson;--"),
    QStringLiteral(u"عبد الله بن محمد"),
    QStringLiteral(u"مـــحمد"),
    QStringLiteral(u"a\u00A0b"),
    QStringLiteral("line one\nline two\r\n"),
    QStringLiteral("O'Neil \"quoted\" 50% ?"),
    QStringLiteral("007"),
};

TEST_F(PersonStoreTest, AddPersonWritesACreatedRow) {
    Put("{F}", "-1", "0", "Father");
    QString id = "stale";
    ASSERT_TRUE(AddPerson(QStringLiteral(u"  عـلي\u00A0  حسن "), "{F}", " ", id, "m"));
    EXPECT_TRUE(QRegularExpression("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$")
                    .match(id)
                    .hasMatch())
        << id.toStdString();
    TPerson person;
    ASSERT_TRUE(ReadPerson(id, person));
    EXPECT_EQ(person.Person_Name, QStringLiteral(u"علي حسن"));
    EXPECT_EQ(person.Father_Id, "{F}");
    EXPECT_EQ(person.Mother_Id, "0");
    EXPECT_EQ(person.Gender, "m");
    EXPECT_FALSE(person.Is_Section);
    EXPECT_EQ(Column(id, "Owner_Id"), kOwner);
    EXPECT_LE(qAbs(person.Date_Created.secsTo(QDateTime::currentDateTime())), 5);
    EXPECT_FALSE(person.Date_Modified.isValid());
    EXPECT_EQ(person.Order_By_Father, kUnsetOrder);
    EXPECT_EQ(person.LineageName, QStringLiteral(u"علي حسن Father"));

    QString blank;
    ASSERT_TRUE(AddPerson("Orphan", "", "", blank, "f"));
    EXPECT_EQ(Column(blank, "Father_Id"), "0");
    EXPECT_EQ(Column(blank, "Mother_Id"), "0");

    TPerson missing;
    missing.Person_Name = "left over";
    EXPECT_FALSE(ReadPerson("{NOBODY}", missing));
    EXPECT_TRUE(missing.Person_Name.isEmpty());
    EXPECT_EQ(missing.Order_By_Father, 0);
}

TEST_F(PersonStoreTest, FreeTextIsStoredAsTyped) {
    Put("{P}", "-1", "0", "Person");
    for (const QString& text : kAwkwardTexts) {
        SCOPED_TRACE(text.toStdString());
        ASSERT_TRUE(WritePersonText("{P}", TPersonText{text, text + "!"}));
        TPersonText read;
        ASSERT_TRUE(ReadPersonText("{P}", read));
        EXPECT_EQ(read.Notes, text);
        EXPECT_EQ(read.Briefing, text + "!");
        ASSERT_TRUE(SetPersonNotes("{P}", text));
        EXPECT_EQ(Column("{P}", "Notes"), text);

        TPerson places;
        places.Person_Id = "{P}";
        places.Place_of_Birth = text;
        places.Place_of_Death = "x" + text;
        ASSERT_TRUE(WritePersonPlaces(places));
        TPerson read2;
        ReadPerson("{P}", read2);
        EXPECT_EQ(read2.Place_of_Birth, text);
        EXPECT_EQ(read2.Saved_Place_of_Death, "x" + text);

        TPersonNames names;
        names.Person_Name = text;
        names.Nickname = text;
        names.Section_Type = text;
        ASSERT_TRUE(WritePersonNames("{P}", names));
        TPersonNames back;
        ASSERT_TRUE(ReadPersonNames("{P}", back));
        EXPECT_EQ(back.Person_Name, CleanName(text));
        EXPECT_EQ(back.Nickname, CleanName(text));
        EXPECT_EQ(back.Section_Type, text);
    }
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftPerson"), 2);
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(PersonStoreTest, WritersStampAndRefuseBlankIds) {
    Put("{P}", "-1", "0", "Person");
    EXPECT_FALSE(SetDead(" ", true));
    EXPECT_FALSE(StampModified(""));
    EXPECT_TRUE(SetDead("{P}", true));
    TPerson_Record_Log log;
    ASSERT_TRUE(GetPersonStamps("{P}", log));
    EXPECT_EQ(log.Person_Id, "{P}");
    EXPECT_LE(qAbs(log.Date_Modified.secsTo(QDateTime::currentDateTime())), 5);
    EXPECT_TRUE(log.User_Modified.isEmpty());

    TPerson_Record_Log untouched;
    untouched.User_Created = "kept";
    EXPECT_FALSE(GetPersonStamps("{NOBODY}", untouched));
    EXPECT_EQ(untouched.User_Created, "kept");

    TPerson dates;
    dates.Person_Id = "{P}";
    dates.Date_of_Birth_G = 19990512;
    dates.Date_of_Death_H = -14020100;
    dates.Is_Dead = false;
    ASSERT_TRUE(WritePersonDates(dates));
    TPerson read;
    ReadPerson("{P}", read);
    EXPECT_EQ(read.Date_of_Birth_G, 19990512);
    EXPECT_EQ(read.Saved_Date_of_Death_H, -14020100);
    EXPECT_FALSE(read.Is_Dead);
    EXPECT_TRUE(SetGroupFlag("{P}", true));
    EXPECT_TRUE(SetDisplayOrder("{P}", 4));
    ReadPerson("{P}", read);
    EXPECT_TRUE(read.Is_Section);
    EXPECT_EQ(read.Display_Order, 4);
}

TEST_F(PersonStoreTest, OrderNumbersFillUnsetColumnsOnly) {
    Put("{A}", "-1", "0", "A");
    Dm().Execute("UPDATE ftPerson SET Order_By_Father = 99, Order_By_Mother = 99, Display_Order = 99");
    ASSERT_TRUE(SetOrderByFather("{A}", 3));
    EXPECT_EQ(Column("{A}", "Order_By_Father"), "3");
    EXPECT_EQ(Column("{A}", "Order_By_Mother"), "3");
    EXPECT_EQ(Column("{A}", "Display_Order"), "3");
    ASSERT_TRUE(SetOrderByFather("{A}", 5));
    EXPECT_EQ(Column("{A}", "Order_By_Father"), "5");
    EXPECT_EQ(Column("{A}", "Order_By_Mother"), "3");
    EXPECT_EQ(Column("{A}", "Display_Order"), "3");

    // An empty order (rows of older files) counts as unset too.
    Put("{B}", "-1", "0", "B");
    Dm().Execute("UPDATE ftPerson SET Order_By_Father = NULL, Order_By_Mother = NULL, Display_Order = NULL "
                 "WHERE Person_Id = '{B}'");
    ASSERT_TRUE(SetOrderByMother("{B}", 7));
    EXPECT_EQ(Column("{B}", "Order_By_Mother"), "7");
    EXPECT_EQ(Column("{B}", "Order_By_Father"), "7");
    EXPECT_EQ(Column("{B}", "Display_Order"), "7");
    EXPECT_FALSE(SetOrderByMother("{B}", 1001));
    EXPECT_EQ(Column("{B}", "Order_By_Mother"), "7");
    EXPECT_TRUE(SetOrderByMother("{B}", 1000));
    EXPECT_EQ(Column("{B}", "Order_By_Mother"), "1000");
    EXPECT_TRUE(SetOrderByFather("{B}", 1000));
    EXPECT_EQ(Column("{B}", "Order_By_Father"), "1000");
}

TEST_F(PersonStoreTest, NamesRoundTripKeepsTheOrders) {
    Put("{F}", "-1", "0", "Father");
    Put("{A}", "{F}", "0", "A");
    Put("{B}", "{F}", "0", "B");
    Dm().Execute(
        "UPDATE ftPerson SET Order_By_Father = NULL, Order_By_Mother = NULL WHERE Person_Id = '{B}'");
    SetOrderByFather("{A}", 2);
    SetOrderByMother("{A}", 6);
    for (const QString id : {"{A}", "{B}"}) {
        TPersonNames names;
        ASSERT_TRUE(ReadPersonNames(id, names));
        names.Cognomen = "renamed";
        ASSERT_TRUE(WritePersonNames(id, names));
    }
    EXPECT_EQ(Column("{A}", "Order_By_Father"), "2");
    EXPECT_EQ(Column("{A}", "Order_By_Mother"), "6");
    EXPECT_EQ(Column("{A}", "Cognomen"), "renamed");
    // A sibling without stored orders keeps them empty, so it does not move among its siblings.
    EXPECT_TRUE(Value("{B}", "Order_By_Father").isNull());
    EXPECT_TRUE(Value("{B}", "Order_By_Mother").isNull());

    TPersonNames names;
    ReadPersonNames("{A}", names);
    EXPECT_EQ(names.FatherName, "Father");
    names.Order_By_Father = 9;
    WritePersonNames("{A}", names);
    EXPECT_EQ(Column("{A}", "Order_By_Father"), "9");
}

TEST_F(PersonStoreTest, ParentWritesFollowTheirGuards) {
    Put("{F}", "-1", "0", "F");
    Put("{M}", "-1", "0", "M", "f");
    Put("{C}", "{F}", "{M}", "C");
    EXPECT_FALSE(SetParents("{C}", "0", "0"));
    EXPECT_FALSE(SetFather("{C}", "{C}"));
    EXPECT_FALSE(SetMother("", "{M}"));
    EXPECT_EQ(Column("{C}", "Father_Id"), "{F}");
    EXPECT_TRUE(SwapParents("{C}"));
    EXPECT_EQ(Column("{C}", "Father_Id"), "{M}");
    EXPECT_EQ(Column("{C}", "Mother_Id"), "{F}");

    Put("{D}", "{M}", "{F}", "D");
    EXPECT_TRUE(SwapParentsOfChildren("{M}"));
    EXPECT_EQ(Column("{C}", "Father_Id"), "{F}");
    EXPECT_EQ(Column("{D}", "Mother_Id"), "{M}");
    EXPECT_FALSE(Column("{M}", "Date_Modified").isEmpty());
    EXPECT_TRUE(SetParents("{C}", "{F}", "0"));
    EXPECT_EQ(GetParents("{C}").Mother_Id, "0");
    EXPECT_EQ(GetFatherId("{C}"), "{F}");
    EXPECT_TRUE(GetMotherId("{NOBODY}").isEmpty());
    EXPECT_EQ(GetGender("0"), "m");
    EXPECT_TRUE(GetPersonName("0").isEmpty());
}

TEST_F(PersonStoreTest, DeleteRemovesRelatedRowsAllOrNothing) {
    Put("{P}", "-1", "0", "P");
    Put("{W}", "-1", "0", "W", "f");
    Dm().Execute("INSERT INTO ftPersonOption (person_id) VALUES ('{P}')");
    Dm().Execute("INSERT INTO ftBookmark (person_id, b_type) VALUES ('{P}', 0)");
    Dm().Execute("INSERT INTO ftPictures (picture_id, person_id) VALUES ('{PIC}', '{P}')");
    Dm().Execute("INSERT INTO ftRelation (person_id_1, person_id_2) VALUES ('{P}', '{W}')");
    Dm().Execute("INSERT INTO ftRelation (person_id_1, person_id_2) VALUES ('{W}', '{P}')");
    Dm().Execute("INSERT INTO ftDetails (person_Id) VALUES ('{P}')");
    auto rows = [](const char* table) {
        return Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM %1").arg(table));
    };

    // A failing statement takes back the ones before it.
    ASSERT_TRUE(Dm().ExecSql("ALTER TABLE ftRelation RENAME TO ftRelationAway"));
    EXPECT_FALSE(DeletePerson("{P}"));
    EXPECT_TRUE(PersonExists("{P}"));
    EXPECT_EQ(rows("ftPersonOption"), 1);
    EXPECT_EQ(rows("ftPictures"), 1);
    ASSERT_TRUE(Dm().ExecSql("ALTER TABLE ftRelationAway RENAME TO ftRelation"));

    EXPECT_TRUE(DeletePerson("{P}"));
    EXPECT_FALSE(PersonExists("{P}"));
    EXPECT_TRUE(PersonExists("{W}"));
    EXPECT_EQ(rows("ftPersonOption"), 0);
    EXPECT_EQ(rows("ftBookmark"), 0);
    EXPECT_EQ(rows("ftPictures"), 0);
    EXPECT_EQ(rows("ftRelation"), 0);
    EXPECT_EQ(rows("ftDetails"), 1);
    EXPECT_FALSE(DeletePerson(" "));
}

TEST_F(PersonStoreTest, ChildrenFollowTheParentsGender) {
    Put("{F}", "-1", "0", "F");
    Put("{M}", "-1", "0", "M", QStringLiteral(u"أنثى"));
    Put("{C1}", "{F}", "{M}", "C1");
    Put("{C2}", "{F}", "{M}", "C2", "f");
    Put("{C3}", "{F}", "0", "C3");
    SetOrderByFather("{C1}", 3);
    SetOrderByFather("{C2}", 1);
    SetOrderByFather("{C3}", 2);
    SetOrderByMother("{C1}", 1);
    Dm().Execute("UPDATE ftPerson SET Order_By_Mother = 2 WHERE Person_Id = '{C2}'");

    TextTable table;
    ListChildrenIds("{F}", table);
    EXPECT_EQ(table, (TextTable{{"Person_Id"}, {"{C2}"}, {"{C3}"}, {"{C1}"}}));
    QStringList ids;
    GetChildrenIds("{M}", ids);
    EXPECT_EQ(ids, (QStringList{"{C1}", "{C2}"}));
    ListChildrenOfMother("{M}", table);
    EXPECT_EQ(table.size(), 3);
    ListChildrenWithoutMother("{F}", table);
    EXPECT_EQ(table, (TextTable{{"Person_Id"}, {"{C3}"}}));

    EXPECT_EQ(CountChildren("{F}"), 3);
    EXPECT_EQ(CountChildrenOfFather("{F}"), 3);
    EXPECT_EQ(CountChildrenOfMother("{M}"), 2);
    EXPECT_EQ(CountChildrenOfCouple("{F}", "{M}"), 2);
    EXPECT_EQ(CountChildrenWithMother("{F}"), 2);
    EXPECT_EQ(CountChildrenWithFather("{M}"), 2);
    EXPECT_EQ(GetGender("{M}"), "f");

    QStringList names;
    ListChildrenNames("{M}", names);
    EXPECT_EQ(names, (QStringList{"C2", "C1"}));
    TPersonNameList lines;
    ListChildrenIds("{M}", table);
    FillPersonList(table, lines, false);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].Person_Id, "{C2}");
    EXPECT_EQ(lines[1].Name, "C2");
}

TEST_F(PersonStoreTest, PlacementsAreNeverSharedParents) {
    Put("{F}", "-1", "0", "F");
    Put("{M}", "-1", "0", "M", "f");
    Put("{A}", "{F}", "0", "A");
    Put("{B}", "{F}", "{M}", "B");
    Put("{C}", "{G}", "{M}", "C");
    Put("{T1}", "-1", "0", "T1");
    Put("{T2}", "-1", "0", "T2");
    Put("{E1}", "", "", "E1");
    Put("{E2}", "", "", "E2");
    Put("{G1}", kGlobal, "0", "G1");
    Put("{G2}", kGlobal, "0", "G2");
    EXPECT_TRUE(AreSiblings("{A}", "{B}"));
    EXPECT_TRUE(AreSiblings("{B}", "{C}"));
    EXPECT_FALSE(AreSiblings("{A}", "{C}"));
    EXPECT_FALSE(AreSiblings("{A}", "{A}"));
    EXPECT_FALSE(AreSiblings("{T1}", "{T2}"));
    EXPECT_FALSE(AreSiblings("{E1}", "{E2}"));
    EXPECT_FALSE(AreSiblings("{G1}", "{G2}"));
    EXPECT_FALSE(AreSiblings("{A}", "{NOBODY}"));
    EXPECT_TRUE(HaveSameFather("{A}", "{B}"));
    EXPECT_FALSE(HaveSameFather("{T1}", "{T2}"));
    EXPECT_FALSE(HaveSameFather("{G1}", "{G2}"));
    EXPECT_TRUE(HaveSameMother("{B}", "{C}"));
    EXPECT_FALSE(HaveSameMother("{T1}", "{T2}"));
}

TEST_F(PersonStoreTest, RelinkingChildrenRefusesPlacements) {
    Put("{F}", "-1", "0", "F");
    Put("{M}", "-1", "0", "M", "f");
    Put("{A}", "{F}", "{M}", "A");
    Put("{B}", "{F}", "{GONE}", "B");
    Put("{T}", "-1", "0", "T");
    EXPECT_FALSE(DetachChildrenOfFather("-1"));
    EXPECT_FALSE(DetachChildrenOfFather(""));
    EXPECT_FALSE(ClearMotherOfCoupleChildren("{F}", "0"));
    EXPECT_EQ(Column("{T}", "Father_Id"), "-1");

    EXPECT_TRUE(DetachChildrenOfFather("{F}"));
    EXPECT_EQ(Column("{A}", "Father_Id"), kGlobal);
    EXPECT_EQ(Column("{A}", "Mother_Id"), "{M}");
    EXPECT_EQ(Column("{B}", "Mother_Id"), "0");
    EXPECT_TRUE(Column("{A}", "Date_Modified").isEmpty());

    Put("{C}", "{F}", "{M}", "C");
    Put("{D}", "{F}", "{M}", "D");
    EXPECT_TRUE(ClearMotherOfCoupleChildren("{F}", "{M}"));
    EXPECT_EQ(Column("{C}", "Mother_Id"), "0");
    SetMother("{C}", "{M}");
    EXPECT_TRUE(MoveCoupleChildrenToGlobalParent("{F}", "{M}"));
    EXPECT_EQ(Column("{C}", "Father_Id"), kGlobal);
    EXPECT_EQ(Column("{D}", "Father_Id"), "{F}");
    EXPECT_TRUE(DetachChildrenOfMother("{M}"));
    EXPECT_EQ(Column("{A}", "Mother_Id"), "0");
}

TEST_F(PersonStoreTest, FamilyNamesFollowTheFatherLine) {
    Put("{F}", "-1", "0", "F");
    Put("{S}", "{F}", "0", "S");
    Put("{G}", "{S}", "0", "G");
    Put("{H}", "{S}", "0", "H");
    Dm().Execute("UPDATE ftPerson SET Last_Name = 'Old', Family_Name = 'Fam', Family_Nickname = 'Nick' "
                 "WHERE Person_Id = '{F}'");
    Dm().Execute("UPDATE ftPerson SET Last_Name = 'Own' WHERE Person_Id = '{H}'");

    ASSERT_TRUE(InheritFamilyNames("{S}"));
    EXPECT_EQ(Column("{S}", "Family_Nickname"), "Nick");
    Put("{O}", "{NOBODY}", "0", "O");
    Dm().Execute("UPDATE ftPerson SET Last_Name = 'x', Family_Name = 'y' WHERE Person_Id = '{O}'");
    ASSERT_TRUE(InheritFamilyNames("{O}"));
    EXPECT_TRUE(Column("{O}", "Last_Name").isEmpty());
    EXPECT_TRUE(Column("{O}", "Family_Name").isEmpty());

    const QString typed = QStringLiteral("O'Brien");
    Dm().Execute("UPDATE ftPerson SET Last_Name = ? WHERE Person_Id = '{F}'", typed);
    ASSERT_TRUE(PropagateFamilyName("{F}", TFamilyNameKind::LastName, false));
    EXPECT_EQ(Column("{G}", "Last_Name"), typed);
    EXPECT_EQ(Column("{H}", "Last_Name"), "Own");
    EXPECT_FALSE(Column("{G}", "Date_Modified").isEmpty());
    EXPECT_TRUE(Column("{H}", "Date_Modified").isEmpty());
    ASSERT_TRUE(PropagateFamilyName("{F}", TFamilyNameKind::LastName, true));
    EXPECT_EQ(Column("{H}", "Last_Name"), typed);

    // Links that form a cycle end the walk instead of running forever.
    SetFather("{F}", "{G}");
    QStringList descendants;
    ListFatherLineDescendants("{F}", descendants);
    EXPECT_EQ(descendants, (QStringList{"{S}", "{G}", "{H}"}));
    Dm().Execute("UPDATE ftPerson SET Family_Name = 'New' WHERE Person_Id = '{S}'");
    EXPECT_TRUE(PropagateFamilyName("{S}", TFamilyNameKind::FamilyName, true));
    EXPECT_EQ(Column("{F}", "Family_Name"), "New");
    EXPECT_EQ(Column("{H}", "Family_Name"), "New");
}

TEST_F(PersonStoreTest, DeepFatherLinesNeedNoRecursion) {
    Transaction transaction;
    QString parent = "-1";
    for (int i = 0; i < 20000; ++i) {
        const QString id = QStringLiteral("{D%1}").arg(i);
        Put(id, parent, "0", id);
        parent = id;
    }
    ASSERT_TRUE(transaction.Commit());
    QStringList descendants;
    ListFatherLineDescendants("{D0}", descendants);
    EXPECT_EQ(descendants.size(), 19999);
    EXPECT_EQ(descendants.last(), "{D19999}");
    EXPECT_EQ(GetFatherLineArray("{D19999}").size(), 250);
    QStringList line;
    ListFatherLineNames("{D19999}", line);
    EXPECT_EQ(line.size(), 20000);
}

TEST_F(PersonStoreTest, ParentGenderConflictsReadEveryWritingOfAGender) {
    Put("{F}", "-1", "0", "F", "F");
    Put("{M}", "-1", "0", "M", QStringLiteral(u"ذكر"));
    Put("{OK1}", "-1", "0", "OK1", "M");
    Put("{OK2}", "-1", "0", "OK2", QStringLiteral(u"أنثى"));
    Put("{A}", "{F}", "0", "A");
    Put("{B}", "{OK1}", "{M}", "B");
    Put("{C}", "{OK1}", "{OK2}", "C");
    TextTable table;
    ListParentGenderConflicts(table);
    ASSERT_EQ(table.size(), 3);
    EXPECT_EQ(table[0], (QStringList{"Person_Id", "Person Name", "Attached Mother", "Mother Gender",
                                     "Attached Father", "Father Gender"}));
    EXPECT_EQ(table[1], (QStringList{"{A}", "A", "", "", "F", "f"}));
    EXPECT_EQ(table[2], (QStringList{"{B}", "B", "M", "m", "OK1", "m"}));
}

TEST_F(PersonStoreTest, PersonListsByNameAndByDate) {
    Put("{F}", "-1", "0", "Zaid");
    Put("{A}", "{F}", "0", "Ali", "m");
    Put("{B}", "{A}", "0", "Bakr", QStringLiteral(u"أنثى"));
    Dm().Execute("UPDATE ftPerson SET Last_Name = 'L', Family_Name = 'Fam' WHERE Person_Id = '{B}'");
    QStringList names, ids;
    ListFullNames(names, ids);
    EXPECT_EQ(ids.first(), "{A}");
    EXPECT_TRUE(names.contains("Bakr Ali Zaid L Fam"));
    names.clear();
    ids.clear();
    ListFullNames(names, ids, "f");
    EXPECT_EQ(ids, QStringList{"{B}"});

    Dm().Execute(
        "UPDATE ftPerson SET Date_Created = '2024-01-01 10:00:00', Date_Modified = '2024-03-05 09:00:00'");
    Dm().Execute("UPDATE ftPerson SET Date_Created = '2024-03-04 23:59:59' WHERE Person_Id = '{A}'");
    Dm().Execute("UPDATE ftPerson SET Date_Created = NULL WHERE Person_Id = '{B}'");
    QList<TPerson> created, modified, all;
    ASSERT_TRUE(ListPersonRecords(created, TPersonRecordFilter::CreatedSince, QDate(2024, 3, 4)));
    ASSERT_EQ(created.size(), 1);
    EXPECT_EQ(created[0].Person_Id, "{A}");
    EXPECT_EQ(created[0].LineageName, "Ali");
    EXPECT_EQ(created[0].Date_Created, QDateTime(QDate(2024, 3, 4), QTime(23, 59, 59)));
    ASSERT_TRUE(ListPersonRecords(modified, TPersonRecordFilter::ModifiedSince, QDate(2024, 3, 4)));
    EXPECT_EQ(modified.size(), 3); // the global parent, {F} and {B} (never stamped as created)
    ASSERT_TRUE(ListPersonRecords(all));
    EXPECT_EQ(all.size(), 4);
    EXPECT_EQ(CountPersonRecords(TPersonRecordFilter::ModifiedSince, QDate(2024, 3, 4)), 3);

    // The newest first, as many as asked for.
    Dm().Execute("UPDATE ftPerson SET Date_Modified = '2024-03-06 08:00:00' WHERE Person_Id = '{F}'");
    QList<TPerson> newest;
    ASSERT_TRUE(ListPersonRecords(newest, TPersonRecordFilter::ModifiedSince, QDate(2024, 3, 4), 2));
    ASSERT_EQ(newest.size(), 2);
    EXPECT_EQ(newest[0].Person_Id, "{F}");
    all.clear();
    CloseTreeFile();
    EXPECT_FALSE(ListPersonRecords(all));
}

} // namespace
} // namespace verdan::test
