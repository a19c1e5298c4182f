#include "typed_numbers.h"

namespace verdan {

namespace {

constexpr char16_t kArabicIndicZero = 0x0660;
constexpr char16_t kPersianZero = 0x06F0;
constexpr char16_t kArabicDecimalSeparator = 0x066B;
constexpr char16_t kMinusSign = 0x2212;

} // namespace

bool IsTypedDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= kArabicIndicZero && u <= kArabicIndicZero + 9) ||
           (u >= kPersianZero && u <= kPersianZero + 9);
}

QString NormaliseDigits(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            continue;
        if (u >= kArabicIndicZero && u <= kArabicIndicZero + 9)
            c = QChar(char16_t(u'0' + (u - kArabicIndicZero)));
        else if (u >= kPersianZero && u <= kPersianZero + 9)
            c = QChar(char16_t(u'0' + (u - kPersianZero)));
        else if (u == kArabicDecimalSeparator)
            c = u'.';
        else if (u == kMinusSign)
            c = u'-';
    }
    return out;
}

std::optional<int> ReadTypedInteger(const QString& text) {
    const QString ascii = NormaliseDigits(text).trimmed();
    qsizetype start = 0;
    if (!ascii.isEmpty() && (ascii[0] == u'-' || ascii[0] == u'+'))
        start = 1;
    if (start == ascii.size())
        return std::nullopt;
    for (qsizetype i = start; i < ascii.size(); ++i)
        if (ascii[i] < u'0' || ascii[i] > u'9')
            return std::nullopt;
    bool ok = false;
    const int value = ascii.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace verdan
