#include "storage/person_details_store.h"
#include "text/localisation.h"
#include "tree_fixture.h"

namespace verdan {
namespace {

const QString kPerson = QStringLiteral("{11111111-2222-3333-4444-555555555555}");

TMail_Address FullAddress() {
    TMail_Address a;
    a.name = QStringLiteral("Dar Al-Salam");
    a.street_1 = QStringLiteral("12 King's Road");
    a.street_2 = QStringLiteral("شارع الملك = 3");
    a.neighborhood = QStringLiteral("Al\u00A0Nakheel");
    a.city = QStringLiteral("الرياض");
    a.state = QStringLiteral("x'); DELETE FROM ftDetails;--");
    a.country = QStringLiteral("KSA");
    a.postal_code = QStringLiteral("12345");
    a.location = QStringLiteral("24.7136,46.6753");
    return a;
}

TEST(MailAddress, StoredFormRoundTrips) {
    EXPECT_EQ(
        FormatMailAddress(TMail_Address()),
        QStringLiteral("name=\nstreet_1=\nstreet_2=\nneighborhood=\ncity=\nstate=\ncountry=\npostal_code=\n"
                       "location="));
    const TMail_Address full = FullAddress();
    TMail_Address read;
    ParseMailAddress(FormatMailAddress(full), read);
    EXPECT_EQ(read, full);

    // A line break typed into a part would end its line: it is kept as a blank.
    TMail_Address broken;
    broken.street_1 = QStringLiteral("first\r\nsecond\nthird");
    broken.city = QStringLiteral("city");
    ParseMailAddress(FormatMailAddress(broken), read);
    EXPECT_EQ(read.street_1, QStringLiteral("first second third"));
    EXPECT_EQ(read.city, QStringLiteral("city"));
}

TEST(MailAddress, ParsingReadsKnownKeysOnly) {
    TMail_Address read = FullAddress();
    ParseMailAddress(QStringLiteral("junk line\r\n city =Jeddah\rcolour=red\nName=upper case key\n"
                                    "postal_code=1=2\ncity=Makkah\n=\n"),
                     read);
    TMail_Address expected;
    expected.city = QStringLiteral("Makkah"); // the later line wins
    expected.postal_code = QStringLiteral("1=2");
    EXPECT_EQ(read, expected);
    ParseMailAddress(QString(), read);
    EXPECT_EQ(read, TMail_Address());
}

TEST(MailAddress, DisplayText) {
    TMail_Address a;
    a.name = QStringLiteral("Home");
    a.city = QStringLiteral("Riyadh");
    EXPECT_EQ(MailAddressText(a), QStringLiteral("Home\n\n\n\nRiyadh"));
    a.postal_code = QStringLiteral("11564");
    EXPECT_EQ(MailAddressText(a), QStringLiteral("Home\n\n\n\nRiyadh\n\n\n") +
                                      Translate(QStringLiteral("Postal Code")) + QStringLiteral(":11564"));
    EXPECT_EQ(MailAddressText(TMail_Address()), QString());
}

TEST(ItemValues, StoredFormRoundTrips) {
    const TItem_Value_List items = {
        {QStringLiteral("Web"), QStringLiteral("https://example.org/p?id=5&x=y")},
        {QStringLiteral("تويتر"), QStringLiteral("@o'brien")},
        {QString(), QString()},
        {QStringLiteral("Skype"), QStringLiteral("user.name")},
    };
    EXPECT_EQ(FormatItemValues(items.mid(0, 1)), QStringLiteral("Web=https://example.org/p?id=5&x=y\n"));
    TItem_Value_List read;
    ParseItemValues(FormatItemValues(items), read);
    EXPECT_EQ(read, items);

    ParseItemValues(QStringLiteral("  Mail = a@b.c  \r\n\r\nname only\r=\n"), read);
    const TItem_Value_List expected = {
        {QStringLiteral("Mail"), QStringLiteral("a@b.c")},
        {QStringLiteral("name only"), QString()},
        {QString(), QString()},
    };
    EXPECT_EQ(read, expected);
    ParseItemValues(QString(), read);
    EXPECT_TRUE(read.isEmpty());

    EXPECT_EQ(ItemValuesText(items), QStringLiteral("Web: https://example.org/p?id=5&x=y\nتويتر: @o'brien\n"
                                                    "Skype: user.name"));
    EXPECT_EQ(ItemValuesText({{QStringLiteral(" "), QStringLiteral("v")}}), QString());
}

using Details = test::TreeTest;

int DetailRows() {
    return int(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftDetails")));
}

TEST_F(Details, WriteAddsThenUpdatesTheRow) {
    TPerson_Details details;
    details.email = QStringLiteral("stale");
    EXPECT_FALSE(ReadPersonDetails(kPerson, details));
    EXPECT_EQ(details.person_Id, kPerson);
    EXPECT_TRUE(details.email.isEmpty());

    details.identity_no = QStringLiteral("0012");
    details.cell_phone = QStringLiteral("+966 5' 00");
    details.home_phone = QStringLiteral("x'); DELETE FROM ftPerson;--");
    details.email = QStringLiteral("a@b.org");
    details.Address = FullAddress();
    details.WorkAddress.name = QStringLiteral("Office");
    details.NetAccounts = {{QStringLiteral("Web"), QStringLiteral("https://x.org/?a=1")}};
    const TPerson_Details written = details;
    ASSERT_TRUE(WritePersonDetails(kPerson, details));
    EXPECT_EQ(details, written); // the caller's record keeps what it wrote
    EXPECT_EQ(DetailRows(), 1);
    EXPECT_EQ(CountPersons(), 3);

    TPerson_Details read;
    ASSERT_TRUE(ReadPersonDetails(kPerson, read));
    EXPECT_EQ(read, written);

    details.email = QStringLiteral("new@b.org");
    details.NetAccounts.clear();
    ASSERT_TRUE(WritePersonDetails(kPerson, details));
    EXPECT_EQ(details.email, QStringLiteral("new@b.org"));
    EXPECT_EQ(DetailRows(), 1);
    ASSERT_TRUE(ReadPersonDetails(kPerson, read));
    EXPECT_EQ(read, details);

    EXPECT_FALSE(WritePersonDetails(QStringLiteral(" "), details));
    EXPECT_EQ(DetailRows(), 1);
}

} // namespace
} // namespace verdan
