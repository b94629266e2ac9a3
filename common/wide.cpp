#include "common/wide.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

namespace korvane {

std::int64_t quotientHalfUp(Wide256 numerator, Wide256 denominator)
{
    numerator <<= 1;
    numerator += denominator;
    denominator <<= 1;
    std::int64_t quotient = 0;
    for (int bit = 62; bit >= 0; --bit) {
        Wide256 shifted = denominator;
        shifted <<= bit;
        if (shifted <= numerator) {
            numerator -= shifted;
            quotient |= std::int64_t{1} << bit;
        }
    }
    return quotient;
}

std::int64_t productRatioHalfUp(std::array<double, 3> numerator, std::array<double, 2> denominator)
{
    // Each factor as a 53-bit whole number and its power of two; the side with the higher
    // power is shifted up to the other's, so that both are whole numbers at one scale.
    const auto product = [](std::span<const double> factors, int &exponent) {
        Wide256 value(1);
        exponent = 0;
        for (const double factor : factors) {
            int e = 0;
            const double fraction = std::frexp(std::abs(factor), &e);
            value *= static_cast<std::uint64_t>(std::ldexp(fraction, 53));
            exponent += e - 53;
        }
        return value;
    };
    int high = 0, low = 0;
    Wide256 over = product(numerator, high);
    Wide256 under = product(denominator, low);
    if (under == Wide256(0))
        return 0;
    // Normal or not, each factor's whole number has 53 bits: the numerator below 2^159, the
    // denominator at least 2^104. Beyond these shifts the quotient is 0, or past its bound.
    if (low - high > 56)
        return 0;
    if (high - low > 100)
        return std::numeric_limits<std::int64_t>::max();
    const int common = std::min(high, low);
    over <<= high - common;
    under <<= low - common;
    return quotientHalfUp(over, under);
}

} // namespace korvane
