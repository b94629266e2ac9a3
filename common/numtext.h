#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// The one parser behind every numeric text box: the check "is this a number" and the
// conversion are the same call, so they can never disagree.
//
// Accepted: optional blanks (space, tab, ideographic space) around an optional sign,
// digits with at most one decimal point (at least one digit in all), and an optional
// exponent ("e" or "E", optional sign, digits). Full-width digits, signs, point and
// exponent letter, as typed with a Chinese input method in full-width mode, count as
// their plain forms. Anything else fails, and so does any text whose value is not a
// finite double ("inf", "nan", "1e400").
std::optional<double> parseNumber(std::u16string_view text);

// The same texts read exactly, as a whole number of hundredths ("1.092e3" is 109200): nullopt
// for a text parseNumber refuses, for a value that is no whole number of hundredths, and for
// one beyond `maximum` in magnitude. One pass, however long the text.
std::optional<std::int64_t> parseHundredths(std::u16string_view text, std::int64_t maximum);

// A double as a caption: at most 15 significant digits, no trailing zeros, no digit
// grouping, "." as the decimal point, "0" for zero of either sign; very large or very
// small magnitudes in exponent form ("1E+20", "1E-05"). Non-finite values have no
// caption of their own; callers refuse them before formatting.
std::string formatNumber(double value);

// A whole count as plain decimal digits, for a caption.
std::u16string formatCount(std::int64_t count);

// A whole number of 1/10^decimals units as a decimal: with all its decimals ("79.8", "0.30"),
// or, when `trimmed`, without trailing zeros as formatNumber writes it ("1092", "0.5").
std::u16string formatFixed(std::int64_t units, int decimals, bool trimmed = false);

// ASCII text, such as a formatted number, as the UTF-16 captions take it.
std::u16string widen(std::string_view ascii);

// UTF-16 as UTF-8 (a lone surrogate as the code point it is), and UTF-8 as UTF-16: nullopt
// for bytes that are no UTF-8.
std::string toUtf8(std::u16string_view text);
std::optional<std::u16string> fromUtf8(std::string_view text);

// Rounds to the nearest whole number, a half going to the even neighbour: 2.5 gives 2,
// 3.5 gives 4, -0.5 gives 0. Nullopt when the value is not finite or its magnitude is
// 2^62 or more; callers that need a narrower range check the result themselves.
inline std::optional<std::int64_t> roundHalfEven(double value)
{
    constexpr double Limit = 4611686018427387904.0; // 2^62
    if (!(value > -Limit && value < Limit))
        return std::nullopt;
    // Adding and taking away 2^52 leaves no bits below the units, and the addition rounds
    // to nearest, ties to even. Larger magnitudes are whole already.
    constexpr double Shift = 4503599627370496.0; // 2^52
    double magnitude = value < 0 ? -value : value;
    if (magnitude < Shift)
        magnitude = (magnitude + Shift) - Shift;
    const auto whole = static_cast<std::int64_t>(magnitude);
    return value < 0 ? -whole : whole;
}

// Integer division: both operands rounded half to even to whole numbers, then the quotient
// truncated toward zero, so 1092 \ 297 is 3 and 297.5 \ 2 is 149. Nullopt when an operand
// cannot be rounded or the divisor rounds to zero.
std::optional<std::int64_t> intDiv(double dividend, double divisor);

} // namespace korvane
