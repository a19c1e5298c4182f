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

} // namespace

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

// The only input language this platform lets a program see is the active one, so whatever the value
// names, the keyboard stays as the user set it.
void TKeyboardLayout::Switch(const QString& value) {
    if (value.trimmed().isEmpty())
        return;
    Refresh();
    emit OnChange();
}

void TKeyboardLayout::Refresh() {
    const QLocale locale = InputLocale();
    const QLocale::Language language = locale.language();
    layoutName_ = locale.name();
    englishName_ = QLocale::languageToString(language);
    nativeName_ = locale.nativeLanguageName();
    abbreviatedName_ = QLocale::languageToCode(language, QLocale::ISO639Part2);
    localizedName_ = QLocale::system().language() == language ? nativeName_ : englishName_;
}

} // namespace verdan
