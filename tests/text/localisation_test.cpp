#include "common/testing.h"
#include "text/interface_locale.h"
#include "text/localisation.h"
#include "text/program_folder.h"
#include "text/system_message.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace verdan;

namespace {

QString Fixture(const char* name) {
    return test::TestData(QStringLiteral("langs/") + QLatin1String(name));
}

// Collects what would be shown in a system message box while it lives.
class MessageCatcher {
public:
    MessageCatcher() {
        previous_ = SetSystemMessageHandler(
            [this](const QString& caption, const QString& text) { shown.append(caption + u':' + text); });
    }
    ~MessageCatcher() { SetSystemMessageHandler(previous_); }
    QStringList shown;

private:
    SystemMessageHandler previous_;
};

class Localisation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadLanguage(Fixture("fixture.local"))); }
};

} // namespace

TEST_F(Localisation, LoadsHeaderAndUnits) {
    const TLocal& local = Local();
    EXPECT_EQ(local.FileName, Fixture("fixture.local"));
    EXPECT_EQ(local.AuthorNote, QStringLiteral("fixture for lookups"));
    EXPECT_EQ(local.SourceLang, QStringLiteral("English"));
    EXPECT_EQ(local.Target.Name, QStringLiteral("Testish"));
    EXPECT_EQ(local.Target.NativeName, QStringLiteral("تجريبي"));
    EXPECT_TRUE(local.Target.RightToLeft);
    EXPECT_EQ(local.Target.KeyboardLayout, QStringLiteral("Arabic"));
    ASSERT_EQ(local.Target.Translators.size(), 1);
    EXPECT_EQ(local.Target.Translators[0].Email, QStringLiteral("ali@example.org"));
    ASSERT_EQ(local.Units.size(), 19);
    EXPECT_EQ(local.Units[0].Index, 1);
    EXPECT_EQ(local.Units[0].Context, QStringLiteral("dialog"));
    EXPECT_EQ(local.Units[1].Index, 0); // not a unit: keeps its place, stays empty
    EXPECT_TRUE(local.Units[1].Source.isEmpty());
    EXPECT_EQ(local.Units[2].Index, 3);
}

TEST_F(Localisation, TranslateExactCaseAndBackLookups) {
    EXPECT_EQ(Translate(QStringLiteral("&Open")), QStringLiteral("&فتح"));
    EXPECT_EQ(Translate(QStringLiteral("  Open ")), QStringLiteral("&فتح"));
    EXPECT_EQ(Translate(QStringLiteral("Skipped")), QStringLiteral("Skipped"));
    EXPECT_EQ(Translate(QStringLiteral("Hello %* of %#")), QStringLiteral("Hello %s of %d"));
    EXPECT_EQ(Translate(QString()), QString());
    // A text that is already a translation comes back as its source.
    EXPECT_EQ(Translate(QStringLiteral("حفظ")), QStringLiteral("Save"));
    // The case-blind pass lets the earliest of units differing in case win, also over an exact match.
    EXPECT_EQ(Translate(QStringLiteral("save")), QStringLiteral("حفظ"));
    EXPECT_EQ(Translate(QStringLiteral("SAVE")), QStringLiteral("حفظ"));
    EXPECT_EQ(Translate(QStringLiteral("Same")), QStringLiteral("Same"));
    EXPECT_EQ(Translate(QStringLiteral("File \"%*\" not found.|Check the path.")),
              QStringLiteral("الملف \"%s\" غير موجود.|تحقق من المسار."));
    // Lines of a value are joined, a list keeps them, markup becomes tabs and line breaks.
    EXPECT_EQ(Translate(QStringLiteral(
                  "Children will be attached to the mother\r\nor will be moved to Tree Side.")),
              QStringLiteral("سيربط الأبناء بالأم أو ينقلون."));
    EXPECT_EQ(Translate(QStringLiteral("[Family Groups]")), QStringLiteral("Family\r\nClan\r\nTribe"));
    EXPECT_EQ(Translate(QStringLiteral("[No such list]")), QString());
    EXPECT_EQ(Translate(QStringLiteral("Tabs--here||and there")), QStringLiteral("Tabs\there\r\nand there"));
}

TEST_F(Localisation, ContextFeminineLinesAndOrientation) {
    EXPECT_EQ(TranslateContext(QStringLiteral("uncle"), QStringLiteral("mother's brother")),
              QStringLiteral("خال"));
    EXPECT_EQ(TranslateContext(QStringLiteral("uncle"), QStringLiteral(" father's brother ")),
              QStringLiteral("عم"));
    EXPECT_EQ(Translate(QStringLiteral("uncle")), QStringLiteral("عم"));
    EXPECT_EQ(TranslateContext(QStringLiteral("uncle"), QStringLiteral("nobody")), QStringLiteral("uncle"));
    EXPECT_EQ(TranslateContext(QStringLiteral("&Son"), QStringLiteral("add_menu")), QStringLiteral("إبن"));
    EXPECT_EQ(Translate(QStringLiteral("Son")), QStringLiteral("الإبن"));

    EXPECT_EQ(TranslateFeminine(QStringLiteral("Died %# year(s) ago")), QStringLiteral("توفيت قبل %d سنة"));
    EXPECT_EQ(Translate(QStringLiteral("Died %# year(s) ago")), QStringLiteral("توفي قبل %d سنة"));
    EXPECT_EQ(TranslateFeminine(QStringLiteral("Save")), QStringLiteral("Save"));

    EXPECT_EQ(TranslateLines({QStringLiteral("Son"), QStringLiteral("Father")}), QStringLiteral("إبن\r\nأب"));
    EXPECT_EQ(TranslateLines({QStringLiteral("Grandfather")}), QStringLiteral("Grandfather"));

    EXPECT_EQ(TranslateOrientation(QStringLiteral("[txt_path]")), QStringLiteral("ltr"));
    EXPECT_EQ(TranslateOrientation(QStringLiteral("Save"), QStringLiteral("keep")), QStringLiteral("keep"));
    EXPECT_TRUE(IsRtl(QStringLiteral("rtl")));
    EXPECT_FALSE(IsRtl(QStringLiteral("RTL")));
}

TEST(ExpandMarkup, RulesInOrder) {
    EXPECT_EQ(ExpandMarkup(QStringLiteral("a\\nb\\tc")), QStringLiteral("a\rb\tc"));
    EXPECT_EQ(ExpandMarkup(QStringLiteral("one\r\ntwo\rthree\nfour")), QStringLiteral("one two three\nfour"));
    // A message written over two lines reads as one sentence, not "motheror".
    EXPECT_EQ(ExpandMarkup(QStringLiteral("to the mother\r\nor moved. \r\nDone")),
              QStringLiteral("to the mother or moved. Done"));
    EXPECT_EQ(ExpandMarkup(QStringLiteral("\r\nx\r\ny")), QStringLiteral("\r\nx\r\ny"));
    EXPECT_EQ(ExpandMarkup(QStringLiteral("<list>\r\na\r\nb")), QStringLiteral("a\r\nb"));
    EXPECT_EQ(StripAmpersands(QStringLiteral("&Save &As")), QStringLiteral("Save As"));
}

// A translator's mistakes in placeholders never break a message: the filler goes in order, leaves
// missing values empty, drops extra ones and shows unknown markers as they are.
TEST_F(Localisation, PatternsFromFaultyDocumentsFillSafely) {
    EXPECT_EQ(FillPattern(Translate(QStringLiteral("Bad %# pattern %*")),
                          {QStringLiteral("1"), QStringLiteral("x")}),
              QStringLiteral("نمط 1x %n %1 %"));
    EXPECT_EQ(
        FillPattern(Translate(QStringLiteral("Short %* and %#")), {QStringLiteral("a"), QStringLiteral("2")}),
        QStringLiteral("قصير"));
    EXPECT_EQ(FillPattern(Translate(QStringLiteral("File \"%*\" not found.|Check the path.")),
                          {QStringLiteral("%s%d"), QStringLiteral("extra")}),
              QStringLiteral("الملف \"%s%d\" غير موجود.|تحقق من المسار."));
}

TEST_F(Localisation, DamagedDocumentsKeepTheLanguageUsable) {
    MessageCatcher catcher;
    EXPECT_FALSE(LoadLanguage(Fixture("no_localization.local")));
    EXPECT_FALSE(LoadLanguage(Fixture("missing.local")));
    EXPECT_EQ(Local().FileName, Fixture("fixture.local"));
    EXPECT_EQ(Translate(QStringLiteral("Save")), QStringLiteral("حفظ"));
    ASSERT_EQ(catcher.shown.size(), 2);
    EXPECT_EQ(catcher.shown[0],
              QStringLiteral("Error:The tag \"localization\" not found in localization file."));
    EXPECT_TRUE(catcher.shown[1].startsWith(QStringLiteral("Error:File not found")));

    // A misspelt "translations" loads the header only; "RTL" in capitals is not right-to-left.
    EXPECT_TRUE(LoadLanguage(Fixture("misspelt.local")));
    EXPECT_EQ(catcher.shown.size(), 3);
    EXPECT_TRUE(catcher.shown[2].endsWith(Fixture("misspelt.local")));
    EXPECT_EQ(Local().Target.Name, QStringLiteral("Shouty"));
    EXPECT_FALSE(Local().Target.RightToLeft);
    EXPECT_TRUE(Local().Units.isEmpty());
    EXPECT_EQ(Translate(QStringLiteral("Save")), QStringLiteral("Save"));
}

TEST(LanguageFiles, InstallResolveAndList) {
    QDir(LangsFolder()).removeRecursively();
    QDir().mkpath(LangsFolder());
    QFile::copy(Fixture("fixture.local"), LangsFolder() + QStringLiteral("arabic.local"));
    InstallLanguageFiles();
    for (const char* name : {"english.local", "arabic.local", "urdu.local", "persian.local"})
        EXPECT_TRUE(QFile::exists(LangsFolder() + QLatin1String(name))) << name;
    QFile::copy(Fixture("no_localization.local"), LangsFolder() + QStringLiteral("zz.local"));

    EXPECT_EQ(ResolveLanguageFile(QString()), LangsFolder() + QStringLiteral("arabic.local"));
    EXPECT_EQ(ResolveLanguageFile(QStringLiteral("langs/gone.local")),
              LangsFolder() + QStringLiteral("arabic.local"));
    EXPECT_EQ(ResolveLanguageFile(QStringLiteral("langs/english.local")),
              LangsFolder() + QStringLiteral("english.local"));

    // An existing file is never overwritten.
    const TLocal_Language arabic = ReadLanguageHeader(LangsFolder() + QStringLiteral("arabic.local"));
    EXPECT_EQ(arabic.Name, QStringLiteral("Testish"));
    EXPECT_EQ(arabic.NativeName, QStringLiteral("تجريبي"));

    const TLanguagesArray languages = ListLanguageFiles();
    ASSERT_EQ(languages.size(), 5);
    EXPECT_EQ(languages[0].Name, QStringLiteral("Testish"));
    EXPECT_EQ(languages[1].Name, QStringLiteral("English"));
    EXPECT_EQ(languages[4].Name, QStringLiteral("<Unknown>"));
    EXPECT_EQ(languages[4].FileName, LangsFolder() + QStringLiteral("zz.local"));
    QDir(LangsFolder()).removeRecursively();
}

// The documents built into the program load and translate.
TEST(LanguageFiles, BuiltInDocuments) {
    QDir(LangsFolder()).removeRecursively();
    InstallLanguageFiles();
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("english.local")));
    EXPECT_FALSE(Local().Target.RightToLeft);
    EXPECT_EQ(Translate(QStringLiteral("&Open")), QStringLiteral("&Open"));
    EXPECT_EQ(Translate(QStringLiteral("[Family Groups]")), QStringLiteral("Family\r\nClan\r\nTribe"));

    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("arabic.local")));
    EXPECT_TRUE(Local().Target.RightToLeft);
    EXPECT_EQ(Local().Target.Name, QStringLiteral("Arabic"));
    const QString title = Translate(QStringLiteral("Verdan"));
    EXPECT_FALSE(title.isEmpty());
    EXPECT_NE(title, QStringLiteral("Verdan"));
    EXPECT_EQ(Translate(title), QStringLiteral("Verdan"));
    EXPECT_NE(TranslateContext(QStringLiteral("uncle"), QStringLiteral("father's brother")),
              TranslateContext(QStringLiteral("uncle"), QStringLiteral("mother's brother")));
    QDir(LangsFolder()).removeRecursively();
}

// The program's time stamps are shown with the month names and digits of the interface's language.
TEST(LanguageFiles, StampsInTheInterfacesOwnWords) {
    QDir(LangsFolder()).removeRecursively();
    InstallLanguageFiles();
    const QDateTime stamp(QDate(2026, 12, 11), QTime(14, 5));
    const struct {
        const char* file;
        QString date;
        QString time;
    } languages[] = {
        {"english.local", u"11 December 2026"_qs, u"14:05"_qs},
        {"arabic.local", u"١١ ديسمبر ٢٠٢٦"_qs, u"١٤:٠٥"_qs},
        {"persian.local", u"۱۱ دسامبر ۲۰۲۶"_qs, u"۱۴:۰۵"_qs},
        {"urdu.local", u"۱۱ دسمبر ۲۰۲۶"_qs, u"۱۴:۰۵"_qs},
    };
    for (const auto& language : languages) {
        ASSERT_TRUE(LoadLanguage(LangsFolder() + QLatin1String(language.file)));
        EXPECT_EQ(StampDateText(stamp.date()), language.date) << language.file;
        EXPECT_EQ(StampTimeText(stamp.time()), language.time) << language.file;
        EXPECT_EQ(StampDateTimeText(stamp), language.date + u' ' + language.time) << language.file;
        EXPECT_TRUE(StampDateText(QDate()).isEmpty());
    }
    QDir(LangsFolder()).removeRecursively();
}

// Persian sentences write their numbers in Persian digits; texts and other languages keep theirs.
TEST(LanguageFiles, PersianNumbersInSentences) {
    QDir(LangsFolder()).removeRecursively();
    InstallLanguageFiles();
    const QString pattern = QStringLiteral("%d persons in %s");
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("persian.local")));
    EXPECT_EQ(FillPattern(pattern, {QStringLiteral("1,205"), QStringLiteral("ward 12")}),
              QStringLiteral("۱,۲۰۵ persons in ward 12"));
    EXPECT_EQ(InterfaceDigits(QStringLiteral("2024")), QStringLiteral("۲۰۲۴"));
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("urdu.local")));
    EXPECT_EQ(FillPattern(pattern, {QStringLiteral("12"), QString()}), QStringLiteral("12 persons in "));
    ASSERT_TRUE(LoadLanguage(LangsFolder() + QStringLiteral("english.local")));
    EXPECT_EQ(InterfaceDigits(QStringLiteral("2024")), QStringLiteral("2024"));
    QDir(LangsFolder()).removeRecursively();
}
