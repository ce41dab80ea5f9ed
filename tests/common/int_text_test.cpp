#include "common/int_text.h"

#include <gtest/gtest.h>

#include "common/exception.h"

namespace ornet5 {
namespace {

TEST(IntText, DecimalWithBlanksAndSign) {
    EXPECT_EQ(TryStrToInt("12"), 12);
    EXPECT_EQ(TryStrToInt("  12"), 12);
    EXPECT_EQ(TryStrToInt("+7"), 7);
    EXPECT_EQ(TryStrToInt("-7"), -7);
    EXPECT_EQ(TryStrToInt("  -0"), 0);
    EXPECT_EQ(TryStrToInt("007"), 7);
}

TEST(IntText, HexadecimalPrefixes) {
    EXPECT_EQ(TryStrToInt("$1f"), 31);
    EXPECT_EQ(TryStrToInt("x1F"), 31);
    EXPECT_EQ(TryStrToInt("X10"), 16);
    EXPECT_EQ(TryStrToInt("0x10"), 16);
    EXPECT_EQ(TryStrToInt("0XfF"), 255);
    EXPECT_EQ(TryStrToInt(" -$10"), -16);
    EXPECT_EQ(TryStrToInt("$7FFFFFFF"), 2147483647);
    EXPECT_EQ(TryStrToInt("-$80000000"), -2147483647 - 1);
}

TEST(IntText, Boundaries) {
    EXPECT_EQ(TryStrToInt("2147483647"), 2147483647);
    EXPECT_EQ(TryStrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_FALSE(TryStrToInt("2147483648"));
    EXPECT_FALSE(TryStrToInt("-2147483649"));
    EXPECT_FALSE(TryStrToInt("$80000000"));
    EXPECT_FALSE(TryStrToInt("$FFFFFFFF"));
    EXPECT_FALSE(TryStrToInt("99999999999999999999999999"));
}

TEST(IntText, MalformedTextsFail) {
    for (const char* text : {"", " ", "+", "-", "$", "x", "0x", "12 ", "1 2", "1.5", "abc", "\t12",
                             "12a", "$G", "0x1g", "--1", "+-1", "0b1", "1e3"}) {
        EXPECT_FALSE(TryStrToInt(text)) << "'" << text << "'";
    }
    EXPECT_FALSE(TryStrToInt(std::string_view("1\0", 2)));
}

TEST(IntText, StrToIntNamesTheTextInItsError) {
    EXPECT_EQ(StrToInt("38400"), 38400);
    try {
        StrToInt("96 00");
        FAIL() << "no error raised";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "'96 00' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt(""), EConvertError);
    try {
        StrToInt(std::string_view("1\0x", 3));
        FAIL() << "no error raised";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "'1" + std::string(1, '\0') + "x' is not a valid integer value");
    }
}

}  // namespace
}  // namespace ornet5
