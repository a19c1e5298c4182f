#include "localisation.h"

#include "text/language_update.h"
#include "text/program_folder.h"
#include "text/sml.h"
#include "text/system_message.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSaveFile>
#include <QTranslator>
#include <memory>

namespace verdan {

namespace {

// The loaded document with the lookup keys of its units worked out once: the source without "&",
// trimmed, exactly and upper-cased, and the trimmed targets.
struct Language {
    TLocal local;
    QStringList keys;
    QStringList upperKeys;
    QStringList targets;
    bool persianDigits = false;
    // A target of a document in the source language corrects the source ("Mariage" shown as
    // "Marriage"); it is never a translation to turn back into its source.
    bool targetsTurnBack = true;
};

Language& Current() {
    static Language language;
    return language;
}

const QString kCrLf = QStringLiteral("\r\n");

// Trims every character up to U+0020, as the documents' own tools do.
QString Trim(const QString& s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && s[end - 1].unicode() <= 0x20)
        --end;
    return s.mid(begin, end - begin);
}

QString KeyOf(const QString& text) {
    return Trim(StripAmpersands(text));
}

TTransUnit ReadUnit(const TNode& node, qint32 index) {
    TTransUnit unit;
    unit.Index = index;
    unit.AuthorNote = Trim(node.ChildValue(QStringLiteral("author_note")));
    unit.TranslatorNote = Trim(node.ChildValue(QStringLiteral("translator_note")));
    unit.Context = Trim(node.ChildValue(QStringLiteral("context")));
    unit.Source = Trim(node.ChildValue(QStringLiteral("source")));
    unit.Orientation = Trim(node.ChildValue(QStringLiteral("Orientation")));
    unit.Target = node.ChildValue(QStringLiteral("target"));
    unit.Target_f = node.ChildValue(QStringLiteral("target_f"));
    unit.Target_p = node.ChildValue(QStringLiteral("target_p"));
    unit.Target_pf = node.ChildValue(QStringLiteral("target_pf"));
    return unit;
}

void Install(Language& language, TLocal local) {
    language.keys.clear();
    language.upperKeys.clear();
    language.targets.clear();
    for (const TTransUnit& unit : local.Units) {
        const QString key = KeyOf(unit.Source);
        language.keys.append(key);
        language.upperKeys.append(key.toUpper());
        language.targets.append(Trim(unit.Target));
    }
    language.persianDigits = local.Target.Name.compare(QLatin1String("Persian"), Qt::CaseInsensitive) == 0;
    language.targetsTurnBack =
        Trim(local.Target.Name).compare(Trim(local.SourceLang), Qt::CaseInsensitive) != 0;
    language.local = std::move(local);
}

// Index of the first unit whose key is exactly that of the text, or -1.
qsizetype FindUnit(const QString& key) {
    return Current().keys.indexOf(key);
}

} // namespace

const TLocal& Local() {
    return Current().local;
}

QString LangsFolder() {
    return ProgramFolder() + QStringLiteral("langs/");
}

void InstallLanguageFiles() {
    QDir().mkpath(LangsFolder());
    for (const char* name : {"english.local", "arabic.local", "urdu.local", "persian.local"}) {
        const QString target = LangsFolder() + QLatin1String(name);
        QFile resource(QStringLiteral(":/langs/") + QLatin1String(name));
        if (!resource.open(QIODevice::ReadOnly))
            continue;
        // A copy written by an earlier version gets the units added since.
        if (QFileInfo::exists(target)) {
            UpdateLanguageDocument(target, resource.readAll());
            continue;
        }
        QSaveFile file(target);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(resource.readAll());
            file.commit();
        }
    }
}

QString ResolveLanguageFile(const QString& option) {
    if (!Trim(option).isEmpty()) {
        const QString file = QDir(ProgramFolder()).absoluteFilePath(option);
        if (QFileInfo(file).isFile())
            return QDir::cleanPath(file);
    }
    return LangsFolder() + QStringLiteral("arabic.local");
}

bool LoadLanguage(const QString& fileName) {
    TSML doc;
    if (!doc.LoadFromFile(fileName)) {
        ShowSystemMessage(QStringLiteral("Error"), doc.ErrorText() + u'\n' + fileName);
        return false;
    }
    const TNode loc = doc.Root.Child(QStringLiteral("localization"));
    if (loc.IsEmpty()) {
        ShowSystemMessage(QStringLiteral("Error"),
                          QStringLiteral("The tag \"localization\" not found in localization file."));
        return false;
    }
    TLocal local;
    local.FileName = fileName;
    local.AuthorNote = loc.ChildValue(QStringLiteral("author_note"));
    const TNode header = loc.Child(QStringLiteral("header"));
    local.SourceLang = header.ChildValue(QStringLiteral("source_lang"));
    const TNode target = header.Child(QStringLiteral("target_lang"));
    local.Target.Name = Trim(target.Value);
    local.Target.NativeName = Trim(target.ChildValue(QStringLiteral("native_name")));
    local.Target.Orientation = Trim(target.ChildValue(QStringLiteral("orientation")));
    local.Target.KeyboardLayout = Trim(target.ChildValue(QStringLiteral("Keyboard_Layout")));
    local.Target.RightToLeft = IsRtl(local.Target.Orientation);
    for (const TNode& translator : target.Child(QStringLiteral("translators")).Children)
        if (!translator.Name.isEmpty())
            local.Target.Translators.append(
                {translator.Name, translator.ChildValue(QStringLiteral("email"))});

    const TNode translations = loc.Child(QStringLiteral("translations"));
    if (translations.Name != QLatin1String("translations")) {
        ShowSystemMessage(QStringLiteral("Error"),
                          QStringLiteral("The tag \"translations\" not found in localization file.\n") +
                              fileName);
    } else {
        local.Units.reserve(translations.Children.size());
        for (qsizetype i = 0; i < translations.Children.size(); ++i) {
            const TNode& child = translations.Children[i];
            local.Units.append(child.Name == QLatin1String("unit") ? ReadUnit(child, qint32(i + 1))
                                                                   : TTransUnit());
        }
    }
    Install(Current(), std::move(local));
    return true;
}

namespace {

// The toolkit's own texts (file dialogs, standard buttons, context menus of edit boxes) in the interface
// language, where the system has a translation for it.
void InstallToolkitTranslation() {
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const QString code = InterfaceLanguageCode();
    if (code == u"en")
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qt_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator.get()))
        installed = std::move(translator);
}

// Urdu reads in the face InterfaceFontFamily names, with the desktop's face for what it lacks; every
// other language keeps the desktop's font.
void ApplyInterfaceFont() {
    static const QFont desktop = QGuiApplication::font();
    QFont font = desktop;
    const QString family = InterfaceFontFamily();
    if (!family.isEmpty())
        font.setFamilies({family, desktop.family()});
    if (QGuiApplication::font() != font)
        QGuiApplication::setFont(font);
}

} // namespace

QString InterfaceFontFamily() {
    static const QString urdu = QStringLiteral("Noto Naskh Arabic");
    if (InterfaceLanguageCode() != u"ur" || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QString();
    return QFontDatabase::hasFamily(urdu) ? urdu : QString();
}

QString InterfaceDigits(const QString& text) {
    if (!Current().persianDigits)
        return text;
    QString out = text;
    for (QChar& c : out) {
        if (c >= u'0' && c <= u'9')
            c = QChar(0x06F0 + (c.unicode() - u'0'));
    }
    return out;
}

bool SetLanguage(const QString& fileName) {
    if (!LoadLanguage(fileName))
        return false;
    if (!QCoreApplication::instance())
        return true;
    InstallToolkitTranslation();
    // Windows created afterwards inherit the reading order; a left-to-right language resets it, so
    // switching back from Arabic does not leave the application mirrored.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::setLayoutDirection(Local().Target.RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        ApplyInterfaceFont();
    // Every open window takes the new texts at once: each retranslates itself on this event.
    QEvent changed(QEvent::LanguageChange);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &changed);
    return true;
}

QString InterfaceLanguageCode() {
    const QString name = Local().Target.Name;
    for (int language = QLocale::AnyLanguage + 1; language <= QLocale::LastLanguage; ++language) {
        const auto candidate = static_cast<QLocale::Language>(language);
        if (QLocale::languageToString(candidate).compare(name, Qt::CaseInsensitive) == 0)
            return QLocale::languageToCode(candidate, QLocale::ISO639Part1);
    }
    return QStringLiteral("en");
}

QString Translate(const QString& text) {
    const QString trimmed = Trim(text);
    QString result = trimmed.contains(u'[') ? QString() : ExpandMarkup(text);
    if (trimmed.isEmpty())
        return result;
    const Language& language = Current();
    const QString key = KeyOf(text);
    for (qsizetype i = 0; i < language.keys.size(); ++i) {
        if (language.keys[i] == key) {
            if (!language.targets[i].isEmpty())
                result = ExpandMarkup(language.local.Units[i].Target);
            break;
        }
        if (language.targetsTurnBack && language.targets[i] == key) {
            result = ExpandMarkup(language.local.Units[i].Source);
            break;
        }
    }
    const qsizetype i = language.upperKeys.indexOf(key.toUpper());
    if (i >= 0 && !language.targets[i].isEmpty())
        result = ExpandMarkup(language.local.Units[i].Target);
    return result;
}

QString TranslateContext(const QString& text, const QString& context) {
    QString result = ExpandMarkup(text);
    if (Trim(text).isEmpty())
        return result;
    const Language& language = Current();
    const QString key = KeyOf(text);
    const QString wanted = Trim(context);
    for (qsizetype i = 0; i < language.keys.size(); ++i) {
        if (language.keys[i] == key && language.local.Units[i].Context == wanted) {
            if (!language.targets[i].isEmpty())
                result = ExpandMarkup(language.local.Units[i].Target);
            break;
        }
    }
    return result;
}

QString TranslateFeminine(const QString& text) {
    QString result = ExpandMarkup(text);
    if (Trim(text).isEmpty())
        return result;
    const qsizetype i = FindUnit(KeyOf(text));
    if (i >= 0 && !Trim(Local().Units[i].Target_f).isEmpty())
        result = ExpandMarkup(Local().Units[i].Target_f);
    return result;
}

QString TranslateLines(const QStringList& lines) {
    const QString text = lines.join(kCrLf);
    QString result = ExpandMarkup(text);
    if (Trim(text).isEmpty())
        return result;
    const qsizetype i = FindUnit(KeyOf(text));
    if (i >= 0 && !Current().targets[i].isEmpty())
        result = ExpandMarkup(Local().Units[i].Target);
    return result;
}

QString TranslateOrientation(const QString& key, const QString& fallback) {
    const QString wanted = Trim(key);
    if (wanted.isEmpty())
        return fallback;
    for (const TTransUnit& unit : Local().Units) {
        if (unit.Source == wanted)
            return unit.Orientation.isEmpty() ? fallback : ExpandMarkup(unit.Orientation);
    }
    return fallback;
}

bool IsRtl(const QString& orientation) {
    return orientation == QLatin1String("rtl");
}

namespace {

// The lines of a multi-line value form one sentence. A break between two words becomes one blank, so
// "mother" / "or will" reads "mother or will"; a break next to a blank just goes.
QString JoinLines(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        const bool wordBefore = !out.isEmpty() && !out.back().isSpace();
        const bool wordAfter = i + 1 < text.size() && !text[i + 1].isSpace() && text[i + 1] != u'\r';
        if (wordBefore && wordAfter)
            out += u' ';
    }
    return out;
}

} // namespace

QString ExpandMarkup(const QString& text) {
    QString result = text;
    const bool list = result.contains(QLatin1String("<list>")) || result.startsWith(kCrLf);
    if (!list)
        result = JoinLines(result);
    result.replace(QLatin1String("%*"), QLatin1String("%s"));
    result.replace(QLatin1String("%#"), QLatin1String("%d"));
    result.replace(QLatin1String("\\n"), QLatin1String("\r"));
    result.replace(QLatin1String("||"), kCrLf);
    result.replace(QLatin1String("\\t"), QLatin1String("\t"));
    result.replace(QLatin1String("--"), QLatin1String("\t"));
    if (list) {
        result.remove(QStringLiteral("<list>\r\n"));
        result.remove(QLatin1String("<list>"));
    }
    return result;
}

QString StripAmpersands(const QString& text) {
    return QString(text).remove(u'&');
}

TLocal_Language ReadLanguageHeader(const QString& fileName) {
    TLocal_Language entry;
    entry.FileName = fileName;
    QString text;
    QString error;
    if (!ReadSmlText(fileName, &text, &error))
        return entry;
    const auto valueOf = [](const QString& line) {
        const QString trimmed = Trim(line);
        const qsizetype equals = trimmed.indexOf(u'=');
        return equals < 0 ? QString() : Trim(trimmed.mid(equals + 1));
    };
    for (const QStringView line : QStringView(text).split(u'\n')) {
        const QString plain = line.toString();
        if (plain.contains(QLatin1String("target_lang")) && plain.contains(u'='))
            entry.Name = valueOf(plain);
        if (plain.contains(QLatin1String("native_name"))) {
            if (plain.contains(u'='))
                entry.NativeName = valueOf(plain);
            break;
        }
    }
    return entry;
}

TLanguagesArray ListLanguageFiles() {
    TLanguagesArray languages;
    const QDir dir(LangsFolder());
    const QStringList files = dir.entryList({QStringLiteral("*.local")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        TLocal_Language entry = ReadLanguageHeader(dir.absoluteFilePath(file));
        if (Trim(entry.Name).isEmpty())
            entry.Name = QStringLiteral("<Unknown>");
        languages.append(entry);
    }
    return languages;
}

QString FillPattern(const QString& pattern, const QStringList& args) {
    QString out;
    int next = 0;
    for (int i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == u's' || pattern[i + 1] == u'd')) {
            if (next < args.size())
                out += pattern[i + 1] == u'd' ? InterfaceDigits(args[next]) : args[next];
            ++next;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace verdan
