#include "sheet_widgets.h"

#include "text/ui/icons.h"

#include <QLineEdit>
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

namespace verdan {

void MarkCheckedBox(QWidget* box, bool wellFormed) {
    QPalette colours = box->parentWidget() ? box->parentWidget()->palette() : QPalette();
    const auto* line = qobject_cast<const QLineEdit*>(box);
    if (!line || !line->text().trimmed().isEmpty())
        colours.setColor(QPalette::Base, wellFormed ? QColor(0xc0, 0xdc, 0xc0) : QColor(0xff, 0xbb, 0xff));
    box->setPalette(colours);
    box->setProperty("wellFormed",
                     line && line->text().trimmed().isEmpty() ? QVariant() : QVariant(wellFormed));
}

} // namespace verdan
