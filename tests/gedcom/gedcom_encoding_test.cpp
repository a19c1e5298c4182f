#include "common/testing.h"
#include "gedcom/gedcom_encoding.h"
#include "gedcom/gedcom_reader.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

const QString kArabicName = QStringLiteral("محمد /العلي/");

QString FirstName(const QString& fixture, const TGedcomReadOptions& options = {},
                  QString* encoding = nullptr) {
    TGedcomData data;
    EXPECT_TRUE(ReadGedcomFile(test::TestData(QStringLiteral("gedcom/") + fixture), data, options))
        << data.ErrorMessage.toStdString();
    if (encoding)
        *encoding = data.Encoding;
    return data.Persons.empty() ? QString() : data.Persons[0].Data.FullName;
}

TEST(GedcomEncoding, FollowsTheByteOrderMarkThenTheHeader) {
    QString encoding;
    EXPECT_EQ(FirstName(QStringLiteral("utf16le.ged"), {}, &encoding), kArabicName);
    EXPECT_EQ(encoding, QStringLiteral("UTF-16LE"));
    EXPECT_EQ(FirstName(QStringLiteral("utf16be_nobom.ged"), {}, &encoding), kArabicName);
    EXPECT_EQ(encoding, QStringLiteral("UTF-16BE"));
    EXPECT_EQ(FirstName(QStringLiteral("ansi.ged"), {}, &encoding), QStringLiteral("José /Müller/"));
    EXPECT_EQ(encoding, QStringLiteral("windows-1252"));
}

TEST(GedcomEncoding, FallsBackToTheInterfaceCodePageForUndeclaredBytes) {
    EXPECT_EQ(GedcomFallbackEncoding(QStringLiteral("Arabic")), QStringLiteral("windows-1256"));
    EXPECT_EQ(GedcomFallbackEncoding(QStringLiteral("Persian")), QStringLiteral("windows-1256"));
    EXPECT_EQ(GedcomFallbackEncoding(QStringLiteral("Urdu")), QStringLiteral("windows-1256"));
    EXPECT_EQ(GedcomFallbackEncoding(QStringLiteral("English")), QStringLiteral("windows-1252"));

    TGedcomReadOptions arabic;
    arabic.FallbackEncoding = GedcomFallbackEncoding(QStringLiteral("Arabic"));
    EXPECT_EQ(FirstName(QStringLiteral("cp1256.ged"), arabic), kArabicName);
    EXPECT_NE(FirstName(QStringLiteral("cp1256.ged")), kArabicName);
}

TEST(GedcomEncoding, HonoursAnEncodingAskedForAndRefusesAnUnknownOne) {
    TGedcomReadOptions forced;
    forced.Encoding = QStringLiteral("windows-1256");
    EXPECT_EQ(FirstName(QStringLiteral("cp1256.ged"), forced), kArabicName);
    forced.Encoding = QStringLiteral("utf-16");
    EXPECT_EQ(FirstName(QStringLiteral("utf16le.ged"), forced), kArabicName);

    forced.Encoding = QStringLiteral("no-such-encoding");
    TGedcomData data;
    EXPECT_FALSE(ReadGedcomFile(test::TestData(QStringLiteral("gedcom/basic.ged")), data, forced));
    EXPECT_EQ(data.Error, TGedcomError::UnknownEncoding);
    EXPECT_FALSE(data.ErrorMessage.isEmpty());
}

TEST(GedcomEncoding, DecodesAnselWithMarksAfterTheirLetters) {
    TGedcomData data;
    ASSERT_TRUE(ReadGedcomFile(test::TestData(QStringLiteral("gedcom/ansel.ged")), data));
    ASSERT_EQ(data.Persons.size(), 1u);
    const TPerson_Data& p = data.Persons[0].Data;
    EXPECT_EQ(p.FullName, QStringLiteral("José /Müller/"));
    EXPECT_EQ(p.Nickname, QStringLiteral("łậ")) << "two marks on one letter, composed";
    EXPECT_EQ(p.Note, QStringLiteral("Æ \u0303")) << "a mark at the end of a line stays";
    EXPECT_EQ(DecodeAnsel("A\xC3\xFF"), QStringLiteral("A©\uFFFD"));
}

TEST(GedcomEncoding, ValidatesUtf8) {
    EXPECT_TRUE(IsValidUtf8("plain ascii text that is longer than eight bytes"));
    EXPECT_TRUE(IsValidUtf8("محمد"));
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF")) << "overlong";
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "surrogate";
    EXPECT_FALSE(IsValidUtf8("\xE2\x82")) << "cut short";
}

} // namespace
} // namespace verdan
