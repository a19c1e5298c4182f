#include "datasheet/sheet_edits.h"
#include "storage/person_fixture.h"
#include "text/localisation.h"
#include "text/program_folder.h"

#include <QDir>
#include <QFile>

namespace verdan::test {
namespace {

class SheetEditsTest : public PersonStoreTest {
protected:
    void SetUp() override {
        PersonStoreTest::SetUp();
        Put("{A}", "-1", "0", "Ahmad");
    }
};

TEST_F(SheetEditsTest, NamesRoundTripKeepsOrdersAndWritesOnlyWhatChanged) {
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Order_By_Father = 3 WHERE Person_Id = '{A}'"), 1);
    TNamesEdits edits;
    TNamesBoxes boxes = StartNamesEdits(edits, "{A}");
    EXPECT_EQ(boxes.Person_Name, "Ahmad");
    EXPECT_EQ(boxes.Order_By_Father, "3");
    EXPECT_EQ(boxes.Order_By_Mother, ""); // never set
    const QString stamp = Column("{A}", "Date_Modified");
    const QVariant unsetOrder = Value("{A}", "Order_By_Mother");

    // Marked but unchanged: nothing written, the unset order stays unset.
    edits.MarkChanged();
    EXPECT_EQ(SaveNamesEdits(edits, boxes), TSaveResult::Nothing);
    EXPECT_FALSE(edits.Changed());
    EXPECT_EQ(Column("{A}", "Date_Modified"), stamp);
    EXPECT_EQ(Value("{A}", "Order_By_Mother"), unsetOrder);

    boxes.Cognomen = "Abu Ali";
    boxes.Order_By_Mother = "x2";
    boxes.Is_Section = false;
    boxes.Section_Type = "Clan";
    edits.MarkChanged();
    EXPECT_EQ(SaveNamesEdits(edits, boxes), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Cognomen"), "Abu Ali");
    EXPECT_EQ(Column("{A}", "Order_By_Father"), "3");
    EXPECT_EQ(Column("{A}", "Order_By_Mother"), "99");
    EXPECT_EQ(Column("{A}", "Section_Type"), "");

    // A blank given name is stored as "<>".
    boxes = StartNamesEdits(edits, "{A}");
    EXPECT_EQ(boxes.Order_By_Mother, "");
    boxes.Person_Name = "  ";
    boxes.Order_By_Father = "7";
    edits.MarkChanged();
    EXPECT_EQ(SaveNamesEdits(edits, boxes), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Person_Name"), "<>");
    EXPECT_EQ(Column("{A}", "Order_By_Father"), "7");
}

TEST_F(SheetEditsTest, EditsMergeWithChangesMadeMeanwhile) {
    TNamesEdits names;
    TNamesBoxes boxes = StartNamesEdits(names, "{A}");
    boxes.Nickname = "Hamad";
    names.MarkChanged();
    // A command renames the person and makes him a group while the sheet still holds its edit.
    ASSERT_TRUE(SetGroupFlag("{A}", true));
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Person_Name = 'Ahmed', Section_Type = 'Tribe' "
                           "WHERE Person_Id = '{A}'"),
              1);
    EXPECT_EQ(SaveNamesEdits(names, boxes), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Person_Name"), "Ahmed");
    EXPECT_EQ(Column("{A}", "Nickname"), "Hamad");
    EXPECT_EQ(Column("{A}", "Is_Section"), "1");
    EXPECT_EQ(Column("{A}", "Section_Type"), "Tribe");

    TTextEdits text;
    TTextBoxes shown = StartTextEdits(text, "{A}");
    shown.Notes = "  a note \n";
    text.MarkChanged();
    ASSERT_TRUE(SetPersonNotes("{A}", "old"));
    ASSERT_EQ(Dm().Execute("UPDATE ftPerson SET Briefing = 'set elsewhere' WHERE Person_Id = '{A}'"), 1);
    EXPECT_EQ(SaveTextEdits(text, shown), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Notes"), "a note");
    EXPECT_EQ(Column("{A}", "Briefing"), "set elsewhere");
}

TEST_F(SheetEditsTest, EditsOfNobodyOrOfARemovedPersonAreNeverWritten) {
    TNamesEdits names;
    TNamesBoxes boxes = StartNamesEdits(names, QString());
    boxes.Person_Name = "Stray";
    names.MarkChanged();
    EXPECT_FALSE(names.Changed());
    EXPECT_EQ(SaveNamesEdits(names, boxes), TSaveResult::Nothing);

    boxes = StartNamesEdits(names, "{A}");
    boxes.Person_Name = "Renamed";
    names.MarkChanged();
    TTextEdits text;
    TTextBoxes shown = StartTextEdits(text, "{A}");
    shown.Notes = "note";
    text.MarkChanged();
    TPerson person;
    ASSERT_TRUE(ReadPerson("{A}", person));
    TDatesEdits dates;
    TDateBoxes dateBoxes = StartDatesEdits(dates, person);
    dateBoxes.BirthH.Text = "1-1-1400";
    dates.MarkChanged();

    ASSERT_TRUE(DeletePerson("{A}"));
    const int rows = Dm().ScalarInt("SELECT count(*) FROM ftPerson");
    EXPECT_EQ(SaveNamesEdits(names, boxes), TSaveResult::Gone);
    EXPECT_EQ(SaveTextEdits(text, shown), TSaveResult::Gone);
    EXPECT_EQ(SaveDatesEdits(dates, dateBoxes), TSaveResult::Gone);
    EXPECT_FALSE(names.Changed());
    EXPECT_TRUE(names.PersonId().isEmpty());
    EXPECT_EQ(Dm().ScalarInt("SELECT count(*) FROM ftPerson"), rows);
}

TEST_F(SheetEditsTest, DatesAreWrittenSignedAndAConflictKeepsThemOut) {
    TPerson person;
    ASSERT_TRUE(ReadPerson("{A}", person));
    TDatesEdits edits;
    TDateBoxes boxes = StartDatesEdits(edits, person);
    boxes.BirthG = {"01-01-500", true};
    boxes.BirthH = {"12-9-1445", false};
    boxes.Place_of_Birth = "Yathrib";
    edits.MarkChanged();
    EXPECT_EQ(SaveDatesEdits(edits, boxes), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "-5000101");
    EXPECT_EQ(Column("{A}", "Date_of_Birth_H"), "14450912");
    EXPECT_EQ(Column("{A}", "Place_of_Birth"), "Yathrib");

    ASSERT_TRUE(ReadPerson("{A}", person));
    boxes = StartDatesEdits(edits, person);
    boxes.BirthG = {"15-03-1990", false};
    boxes.DeathG = {"10-01-1980", false};
    boxes.Place_of_Death = "Cairo";
    boxes.Is_Dead = true;
    edits.MarkChanged();
    EXPECT_EQ(SaveDatesEdits(edits, boxes), TSaveResult::Conflict);
    EXPECT_TRUE(edits.Changed());
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "-5000101");
    EXPECT_EQ(Column("{A}", "Date_of_Death_G"), "0");
    EXPECT_EQ(Column("{A}", "Place_of_Death"), "Cairo");
    EXPECT_EQ(Column("{A}", "Is_Dead"), "1");

    // Death before the era after a birth further before it is no conflict.
    boxes.DeathG = {"01-01-450", true};
    boxes.BirthG = {"01-01-500", true};
    EXPECT_EQ(SaveDatesEdits(edits, boxes), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Date_of_Death_G"), "-4500101");
}

TEST_F(SheetEditsTest, TypedDigitsOfAnyKeyboardAreStoredAndADateThatIsNoneIsRefused) {
    TPerson person;
    ASSERT_TRUE(ReadPerson("{A}", person));
    TDatesEdits edits;
    TDateBoxes boxes = StartDatesEdits(edits, person);
    boxes.BirthH = {u"١٥-٠٦-١١٥٤"_qs, false};
    edits.MarkChanged();
    EXPECT_EQ(SaveDatesEdits(edits, boxes), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Date_of_Birth_H"), "11540615");

    // Nothing of the dates is stored for a box that holds no date, not even the good ones beside it.
    ASSERT_TRUE(ReadPerson("{A}", person));
    boxes = StartDatesEdits(edits, person);
    boxes.BirthG = {"45-13-1741", false};
    boxes.DeathH = {"01-01-1200", false};
    boxes.Place_of_Birth = "Taif";
    edits.MarkChanged();
    EXPECT_EQ(SaveDatesEdits(edits, boxes), TSaveResult::Invalid);
    EXPECT_TRUE(edits.Changed()) << "the edits stay pending";
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "0");
    EXPECT_EQ(Column("{A}", "Date_of_Death_H"), "0");
    EXPECT_EQ(Column("{A}", "Place_of_Birth"), "Taif");
    boxes.BirthG = {"05-03-1741", false};
    EXPECT_EQ(SaveDatesEdits(edits, boxes), TSaveResult::Written);
    EXPECT_EQ(Column("{A}", "Date_of_Birth_G"), "17410305");
    EXPECT_EQ(Column("{A}", "Date_of_Death_H"), "12000101");

    // Order numbers too.
    EXPECT_EQ(OrderOfBox(u"٣"_qs), 3);
    EXPECT_EQ(OrderOfBox(u" ۱۲ "_qs), 12);
    EXPECT_EQ(OrderOfBox("x2"), 99);
}

TEST(SectionTypes, LanguageGroupsComeFirstThenTheUsersOwn) {
    InstallLanguageFiles();
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("english.local")));
    QDir().mkpath(ProgramFolder() + "user");
    QFile file(ProgramFolder() + "user/sectiontype.dat");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Clan\n\nHouse\n");
    file.close();
    EXPECT_EQ(SectionTypeChoices(), QStringList({"Family", "Tribe", "Clan", "House"}));
    file.remove();
}

} // namespace
} // namespace verdan::test
