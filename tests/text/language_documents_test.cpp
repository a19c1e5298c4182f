#include "common/testing.h"
#include "text/language_update.h"
#include "text/localisation.h"
#include "text/program_folder.h"
#include "text/sml.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace verdan {
namespace {

struct Unit {
    QString context;
    QString source;
    QString target;
    QString targetF;
    QString orientation;
    bool operator==(const Unit&) const = default;
};

struct Document {
    TNode root;
    QList<Unit> units;
};

const QStringList kFiles = {"english.local", "arabic.local", "persian.local", "urdu.local"};

Document ReadDocument(const QString& path) {
    QString text;
    QString error;
    EXPECT_TRUE(ReadSmlText(path, &text, &error)) << path.toStdString() << ": " << error.toStdString();
    Document doc;
    doc.root = ParseSml(text);
    for (const TNode& n : doc.root.Child("localization").Child("translations").Children) {
        EXPECT_EQ(n.Name, "unit");
        doc.units.append({n.ChildValue("context"), n.ChildValue("source"), n.ChildValue("target"),
                          n.ChildValue("target_f"), n.ChildValue("Orientation")});
    }
    return doc;
}

Document Builtin(const QString& file) {
    return ReadDocument(QStringLiteral(":/langs/") + file);
}

// Sources misspelt in the English units, which language documents match as they are, and what the English
// document shows for them.
const QHash<QString, QString> kCorrected = {
    {"Data File Maintainance", "Data File Maintenance"},
    {"Mariage Relationships", "Marriage Relationships"},
};

bool IsListUnit(const Unit& u) {
    return u.source == "[Family Groups]" || u.source == "[name_seperators]" ||
           u.source == "Son\r\nFather\r\nGrandfather\r\nGrandGrandfather" || u.source == "[years]" ||
           u.source == "[months]" || u.source == "[days]" || u.source == "[hijri years]";
}

int IndexOf(const QList<Unit>& units, const QString& context, const QString& source, int from = 0) {
    for (int i = from; i < units.size(); ++i)
        if (units[i].context == context && units[i].source == source)
            return i;
    ADD_FAILURE() << "no unit " << source.toStdString();
    return -1;
}

// The Arabic document holds the English units with a few removed, moved or added.
QList<Unit> ArabicOrderFrom(QList<Unit> en) {
    auto key = [](const QString& context, const QString& source) {
        return Unit{context, source, {}, {}, {}};
    };
    en.removeAt(IndexOf(en, "dialog", "&Ok"));
    en.removeAt(IndexOf(en, "", "Remove this picture?"));
    en.insert(IndexOf(en, "", "Description") + 1, key("", "Remove this picture?"));
    en.insert(IndexOf(en, "export_option", "Print Options") + 1, key("export_option", "Save as PDF file"));
    const int s = IndexOf(en, "", "S");
    en.insert(s + 1, key("", "F"));
    en.insert(s + 2, key("", "M"));
    en.removeAt(IndexOf(en, "", "Display color in Tree"));
    const int options = IndexOf(en, "", "Person Display Options", IndexOf(en, "", "List"));
    en.insert(options + 1, key("", "Display color in Tree"));
    const int icon = IndexOf(en, "", "Display icon in Tree");
    en.insert(icon + 1, key("", "Hide name"));
    en.insert(icon + 2, key("", "Deny publish"));
    return en;
}

QList<std::pair<QString, QString>> Keys(const QList<Unit>& units) {
    QList<std::pair<QString, QString>> keys;
    for (const Unit& u : units)
        keys.append({u.context, u.source});
    return keys;
}

TEST(LanguageDocuments, HeadersNameTheirLanguage) {
    const QStringList names = {"English", "Arabic", "Persian", "Urdu"};
    const QStringList natives = {"English", "العربية", "فارسی", "اُردُو"};
    for (int i = 0; i < kFiles.size(); ++i) {
        const Document doc = Builtin(kFiles[i]);
        SCOPED_TRACE(kFiles[i].toStdString());
        EXPECT_EQ(doc.root.Name, "sml");
        EXPECT_EQ(doc.root.Value, "version = 0.1; encoding = utf-8");
        const TNode header = doc.root.Child("localization").Child("header");
        EXPECT_EQ(header.ChildValue("source_lang"), "English");
        const TNode target = header.Child("target_lang");
        EXPECT_EQ(target.Value, names[i]);
        EXPECT_EQ(target.ChildValue("native_name"), natives[i]);
        EXPECT_EQ(target.ChildValue("orientation"), i == 0 ? "ltr" : "rtl");
        EXPECT_EQ(target.ChildValue("Keyboard_Layout"), names[i]);
        EXPECT_FALSE(doc.root.Child("localization").ChildValue("author_note").isEmpty());
    }
}

TEST(LanguageDocuments, UnitsComeInTheSameOrder) {
    // The classic 632 units come first; texts added since follow them.
    const QList<Unit> en = Builtin("english.local").units;
    ASSERT_GE(en.size(), 632);
    EXPECT_EQ(std::count_if(en.begin(), en.begin() + 632, [](const Unit& u) { return !u.context.isEmpty(); }),
              177);
    EXPECT_EQ(en.first().source, "Verdan");
    EXPECT_EQ(en[1].source, "&OK");
    EXPECT_EQ(en[1].context, "dialog");
    EXPECT_EQ(en[631].source, "Current used version");
    EXPECT_EQ(Keys(Builtin("persian.local").units), Keys(en));
    EXPECT_EQ(Keys(Builtin("urdu.local").units), Keys(en));

    const QList<Unit> ar = Builtin("arabic.local").units;
    EXPECT_EQ(ar.size(), en.size() + 4);
    EXPECT_EQ(ar[635].source, "Current used version");
    EXPECT_EQ(Keys(ar), Keys(ArabicOrderFrom(en)));
}

const QStringList kUntranslated = {"[txt_location]", "[txt_path]"};

TEST(LanguageDocuments, ArabicTranslatesAndGendersItsUnitsEnglishOnlyItsLists) {
    const QStringList& untranslated = kUntranslated;
    const QList<Unit> ar = Builtin("arabic.local").units;
    int translated = 0;
    for (const Unit& u : ar) {
        const bool gendered = u.source.startsWith("Born ") || u.source.startsWith("Died ") ||
                              u.source.startsWith("Lived") || u.source == "To be set later" ||
                              u.source == "Deceased" ||
                              (u.source == "Spouse" && u.context == "relationships");
        // Kinship words whose English does not tell the gender carry their feminine form.
        if (u.context != "kinship") {
            EXPECT_EQ(u.targetF.trimmed().isEmpty(), !gendered) << u.source.toStdString();
        }
        EXPECT_EQ(u.target.trimmed().isEmpty(), untranslated.contains(u.source)) << u.source.toStdString();
        EXPECT_EQ(u.orientation, untranslated.contains(u.source) ? "ltr" : "");
        translated += !u.target.trimmed().isEmpty();
    }
    EXPECT_EQ(translated, ar.size() - 2);

    for (const Unit& u : Builtin("english.local").units) {
        if (kCorrected.contains(u.source)) {
            EXPECT_EQ(u.target, kCorrected[u.source]);
            continue;
        }
        EXPECT_EQ(u.target.isEmpty(), !IsListUnit(u)) << u.source.toStdString();
        EXPECT_TRUE(u.targetF.isEmpty());
        EXPECT_EQ(u.orientation, untranslated.contains(u.source) ? "ltr" : "");
    }
}

// Units added to the unit tables without a Persian or Urdu target are listed here, all at once. They are
// shown as a skipped test rather than a failure, so that texts of other areas land before their Persian
// and Urdu targets are written.
TEST(LanguageDocuments, PersianAndUrduTranslateEveryUnit) {
    QStringList report;
    for (const QString file : {"persian.local", "urdu.local"}) {
        QStringList lacking;
        for (const Unit& u : Builtin(file).units) {
            if (u.target.trimmed().isEmpty() != kUntranslated.contains(u.source))
                lacking << (u.context.isEmpty() ? u.source : u.context + ": " + u.source);
        }
        if (!lacking.isEmpty())
            report << QStringLiteral("%1 lacks targets for %2 units:\n  ").arg(file).arg(lacking.size()) +
                          lacking.join("\n  ");
    }
    if (!report.isEmpty())
        GTEST_SKIP() << report.join("\n").toStdString();
}

// A target that repeats its English source is an unit left untranslated, unless it is a name, a number,
// a key or a format's name in capitals ("GEDCOM 7.0").
TEST(LanguageDocuments, PersianAndUrduTargetsAreNotTheEnglishSource) {
    static const QRegularExpression letters("[a-z]{2,}");
    for (const QString file : {"persian.local", "urdu.local"}) {
        for (const Unit& u : Builtin(file).units) {
            if (u.target.isEmpty() || IsListUnit(u))
                continue;
            EXPECT_FALSE(u.target == u.source && letters.match(u.source).hasMatch())
                << file.toStdString() << ": " << u.source.toStdString();
            EXPECT_TRUE(u.targetF.isEmpty() || file == "urdu.local" || u.targetF == u.target)
                << u.source.toStdString();
        }
    }
}

TEST(LanguageDocuments, TargetsKeepTheMarkupOfTheirSource) {
    static const QRegularExpression placeholder("%[*#sd]");
    auto placeholders = [](const QString& text) {
        QStringList found;
        for (const auto& m : placeholder.globalMatch(text))
            found.append(m.captured());
        return found;
    };
    for (const QString& file : kFiles) {
        for (const Unit& u : Builtin(file).units) {
            if (IsListUnit(u))
                continue;
            for (const QString& target : {u.target, u.targetF}) {
                if (target.isEmpty())
                    continue;
                SCOPED_TRACE((file + ": " + u.source).toStdString());
                EXPECT_EQ(placeholders(target), placeholders(u.source));
                EXPECT_EQ(target.count('|'), u.source.count('|'));
                EXPECT_EQ(target.count("||"), u.source.count("||"));
                EXPECT_EQ(target.count('&'), u.source.count('&'));
                EXPECT_FALSE(target.contains("--") || target.contains('\\'));
            }
        }
    }
}

class LanguageLookup : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(test::NewTempDir());
        InstallLanguageFiles();
    }
    static void Load(const QString& file) {
        ASSERT_TRUE(LoadLanguage(LangsFolder() + file));
        ASSERT_EQ(Local().Units.size(), Builtin(file).units.size());
    }
};

TEST_F(LanguageLookup, InstalledDocumentsMatchTheBuiltInOnes) {
    for (const QString& file : kFiles) {
        QFile installed(LangsFolder() + file);
        QFile builtin(":/langs/" + file);
        ASSERT_TRUE(installed.open(QIODevice::ReadOnly)) << file.toStdString();
        ASSERT_TRUE(builtin.open(QIODevice::ReadOnly));
        EXPECT_EQ(installed.readAll(), builtin.readAll());
        EXPECT_EQ(ReadDocument(installed.fileName()).units, Builtin(file).units);
    }
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteDocument(const QString& path, const TNode& root) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(WriteSml(root).toUtf8());
}

// A copy written by an earlier version (fewer units, no version, the old Persian spelling of its own name)
// and edited by its user gets the units added since, appended, and keeps everything it had.
TEST_F(LanguageLookup, EarlierCopiesGetTheUnitsAddedSinceAndKeepTheirOwn) {
    for (const QString& file : {QStringLiteral("arabic.local"), QStringLiteral("persian.local")}) {
        SCOPED_TRACE(file.toStdString());
        const QString path = LangsFolder() + file;
        const Document builtin = Builtin(file);
        TNode old = builtin.root;
        TNode& localization = old.Children[0];
        TNode& header = localization.Children[0];
        ASSERT_EQ(header.Name, "header");
        header.Children.removeIf([](const TNode& n) { return n.Name == "units_version"; });
        header.Children[1].Children[0].Value = u"فارسي"_qs; // native_name
        TNode& units = localization.Children[1];
        ASSERT_EQ(units.Name, "translations");
        const int father = IndexOf(builtin.units, "", "Father");
        ASSERT_EQ(units.Children[father].Children.last().Name, "target");
        units.Children[father].Children.last().Value = u"والد"_qs;
        const TNode removed = units.Children.takeAt(units.Children.size() - 2);
        units.Children.removeLast();
        units.Children.removeAt(5);
        WriteDocument(path, old);

        InstallLanguageFiles();
        const Document updated = ReadDocument(path);
        EXPECT_EQ(updated.units.size(), builtin.units.size());
        EXPECT_EQ(Keys(updated.units).mid(0, 5), Keys(builtin.units).mid(0, 5));
        EXPECT_EQ(updated.units.last().source, builtin.units.last().source) << "appended at the end";
        EXPECT_EQ(updated.units[IndexOf(updated.units, "", "Father")].target, u"والد"_qs)
            << "a unit the user has is never changed";
        QString text;
        QString error;
        ASSERT_TRUE(ReadSmlText(path, &text, &error));
        EXPECT_EQ(LanguageUnitsVersion(text),
                  LanguageUnitsVersion(QString::fromUtf8(FileBytes(":/langs/" + file))));
        const TNode target = updated.root.Child("localization").Child("header").Child("target_lang");
        EXPECT_EQ(target.ChildValue("native_name"), builtin.root.Child("localization")
                                                        .Child("header")
                                                        .Child("target_lang")
                                                        .ChildValue("native_name"));
        if (file == "arabic.local") {
            Load(file);
            EXPECT_EQ(Translate(removed.ChildValue("source")), ExpandMarkup(removed.ChildValue("target")));
        }

        // Once it carries the program's version it is left alone.
        const QByteArray bytes = FileBytes(path);
        InstallLanguageFiles();
        EXPECT_EQ(FileBytes(path), bytes);
    }
    // A file of a built-in name that is no language document stays as it is.
    const QString english = LangsFolder() + "english.local";
    QFile broken(english);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a document\r\n");
    broken.close();
    InstallLanguageFiles();
    EXPECT_EQ(FileBytes(english), QByteArray("not a document\r\n"));
    EXPECT_EQ(UpdateLanguageDocument(english, FileBytes(":/langs/english.local")), -1);
}

TEST_F(LanguageLookup, ArabicLookupsFollowContextCaseAndGender) {
    Load("arabic.local");
    EXPECT_EQ(Translate("Verdan"), "فردان");
    EXPECT_EQ(Translate("Father"), "الأب");
    EXPECT_EQ(Translate("الأب"), "Father");
    EXPECT_EQ(Translate("&Open"), "&فتح");
    EXPECT_EQ(Translate("Open"), "&فتح");

    EXPECT_EQ(Translate("Son"), "الإبن");
    EXPECT_EQ(TranslateContext("Son", "add_menu"), "إبن");
    EXPECT_EQ(TranslateContext("Son", "relationships_dialog"), "إبن");
    EXPECT_EQ(TranslateContext("Father", "relationships_dialog"), "أب");
    EXPECT_EQ(Translate("uncle"), "عم");
    EXPECT_EQ(TranslateContext("uncle", "mother's brother"), "خال");
    EXPECT_EQ(TranslateContext("aunt", "father's sister"), "عمة");
    EXPECT_EQ(TranslateContext("aunt", "mother's sister"), "خالة");
    EXPECT_EQ(TranslateContext("Print", "chart"), "Print");

    EXPECT_EQ(Translate("Relationship"), "العلاقة");
    // Units that differ only in letter case: the earlier one wins the lookup that ignores case.
    EXPECT_EQ(Translate("relationship"), "العلاقة");
    EXPECT_EQ(Translate("علاقة"), "relationship");
    EXPECT_EQ(Translate("RELATIONSHIP"), "العلاقة");

    EXPECT_EQ(Translate("Died %# year(s) ago"), "توفي قبل %d سنة");
    EXPECT_EQ(TranslateFeminine("Died %# year(s) ago"), "توفيت قبل %d سنة");
    EXPECT_EQ(TranslateFeminine("Spouse"), "زوجة");
    EXPECT_EQ(TranslateFeminine("Father"), "Father");
    EXPECT_EQ(Translate("S") + Translate("F") + Translate("M"), "زبم");

    EXPECT_EQ(Translate("Children will be attached to the mother\r\nor will be moved to Tree Side."),
              "سيُربط الأبناء بالأم أو يُنقلون إلى جانب الشجرة.");
    const QStringList groups = Translate("[Family Groups]").split("\r\n");
    ASSERT_EQ(groups.size(), 11);
    EXPECT_EQ(groups.first(), "");
    EXPECT_EQ(groups[1], "عائلة");
    EXPECT_EQ(groups.last(), "شعب");
    EXPECT_EQ(Translate("[name_seperators]").split("\r\n").size(), 7);
    EXPECT_EQ(Translate("[txt_location]"), "");
}

// The Persian and Urdu lineage words, month and weekday names and the gendered Urdu forms.
TEST_F(LanguageLookup, PersianAndUrduListsNamesAndGender) {
    const QStringList persianWords = {"son of", "daughter of", "پسر", "بن", "دختر"};
    const QStringList urduWords = {"son of", "daughter of", "ولد", "بن", "بنت", "دختر"};
    for (const auto& [file, words] : {std::pair{"persian.local", persianWords}, {"urdu.local", urduWords}}) {
        Load(file);
        SCOPED_TRACE(file);
        EXPECT_EQ(Translate("[name_seperators]").split("\r\n"), words);
        QStringList months;
        for (const char* month :
             {"Muharram",        "Safar",         "Rabi' al-awwal", "Rabi' al-thani", "Jumada al-awwal",
              "Jumada al-thani", "Rajab",         "Sha'ban ",       "Ramadan",        "Shawwal",
              "Dhu al-Qi'dah",   "Dhu al-Hijjah", "January",        "February",       "March",
              "April",           "May",           "June",           "July",           "August",
              "September",       "October",       "November",       "December",       "Sunday",
              "Monday",          "Tuesday",       "Wednesday",      "Thursday",       "Friday",
              "Saturday"}) {
            const QString name = Translate(month).trimmed();
            EXPECT_FALSE(name.contains(QRegularExpression("[A-Za-z]"))) << month;
            months << name;
        }
        EXPECT_EQ(QSet<QString>(months.begin(), months.end()).size(), months.size());
        EXPECT_EQ(Translate("[Family Groups]").split("\r\n").size(), 6);
    }
    EXPECT_EQ(Translate("Born %d year(s) ago"), "%d سال پہلے پیدا ہوا");
    EXPECT_EQ(TranslateFeminine("Born %d year(s) ago"), "%d سال پہلے پیدا ہوئی");
    EXPECT_EQ(TranslateFeminine("Deceased"), "مرحومہ");
    EXPECT_EQ(TranslateContext("uncle", "mother's brother"), "ماموں");
    EXPECT_EQ(TranslateContext("Son", "add_menu"), "بیٹا");
}

TEST_F(LanguageLookup, EnglishShowsEachSourceExceptTheListUnits) {
    Load("english.local");
    for (const Unit& u : Builtin("english.local").units) {
        if (IsListUnit(u))
            continue;
        const QString shown =
            u.source.contains('[') ? QString() : kCorrected.value(u.source, ExpandMarkup(u.source));
        EXPECT_EQ(Translate(u.source), shown) << u.source.toStdString();
        if (!u.context.isEmpty()) {
            EXPECT_EQ(TranslateContext(u.source, u.context),
                      kCorrected.value(u.source, ExpandMarkup(u.source)));
        }
    }
    // The corrected English of a misspelt source is no translation to turn back: the window captions that
    // were always spelt right stay as they are.
    EXPECT_EQ(Translate("Marriage Relationships"), "Marriage Relationships");
    EXPECT_EQ(Translate("Data File Maintenance"), "Data File Maintenance");
    EXPECT_EQ(Translate("[Family Groups]"), "Family\r\nClan\r\nTribe");
    EXPECT_EQ(Translate("[name_seperators]"), "son of\r\ndaughter of");
    EXPECT_EQ(TranslateLines({"Son", "Father", "Grandfather", "GrandGrandfather"}),
              "Father\r\nGrandfather\r\nGrandGrandfather");
    EXPECT_EQ(Translate("File could not be found:| \"%*\""), "File could not be found:| \"%s\"");
    EXPECT_EQ(Translate("male"), "male");
}

} // namespace
} // namespace verdan
