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

TEST_F(ReportTablesTest, TheOutsideGroupIsNobodysFather) {
    Dm().Execute("UPDATE ftPerson SET father_id = ? WHERE person_id = ?", test::kGlobal, kStranger);
    Dm().Execute("UPDATE ftPerson SET father_id = ? WHERE person_id = ?", test::kGlobal, kGrand);
    LoadNameCache();
    const TextTable table = ReadPersonReportTable();
    EXPECT_EQ(Row(table, kStranger).mid(2, 4), (QStringList{"Huda", "", "", ""}));
    EXPECT_EQ(Row(table, kSon).mid(2, 4), (QStringList{"Omar", "Ahmad", "Salim", ""}));
    EXPECT_EQ(CachedFatherLine(kStranger, 2), (QStringList{"Huda", CachedName(test::kGlobal)}));
}

TEST_F(ReportTablesTest, FatherLineWalksUpToTheTopAndStopsOnALoop) {
    EXPECT_EQ(CachedFatherLine(kSon.toLower(), 5), (QStringList{"Omar", "Ahmad", "Salim", "", ""}));
    EXPECT_EQ(CachedFatherLine(QStringLiteral("  "), 2), (QStringList{"", ""}));
    EXPECT_EQ(CachedFatherLine(kSon, 0).size(), 250);
    EXPECT_EQ(CachedFatherId(kFather), kGrand);
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

TEST_F(ReportTablesTest, TheGridGetsTitlesWithoutTheKeyColumn) {
    TZelGridModel grid;
    FillReportGrid(grid, TReportKind::Persons, ReadPersonReportTable());
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.ColCount(), 1 + 24);
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
    EXPECT_EQ(ReportCellView(persons, "date_of_birth_h", "14450315").text, "15-03-1445");
    EXPECT_EQ(ReportCellView(persons, "date_of_death_h", "-14450315").text, "15-03-1445 " + Translate("BH"));
    EXPECT_EQ(ReportCellView(persons, "date_of_death_g", "-5000101").text, "01-01-500 " + Translate("BC"));
    EXPECT_TRUE(ReportCellView(persons, "date_of_birth_g", "0").text.isEmpty());
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
