#pragma once

#include <QCollator>
#include <QLocale>

namespace verdan {

// The locale of the interface language in force (English for a language document the system does not
// know), for sorting and comparing names as its readers expect.
QLocale InterfaceLocale();

// A collator of the interface language that orders names as a reader of it does: letter case, and
// punctuation only where the letters are equal.
QCollator InterfaceCollator();

} // namespace verdan
