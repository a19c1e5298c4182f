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
