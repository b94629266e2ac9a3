#include "common/wide.h"

#include <algorithm>
#include <bit>
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

namespace {

// A factor exactly as held: an odd whole number (or 0) times a power of two, and its bits.
struct Exact
{
    std::uint64_t whole = 0;
    int exponent = 0;
    int bits = 0;
};

Exact exactOf(double factor)
{
    int exponent = 0;
    const double fraction = std::frexp(std::abs(factor), &exponent);
    const auto whole = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    if (whole == 0)
        return {};
    const int zeros = std::countr_zero(whole);
    return {whole >> zeros, exponent - 53 + zeros, 64 - std::countl_zero(whole >> zeros)};
}

// The product of `factors`: its whole numbers multiplied, their exponents and bits summed.
template <typename Number>
Number productOf(std::span<const Exact> factors, int &exponent, int &bits)
{
    Number value(1);
    exponent = bits = 0;
    for (const Exact &factor : factors) {
        value *= factor.whole;
        exponent += factor.exponent;
        bits += factor.bits;
    }
    return value;
}

} // namespace

std::int64_t productRatioHalfUp(std::array<double, 3> numerator, std::array<double, 2> denominator)
{
    std::array<Exact, 3> over;
    std::array<Exact, 2> under;
    std::transform(numerator.begin(), numerator.end(), over.begin(), exactOf);
    std::transform(denominator.begin(), denominator.end(), under.begin(), exactOf);
    const auto zero = [](const Exact &factor) { return factor.whole == 0; };
    if (std::any_of(over.begin(), over.end(), zero) ||
        std::any_of(under.begin(), under.end(), zero))
        return 0;
    // Both sides brought to one power of two, the lower: the other is shifted up to it.
    int high = 0, low = 0, overBits = 0, underBits = 0;
    productOf<Wide128>(over, high, overBits);
    productOf<Wide128>(under, low, underBits);
    const int common = std::min(high, low);
    overBits += high - common;
    underBits += low - common;
    // Sizes of a few decimals leave few bits: 128 of them do, with room for the rounding.
    if (overBits <= 125 && underBits <= 125) {
        const Wide128 n = productOf<Wide128>(over, high, overBits) << (high - common);
        const Wide128 d = productOf<Wide128>(under, low, underBits) << (low - common);
        return static_cast<std::int64_t>((2 * n + d) / (2 * d));
    }
    // A product of whole numbers of b1 and b2 bits has b1 + b2 - 1 bits at least: beyond these
    // the quotient is 0, or past its bound. Within them the side not shifted has at most
    // 3 x 53 bits, and the other no more than 60 beyond it.
    if (underBits >= overBits + 3)
        return 0;
    if (overBits > underBits + 60)
        return std::numeric_limits<std::int64_t>::max();
    Wide256 n = productOf<Wide256>(over, high, overBits);
    Wide256 d = productOf<Wide256>(under, low, underBits);
    n <<= high - common;
    d <<= low - common;
    return quotientHalfUp(n, d);
}

} // namespace korvane
