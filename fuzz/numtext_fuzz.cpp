// Fuzzes the numeric-text parser and the caption of a number.
//
// The input is read as UTF-8 text (a byte that does not decode becomes a lone surrogate, so
// every UTF-16 code unit sequence can be reached) and handed to parseNumber. Its verdict is
// checked against a grammar written here independently as a state table, and its value
// against the C library's strtod. Every accepted value, and the double held in the first
// eight bytes, then goes through formatNumber and back.

#include "common/numtext.h"
#include "fuzz/property.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

// Names this target in the reports of violated properties.
#define FUZZ_TARGET_NAME "numtext"

namespace {

std::u16string decodeUtf8(const std::uint8_t *data, std::size_t size)
{
    std::u16string out;
    std::size_t i = 0;
    const auto continuation = [&](std::size_t at) {
        return at < size && (data[at] & 0xC0) == 0x80;
    };
    while (i < size) {
        const std::uint8_t b = data[i];
        if (b < 0x80) {
            out.push_back(b);
            i += 1;
        } else if (b >= 0xC2 && b <= 0xDF && continuation(i + 1)) {
            out.push_back(static_cast<char16_t>(((b & 0x1F) << 6) | (data[i + 1] & 0x3F)));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF && continuation(i + 1) && continuation(i + 2)) {
            out.push_back(static_cast<char16_t>(((b & 0x0F) << 12) | ((data[i + 1] & 0x3F) << 6) |
                                                (data[i + 2] & 0x3F)));
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4 && continuation(i + 1) && continuation(i + 2) &&
                   continuation(i + 3)) {
            const std::uint32_t c = ((b & 0x07u) << 18) | ((data[i + 1] & 0x3Fu) << 12) |
                                    ((data[i + 2] & 0x3Fu) << 6) | (data[i + 3] & 0x3Fu);
            if (c >= 0x10000 && c <= 0x10FFFF) {
                out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
            } else {
                out.push_back(static_cast<char16_t>(0xDC00 | b));
            }
            i += 4;
        } else {
            out.push_back(static_cast<char16_t>(0xDC00 | b));
            i += 1;
        }
    }
    return out;
}

std::string printable(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            std::array<char, 12> hex{};
            std::snprintf(hex.data(), hex.size(), "\\u%04X", static_cast<unsigned>(c));
            out += hex.data();
        }
    }
    return out;
}

// What a number box accepts, as a state table over character classes: blanks (space, tab,
// ideographic space) around an optional sign, digits with at most one point and at least
// one digit, an optional exponent with an optional sign and at least one digit. Full-width
// forms of the ASCII characters count as those characters.
enum Class
{
    Blank,
    Sign,
    Digit,
    Point,
    Exponent,
    Other,
    ClassCount
};
enum State
{
    Lead,
    Signed,
    Whole,
    LonePoint,
    Fraction,
    ExpMark,
    ExpSign,
    ExpDigits,
    Trail,
    Bad
};

// clang-format off
constexpr std::array<std::array<State, ClassCount>, Bad> Transitions = {{
    // from          Blank      Sign     Digit       Point       Exponent  Other
    /* Lead */      {Lead,      Signed,  Whole,      LonePoint,  Bad,      Bad},
    /* Signed */    {Bad,       Bad,     Whole,      LonePoint,  Bad,      Bad},
    /* Whole */     {Trail,     Bad,     Whole,      Fraction,   ExpMark,  Bad},
    /* LonePoint */ {Bad,       Bad,     Fraction,   Bad,        Bad,      Bad},
    /* Fraction */  {Trail,     Bad,     Fraction,   Bad,        ExpMark,  Bad},
    /* ExpMark */   {Bad,       ExpSign, ExpDigits,  Bad,        Bad,      Bad},
    /* ExpSign */   {Bad,       Bad,     ExpDigits,  Bad,        Bad,      Bad},
    /* ExpDigits */ {Trail,     Bad,     ExpDigits,  Bad,        Bad,      Bad},
    /* Trail */     {Trail,     Bad,     Bad,        Bad,        Bad,      Bad},
}};
// clang-format on

char16_t normalised(char16_t c)
{
    if (c == u'\u3000')
        return u' ';
    if (c >= 0xFF01 && c <= 0xFF5E)
        return static_cast<char16_t>(c - 0xFF01 + 0x21);
    return c;
}

Class classOf(char16_t c)
{
    switch (c) {
    case u' ':
    case u'\t':
        return Blank;
    case u'+':
    case u'-':
        return Sign;
    case u'.':
        return Point;
    case u'e':
    case u'E':
        return Exponent;
    default:
        return c >= u'0' && c <= u'9' ? Digit : Other;
    }
}

// The text without its blanks, in ASCII, when it is in the grammar.
std::optional<std::string> grammarCore(std::u16string_view text)
{
    State state = Lead;
    std::string core;
    for (char16_t raw : text) {
        const char16_t c = normalised(raw);
        const Class cls = classOf(c);
        state = Transitions[state][cls];
        if (state == Bad)
            return std::nullopt;
        if (cls != Blank)
            core.push_back(static_cast<char>(c));
    }
    if (state == Whole || state == Fraction || state == ExpDigits || state == Trail)
        return core;
    return std::nullopt;
}

bool sameDouble(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

std::string fifteenDigits(double v)
{
    std::array<char, 48> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.14e", v);
    return buffer.data();
}

std::u16string widened(const std::string &text)
{
    return std::u16string(text.begin(), text.end());
}

// The largest number with 15 significant digits that is still a double; captions of
// larger magnitudes are capped to it, as a 15-digit rounding would leave the range.
constexpr double Largest15 = 1.79769313486231e308;

// A caption: plain decimal or exponent form, a minus sign only for a negative value, no
// blanks, no trailing zeros after the point, at most 15 significant digits.
void checkCaptionShape(double v, const std::string &text)
{
    const std::string detail = fifteenDigits(v) + " -> " + text;
    EXPECT_PROPERTY(!text.empty(), detail);
    EXPECT_PROPERTY((text == "0") == (v == 0), detail);
    EXPECT_PROPERTY((text[0] == '-') == (v < 0), detail);
    const std::size_t exponent = text.find_first_of("eE");
    const std::string mantissa = text.substr(0, exponent);
    if (mantissa.find('.') != std::string::npos)
        EXPECT_PROPERTY(mantissa.back() != '0' && mantissa.back() != '.', detail);
    int significant = 0;
    bool leading = true;
    for (char c : mantissa) {
        if (c < '0' || c > '9')
            continue;
        if (c != '0')
            leading = false;
        if (!leading)
            ++significant;
    }
    EXPECT_PROPERTY(significant <= 15, detail);
}

// The caption of a finite value reads back as that value rounded to 15 significant digits,
// and that value has the same caption.
void checkRoundTrip(double v)
{
    if (!std::isfinite(v))
        return;
    const std::string text = korvane::formatNumber(v);
    checkCaptionShape(v, text);
    const std::u16string wide = widened(text);
    EXPECT_PROPERTY(grammarCore(wide).has_value(), text);
    const std::optional<double> back = korvane::parseNumber(wide);
    EXPECT_PROPERTY(back.has_value(), fifteenDigits(v) + " -> " + text);
    // Zero of either sign reads "0"; the sign of a zero is not part of its caption.
    if (v == 0)
        EXPECT_PROPERTY(*back == 0, text);
    else if (std::abs(v) <= Largest15)
        EXPECT_PROPERTY(fifteenDigits(*back) == fifteenDigits(v),
                        fifteenDigits(v) + " -> " + text + " -> " + fifteenDigits(*back));
    else
        EXPECT_PROPERTY(std::abs(*back) == Largest15, text);
    EXPECT_PROPERTY(korvane::formatNumber(*back) == text, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::u16string text = decodeUtf8(data, size);
    const std::optional<double> parsed = korvane::parseNumber(text);
    const std::optional<std::string> core = grammarCore(text);

    // In the grammar and finite as a double: accepted, with the correctly rounded value.
    std::optional<double> expected;
    if (core) {
        const double value = std::strtod(core->c_str(), nullptr);
        if (std::isfinite(value))
            expected = value;
    }
    EXPECT_PROPERTY(parsed.has_value() == expected.has_value(), printable(text));
    if (parsed) {
        EXPECT_PROPERTY(std::isfinite(*parsed), printable(text));
        EXPECT_PROPERTY(sameDouble(*parsed, *expected),
                        printable(text) + " gave " + fifteenDigits(*parsed));
        checkRoundTrip(*parsed);
    }

    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        checkRoundTrip(raw);
    }
    return 0;
}
