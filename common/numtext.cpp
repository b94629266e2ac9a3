#include "common/numtext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#ifdef KORVANE_FAST_FLOAT
#include <fast_float/fast_float.h>
#endif

namespace korvane {
namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

// Full-width forms (U+FF01..U+FF5E) map onto ASCII by a fixed offset.
char16_t plainForm(char16_t c)
{
    if (c >= u'\uFF01' && c <= u'\uFF5E')
        return static_cast<char16_t>(c - 0xFEE0);
    return c;
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Whether a number from_chars found out of range ("123.45e-6" in plain ASCII, no sign)
// is below one in magnitude, i.e. too small rather than too large.
bool belowOne(std::string_view ascii)
{
    const std::size_t e = std::min(ascii.find('e'), ascii.size());
    const std::string_view mantissa = ascii.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t firstSignificant = mantissa.find_first_not_of("0.");
    if (firstSignificant == std::string_view::npos)
        return true; // all zeros
    // Decimal exponent of the first significant digit, before the exponent part.
    long long magnitude = firstSignificant < point
                              ? static_cast<long long>(point - firstSignificant) - 1
                              : -static_cast<long long>(firstSignificant - point);
    long long exponent = 0;
    bool negativeExponent = false;
    for (std::size_t i = e + 1; i < ascii.size(); ++i) {
        if (ascii[i] == '-')
            negativeExponent = true;
        else if (ascii[i] != '+' && exponent < 1'000'000'000)
            exponent = exponent * 10 + (ascii[i] - '0');
    }
    magnitude += negativeExponent ? -exponent : exponent;
    return magnitude < 0;
}

} // namespace

std::optional<double> parseNumber(std::u16string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    // Validate the grammar by hand and copy into plain ASCII for from_chars, which on its
    // own would accept "inf", "nan" and hexadecimal forms we do not want.
    std::string ascii;
    ascii.reserve(end - begin);
    std::size_t i = begin;
    auto peek = [&]() -> char16_t { return i < end ? plainForm(text[i]) : u'\0'; };

    bool negative = false;
    if (peek() == u'+' || peek() == u'-') {
        negative = peek() == u'-';
        ++i;
    }
    std::size_t mantissaDigits = 0;
    while (isDigit(peek())) {
        ascii.push_back(static_cast<char>(peek()));
        ++mantissaDigits;
        ++i;
    }
    if (peek() == u'.') {
        ascii.push_back('.');
        ++i;
        while (isDigit(peek())) {
            ascii.push_back(static_cast<char>(peek()));
            ++mantissaDigits;
            ++i;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (peek() == u'e' || peek() == u'E') {
        ascii.push_back('e');
        ++i;
        if (peek() == u'+' || peek() == u'-') {
            ascii.push_back(static_cast<char>(peek()));
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (isDigit(peek())) {
            ascii.push_back(static_cast<char>(peek()));
            ++exponentDigits;
            ++i;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;

    double value = 0.0;
    const char *first = ascii.data();
    const char *last = first + ascii.size();
#ifdef KORVANE_FAST_FLOAT
    // fast_float (3.9) reports no range error: what is too large comes back as infinity and
    // what is too small as zero, which the checks below refuse and keep just as they do
    // after result_out_of_range. Subnormals come back as they are, as from the standard's.
    auto [ptr, ec] = fast_float::from_chars(first, last, value, fast_float::chars_format::general);
#else
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
#endif
    if (ptr != last)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone when it is out of range. Too small to represent
        // is zero; too large is refused.
        if (!belowOne(ascii))
            return std::nullopt;
        value = 0.0;
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::string formatNumber(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return "0";
    // Rounded to 15 digits, the largest doubles would read back as beyond the range;
    // they show the largest 15-digit number that is still a double instead.
    constexpr double Largest15 = 1.79769313486231e308;
    if (std::abs(value) > Largest15)
        return value < 0 ? "-1.79769313486231E+308" : "1.79769313486231E+308";
    // The general format with 15 significant digits, as the C format "%.15G" writes it in the
    // C locale, whatever locale the process runs in.
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
    for (char &c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

std::u16string formatCount(std::int64_t count)
{
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), count);
    return widen({buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())});
}

std::u16string widen(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

std::optional<std::int64_t> intDiv(double dividend, double divisor)
{
    const auto a = roundHalfEven(dividend);
    const auto b = roundHalfEven(divisor);
    if (!a || !b || *b == 0)
        return std::nullopt;
    return *a / *b;
}

} // namespace korvane
