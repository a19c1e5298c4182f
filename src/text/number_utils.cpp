#include "number_utils.h"

#include <QLocale>
#include <QRegularExpression>

namespace verdan {

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

QLocale UserNumberLocale() {
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

int ExtractInteger(const QString& text) {
    qsizetype begin = 0;
    while (begin < text.size() && !IsDigit(text[begin]) && text[begin] != u'-')
        ++begin;
    qsizetype end = begin;
    while (end < text.size() && (IsDigit(text[end]) || text[end] == u'-'))
        ++end;
    bool ok = false;
    const int value = text.mid(begin, end - begin).toInt(&ok, 10);
    return ok ? value : 0;
}

QString DigitsOnly(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (IsDigit(c))
            out += c;
    }
    return out;
}

int TextToIntegerOrZero(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

bool IsNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    return number.match(text).hasMatch();
}

double TextToFloatOrZero(const QString& text) {
    bool ok = false;
    double value = QLocale::system().toDouble(text.trimmed(), &ok);
    if (!ok)
        value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? value : 0.0;
}

QString FloatText(double value) {
    return UserNumberLocale().toString(value, 'g', 15);
}

QString FixedText(double value, int decimals) {
    return UserNumberLocale().toString(value, 'f', qMax(decimals, 0));
}

QString PadNumber(int value, int width) {
    if (value < 0)
        return u'-' + QString::number(-qint64(value)).rightJustified(width - 1, u'0');
    return QString::number(value).rightJustified(width, u'0');
}

QString IntText(int value) {
    return QString::number(value);
}

bool TextToBool(const QString& text) {
    static const QStringList truths = {QStringLiteral("true"), QStringLiteral("t"),   QStringLiteral("1"),
                                       QStringLiteral("-1"),   QStringLiteral("yes"), QStringLiteral("y")};
    return truths.contains(text.trimmed(), Qt::CaseInsensitive);
}

QString BoolToText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace verdan
