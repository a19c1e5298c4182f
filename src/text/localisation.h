#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace verdan {

struct TTranslator {
    QString Name;
    QString Email;
};
using TTranslator_Array = QList<TTranslator>;

struct TTarget_Lang {
    QString Name;
    QString NativeName;
    QString Orientation;
    QString KeyboardLayout;
    bool RightToLeft = false;
    TTranslator_Array Translators;
};

// One translation unit. Index counts the children of "translations" from 1; children that are not units
// keep their place as empty entries.
struct TTransUnit {
    qint32 Index = 0;
    QString AuthorNote;
    QString TranslatorNote;
    QString Context;
    QString Source;
    QString Orientation;
    QString Target;
    QString Target_f;
    QString Target_p;
    QString Target_pf;
};

// The loaded language document.
struct TLocal {
    QString FileName;
    QString AuthorNote;
    QString SourceLang;
    TTarget_Lang Target;
    QList<TTransUnit> Units;
};

// An entry of the language list.
struct TLocal_Language {
    QString Name;
    QString NativeName;
    QString FileName;
};
using TLanguagesArray = QList<TLocal_Language>;

// The language document in force (empty until one is loaded).
const TLocal& Local();

// The langs folder below the program folder, with a trailing "/".
QString LangsFolder();

// Writes each built-in document into the langs folder unless a file of its name is there already; a file
// written by an earlier version gets the units it lacks (UpdateLanguageDocument). Failures are ignored: an
// earlier copy may still serve.
void InstallLanguageFiles();

// The language file the options name (relative to the program folder), or langs/arabic.local when the
// option is empty or names no existing file.
QString ResolveLanguageFile(const QString& option);

// Loads a language document. A missing file or a document without "localization" keeps the language in
// force; a document without "translations" loads its header only. Failures are reported through the
// system message handler; the result says whether the document was taken.
bool LoadLanguage(const QString& fileName);
// LoadLanguage, then (when an application runs) the toolkit's own translation for the language, the
// application-wide reading order and font, and a LanguageChange event by which every open window
// retranslates.
bool SetLanguage(const QString& fileName);

// The two-letter code of the loaded document's language ("ar", "en", "fa", "ur"), found from its English
// name; "en" when the name is no language the system knows.
QString InterfaceLanguageCode();

// The font family the interface language asks for beyond the desktop's font: for Urdu a face the toolkit
// shapes every Urdu letter of, Noto Naskh Arabic, when it is installed; empty otherwise (and without a GUI
// application). The toolkit scrambles the cursive joins of the installed Nastaliq face (a letter drawn over
// its neighbours, «زینب» read as «نیب»), so Urdu is not written in it.
QString InterfaceFontFamily();

// A number (or any text) with its digits as the interface language writes them in its sentences:
// Persian digits in Persian, unchanged in every other language.
QString InterfaceDigits(const QString& text);

// The current-language text for an English source text. The result is a pattern: "%*" and "%#" of the
// source come back as "%s" and "%d"; fill it with FillPattern, never with printf-style formatting.
// A text that is itself a translation comes back as its source; an untranslated bracketed key ("[..]")
// gives the empty text.
QString Translate(const QString& text);
// Only units of that context count; without one the English text is shown.
QString TranslateContext(const QString& text, const QString& context);
// The feminine form of a text.
QString TranslateFeminine(const QString& text);
// A source of several lines, joined by CR LF.
QString TranslateLines(const QStringList& lines);
// The reading order a unit prescribes for its text ("rtl", "ltr"), or fallback when it names none.
QString TranslateOrientation(const QString& key, const QString& fallback = QString());

bool IsRtl(const QString& orientation);
// Turns translation markup into display text: "%*" "%s", "%#" "%d", "||" and "\n" line breaks, "--" and
// "\t" tabs; the lines of a value are joined unless it is a "<list>" (or begins with a line break).
QString ExpandMarkup(const QString& text);
QString StripAmpersands(const QString& text);

// The names in a language document's header, found without parsing the whole document.
TLocal_Language ReadLanguageHeader(const QString& fileName);
// Every *.local file in the langs folder; an entry without a name is called "<Unknown>".
TLanguagesArray ListLanguageFiles();

// Fills "%s" and "%d" placeholders in order, a "%d" with InterfaceDigits of its argument; missing arguments
// leave the placeholder empty and extra arguments are dropped, so a faulty language document cannot break a
// message.
QString FillPattern(const QString& pattern, const QStringList& args);

} // namespace verdan
