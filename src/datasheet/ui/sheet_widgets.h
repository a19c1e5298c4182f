#pragma once

#include <QString>

class QToolButton;
class QWidget;

namespace verdan {

// A flat tool button of the sheet's sections: the picture alone, the hint (set with SetHint) as tooltip
// and accessible name.
QToolButton* NewSectionButton(QWidget* parent, const char16_t* icon, const char* name);
void SetHint(QWidget* widget, const QString& hint);

} // namespace verdan

namespace verdan {

// Tints a box green when its text passed a check and pink when it did not; the text is kept as typed
// either way. An empty box takes its normal colour back.
void MarkCheckedBox(QWidget* box, bool wellFormed);

} // namespace verdan
