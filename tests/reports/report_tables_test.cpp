#include "calendar/date_value_text.h"
#include "reports/grid_model.h"
#include "reports/name_cache.h"
#include "reports/report_cells.h"
#include "reports/report_tables.h"
#include "storage/person_details_store.h"
#include "storage/person_fixture.h"
#include "text/localisation.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

const QString kGrand = QStringLiteral("{00000000-0000-0000-0000-000000000001}");
const QString kFather = QStringLiteral("{00000000-0000-0000-0000-000000000002}");
const QString kSon = QStringLiteral("{00000000-0000-0000-0000-000000000003}");
const QString kStranger = QStringLiteral("{00000000-0000-0000-0000-000000000004}");
const QString kNobody = QStringLiteral("{00000000-0000-0000-0000-0000000000FF}");

class ReportTablesTest : public test::PersonStoreTest {
protected:
    void SetUp() override {
        test::PersonStoreTest::SetUp();
        Put(kGrand, "-1", "0", "Salim");
        Put(kFather, kGrand, "0", "Ahmad");
        Put(kSon, kFather.toLower(), "0", "Omar");
        Put(kStranger, kNobody, "0", "Huda", "F");
        Dm().Execute("UPDATE ftPerson SET is_dead = 1, date_of_birth_h = 14450315 WHERE person_id = ?", kSon);
        LoadNameCache();
    }

    static QStringList Row(const TextTable& table, const QString& id) {
        for (const QStringList& row : table)
            if (row.value(1) == id)
                return row;
        return {};
    }
    static int Col(const TextTable& table, const char* name) {
        return static_cast<int>(table[0].indexOf(QString::fromLatin1(name)));
    }
};

TEST_F(ReportTablesTest, PersonListShowsFourGenerationsOfNamesFromTheCache) {
    const TextTable table = ReadPersonReportTable();
    ASSERT_EQ(table.size(), 1 + 5); // the outside group and four persons
    EXPECT_EQ(table[0].mid(0, 7),
              (QStringList{"oid", "person_id", "Name1", "Name2", "Name3", "Name4", "other_name"}));
    const QStringList son = Row(table, kSon);
    // The son's father is stored in lower case; lookups ignore letter case.
    EXPECT_EQ(son.mid(2, 4), (QStringList{"Omar", "Ahmad", "Salim", ""}));
    EXPECT_EQ(son[Col(table, "is_dead")], "True");
    EXPECT_EQ(son[Col(table, "date_of_birth_h")], "14450315");
    EXPECT_EQ(Row(table, kGrand)[Col(table, "is_dead")], "False");
    // A father who is not in the tree leaves the father, grandfather and great-grandfather empty.
    EXPECT_EQ(Row(table, kStranger).mid(2, 4), (QStringList{"Huda", "", "", ""}));
}

TEST_F(ReportTablesTest, AGroupIsNobodysFatherAndShowsNoGender) {
    // The outside group, a named branch and a branch of that branch: none of them is a father in a name.
    const QString branch = QStringLiteral("{00000000-0000-0000-0000-000000000010}");
    const QString twig = QStringLiteral("{00000000-0000-0000-0000-000000000011}");
    Put(branch, "-1", "0", QStringLiteral(u"آل الريّان"), "m", true);
    Put(twig, branch, "0", QStringLiteral(u"الحمادنة"), QStringLiteral(u"ذكر"), true);
    Dm().Execute("UPDATE ftPerson SET father_id = ? WHERE person_id = ?", test::kGlobal, kStranger);
    Dm().Execute("UPDATE ftPerson SET father_id = ? WHERE person_id = ?", twig, kGrand);
    LoadNameCache();
    const TextTable table = ReadPersonReportTable();
    EXPECT_EQ(Row(table, kStranger).mid(2, 4), (QStringList{"Huda", "", "", ""}));
    EXPECT_EQ(Row(table, kSon).mid(2, 4), (QStringList{"Omar", "Ahmad", "Salim", ""}));
    EXPECT_EQ(Row(table, kGrand).mid(2, 4), (QStringList{"Salim", "", "", ""}));
    EXPECT_EQ(Row(table, twig).mid(2, 4), (QStringList{QStringLiteral(u"الحمادنة"), "", "", ""}));
    EXPECT_EQ(CachedFatherLine(kStranger, 2), (QStringList{"Huda", ""}));
    EXPECT_TRUE(CachedIsGroup(branch));
    EXPECT_FALSE(CachedIsGroup(kGrand));

    // In the grid the groups' rows show no gender but say they are groups; persons keep theirs.
    TZelGridModel grid;
    FillReportGrid(grid, TReportKind::Persons, table);
    const int gender = ReportColumnOfField(TReportKind::Persons, "gender");
    auto rowOf = [&](const QString& id) {
        for (int row = 1; row < grid.RowCount(); ++row)
            if (grid.Cell(1, row) == id)
                return row;
        return -1;
    };
    EXPECT_EQ(ReportGridCellView(grid, TReportKind::Persons, gender, rowOf(twig)).text, Translate("Group"));
    EXPECT_EQ(ReportGridCellView(grid, TReportKind::Persons, gender, rowOf(test::kGlobal)).text,
              Translate("Group"));
    EXPECT_EQ(ReportGridCellView(grid, TReportKind::Persons, gender, rowOf(kGrand)).text, Translate("Male"));
    EXPECT_EQ(ReportGridCellView(grid, TReportKind::Persons, gender, 0).text, grid.Cell(gender, 0));
}

TEST_F(ReportTablesTest, FatherLineWalksUpToTheTopAndStopsOnALoop) {
    EXPECT_EQ(CachedFatherLine(kSon.toLower(), 5), (QStringList{"Omar", "Ahmad", "Salim", "", ""}));
    EXPECT_EQ(CachedFatherLine(QStringLiteral("  "), 2), (QStringList{"", ""}));
    EXPECT_EQ(CachedFatherLine(kSon, 0).size(), 250);
    EXPECT_TRUE(CachedName(kNobody).isEmpty());
    Dm().Execute("UPDATE ftPerson SET father_id = ? WHERE person_id = ?", kSon, kGrand);
    LoadNameCache();
    EXPECT_EQ(CachedFatherLine(kSon, 4), (QStringList{"Omar", "Ahmad", "Salim", "Omar"}));
}

TEST_F(ReportTablesTest, TheCacheFollowsTheOpenTree) {
    EXPECT_TRUE(NameCacheLoaded());
    Reopen();
    EXPECT_FALSE(NameCacheLoaded());
    // Reading a report loads it again rather than showing empty names.
    EXPECT_EQ(Row(ReadPersonReportTable(), kSon).mid(2, 3), (QStringList{"Omar", "Ahmad", "Salim"}));
    CloseTreeFile();
    EXPECT_TRUE(ReadPersonReportTable().isEmpty());
    EXPECT_TRUE(CachedName(kSon).isEmpty());
}

TEST_F(ReportTablesTest, ContactAndAddressListsHoldOnlyPersonsWithDetails) {
    TPerson_Details details;
    details.cell_phone = "+966 50 123";
    details.email = "omar@example.org";
    details.Address.city = "Makkah";
    details.Address.country = "KSA";
    details.Address.street_1 = "Street 7";
    details.NetAccounts = {{"X", "@omar"}};
    ASSERT_TRUE(WritePersonDetails(kSon, details));

    const TextTable contacts = ReadContactReportTable();
    ASSERT_EQ(contacts.size(), 2);
    EXPECT_EQ(contacts[1].mid(1, 5), (QStringList{kSon, "Omar", "Ahmad", "Salim", ""}));
    EXPECT_EQ(contacts[1][Col(contacts, "cell_phone")], "+966 50 123");
    EXPECT_EQ(contacts[1][Col(contacts, "email")], "omar@example.org");

    const TextTable addresses = ReadAddressReportTable();
    ASSERT_EQ(addresses.size(), 2);
    EXPECT_EQ(addresses[1][Col(addresses, "City")], "Makkah");
    EXPECT_EQ(addresses[1][Col(addresses, "Country")], "KSA");
    EXPECT_TRUE(addresses[1][Col(addresses, "address")].contains("Street 7"));
    EXPECT_FALSE(addresses[1][Col(addresses, "address")].contains("city="));
    EXPECT_EQ(addresses[1][Col(addresses, "net_accounts")], "X: @omar");
}

TEST_F(ReportTablesTest, ProgressIsReportedAndCancelLeavesNoTable) {
    int calls = 0;
    int lastTotal = -1;
    EXPECT_EQ(ReadPersonReportTable([&](int, int total) {
                  ++calls;
                  lastTotal = total;
                  return true;
              }).size(),
              6);
    EXPECT_GE(calls, 2);
    EXPECT_EQ(lastTotal, 5);
    EXPECT_TRUE(ReadPersonReportTable([](int, int) { return false; }).isEmpty());
}

TEST_F(ReportTablesTest, DatesShowAsTheTreeHoldsThemWithTheirQualifiers) {
    Dm().Execute("UPDATE ftPerson SET date_of_birth_g = 18000000, date_of_birth_h = 12150000, "
                 "birth_qualifier = 1, date_of_death_g = 18500000, death_qualifier = 6, "
                 "death_date_2_g = 18600000, death_dual = 0 WHERE person_id = ?",
                 kSon);
    Dm().Execute("UPDATE ftPerson SET birth_qualifier = 11, birth_phrase = 'in the year of the flood; late' "
                 "WHERE person_id = ?",
                 kFather);
    TZelGridModel grid;
    FillReportGrid(grid, TReportKind::Persons, ReadPersonReportTable());
    auto shown = [&](const QString& id, const char* field) {
        for (int row = 1; row < grid.RowCount(); ++row)
            if (grid.Cell(1, row) == id)
                return ReportGridCellView(grid, TReportKind::Persons,
                                          ReportColumnOfField(TReportKind::Persons, field), row)
                    .text;
        return QStringLiteral("no row");
    };
    TDateValue born;
    born.Qualifier = TDateQualifier::About;
    born.Gregorian = 18000000;
    born.Hijri = 12150000;
    EXPECT_EQ(shown(kSon, "date_of_birth_g"), DateValueText(born, TDateShown::Gregorian));
    EXPECT_EQ(shown(kSon, "date_of_birth_h"), DateValueText(born, TDateShown::Hijri));
    EXPECT_TRUE(
        shown(kSon, "date_of_birth_g").startsWith(TranslateContext("about %*", "date_value").left(5)));
    TDateValue died;
    died.Qualifier = TDateQualifier::Between;
    died.Gregorian = 18500000;
    died.Gregorian2 = 18600000;
    EXPECT_EQ(shown(kSon, "date_of_death_g"), DateValueText(died, TDateShown::Gregorian));
    EXPECT_TRUE(shown(kSon, "date_of_death_h").isEmpty());
    // A date of words alone shows its words once, in the Gregorian column.
    EXPECT_EQ(shown(kFather, "date_of_birth_g"), "(in the year of the flood; late)");
    EXPECT_TRUE(shown(kFather, "date_of_birth_h").isEmpty());
    EXPECT_TRUE(shown(kGrand, "date_of_birth_g").isEmpty());
    // Exports show the same texts, filters and sorting keep the stored numbers.
    EXPECT_EQ(grid.Cell(ReportColumnOfField(TReportKind::Persons, "date_of_death_g"), 4), "18500000");
}

TEST_F(ReportTablesTest, TheReaderGivesTheTableAFewRowsAtATime) {
    const TextTable whole = ReadPersonReportTable();
    TReportReader reader(TReportKind::Persons);
    ASSERT_TRUE(reader.Start());
    EXPECT_EQ(reader.Header(), whole[0]);
    EXPECT_EQ(reader.Total(), 5);
    TextTable pieces{reader.Header()};
    while (!reader.AtEnd()) {
        const QList<QStringList> rows = reader.Read(1000, 2);
        EXPECT_LE(rows.size(), 2);
        pieces << rows;
    }
    EXPECT_EQ(reader.Done(), 5);
    EXPECT_EQ(pieces, whole);
    EXPECT_TRUE(reader.Read(1000, 2).isEmpty());

    // Poured in pieces, the grid holds what it holds poured at once.
    TZelGridModel atOnce;
    FillReportGrid(atOnce, TReportKind::Persons, whole);
    TZelGridModel inPieces;
    FillReportGrid(inPieces, TReportKind::Persons, {whole[0]});
    EXPECT_EQ(inPieces.RowCount(), 2); // one empty row until rows come
    AppendReportRows(inPieces, whole.mid(1, 2));
    AppendReportRows(inPieces, whole.mid(3));
    EXPECT_EQ(inPieces.AllCells(), atOnce.AllCells());

    CloseTreeFile();
    EXPECT_FALSE(TReportReader(TReportKind::Persons).Start());
}

TEST(ReportColumns, ColumnsAreChosenByFieldWhateverTheLanguage) {
    const auto persons = TReportKind::Persons;
    const QList<int> shown = DefaultReportColumns(persons);
    EXPECT_FALSE(shown.contains(ReportColumnOfField(persons, "person_id")));  // hidden at first
    EXPECT_FALSE(shown.contains(ReportColumnOfField(persons, "is_section"))); // never shown
    EXPECT_TRUE(shown.contains(ReportColumnOfField(persons, "date_of_death_h")));
    EXPECT_EQ(shown.size(), 23);
    EXPECT_TRUE(ReportChoosableFields(persons).contains("person_id"));
    EXPECT_FALSE(ReportChoosableFields(persons).contains("is_section"));

    QString unknown;
    const QList<int> chosen = ReportColumnsOfFields(
        persons, {"Date_Of_Birth_G", " name1 ", "nonsense", "is_section", "name1"}, &unknown);
    EXPECT_EQ(chosen, (QList<int>{ReportColumnOfField(persons, "date_of_birth_g"), 2}));
    EXPECT_EQ(unknown, "nonsense");
    EXPECT_EQ(ReportColumnFields(persons, chosen), (QStringList{"date_of_birth_g", "Name1"}));
    TReportKind kind = TReportKind::Persons;
    EXPECT_TRUE(ReportKindFromName(" Addresses", kind));
    EXPECT_EQ(kind, TReportKind::Addresses);
    EXPECT_EQ(ReportKindName(kind), "addresses");
    EXPECT_FALSE(ReportKindFromName("people", kind));
}

TEST_F(ReportTablesTest, TheGridGetsTitlesWithoutTheKeyColumn) {
    TZelGridModel grid;
    FillReportGrid(grid, TReportKind::Persons, ReadPersonReportTable());
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.ColCount(), 1 + 27);
    EXPECT_EQ(grid.Cell(2, 0), Translate("Name"));
    EXPECT_EQ(grid.Cell(13, 0), Translate("Date of Birth") + " " + Translate("G"));
    EXPECT_TRUE(grid.AutoRowNumber());
    EXPECT_EQ(ReportFieldOfColumn(TReportKind::Persons, 12), "gender");
    EXPECT_EQ(ReportColumnWidths(TReportKind::Contacts),
              (QList<int>{40, -1, 70, 70, 70, 70, 70, 100, 100, 200, 100}));

    TZelGridModel contacts;
    contacts.SetCell(0, 0, "corner");
    FillReportGrid(contacts, TReportKind::Contacts, ReadContactReportTable());
    EXPECT_TRUE(contacts.Cell(0, 0).isEmpty());
    EXPECT_EQ(contacts.RowCount(), 2); // no details yet: one empty row
}

TEST(ReportCells, ShownTextsFollowTheReportsRules) {
    using A = TReportCellView::Align;
    const auto persons = TReportKind::Persons;
    EXPECT_EQ(ReportCellView(persons, "gender", "m").text, Translate("Male"));
    EXPECT_EQ(ReportCellView(persons, "gender", " F ").text, Translate("Female"));
    EXPECT_EQ(ReportCellView(persons, "Gender", QStringLiteral(u"أنثى")).text, Translate("Female"));
    EXPECT_TRUE(ReportCellView(persons, "gender", "x").text.isEmpty());
    // Dates as the tree holds them: their calendar marked, a date before the era with its era.
    EXPECT_EQ(ReportCellView(persons, "date_of_birth_h", "14450315").text, "15-03-1445 " + Translate("H"));
    EXPECT_EQ(ReportCellView(persons, "date_of_death_h", "-14450315").text, "15-03-1445 " + Translate("B.h"));
    EXPECT_EQ(ReportCellView(persons, "date_of_death_g", "-5000101").text, "01-01-500 " + Translate("B.c"));
    EXPECT_EQ(ReportCellView(persons, "date_of_birth_g", "18000000").text, "1800 " + Translate("G"));
    EXPECT_TRUE(ReportCellView(persons, "date_of_birth_g", "0").text.isEmpty());
    EXPECT_EQ(ReportCellView(persons, "gender", "m", true).text, Translate("Group"));
    EXPECT_EQ(ReportCellView(persons, "is_dead", "True").text, Translate("Yes"));
    EXPECT_EQ(ReportCellView(persons, "is_dead", "").text, Translate("No"));
    EXPECT_EQ(ReportCellView(persons, "is_dead", "True").align, A::Centre);
    EXPECT_EQ(ReportCellView(persons, "notes", "m").text, "m");
    const TReportCellView phone = ReportCellView(TReportKind::Contacts, "cell_phone", "+966");
    EXPECT_TRUE(phone.leftToRight);
    EXPECT_EQ(phone.align, A::Left);
    EXPECT_FALSE(ReportCellView(TReportKind::Contacts, "last_name", "x").leftToRight);
}

} // namespace
} // namespace verdan
