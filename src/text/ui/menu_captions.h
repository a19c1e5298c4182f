#pragma once

#include <QString>

class QWidget;

namespace verdan {

// A menu entry's or button's caption, written in English in the code, in the interface language.
QString MenuCaption(const char* text);
// The caption of an entry that opens a further window: it carries ".." after the text.
QString MenuOpens(const char* text);

// Gives every entry of a menu bar or menu (and of its submenus) whose caption is written in the Arabic
// script and has no "&" a letter of its own for Alt: the first letter of a word no other entry of the same
// menu is chosen by, else any such letter. Call it after the captions are set. (The Arabic translations
// carry no "&"; Latin captions keep theirs.)
void GiveArabicMnemonics(QWidget* menu);

} // namespace verdan
