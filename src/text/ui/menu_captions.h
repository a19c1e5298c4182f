#pragma once

#include <QString>

namespace verdan {

// A menu entry's or button's caption, written in English in the code, in the interface language.
QString MenuCaption(const char* text);
// The caption of an entry that opens a further window: it carries ".." after the text.
QString MenuOpens(const char* text);

} // namespace verdan
