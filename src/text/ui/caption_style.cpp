#include "caption_style.h"

#include "text/bidi_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace verdan {

namespace {

// The caption an underline would be drawn in, from the option the style is asked with or its widget.
QString CaptionOf(const QStyleOption* option, const QWidget* widget) {
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option))
        return item->text;
    if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option))
        return button->text;
    if (const auto* tool = qstyleoption_cast<const QStyleOptionToolButton*>(option))
        return tool->text;
    if (const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option))
        return tab->text;
    if (const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option))
        return box->text;
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    return QString();
}

} // namespace

int TCaptionStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const {
    if (hint == SH_UnderlineShortcut && HasArabicLetters(CaptionOf(option, widget)))
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void TCaptionStyle::drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                                 bool enabled, const QString& text, QPalette::ColorRole textRole) const {
    if ((flags & Qt::TextShowMnemonic) && HasArabicLetters(text))
        flags = (flags & ~Qt::TextShowMnemonic) | Qt::TextHideMnemonic;
    QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
}

void TCaptionStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
    if (element != CE_ComboBoxLabel || !option || !painter) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const Qt::LayoutDirection before = painter->layoutDirection();
    painter->setLayoutDirection(option->direction);
    QProxyStyle::drawControl(element, option, painter, widget);
    painter->setLayoutDirection(before);
}

void InstallCaptionStyle() {
    QApplication::setStyle(new TCaptionStyle(QStyleFactory::create(QApplication::style()->name())));
}

} // namespace verdan
