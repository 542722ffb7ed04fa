// Number texts must not follow the process locale except where the general
// number text asks for the user's decimal separator.

#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <cmath>
#include <limits>

#include "common/CommaToPoint.h"
#include "common/GeneralNumberText.h"
#include "common/Numbers.h"
#include "support/CommaLocaleGuard.h"

namespace {

struct GeneralCase {
    double value;
    const char* text;
};

const GeneralCase generalCases[] = {
    {12345, "12345"},
    {12.5, "12.5"},
    {0.1 * 123, "12.3"},
    {-4.5, "-4.5"},
    {-3, "-3"},
    {0, "0"},
    {-0.0, "0"},
    {0.1 + 0.2, "0.3"},
    {123456789012345.0, "123456789012345"},
    {1234567890123456.0, "1.23456789012346E15"},
    {2147483647.0, "2147483647"},
    {0.00012, "0.00012"},
    {0.000015, "0.000015"},
    {0.0000015, "1.5E-6"},
    {1.0 / 3.0, "0.333333333333333"},
    {25.0, "25"},
};

}  // namespace

TEST(GeneralNumberText, ShortestFormWithFifteenDigitsUnderC)
{
    QLocale::setDefault(QLocale::c());
    for (const auto& c : generalCases) {
        EXPECT_EQ(GeneralNumberTextC(c.value), c.text) << c.value;
        EXPECT_EQ(GeneralNumberText(c.value), QString::fromLatin1(c.text)) << c.value;
    }
}

TEST(GeneralNumberText, UsesTheUsersDecimalSeparator)
{
    CommaLocaleGuard german;
    for (const auto& c : generalCases) {
        QString expected = QString::fromLatin1(c.text);
        expected.replace(QLatin1Char('.'), QLatin1Char(','));
        EXPECT_EQ(GeneralNumberText(c.value), expected) << c.value;
        // The point form stays a point form whatever the locale.
        EXPECT_EQ(GeneralNumberTextC(c.value), c.text) << c.value;
    }
}

TEST(FixedFormats, AlwaysWriteAPoint)
{
    struct Case {
        double value;
        int decimals, width;
        const char* text;
    };
    const Case cases[] = {
        {12.4, 1, 0, "12.4"},   {0.1234, 3, 0, "0.123"}, {12.3, 1, 5, " 12.3"}, {-3, 1, 5, " -3.0"},
        {0, 1, 5, "  0.0"},     {-12.3, 1, 5, "-12.3"},  {123.4, 1, 7, "  123.4"}, {-0.5, 1, 7, "   -0.5"},
        {45, 1, 5, " 45.0"},    {0.0987, 3, 0, "0.099"}, {1234.5, 1, 5, "1234.5"}, {-0.04, 1, 0, "-0.0"},
    };
    CommaLocaleGuard german;
    if (!german.Active())
        GTEST_SKIP() << "de_DE.UTF-8 is not generated on this machine";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the C library should write a comma here, or this test shows nothing";
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals, c.width), c.text) << c.value;
    EXPECT_EQ(FormatInt(7, 6), "     7");
    EXPECT_EQ(FormatInt(-12, 6), "   -12");
    EXPECT_EQ(FormatInt(1234567, 6), "1234567");
}

TEST(ReadNumber, FollowsStrtodDecimalRulesInAnyLocale)
{
    struct Case {
        const char* text;
        double value;
        std::size_t used;
    };
    const Case cases[] = {
        {"12.5", 12.5, 4},      {"  -5", -5, 4},        {"\t+7abc", 7, 3},      {"1,5", 1, 1},
        {".5", 0.5, 2},         {"5.", 5, 2},           {"1e3", 1000, 3},       {"1E-2x", 0.01, 4},
        {"1e", 1, 1},           {"1e+", 1, 1},          {"0x10", 0, 1},         {"inf", 0, 0},
        {"nan", 0, 0},          {"abc", 0, 0},          {"", 0, 0},             {"-", 0, 0},
        {".", 0, 0},            {"     0", 0, 6},       {"-0.5", -0.5, 4},      {"3.9 sec", 3.9, 3},
    };
    CommaLocaleGuard german;
    for (const auto& c : cases) {
        std::size_t used = 99;
        EXPECT_DOUBLE_EQ(ReadNumber(c.text, &used), c.value) << c.text;
        EXPECT_EQ(used, c.used) << c.text;
    }
    EXPECT_TRUE(std::isinf(ReadNumber("1e400")));
    EXPECT_EQ(ReadNumber("1e-400"), 0.0);
}

TEST(TruncToInt32, TowardZeroAndClamped)
{
    struct Case {
        double value;
        std::int32_t result;
    };
    const Case cases[] = {
        {2.9, 2},
        {-1.5, -1},
        {-0.5, 0},
        {1.9, 1},
        {2147483647.9, 2147483647},
        {1e12, std::numeric_limits<std::int32_t>::max()},
        {-1e12, std::numeric_limits<std::int32_t>::min()},
        {std::numeric_limits<double>::infinity(), std::numeric_limits<std::int32_t>::max()},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TruncToInt32(c.value), c.result) << c.value;
}

TEST(CommaToPoint, ReplacesEveryCommaAndNothingElse)
{
    char text[] = "1,2;3,,4 a,b";
    CommaToPoint(text);
    EXPECT_STREQ(text, "1.2;3..4 a.b");
    std::string s = "-12,5";
    CommaToPoint(s);
    EXPECT_EQ(s, "-12.5");
    CommaToPoint(static_cast<char*>(nullptr));
}
