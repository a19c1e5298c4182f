#include "text_utils.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>

namespace verdan {

bool IsValidEmail(const QString& text) {
    static const QRegularExpression email(
        QStringLiteral(R"(^[a-zA-Z0-9_.+-]+@[a-zA-Z0-9-]+\.[a-zA-Z0-9-.]*[a-zA-Z0-9]+$)"));
    return email.match(text).hasMatch();
}

bool IsValidUrl(const QString& text) {
    static const QRegularExpression url(
        QStringLiteral(R"(^(http|https|ftp|)\://[a-zA-Z0-9\-\.]+\.[a-zA-Z]{2,3}(:[a-zA-Z0-9]*)?/?)"
                       R"(([a-zA-Z0-9\-\._\?\,\'/\\\+&%\$#\=~])*[^\.\,\)\(\s]$)"));
    return url.match(text).hasMatch();
}

QString SqlDateText(const QDate& date) {
    if (!date.isValid())
        return QString();
    return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
}

QDateTime BuildTime() {
    return QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
}

QRect FitRect(const QRect& bounds, const QSize& source) {
    const double scale = qMin(double(bounds.width()) / qMax(source.width(), 1),
                              double(bounds.height()) / qMax(source.height(), 1));
    const int width = int(std::lround(source.width() * scale));
    const int height = int(std::lround(source.height() * scale));
    return QRect(bounds.left() + (bounds.width() - width) / 2, bounds.top() + (bounds.height() - height) / 2,
                 width, height);
}

QColor LightenColor(const QColor& color, int percent) {
    const int share = qBound(0, percent, 100);
    auto lighten = [share](int channel) {
        return channel + int(std::lround((255 - channel) * share / 100.0));
    };
    return QColor(lighten(color.red()), lighten(color.green()), lighten(color.blue()), color.alpha());
}

void DrawTextRight(QPainter& painter, int x, int y, const QString& text) {
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text);
    const Qt::LayoutDirection saved = painter.layoutDirection();
    painter.setLayoutDirection(Qt::RightToLeft);
    painter.drawText(QRect(x - width, y, width, metrics.height()),
                     Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
    painter.setLayoutDirection(saved);
}

} // namespace verdan
