#include "calendar/date_value_gedcom7.h"
#include "common/testing.h"
#include "gedcom/gedcom7_validator.h"
#include "gedcom/gedcom_import.h"
#include "gedcom/gedcom_reader.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace verdan {
namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList PublicFiles() {
    const QDir dir(test::TestData(QStringLiteral("gedcom7")));
    QStringList files;
    for (const QString& name : dir.entryList({QStringLiteral("*.ged")}, QDir::Files))
        files << dir.filePath(name);
    return files;
}

// The validator is the judge of every file the export writes, so it is checked first: it takes the
// standard's own test files and finds each kind of fault planted in a small valid document.
TEST(Gedcom7Validator, PassesTheStandardsFilesAndFindsPlantedFaults) {
    const QStringList files = PublicFiles();
    ASSERT_GE(files.size(), 14);
    for (const QString& file : files) {
        const QStringList faults = test::ValidateGedcom7(Read(file));
        EXPECT_TRUE(faults.isEmpty()) << file.toStdString() << "\n"
                                      << faults.mid(0, 8).join(u'\n').toStdString();
    }
    const QByteArray valid = "0 HEAD\n1 GEDC\n2 VERS 7.0\n1 SCHMA\n2 TAG _X https://example.com/x\n"
                             "0 @I1@ INDI\n1 SEX F\n1 BIRT\n2 DATE ABT 3 MAR 1900\n1 FAMS @F1@\n1 _X Y\n"
                             "0 @F1@ FAM\n1 WIFE @I1@\n0 TRLR\n";
    ASSERT_TRUE(test::ValidateGedcom7(valid, true).isEmpty())
        << test::ValidateGedcom7(valid, true).join(u'\n').toStdString();
    const std::pair<const char*, const char*> planted[] = {
        {"2 DATE ABT 3 MAR 1900", "2 DATE ABT 3 MARCH 1900"}, // a month no calendar has
        {"2 DATE ABT 3 MAR 1900", "2 DATE INT 1900 (words)"}, // the older phrase form
        {"1 SEX F", "1 SEX F\n1 SEX M"},                      // a second where one is allowed
        {"1 SEX F", "1 SEX W"},                               // no value of the enumeration
        {"1 WIFE @I1@", "1 WIFE @F1@"},                       // a pointer to the wrong record
        {"1 WIFE @I1@", "1 WIFE @I9@"},                       // a pointer to no record
        {"2 VERS 7.0\n", "2 VERS 7.0\n2 CONC x\n"},           // CONC is gone
        {"1 GEDC\n2 VERS 7.0\n", ""},                         // the version is required
        {"1 BIRT\n", "1 BIRT\n2 AGNC\n"},                     // neither payload nor substructures
        {"1 BIRT\n", "1 BIRT N\n"},                           // only Y or nothing
        {"2 TAG _X https://example.com/x\n", ""},             // an undeclared extension
        {"1 SEX F", "1 SEX F\n2 CONT more"},                  // a line break where none may be
        {"1 SEX F", "1  SEX F"},                              // two delimiters
        {"0 TRLR\n", ""},                                     // no trailer
        {"1 SEX F", "1 NOTE @me"},                            // a single leading @
        {"1 SEX F", "1 BIRT\n2 AGE about 3"},                 // an age in words
    };
    for (const auto& [from, to] : planted) {
        QByteArray broken = valid;
        broken.replace(from, to);
        EXPECT_FALSE(test::ValidateGedcom7(broken, true).isEmpty()) << to;
    }
}

// Each of the standard's files imports through the one import, with the individuals and families it holds.
TEST(Gedcom7Import, EveryPublicFileImportsWithItsIndividualsAndFamilies) {
    for (const QString& file : PublicFiles()) {
        const QByteArray text = Read(file);
        static const QRegularExpression indi(QStringLiteral("^0 (@[^@]+@ )?INDI\\r?$"),
                                             QRegularExpression::MultilineOption);
        static const QRegularExpression fam(QStringLiteral("^0 (@[^@]+@ )?FAM\\r?$"),
                                            QRegularExpression::MultilineOption);
        const QString s = QString::fromUtf8(text);
        int individuals = 0, families = 0;
        for (auto it = indi.globalMatch(s); it.hasNext(); it.next())
            ++individuals;
        for (auto it = fam.globalMatch(s); it.hasNext(); it.next())
            ++families;
        TGedcomImportOptions options;
        options.BaseFolder = test::NewTempDir();
        TGedcomImportResult result;
        ASSERT_TRUE(ImportGedcomFile(file, options, result))
            << file.toStdString() << result.ErrorMessage.toStdString();
        EXPECT_EQ(result.Summary.Individuals, individuals) << file.toStdString();
        EXPECT_GE(result.Summary.Families, families) << file.toStdString();
    }
}

// What the current form's reader gets out of the standard's files: escapes, shared notes, phrases,
// calendars, dual years, roles and ages.
TEST(Gedcom7Import, ReadsEscapesNotesDatesAndRoles) {
    TGedcomData data;
    ASSERT_TRUE(ReadGedcomFile(test::TestData(QStringLiteral("gedcom7/escapes.ged")), data));
    ASSERT_EQ(data.Persons.size(), 1u);
    EXPECT_EQ(
        data.Persons[0].Data.Note,
        QStringLiteral("me@example.com is an example email address.\r\n@me and @I are example social media "
                       "handles.\r\n@@@@ has four @ characters where only the first is escaped."));

    const QByteArray doc =
        "0 HEAD\n1 GEDC\n2 VERS 7.0\n0 @N1@ SNOTE A shared\n1 CONT note\n"
        "0 @I1@ INDI\n1 NAME Ali /Hasan/\n1 SNOTE @N1@\n1 BIRT\n2 DATE 30 JAN 1649\n"
        "3 PHRASE 30 JAN 1648/49\n1 DEAT\n2 DATE 1700\n3 PHRASE in the old town's records\n"
        "1 BURI\n2 DATE\n3 PHRASE Spring, year unknown\n1 CHR\n2 DATE JULIAN 1 MAR 1500\n"
        "2 AGE\n3 PHRASE Infant\n1 EVEN\n2 TYPE Hajj\n2 DATE BET _HIJRI _RAMAD 1380 AND _HIJRI 1381\n"
        "1 ASSO @I2@\n2 ROLE OTHER\n3 PHRASE Breastfeeding mother\n1 UID "
        "2c8e0a6e-1b55-4f0c-9a9e-3a2b9e1d7f00\n"
        "0 @I2@ INDI\n1 SEX F\n0 TRLR\n";
    const QString path = test::NewTempDir() + QStringLiteral("/doc.ged");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(doc);
    }
    ASSERT_TRUE(test::ValidateGedcom7(doc).isEmpty()) << test::ValidateGedcom7(doc).join(u'\n').toStdString();
    TGedcomData read;
    ASSERT_TRUE(ReadGedcomFile(path, read));
    ASSERT_EQ(read.Persons.size(), 2u);
    const TPerson_Data& p = read.Persons[0].Data;
    EXPECT_EQ(p.Note, QStringLiteral("A shared\r\nnote"));
    EXPECT_EQ(p.PersonId, QStringLiteral("{2C8E0A6E-1B55-4F0C-9A9E-3A2B9E1D7F00}"));
    ASSERT_EQ(p.Events.size(), 5);
    EXPECT_EQ(p.Events[0].Date.DualYear, 1648); // the year written twice comes back from the phrase
    EXPECT_EQ(p.Events[0].Date.Gregorian, 16490130);
    EXPECT_EQ(p.Events[1].Date.Qualifier, TDateQualifier::Interpreted);
    EXPECT_EQ(p.Events[1].Date.Phrase, QStringLiteral("in the old town's records"));
    EXPECT_EQ(p.Events[2].Date.Qualifier, TDateQualifier::Phrase);
    EXPECT_EQ(p.Events[3].Age, QStringLiteral("Infant"));
    EXPECT_EQ(p.Events[3].Date.Gregorian, 15000301); // Julian before the reform, as the tree keeps it
    EXPECT_EQ(p.Events[4].Date.Qualifier, TDateQualifier::Between);
    EXPECT_EQ(p.Events[4].Date.Hijri, 13800900);
    EXPECT_EQ(p.Events[4].Date.Hijri2, 13810000);
    EXPECT_NE(p.Events[4].Date.Gregorian, 0);
    ASSERT_EQ(read.Associations.size(), 1u);
    EXPECT_EQ(read.Associations[0].Relation, QStringLiteral("Breastfeeding mother"));

    // An identifier two individuals carry is neither's: each gets a new one.
    QByteArray twice = doc;
    twice.replace("0 @I2@ INDI\n", "0 @I2@ INDI\n1 UID 2c8e0a6e-1b55-4f0c-9a9e-3a2b9e1d7f00\n");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(twice);
    }
    TGedcomData shared;
    ASSERT_TRUE(ReadGedcomFile(path, shared));
    ASSERT_EQ(shared.Persons.size(), 2u);
    EXPECT_NE(shared.Persons[0].Data.PersonId, QStringLiteral("{2C8E0A6E-1B55-4F0C-9A9E-3A2B9E1D7F00}"));
    EXPECT_NE(shared.Persons[1].Data.PersonId, QStringLiteral("{2C8E0A6E-1B55-4F0C-9A9E-3A2B9E1D7F00}"));
    EXPECT_NE(shared.Persons[0].Data.PersonId, shared.Persons[1].Data.PersonId);
}

// Dates our export writes are dates of the standard's grammar, and words that are none become phrases.
TEST(Gedcom7Dates, EveryFormIsWrittenInTheGrammar) {
    TDateValue v;
    v.Qualifier = TDateQualifier::Between;
    v.Hijri = 13800900;
    v.Hijri2 = -120000;
    EXPECT_EQ(Gedcom7DateOf(v, true).Payload, QStringLiteral("BET _HIJRI _RAMAD 1380 AND _HIJRI 12 _BH"));
    v = TDateValue();
    v.Gregorian = 16490130;
    v.DualYear = 1648;
    const TGedcom7Date dual = Gedcom7DateOf(v);
    EXPECT_EQ(dual.Payload, QStringLiteral("30 JAN 1649"));
    EXPECT_EQ(dual.Phrase, QStringLiteral("30 JAN 1648/49"));
    v = TDateValue();
    v.Qualifier = TDateQualifier::Text;
    v.Phrase = QStringLiteral("@#DHEBREW@ 1 TSH 5700");
    EXPECT_EQ(Gedcom7DateOf(v).Payload, QStringLiteral("HEBREW 1 TSH 5700"));
    v.Phrase = QStringLiteral("1850?");
    EXPECT_EQ(Gedcom7DateOf(v).Payload, QString());
    EXPECT_EQ(Gedcom7DateOf(v).Phrase, QStringLiteral("1850?"));
    for (const char* bad : {"INT 1900", "ABT  1900", "BET 1900", "3 MAR", "FROM 1900 AND 1901", "1900 BC"})
        EXPECT_FALSE(IsGedcom7DateValue(QString::fromLatin1(bad))) << bad;
}

} // namespace
} // namespace verdan
