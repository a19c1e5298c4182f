#include "common/testing.h"
#include "gedcom/gedcom_reader.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

TGedcomData ReadSample(const char* name) {
    TGedcomData data;
    EXPECT_TRUE(ReadGedcomFile(test::SampleData(QStringLiteral("gedcom/") + QLatin1String(name)), data))
        << name << ": " << data.ErrorMessage.toStdString();
    return data;
}

TEST(GedcomSamples, ReadEveryPublicSampleWithItsCounts) {
    struct Sample {
        const char* name;
        size_t persons;
        size_t families;
    };
    for (const Sample& s :
         {Sample{"royal92.ged", 3010, 1422}, Sample{"kennedy.ged", 208, 75},
          Sample{"washington.ged", 529, 114}, Sample{"bach.ged", 33, 14}, Sample{"bronte.ged", 14, 4},
          Sample{"shakespeare.ged", 31, 11}, Sample{"555SAMPLE.GED", 3, 2}, Sample{"MINIMAL555.GED", 0, 0},
          Sample{"REMARR.GED", 3, 3}, Sample{"SSMARR.GED", 2, 1}}) {
        const TGedcomData data = ReadSample(s.name);
        EXPECT_EQ(data.Persons.size(), s.persons) << s.name;
        EXPECT_EQ(data.Families.size(), s.families) << s.name;
    }
}

TEST(GedcomSamples, RoyalFileKeepsItsLinks) {
    const TGedcomData data = ReadSample("royal92.ged");
    EXPECT_EQ(data.Encoding, QStringLiteral("ANSEL"));
    int withFather = 0;
    int withBirthDate = 0;
    for (const TGedPerson& person : data.Persons) {
        if (person.Data.FatherId != QStringLiteral("-1")) {
            ++withFather;
            EXPECT_NE(data.FindFamily(person.ChildFamilyXref), nullptr);
        }
        for (const TGEvent& event : person.Data.Events)
            if (event.Tag == QLatin1String("BIRT") && event.Date.Gregorian > 0)
                ++withBirthDate;
    }
    EXPECT_GT(withFather, 1000);
    EXPECT_GT(withBirthDate, 1000);
    const TGedPerson* victoria = data.FindPerson(QStringLiteral("I1"));
    ASSERT_NE(victoria, nullptr);
    EXPECT_EQ(victoria->Data.FullName, QStringLiteral("Victoria  /Hanover/"));
    EXPECT_EQ(victoria->Data.Sex, QStringLiteral("f"));
}

TEST(GedcomSamples, WideSamplesGiveTheSamePersonsAsTheirUtf8Twin) {
    const TGedcomData utf8 = ReadSample("555SAMPLE.GED");
    for (const char* wide : {"555SAMPLE16LE.GED", "555SAMPLE16BE.GED"}) {
        const TGedcomData data = ReadSample(wide);
        ASSERT_EQ(data.Persons.size(), utf8.Persons.size()) << wide;
        for (size_t i = 0; i < utf8.Persons.size(); ++i) {
            EXPECT_EQ(data.Persons[i].Data.FullName, utf8.Persons[i].Data.FullName) << wide;
            EXPECT_EQ(data.Persons[i].Data.Events.size(), utf8.Persons[i].Data.Events.size()) << wide;
        }
        EXPECT_EQ(data.Families.size(), utf8.Families.size()) << wide;
    }
    // The sample's adopted son keeps his birth family, though the adopting one comes last; the adoption
    // stays in his notes.
    const TGedPerson* joe = utf8.FindPerson(QStringLiteral("I3"));
    ASSERT_NE(joe, nullptr);
    EXPECT_EQ(joe->ChildFamilyXref, QStringLiteral("F1"));
    EXPECT_EQ(joe->Data.FatherId, utf8.FindPerson(QStringLiteral("I1"))->Data.PersonId);
    EXPECT_EQ(joe->Data.MotherId, utf8.FindPerson(QStringLiteral("I2"))->Data.PersonId);
    EXPECT_EQ(joe->Data.Kept, (QStringList{"FAMC Robert Eugene /Williams/", "  PEDI adopted"}));
}

} // namespace
} // namespace verdan
