#include "common/testing.h"
#include "gedcom/gedcom_reader.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace verdan {
namespace {

TGedcomData Read(const QString& fixture, const TGedcomReadOptions& options = {}) {
    TGedcomData data;
    EXPECT_TRUE(ReadGedcomFile(test::TestData(QStringLiteral("gedcom/") + fixture), data, options))
        << data.ErrorMessage.toStdString();
    return data;
}

const TPerson_Data& Person(const TGedcomData& data, const char* xref) {
    const TGedPerson* person = data.FindPerson(QString::fromLatin1(xref));
    EXPECT_NE(person, nullptr) << xref;
    static const TPerson_Data none;
    return person ? person->Data : none;
}

bool IsGuidText(const QString& id) {
    static const QRegularExpression form(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    return form.match(id).hasMatch();
}

TEST(GedcomReader, ReadsIndividualsFamiliesAndParents) {
    const TGedcomData data = Read(QStringLiteral("basic.ged"));
    ASSERT_EQ(data.Persons.size(), 4u);
    ASSERT_EQ(data.Families.size(), 2u);
    EXPECT_EQ(data.Encoding, QStringLiteral("UTF-8"));

    const TPerson_Data& robert = Person(data, "I1");
    EXPECT_EQ(robert.FullName, QStringLiteral("Robert Eugene /Williams/"));
    EXPECT_EQ(robert.Sex, QStringLiteral("m"));
    EXPECT_EQ(robert.GedcomXref, QStringLiteral("I1"));
    EXPECT_TRUE(IsGuidText(robert.PersonId)) << robert.PersonId.toStdString();
    ASSERT_EQ(robert.Events.size(), 2) << "a lower-case event tag is still an event";
    EXPECT_EQ(robert.Events[0].Tag, QStringLiteral("BIRT"));
    EXPECT_EQ(robert.Events[0].Date.Gregorian, 19010203);
    EXPECT_EQ(robert.Events[0].Place, QStringLiteral("Weston, Madison"));
    EXPECT_EQ(robert.Events[1].Date.Gregorian, 19020000);
    EXPECT_EQ(robert.FatherId, QStringLiteral("-1"));
    EXPECT_EQ(robert.MotherId, QStringLiteral("0"));

    // A family without a husband gives "-1", without a wife "0".
    const TPerson_Data& joe = Person(data, "I3");
    EXPECT_EQ(joe.FatherId, QStringLiteral("-1"));
    EXPECT_EQ(joe.MotherId, Person(data, "I2").PersonId);
    EXPECT_TRUE(joe.PersonTitle.isEmpty()) << "a TITL below level 1 is not the person's title";
    const TPerson_Data& ann = Person(data, "I4");
    EXPECT_EQ(ann.FatherId, robert.PersonId);
    EXPECT_EQ(ann.MotherId, QStringLiteral("0"));

    const TGedFamily* family = data.FindFamily(QStringLiteral("F1"));
    ASSERT_NE(family, nullptr);
    EXPECT_TRUE(family->HusbandId.isEmpty());
    EXPECT_EQ(family->WifeId, Person(data, "I2").PersonId);
    EXPECT_EQ(family->ChildXrefs, QStringList{QStringLiteral("I3")});
    EXPECT_EQ(data.FindPerson(QStringLiteral("I2"))->SpouseFamilyXref(), QStringLiteral("F1"));
    EXPECT_NE(robert.PersonId, ann.PersonId);
}

TEST(GedcomReader, RecognisesRecordsByTheirExactTag) {
    const TGedcomData data = Read(QStringLiteral("record_tags.ged"));
    EXPECT_EQ(data.Persons.size(), 1u);
    EXPECT_TRUE(data.Families.empty()) << "a note starting with FAMILY or a tag FAMF is no family";
    EXPECT_EQ(Person(data, "I1").Note, QStringLiteral("FAMILY BIBLE\r\nkept by the eldest son"));
}

TEST(GedcomReader, JoinsOnlyContinuationLinesOneLevelDeeper) {
    const TGedcomData data = Read(QStringLiteral("continuation.ged"));
    EXPECT_EQ(Person(data, "I1").Note,
              QStringLiteral("First line\r\nsecond line split at a space, and more"));
}

TEST(GedcomReader, TakesLevelOneNotesAndResolvesPointersThroughTheNoteRecords) {
    const TGedcomData data = Read(QStringLiteral("notes.ged"));
    const QString expected =
        QStringLiteral("Shared note\r\nsecond line\r\n\r\nOwn words\r\n\r\nText record\r\n\r\n"
                       "Numbered note\r\n\r\n@MISSING@");
    EXPECT_EQ(Person(data, "I1").Note, expected);
}

TEST(GedcomReader, KeepsTheFirstNameAsPreferredAndLaterNamesAside) {
    const TGedcomData data = Read(QStringLiteral("names.ged"));
    const TPerson_Data& p = Person(data, "I1");
    EXPECT_EQ(p.FullName, QStringLiteral("Fatima /Zahra/"));
    EXPECT_EQ(p.GivenName, QStringLiteral("Fatima"));
    EXPECT_EQ(p.Surname, QStringLiteral("Al-Zahra"));
    EXPECT_EQ(p.Nickname, QStringLiteral("Umm Hasan"));
    // What the tree has no column for stays in the file's words.
    EXPECT_EQ(p.Kept, (QStringList{"NPFX Sayyida", "NAME Fatma /Hasan/", "  GIVN Fatma", "  SURN Hasan",
                                   "  NICK other", "NAME فاطمة /الزهراء/"}));
    ASSERT_EQ(p.Events.size(), 2);
    EXPECT_EQ(p.Events[0].Tag, QStringLiteral("OCCU"));
    EXPECT_EQ(p.Events[0].Value, QStringLiteral("teacher"));
    EXPECT_EQ(p.Events[1].Value, QStringLiteral("poet"));
    EXPECT_EQ(p.PersonTitle, QStringLiteral("Lady"));
    EXPECT_EQ(p.Sex, QStringLiteral("f"));
}

// Names, places and notes of any length come back whole from their CONC lines.
TEST(GedcomReader, JoinsLongNamesAndPlaces) {
    const QByteArray text =
        "0 HEAD\n0 @I1@ INDI\n1 NAME Abd al-Rahman bin\n2 CONC  Ali /Quraysh/\n"
        "2 GIVN Abd al-Rahman\n3 CONC  bin Ali\n1 BIRT\n2 PLAC Makkah al-\n3 CONC Mukarramah\n"
        "1 TITL Qadi\n1 TITL Imam\n2 DATE 1850\n0 TRLR\n";
    TGedcomData data;
    ASSERT_TRUE(ParseGedcomRecords(text, data));
    const TPerson_Data& p = data.Persons[0].Data;
    EXPECT_EQ(p.FullName, QStringLiteral("Abd al-Rahman bin Ali /Quraysh/"));
    EXPECT_EQ(p.GivenName, QStringLiteral("Abd al-Rahman bin Ali"));
    ASSERT_EQ(p.Events.size(), 2);
    EXPECT_EQ(p.Events[0].Place, QStringLiteral("Makkah al-Mukarramah"));
    EXPECT_EQ(p.PersonTitle, QStringLiteral("Qadi"));
    EXPECT_EQ(p.Events[1].Tag, QStringLiteral("TITL"));
    EXPECT_EQ(p.Events[1].Value, QStringLiteral("Imam"));
}

// Parents come only from a birth family: a nursing, adopting or fostering family names no parents, even
// when it lists the child or comes last.
TEST(GedcomReader, ParentsComeOnlyFromTheBirthFamily) {
    const QByteArray text =
        "0 HEAD\n"
        "0 @I1@ INDI\n1 NAME Father\n1 SEX M\n0 @I2@ INDI\n1 NAME Mother\n1 SEX F\n"
        "0 @I3@ INDI\n1 NAME Nurse\n1 SEX F\n0 @I4@ INDI\n1 NAME Adopter\n1 SEX M\n"
        "0 @I5@ INDI\n1 NAME Child\n1 FAMC @F1@\n2 PEDI birth\n1 FAMC @F2@\n2 PEDI _RADA\n"
        "1 FAMC @F3@\n2 PEDI adopted\n"
        "0 @I6@ INDI\n1 NAME Foundling\n1 FAMC @F2@\n2 PEDI _RADA\n"
        "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I5@\n"
        "0 @F2@ FAM\n1 WIFE @I3@\n1 CHIL @I5@\n1 CHIL @I6@\n"
        "0 @F3@ FAM\n1 HUSB @I4@\n1 CHIL @I5@\n0 TRLR\n";
    TGedcomData data;
    ASSERT_TRUE(ParseGedcomRecords(text, data));
    const TPerson_Data& child = Person(data, "I5");
    EXPECT_EQ(child.FatherId, Person(data, "I1").PersonId);
    EXPECT_EQ(child.MotherId, Person(data, "I2").PersonId);
    EXPECT_EQ(Person(data, "I6").MotherId, QStringLiteral("0")) << "the nurse is no mother";
    EXPECT_EQ(Person(data, "I6").FatherId, QStringLiteral("-1"));
    EXPECT_EQ(child.Kept, (QStringList{"FAMC Adopter", "  PEDI adopted"}));
    // The nursing families become breastfeeding relations with the nurse.
    int nursed = 0;
    for (const TGedAssociation& association : data.Associations) {
        EXPECT_EQ(association.Xref, QStringLiteral("I3"));
        EXPECT_EQ(association.Relation, QStringLiteral("Breastfeeding mother"));
        ++nursed;
    }
    EXPECT_EQ(nursed, 2);
}

TEST(GedcomReader, TakesAnEventsOwnDateAndPlaceOnly) {
    const TGedcomData data = Read(QStringLiteral("events.ged"));
    const TGEvents& events = Person(data, "I1").Events;
    ASSERT_EQ(events.size(), 5);
    EXPECT_EQ(events[0].Date.Gregorian, 18000312) << "the citation's date is not the birth date";
    EXPECT_EQ(events[0].DateText, QStringLiteral("12 MAR 1800"));
    EXPECT_EQ(events[0].Time, QStringLiteral("10:30"));
    EXPECT_EQ(events[0].Place, QStringLiteral("Makkah"));
    EXPECT_EQ(events[0].Kept, (QStringList{"  MAP", "    LATI N21.4"})) << "the place's map stays in words";
    EXPECT_EQ(data.NotKept.at(QStringLiteral("SOUR")), 1);
    EXPECT_EQ(events[1].Tag, QStringLiteral("DEAT"));
    EXPECT_EQ(events[1].Value, QStringLiteral("Y"));
    EXPECT_FALSE(events[1].HasDate());
    EXPECT_TRUE(events[1].Place.isEmpty());
    EXPECT_EQ(events[2].Place, QStringLiteral("Madinah"));
    EXPECT_EQ(events[3].Type, QStringLiteral("Pilgrimage"));
    EXPECT_EQ(events[3].Date.Gregorian, 18200000);
    EXPECT_EQ(events[4].Date.Qualifier, TDateQualifier::FromTo);
    EXPECT_EQ(events[4].Date.Gregorian2, 18150000);
    EXPECT_EQ(events[4].DateText, QStringLiteral("FROM 1810 TO 1815"));
}

TEST(GedcomReader, FindsParentsOfChildrenListedOnlyUnderTheirFamily) {
    const TGedcomData data = Read(QStringLiteral("child_only.ged"));
    const QString husayn = Person(data, "I1").PersonId;
    const QString ruqayya = Person(data, "I2").PersonId;
    EXPECT_EQ(Person(data, "I3").FatherId, husayn) << "the first family listing the child wins";
    EXPECT_EQ(Person(data, "I3").MotherId, ruqayya);
    EXPECT_EQ(Person(data, "I4").FatherId, husayn) << "a FAMC naming no family counts as none";
    EXPECT_EQ(Person(data, "I4").MotherId, ruqayya);
    EXPECT_EQ(Person(data, "I1").FatherId, QStringLiteral("-1"));
}

TEST(GedcomReader, AcceptsEveryLineEndAndLeadingBlanks) {
    const TGedcomData data = Read(QStringLiteral("line_ends.ged"));
    ASSERT_EQ(data.Persons.size(), 2u);
    const TPerson_Data& first = Person(data, "I1");
    EXPECT_EQ(first.FullName, QStringLiteral("Carriage /Return/"));
    EXPECT_EQ(first.Sex, QStringLiteral("m"));
    ASSERT_EQ(first.Events.size(), 1);
    EXPECT_EQ(first.Events[0].Date.Gregorian, 19500305);
    EXPECT_EQ(Person(data, "I2").FullName, QStringLiteral("Line /Feed/"));
}

TEST(GedcomReader, RefusesWhatIsNoGedcomFile) {
    struct Case {
        const char* fixture;
        TGedcomError error;
    };
    for (const Case& c :
         {Case{"missing.ged", TGedcomError::FileNotFound}, Case{"garbage.ged", TGedcomError::NotGedcom},
          Case{"empty.ged", TGedcomError::NotGedcom}, Case{"no_records.ged", TGedcomError::NotGedcom}}) {
        TGedcomData data;
        EXPECT_FALSE(
            ReadGedcomFile(test::TestData(QStringLiteral("gedcom/") + QLatin1String(c.fixture)), data))
            << c.fixture;
        EXPECT_EQ(data.Error, c.error) << c.fixture;
        EXPECT_FALSE(data.ErrorMessage.isEmpty()) << c.fixture;
        EXPECT_TRUE(data.Persons.empty()) << c.fixture;
    }
    TGedcomData folder;
    EXPECT_FALSE(ReadGedcomFile(test::TestData(QStringLiteral("gedcom")), folder));
    EXPECT_EQ(folder.Error, TGedcomError::FileNotFound);
}

TEST(GedcomReader, StreamsLargeFilesLikeOneBuffer) {
    // Large files are read in pieces: records and CR LF pairs cut at a piece's end must come out whole.
    QByteArray text = "\xEF\xBB\xBF"
                      "0 HEAD\r\n1 CHAR UTF-8\r\n";
    for (int i = 1; i <= 40000; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "0 @I" + n + "@ INDI\r\n1 NAME Name" + n + " /Family/\r\n1 NOTE note " + n + "\r\n2 CONC " +
                QByteArray(i % 37, 'x') + "\r\n";
    }
    text += "0 TRLR\r\n";
    const QString path = test::NewTempDir() + QStringLiteral("/large.ged");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    ASSERT_GT(text.size(), 2 << 20);

    TGedcomData streamed;
    int calls = 0;
    TGedcomReadOptions options;
    options.Progress = [&](const TGedcomProgress& progress) {
        ++calls;
        EXPECT_LE(progress.BytesRead, progress.BytesTotal);
        return true;
    };
    ASSERT_TRUE(ReadGedcomFile(path, streamed, options));
    TGedcomData whole;
    ASSERT_TRUE(ParseGedcomRecords(text.sliced(3), whole));
    ASSERT_EQ(streamed.Persons.size(), 40000u);
    ASSERT_EQ(whole.Persons.size(), 40000u);
    for (size_t i = 0; i < whole.Persons.size(); ++i) {
        ASSERT_EQ(streamed.Persons[i].Data.FullName, whole.Persons[i].Data.FullName) << i;
        ASSERT_EQ(streamed.Persons[i].Data.Note, whole.Persons[i].Data.Note) << i;
    }
    EXPECT_EQ(whole.Persons[39999].Data.Note, QStringLiteral("note 40000") + QString(40000 % 37, u'x'));
    EXPECT_GE(calls, 9);

    TGedcomData cancelled;
    options.Progress = [](const TGedcomProgress&) {
        return false;
    };
    EXPECT_FALSE(ReadGedcomFile(path, cancelled, options));
    EXPECT_EQ(cancelled.Error, TGedcomError::Cancelled);
}

TEST(GedcomReader, SplitsLinesIntoLevelXrefTagAndValue) {
    TGedLine line;
    ASSERT_TRUE(SplitGedcomLine("  0 @I12@ INDI", line));
    EXPECT_EQ(line.Level, 0);
    EXPECT_EQ(line.Xref, "I12");
    EXPECT_EQ(line.Tag, "INDI");
    EXPECT_TRUE(line.Value.empty());
    ASSERT_TRUE(SplitGedcomLine("12 CONC  two spaces kept ", line));
    EXPECT_EQ(line.Level, 12) << "levels above 9 read as numbers";
    EXPECT_EQ(line.Value, " two spaces kept ");
    EXPECT_FALSE(SplitGedcomLine("", line));
    EXPECT_FALSE(SplitGedcomLine("   ", line));
    EXPECT_FALSE(SplitGedcomLine("NAME without level", line));
    EXPECT_FALSE(SplitGedcomLine("1", line));
    EXPECT_FALSE(SplitGedcomLine("0 @broken", line));
    EXPECT_EQ(XrefOf("@F1@"), QStringLiteral("F1"));
    EXPECT_EQ(XrefOf(" @F1"), QStringLiteral("F1"));
    EXPECT_TRUE(XrefOf("F1").isEmpty());
}

} // namespace
} // namespace verdan
