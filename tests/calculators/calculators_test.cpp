#include "calculators/grammage.h"

#include <gtest/gtest.h>

namespace korvane::calculators {
namespace {

TEST(WholeGrammage, RoundsHalfToEvenWithinSixteenBits)
{
    struct Case
    {
        double value;
        std::optional<std::int16_t> whole;
    };
    const Case cases[] = {
        {60.5, 60},
        {61.5, 62},
        {-60.5, -60},
        {0.5, std::nullopt},
        {-0.5, std::nullopt},
        {0.4, std::nullopt},
        {32767.4, 32767},
        {32767.5, std::nullopt},
        {-32768.5, -32768},
        {-32769, std::nullopt},
        {1e300, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(wholeGrammage(c.value), c.whole) << c.value;
}

} // namespace
} // namespace korvane::calculators
