// What data exchange accepts as a number from an edit, and how it writes numbers back.

#include "platform/ddx_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

using platform::FormatDdxValue;
using platform::ParseDdxDouble;
using platform::ParseDdxInt;
using platform::ParseDdxUInt;

TEST(DdxInt, AcceptsSignedDecimalBetweenBlanks) {
    const struct {
        const char* text;
        int value;
    } good[] = {{"12", 12},
                {" 12 ", 12},
                {"-3", -3},
                {"+7", 7},
                {"\t0\r\n", 0},
                {"007", 7},
                {"-0", 0},
                {"2147483647", 2147483647},
                {"-2147483648", -2147483647 - 1}};
    for (const auto& g : good) {
        int v = 99;
        EXPECT_TRUE(ParseDdxInt(g.text, v)) << '"' << g.text << '"';
        EXPECT_EQ(v, g.value) << '"' << g.text << '"';
    }
}

TEST(DdxInt, RejectsAnythingElseAndKeepsTheValue) {
    for (const char* bad : {"", " ", "12a", "abc", "a1", "1 2", "- 3", "--3", "+", "1.5", "1e3",
                            "2147483648", "-2147483649", "99999999999999999999", "！"}) {
        int v = 99;
        EXPECT_FALSE(ParseDdxInt(bad, v)) << '"' << bad << '"';
        EXPECT_EQ(v, 99) << '"' << bad << '"';
    }
    int v = 99;
    EXPECT_FALSE(ParseDdxInt(nullptr, v));
}

TEST(DdxUInt, WholeUnsignedRangeAndNoNegatives) {
    UINT u = 1;
    EXPECT_TRUE(ParseDdxUInt(" 4294967295", u));
    EXPECT_EQ(u, 4294967295u);
    EXPECT_TRUE(ParseDdxUInt("-0", u));
    EXPECT_EQ(u, 0u);
    u = 1;
    for (const char* bad : {"4294967296", "-1", "", "1x"}) {
        EXPECT_FALSE(ParseDdxUInt(bad, u)) << '"' << bad << '"';
        EXPECT_EQ(u, 1u);
    }
}

TEST(DdxDouble, AcceptsDecimalNumbers) {
    const struct {
        const char* text;
        double value;
    } good[] = {{"3.5", 3.5}, {" -0.25 ", -0.25}, {"1e3", 1000.0}, {"12", 12.0}, {".5", 0.5}};
    for (const auto& g : good) {
        double d = 99;
        EXPECT_TRUE(ParseDdxDouble(g.text, d)) << '"' << g.text << '"';
        EXPECT_EQ(d, g.value) << '"' << g.text << '"';
    }
}

TEST(DdxDouble, RejectsGarbageOverflowAndNonNumbers) {
    for (const char* bad : {"", "  ", "3.5V", "abc", "3,5", "1e999", "-1e999", "nan", "NAN", "inf",
                            "-Infinity", ".", "e3"}) {
        double d = 99;
        EXPECT_FALSE(ParseDdxDouble(bad, d)) << '"' << bad << '"';
        EXPECT_EQ(d, 99) << '"' << bad << '"';
    }
    double d = 99;
    EXPECT_FALSE(ParseDdxDouble(nullptr, d));
}

TEST(DdxDouble, ReadsAndWritesThePointInACommaLocale) {
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (std::setlocale(LC_ALL, name)) {
            comma = true;
            break;
        }
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma on this machine";
    double d = 0;
    bool parsed = ParseDdxDouble("3.25", d);
    CString shown = FormatDdxValue(0.5);
    std::setlocale(LC_ALL, "C");
    EXPECT_TRUE(parsed);
    EXPECT_EQ(d, 3.25);
    EXPECT_STREQ(shown, "0.5");
}

TEST(DdxFormat, IntsAndFifteenSignificantDigits) {
    EXPECT_STREQ(FormatDdxValue(-5), "-5");
    EXPECT_STREQ(FormatDdxValue(0), "0");
    EXPECT_STREQ(FormatDdxValue(4294967295u), "4294967295");
    EXPECT_STREQ(FormatDdxValue(25.0), "25");
    EXPECT_STREQ(FormatDdxValue(1.0 / 3.0), "0.333333333333333");
    EXPECT_STREQ(FormatDdxValue(1e20), "1e+20");
    // What is shown reads back as the same number to 15 digits.
    for (double x : {0.1, -123.456, 6.02214076e23, 1e-7, 3.14159265358979}) {
        double back = 0;
        ASSERT_TRUE(ParseDdxDouble(FormatDdxValue(x), back)) << x;
        EXPECT_NEAR(back, x, std::fabs(x) * 1e-14) << x;
    }
}

}  // namespace
