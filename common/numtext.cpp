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

// The exponent part of a scanned text ("e-12"), its magnitude held at a billion: beyond that
// no digit count of a text changes what it means.
long long exponentOf(std::string_view exponentPart)
{
    long long exponent = 0;
    bool negative = false;
    for (char c : exponentPart.substr(std::min<std::size_t>(1, exponentPart.size()))) {
        if (c == '-')
            negative = true;
        else if (c != '+' && exponent < 1'000'000'000)
            exponent = exponent * 10 + (c - '0');
    }
    return negative ? -exponent : exponent;
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
    const long long magnitude = firstSignificant < point
                                    ? static_cast<long long>(point - firstSignificant) - 1
                                    : -static_cast<long long>(firstSignificant - point);
    return magnitude + exponentOf(ascii.substr(e)) < 0;
}

// A text that follows the grammar, in plain ASCII for from_chars (which on its own would
// accept "inf", "nan" and hexadecimal forms we do not want): the mantissa with its point,
// then the exponent part, if any; and the sign apart.
struct Written
{
    bool negative = false;
    std::string ascii;
    std::size_t mantissaEnd = 0; // ascii[0, mantissaEnd) is the mantissa
};

std::optional<Written> scan(std::u16string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    Written written;
    std::string &ascii = written.ascii;
    ascii.reserve(end - begin);
    std::size_t i = begin;
    auto peek = [&]() -> char16_t { return i < end ? plainForm(text[i]) : u'\0'; };

    if (peek() == u'+' || peek() == u'-') {
        written.negative = peek() == u'-';
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
    written.mantissaEnd = ascii.size();
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
    return written;
}

} // namespace

std::optional<double> parseNumber(std::u16string_view text)
{
    const std::optional<Written> written = scan(text);
    if (!written)
        return std::nullopt;
    const std::string &ascii = written->ascii;
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
    return written->negative ? -value : value;
}

std::optional<std::int64_t> parseHundredths(std::u16string_view text, std::int64_t maximum)
{
    const std::optional<Written> written = scan(text);
    if (!written)
        return std::nullopt;
    const std::string_view ascii = written->ascii;
    const std::string_view mantissa = ascii.substr(0, written->mantissaEnd);
    // The value is digits x 10^shift: the mantissa's digits without the point, shifted by the
    // exponent, less the digits after the point, plus two for hundredths.
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    std::string digits;
    for (char c : mantissa)
        if (c != '.')
            digits.push_back(c);
    long long shift =
        exponentOf(ascii.substr(written->mantissaEnd)) + 2 -
        static_cast<long long>(mantissa.size() - std::min(point + 1, mantissa.size()));
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    std::size_t last = digits.find_last_not_of('0');
    shift += static_cast<long long>(digits.size() - 1 - last);
    const std::string_view significant = std::string_view(digits).substr(first, last + 1 - first);
    // A fraction of a hundredth, or more than eighteen digits, beyond every maximum.
    if (shift < 0 || static_cast<long long>(significant.size()) + shift > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : significant)
        value = value * 10 + (c - '0');
    for (long long i = 0; i < shift; ++i)
        value *= 10;
    if (value > maximum)
        return std::nullopt;
    return written->negative ? -value : value;
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

std::u16string formatFixed(std::int64_t units, int decimals, bool trimmed)
{
    std::u16string digits = formatCount(units < 0 ? -units : units);
    if (digits.size() <= std::size_t(decimals))
        digits.insert(0, std::size_t(decimals) + 1 - digits.size(), u'0');
    std::u16string fraction = digits.substr(digits.size() - std::size_t(decimals));
    digits.resize(digits.size() - std::size_t(decimals));
    if (trimmed)
        while (!fraction.empty() && fraction.back() == u'0')
            fraction.pop_back();
    if (!fraction.empty())
        digits += u"." + fraction;
    return (units < 0 ? u"-" : u"") + digits;
}

std::u16string widen(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            ++i;
        }
        // The lead byte's marks, and the continuation bytes after it.
        constexpr char32_t Lead[] = {0x00, 0xC0, 0xE0, 0xF0};
        const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += char(Lead[extra] | (c >> (6 * extra)));
        for (int k = extra - 1; k >= 0; --k)
            out += char(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return out;
}

std::optional<std::u16string> fromUtf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80   ? 0
                          : lead < 0xC0 ? -1 // a continuation byte where a lead belongs
                          : lead < 0xE0 ? 1
                          : lead < 0xF0 ? 2
                                        : 3;
        if (extra < 0 || lead > 0xF4 || text.size() - i <= std::size_t(extra))
            return std::nullopt;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        // No overlong forms, surrogates or code points past the last.
        constexpr char32_t Least[] = {0, 0x80, 0x800, 0x10000};
        if (c < Least[extra] || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)
            return std::nullopt;
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
        i += std::size_t(extra) + 1;
    }
    return out;
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
