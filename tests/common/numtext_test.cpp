#include "common/numtext.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>

namespace korvane {
namespace {

// Run once as is and once under a locale whose decimal mark is a comma (the build's own
// de_DE.UTF-8): the texts must be the same.
class Locale : public ::testing::Environment
{
public:
    void SetUp() override
    {
        std::setlocale(LC_ALL, "");
        if (std::getenv("KORVANE_EXPECT_DECIMAL_COMMA")) {
            ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "no decimal-comma locale";
        }
    }
};
const auto *const locale = ::testing::AddGlobalTestEnvironment(new Locale);

TEST(ParseNumber, AcceptsPlainAndFullWidthForms)
{
    struct Case
    {
        std::u16string_view text;
        double value;
    };
    const Case cases[] = {
        {u"1092", 1092},
        {u"-60", -60},
        {u"+0.5", 0.5},
        {u"297.", 297},
        {u".5", 0.5},
        {u"  787\t", 787},
        {u"1e3", 1000},
        {u"2.5E-1", 0.25},
        {u"１０９２．５", 1092.5},
        {u"－３", -3},
        {u"\u3000８０\u3000", 80},
        {u"1e-400", 0},
        {u"2.5e-330", 0},
        {u"-1e-99999999999999999999", 0},
        {u"0.000000000000000000000000000000e999999", 0},
        {u"4.9e-324", 4.9e-324},
        {u"1.7976931348623157e308", std::numeric_limits<double>::max()},
        // Either side of half the smallest subnormal, and the largest subnormal.
        {u"2.4703282292062328e-324", 4.9e-324},
        {u"2.4703282292062327e-324", 0},
        {u"2.2250738585072011e-308", 2.2250738585072011e-308},
        // Rounds down to the largest double; ...159e308 rounds up to infinity.
        {u"1.7976931348623158e308", std::numeric_limits<double>::max()},
    };
    const std::u16string longest = std::u16string(1'048'573, u'0') + u"297";
    EXPECT_EQ(parseNumber(longest), 297);
    for (const Case &c : cases) {
        const auto parsed = parseNumber(c.text);
        ASSERT_TRUE(parsed.has_value()) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(*parsed, c.value);
    }
}

TEST(ParseNumber, RefusesWhatIsNotAFiniteNumber)
{
    // clang-format off
    const std::u16string_view texts[] = {
        u"",       u"   ",     u"abc",   u"inf",   u"-inf", u"nan", u"infinity", u"1e400",
        u"-1e309", u"0.1e310", u"1.7976931348623159e308",   u"1e99999999999999999999",
        u"0x10",   u"1,092",   u"1 092", u"12a",   u".",    u"-",   u"+-1",
        u"1e",     u"1e+",     u"1..2",  u"1.2.3", u"--1",  u"e5",  u"１２ａ",   u"٣",
    };
    // clang-format on
    for (std::u16string_view text : texts) {
        EXPECT_FALSE(parseNumber(text).has_value()) << std::string(text.begin(), text.end());
    }
}

// Whatever parseNumber reads, read exactly in hundredths: nothing finer, nothing beyond the
// maximum (here 5000.00), and the texts it refuses refused.
TEST(ParseHundredths, TheSameTextsExactly)
{
    struct Case
    {
        std::u16string_view text;
        std::optional<std::int64_t> hundredths;
    };
    const std::u16string zeros = u"0." + std::u16string(100'000, u'0');
    const std::u16string nines(100'000, u'9');
    const std::u16string ten = zeros + u"1e100002";
    const Case cases[] = {
        {u"1092", 109200},
        {u"1.092e3", 109200},
        {u"\u3000１０９２．", 109200},
        {u"0.5", 50},
        {u".05", 5},
        {u"-3", -300},
        {u"5000", 500000},
        {u"5000.00000", 500000},
        {u"500000e-2", 500000},
        {u"0e400", 0},
        {u"-0", 0},
        {u"0.000", 0},
        {u"２.５E－1", 25},
        {zeros, 0},
        {ten, 1000},
        {u"5000.01", {}},
        {u"0.001", {}},
        {u"1e-400", {}},
        {u"1e400", {}},
        {u"1.5e-3", {}},
        {nines, {}},
        {u"abc", {}},
        {u"", {}},
        {u"inf", {}},
        {u"1,092", {}},
        {u"0x10", {}},
        {u"1e", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(parseHundredths(c.text, 500'000), c.hundredths) << std::string(
            c.text.begin(), c.text.begin() + std::min<std::size_t>(c.text.size(), 20));
}

TEST(FormatFixed, AllDecimalsOrTrimmed)
{
    struct Case
    {
        std::int64_t units;
        int decimals;
        bool trimmed;
        std::u16string_view text;
    };
    const Case cases[] = {
        {798, 1, false, u"79.8"}, {0, 1, false, u"0.0"},
        {30, 2, false, u"0.30"},  {109200, 2, true, u"1092"},
        {50, 2, true, u"0.5"},    {910, 3, true, u"0.91"},
        {-5, 2, false, u"-0.05"}, {123456789, 4, false, u"12345.6789"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(formatFixed(c.units, c.decimals, c.trimmed), c.text) << c.units;
}

TEST(FormatNumber, FifteenSignificantDigits)
{
    struct Case
    {
        double value;
        const char *text;
    };
    const Case cases[] = {
        {2000 / 0.8594040000000001 / 60, "38.7865699174467"},
        {60 * 0.8594040000000001 / 2, "25.78212"},
        {0, "0"},
        {-0.0, "0"},
        {-8.1, "-8.1"},
        {27, "27"},
        {123456789012345678.0, "1.23456789012346E+17"},
        {1e20, "1E+20"},
        {0.00001, "1E-05"},
        {0.0001, "0.0001"},
        {0.1 + 0.2, "0.3"},
        {2147483647, "2147483647"},
        {1.7976931348623157e308, "1.79769313486231E+308"},
        {-4.9e-324, "-4.94065645841247E-324"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(formatNumber(c.value), c.text);
}

TEST(FormatNumber, TextParsesBackToFifteenDigits)
{
    for (double v : {1.0 / 3, -2.0 / 7, 1e-300, 4.9e-324, 1.7976931348623157e308, 123.456}) {
        const std::string text = formatNumber(v);
        const std::u16string wide(text.begin(), text.end());
        const auto back = parseNumber(wide);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_NEAR(*back, v, std::abs(v) * 1e-14) << text;
    }
}

TEST(IntDiv, RoundsHalfToEvenThenTruncates)
{
    struct Case
    {
        double a, b;
        std::int64_t q;
    };
    const Case cases[] = {
        {1092, 297, 3}, {297.5, 2, 149}, {296.5, 2, 148}, {2.5, 1, 2}, {3.5, 1, 4},
        {-7, 2, -3},    {7, -2, -3},     {10, 2.5, 5},    {1.4, 1, 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(intDiv(c.a, c.b), c.q) << c.a << " \\ " << c.b;
    EXPECT_FALSE(intDiv(1, 0.5).has_value());
    EXPECT_FALSE(intDiv(NAN, 1).has_value());
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_FALSE(roundHalfEven(1e300).has_value());
}

} // namespace
} // namespace korvane
