#include "storage/person_option_store.h"
#include "tree_fixture.h"

namespace verdan {
namespace {

using DisplayOptions = test::TreeTest;

const QString kPerson = QStringLiteral("{11111111-2222-3333-4444-555555555555}");

int OptionRows() {
    return int(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftPersonOption")));
}

bool Same(const TPersonOption& a, const TPersonOption& b) {
    return a.person_id == b.person_id && a.hide_picture == b.hide_picture && a.hide_name == b.hide_name &&
           a.deny_publish == b.deny_publish && a.icon_id == b.icon_id && a.title == b.title &&
           a.color == b.color;
}

TEST_F(DisplayOptions, RowExistsOnlyWhileSomethingIsSet) {
    TPersonOption option;
    option.title = QStringLiteral("stale");
    EXPECT_FALSE(ReadPersonOption(kPerson, option));
    EXPECT_EQ(option.person_id, kPerson);
    EXPECT_TRUE(option.IsEmpty());

    option.title = QStringLiteral("Dr. O'Neil");
    option.color = 0x0000FF;
    option.deny_publish = true;
    const TPersonOption written = option;
    ASSERT_TRUE(WritePersonOption(option));
    EXPECT_TRUE(Same(option, written));
    EXPECT_EQ(OptionRows(), 1);
    TPersonOption read;
    ASSERT_TRUE(ReadPersonOption(kPerson, read));
    EXPECT_TRUE(Same(read, written));

    option.title.clear();
    option.icon_id = 12;
    option.hide_picture = true;
    option.hide_name = true;
    ASSERT_TRUE(WritePersonOption(option));
    EXPECT_EQ(OptionRows(), 1);
    ASSERT_TRUE(ReadPersonOption(kPerson, read));
    EXPECT_TRUE(Same(read, option));

    // Clearing every option removes the row; a title of blanks counts as none.
    option = TPersonOption();
    option.person_id = kPerson;
    option.title = QStringLiteral("  ");
    EXPECT_TRUE(WritePersonOption(option));
    EXPECT_EQ(OptionRows(), 0);
    EXPECT_FALSE(WritePersonOption(option));
    EXPECT_FALSE(ReadPersonOption(kPerson, read));

    option.person_id = QStringLiteral(" ");
    option.color = 1;
    EXPECT_FALSE(WritePersonOption(option));
    EXPECT_EQ(OptionRows(), 0);
}

TEST_F(DisplayOptions, TitlesInUse) {
    QStringList titles = {QStringLiteral("left over")};
    ListOptionTitles(titles);
    EXPECT_EQ(titles, QStringList{QString()});

    const QStringList given = {QStringLiteral("Sheikh"), QStringLiteral("Dr."), QStringLiteral("Sheikh"),
                               QStringLiteral("  "), QStringLiteral("x'); DELETE FROM ftPersonOption;--")};
    for (int i = 0; i < given.size(); ++i) {
        TPersonOption option;
        option.person_id = QStringLiteral("person %1").arg(i);
        option.title = given[i];
        option.icon_id = 11;
        ASSERT_TRUE(WritePersonOption(option));
    }
    EXPECT_EQ(OptionRows(), 5);
    ListOptionTitles(titles);
    EXPECT_EQ(titles, (QStringList{QString(), QStringLiteral("Dr."), QStringLiteral("Sheikh"),
                                   QStringLiteral("x'); DELETE FROM ftPersonOption;--")}));
}

} // namespace
} // namespace verdan
