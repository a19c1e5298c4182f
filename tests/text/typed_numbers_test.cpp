#include "text/typed_numbers.h"

#include <gtest/gtest.h>

namespace verdan {
namespace {

TEST(TypedNumbers, DigitsOfEveryKeyboardReadAlike) {
    EXPECT_EQ(NormaliseDigits(u"١٥-٠٦-١١٥٤"_qs), "15-06-1154");
    EXPECT_EQ(NormaliseDigits(u"۱۵/۰۶/۱۱۵۴"_qs), "15/06/1154");
    EXPECT_EQ(NormaliseDigits(u"٣٫٥ − ٢"_qs), "3.5 - 2") << "decimal separator and minus sign";
    EXPECT_EQ(NormaliseDigits(u"أحمد 12"_qs), u"أحمد 12"_qs) << "letters stay as they are";
    EXPECT_TRUE(IsTypedDigit(u'7'));
    EXPECT_TRUE(IsTypedDigit(QChar(0x0669)));
    EXPECT_TRUE(IsTypedDigit(QChar(0x06F0)));
    EXPECT_FALSE(IsTypedDigit(QChar(0x0966))) << "Devanagari zero: no reader takes it back";
    EXPECT_FALSE(IsTypedDigit(u'a'));
}

TEST(TypedNumbers, AWholeIntegerOrNothing) {
    EXPECT_EQ(ReadTypedInteger(u"١٢"_qs), 12);
    EXPECT_EQ(ReadTypedInteger(u" ۰۷ "_qs), 7);
    EXPECT_EQ(ReadTypedInteger(u"-3"_qs), -3);
    EXPECT_EQ(ReadTypedInteger(u"−٣"_qs), -3);
    EXPECT_EQ(ReadTypedInteger(u"+5"_qs), 5);
    for (const char16_t* text : {u"", u" ", u"+", u"12a", u"1 2", u"3.5", u"99999999999", u"१२"})
        EXPECT_FALSE(ReadTypedInteger(QString::fromUtf16(text)).has_value())
            << QString::fromUtf16(text).toStdString();
}

} // namespace
} // namespace verdan
