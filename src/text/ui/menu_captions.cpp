#include "menu_captions.h"

#include "text/bidi_text.h"
#include "text/localisation.h"

#include <QAction>
#include <QMenu>
#include <QSet>

namespace verdan {

namespace {

// The letter a caption is chosen by with Alt, lower-cased; none without one ("&&" is a plain "&").
QChar MnemonicLetter(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption[i + 1].toLower();
        ++i;
    }
    return QChar();
}

// The caption with "&" before a letter no other entry of its menu is chosen by: the first letter of a word
// when one is free, else any free letter; unchanged when every letter is taken. The key shown after a tab
// is left alone.
QString WithFreeMnemonic(const QString& caption, QSet<QChar>& used) {
    const qsizetype end = caption.contains(u'\t') ? caption.indexOf(u'\t') : caption.size();
    for (const bool wordStart : {true, false}) {
        for (qsizetype i = 0; i < end; ++i) {
            const QChar c = caption[i];
            if (!c.isLetter() || used.contains(c.toLower()))
                continue;
            if (wordStart && i > 0 && !caption[i - 1].isSpace())
                continue;
            used.insert(c.toLower());
            return caption.left(i) + u'&' + caption.mid(i);
        }
    }
    return caption;
}

void GiveMnemonicsTo(const QList<QAction*>& actions) {
    QSet<QChar> used;
    for (const QAction* action : actions) {
        if (const QChar letter = MnemonicLetter(action->text()); !letter.isNull())
            used.insert(letter);
    }
    for (QAction* action : actions) {
        if (action->isSeparator() || !HasArabicLetters(action->text()) ||
            !MnemonicLetter(action->text()).isNull())
            continue;
        action->setText(WithFreeMnemonic(action->text(), used));
    }
    for (QAction* action : actions) {
        if (QMenu* menu = action->menu())
            GiveMnemonicsTo(menu->actions());
    }
}

} // namespace

QString MenuCaption(const char* text) {
    return Translate(QString::fromLatin1(text));
}

QString MenuOpens(const char* text) {
    return MenuCaption(text) + QStringLiteral("..");
}

void GiveArabicMnemonics(QWidget* menu) {
    GiveMnemonicsTo(menu->actions());
}

} // namespace verdan
