#include "keyboard_layout.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QLocale>

namespace verdan {

namespace {

QLocale InputLocale() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::inputMethod()->locale();
    return QLocale::system();
}

TKeyboardGroups*& Installed() {
    static TKeyboardGroups* groups = nullptr;
    return groups;
}

// The short names of the layouts of the languages the interface names.
bool IsLayoutOf(const QString& code, const QString& language) {
    static const QList<QPair<QString, QStringList>> kCodes = {
        {QStringLiteral("english"), {QStringLiteral("us"), QStringLiteral("gb")}},
        {QStringLiteral("arabic"), {QStringLiteral("ara")}},
        {QStringLiteral("persian"), {QStringLiteral("ir")}},
        {QStringLiteral("urdu"), {QStringLiteral("pk")}},
    };
    for (const auto& [name, codes] : kCodes) {
        if (name == language)
            return codes.contains(code);
    }
    return false;
}

} // namespace

TKeyboardGroups* InstallKeyboardGroups(TKeyboardGroups* groups) {
    TKeyboardGroups* previous = Installed();
    Installed() = groups;
    return previous;
}

int FindKeyboardGroup(const QList<TKeyboardGroup>& groups, const QString& name) {
    const QString wanted = name.trimmed().toLower();
    if (wanted.isEmpty())
        return -1;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (groups[i].name.trimmed().toLower() == wanted)
            return int(i);
    }
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QString groupName = groups[i].name.trimmed().toLower();
        if (groupName.startsWith(wanted + u' ') || IsLayoutOf(groups[i].code.toLower(), wanted))
            return int(i);
    }
    if (wanted == u"english") {
        for (qsizetype i = 0; i < groups.size(); ++i) {
            if (groups[i].latin)
                return int(i);
        }
    }
    return -1;
}

TKeyboardLayout::TKeyboardLayout(QObject* parent) : QObject(parent) {
    Refresh();
}

void TKeyboardLayout::SetLayoutName(const QString& value) {
    Switch(value);
}

void TKeyboardLayout::SetLocalizedName(const QString& value) {
    Switch(value);
}

void TKeyboardLayout::SetEnglishName(const QString& value) {
    Switch(value);
}

void TKeyboardLayout::SetAbbreviatedName(const QString& value) {
    Switch(value);
}

void TKeyboardLayout::SetNativeName(const QString& value) {
    Switch(value);
}

bool TKeyboardLayout::Offers(const QString& name) const {
    TKeyboardGroups* groups = Installed();
    return groups && FindKeyboardGroup(groups->Groups(), name) >= 0;
}

void TKeyboardLayout::Switch(const QString& value) {
    if (value.trimmed().isEmpty())
        return;
    if (TKeyboardGroups* groups = Installed()) {
        const int index = FindKeyboardGroup(groups->Groups(), value);
        if (index >= 0 && index != groups->Current())
            groups->Activate(index);
    }
    Refresh();
    emit OnChange();
}

void TKeyboardLayout::Refresh() {
    if (TKeyboardGroups* groups = Installed()) {
        const QList<TKeyboardGroup> all = groups->Groups();
        const int current = groups->Current();
        if (current >= 0 && current < all.size()) {
            const TKeyboardGroup& group = all[current];
            layoutName_ = group.code;
            abbreviatedName_ = group.code;
            englishName_ = group.name;
            localizedName_ = group.name;
            nativeName_ = group.name;
            return;
        }
    }
    const QLocale locale = InputLocale();
    const QLocale::Language language = locale.language();
    layoutName_ = locale.name();
    englishName_ = QLocale::languageToString(language);
    nativeName_ = locale.nativeLanguageName();
    abbreviatedName_ = QLocale::languageToCode(language, QLocale::ISO639Part2);
    localizedName_ = QLocale::system().language() == language ? nativeName_ : englishName_;
}

} // namespace verdan
