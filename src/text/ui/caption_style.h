#pragma once

#include <QProxyStyle>

namespace verdan {

// The application's style: the toolkit's own, except that captions in the Arabic script (Arabic, Persian,
// Urdu) are drawn without the underline of their keyboard accelerator. The underline would cut the joined
// letters apart ("لا", "نعم"); the Alt key still works. And a combo box's text reads in the box's own
// direction: the toolkit draws it in the window's, so a box of paths kept left to right in a mirrored
// window still showed "tmp/trees/" for "/tmp/trees".
class TCaptionStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
                      const QString& text, QPalette::ColorRole textRole = QPalette::NoRole) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

// Installs TCaptionStyle over the application's current style.
void InstallCaptionStyle();

} // namespace verdan
