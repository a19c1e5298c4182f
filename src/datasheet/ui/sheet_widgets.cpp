#include "sheet_widgets.h"

#include "text/ui/icons.h"

#include <QToolButton>

namespace verdan {

QToolButton* NewSectionButton(QWidget* parent, const char16_t* icon, const char* name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(Icon(icon));
    button->setAutoRaise(true);
    return button;
}

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setAccessibleName(hint);
}

} // namespace verdan
