#include "sql_literals.h"

namespace verdan {

QString EscapeSqlText(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\'', QStringLiteral("''"));
    return escaped;
}

QString Quote(const QString& text) {
    return u'\'' + EscapeSqlText(text) + u'\'';
}

QString QuoteEscaped(const QString& text) {
    return Quote(text);
}

QString SqlBool(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString SqlBit(bool value) {
    return SqlBool(value);
}

QString SqlDate(const QDate& date) {
    if (!date.isValid())
        return QStringLiteral("NULL");
    return u'\'' + date.toString(QStringLiteral("yyyy-MM-dd")) + u'\'';
}

QString SqlDate(const QDateTime& date) {
    return SqlDate(date.date());
}

QString StampText(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString NowStamp() {
    return StampText(QDateTime::currentDateTime());
}

QDateTime ParseStamp(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QDateTime();
    QDateTime time = QDateTime::fromString(trimmed, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!time.isValid())
        time = QDateTime::fromString(trimmed, Qt::ISODate);
    if (!time.isValid())
        time = QDateTime(QDate::fromString(trimmed, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    return time;
}

} // namespace verdan
