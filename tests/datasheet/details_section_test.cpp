#include "datasheet/details_section.h"
#include "storage/person_fixture.h"

#include <QUrlQuery>

namespace verdan::test {
namespace {

TEST(DetailChecks, EmailAddressesNeedALocalPartAndADottedDomain) {
    EXPECT_TRUE(IsWellFormedEmail("ali.hasan+tree@example.com"));
    EXPECT_TRUE(IsWellFormedEmail("  a_b@mail.example.org "));
    EXPECT_FALSE(IsWellFormedEmail("ali@"));
    EXPECT_FALSE(IsWellFormedEmail("ali@example"));
    EXPECT_FALSE(IsWellFormedEmail("ali example.com"));
    EXPECT_FALSE(IsWellFormedEmail(""));
}

TEST(DetailChecks, WebAddressesAreCheckedWithOrWithoutTheirScheme) {
    EXPECT_TRUE(IsWellFormedWebAddress("www.example.com"));
    EXPECT_TRUE(IsWellFormedWebAddress("https://www.facebook.com/ali.hasan"));
    EXPECT_TRUE(IsWellFormedWebAddress("http://family.example.online/tree?id=7"));
    EXPECT_FALSE(IsWellFormedWebAddress("http://localhost"));
    EXPECT_FALSE(IsWellFormedWebAddress("www.example.com."));
    EXPECT_FALSE(IsWellFormedWebAddress("not an address"));
}

TEST(DetailChecks, OnlyWebAndMailAddressesAreHandedToTheDesktop) {
    EXPECT_EQ(AccountUrl("www.example.com/ali").toString(), "http://www.example.com/ali");
    EXPECT_EQ(AccountUrl(" https://example.com/a b").scheme(), ""); // a blank is no address
    EXPECT_EQ(AccountUrl("HTTPS://Example.com/x").scheme(), "https");
    EXPECT_EQ(AccountUrl("localhost:8080/tree").toString(), "http://localhost:8080/tree");
    EXPECT_EQ(AccountUrl("ali@example.com").toString(), "mailto:ali@example.com");
    EXPECT_EQ(AccountUrl("mailto:ali@example.com").scheme(), "mailto");
    for (const char* refused :
         {"javascript:alert(1)", "file:///etc/passwd", "ftp://example.com/f", "skype:ali.hasan",
          "data:text/html,<b>x</b>", "+966 50 123 4567", "", "  ", "mailto:", "http://"})
        EXPECT_FALSE(AccountUrl(QString::fromUtf8(refused)).isValid()) << refused;
}

TEST(DetailChecks, MapSearchesCarryTheLocationExactly) {
    const QString location = QStringLiteral(u"24.7136 , +46.6753 & الرياض");
    const QUrl url = MapSearchUrl(location);
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.scheme(), "https");
    EXPECT_EQ(url.path(), "/maps/search/");
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue("api"), "1");
    EXPECT_EQ(query.queryItemValue("query", QUrl::FullyDecoded), location);
    EXPECT_FALSE(url.toString(QUrl::FullyEncoded).contains(u'+'));
    EXPECT_FALSE(MapSearchUrl("   ").isValid());
}

TEST(DetailChecks, ServicesWithProfilesPrefillTheirAddress) {
    EXPECT_EQ(AccountKindSources().size(), 9);
    EXPECT_EQ(AccountAddressPrefix("Facebook"), "https://www.facebook.com/");
    EXPECT_TRUE(AccountAddressPrefix("LinkedIn").startsWith("https://"));
    EXPECT_TRUE(AccountAddressPrefix("Skype").isEmpty());
    EXPECT_TRUE(AccountAddressPrefix("my blog").isEmpty());
}

class DetailsEditsTest : public PersonStoreTest {
protected:
    void SetUp() override {
        PersonStoreTest::SetUp();
        Put("{A}", "-1", "0", "Ahmad");
    }
};

TEST_F(DetailsEditsTest, TypedDetailsRoundTripExactly) {
    TDetailsEdits edits;
    TPerson_Details boxes = StartDetailsEdits(edits, "{A}");
    EXPECT_TRUE(boxes.cell_phone.isEmpty());
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftDetails"), 0);
    EXPECT_EQ(SaveDetailsEdits(edits, boxes), TSaveResult::Nothing);

    boxes.cell_phone = QStringLiteral(u"٠٥٠ ١٢٣ ٤٥٦٧");
    boxes.email = "o'brien@example.com";
    boxes.Address.street_1 = QStringLiteral(u"شارع الملك فهد، حي 'النخيل'");
    boxes.Address.city = QStringLiteral(u"الرياض");
    boxes.WorkAddress.name = "Ministry of \"Works\"";
    boxes.WorkAddress.location = "24.7136, 46.6753";
    boxes.NetAccounts = {{"Facebook", "https://www.facebook.com/o'brien"}, {QStringLiteral(u"مدونة"), "a=b"}};
    edits.MarkChanged();
    EXPECT_EQ(SaveDetailsEdits(edits, boxes), TSaveResult::Written);
    EXPECT_FALSE(edits.Changed());

    TDetailsEdits again;
    const TPerson_Details read = StartDetailsEdits(again, "{A}");
    EXPECT_EQ(read.cell_phone, boxes.cell_phone);
    EXPECT_EQ(read.email, boxes.email);
    EXPECT_EQ(read.Address, boxes.Address);
    EXPECT_EQ(read.WorkAddress, boxes.WorkAddress);
    ASSERT_EQ(read.NetAccounts.size(), 2);
    EXPECT_EQ(read.NetAccounts[0].Value, "https://www.facebook.com/o'brien");
    EXPECT_EQ(read.NetAccounts[1], (TItem_Value{QStringLiteral(u"مدونة"), "a=b"}));
}

TEST_F(DetailsEditsTest, ALineBreakInABoxDoesNotSpillIntoTheNextField) {
    TDetailsEdits edits;
    TPerson_Details boxes = StartDetailsEdits(edits, "{A}");
    boxes.Address.street_1 = "first line\ncity=Forged";
    edits.MarkChanged();
    ASSERT_EQ(SaveDetailsEdits(edits, boxes), TSaveResult::Written);
    const TPerson_Details read = StartDetailsEdits(edits, "{A}");
    EXPECT_TRUE(read.Address.city.isEmpty());
    EXPECT_TRUE(read.Address.street_1.startsWith("first line"));
}

TEST_F(DetailsEditsTest, ASaveKeepsWhatTheTreeGotMeanwhileForBoxesLeftAlone) {
    TDetailsEdits edits;
    TPerson_Details boxes = StartDetailsEdits(edits, "{A}");
    // Another window writes the home phone while the sheet holds the person.
    TPerson_Details other;
    other.person_Id = "{A}";
    other.home_phone = "011 222";
    ASSERT_TRUE(WritePersonDetails("{A}", other));
    boxes.cell_phone = "050";
    edits.MarkChanged();
    ASSERT_EQ(SaveDetailsEdits(edits, boxes), TSaveResult::Written);
    TPerson_Details read;
    ReadPersonDetails("{A}", read);
    EXPECT_EQ(read.cell_phone, "050");
    EXPECT_EQ(read.home_phone, "011 222");

    // Edits of a person who was deleted meanwhile are dropped.
    boxes = StartDetailsEdits(edits, "{A}");
    boxes.identity_no = "1";
    edits.MarkChanged();
    ASSERT_EQ(Dm().Execute("DELETE FROM ftPerson WHERE Person_Id = '{A}'"), 1);
    EXPECT_EQ(SaveDetailsEdits(edits, boxes), TSaveResult::Gone);
}

} // namespace
} // namespace verdan::test
