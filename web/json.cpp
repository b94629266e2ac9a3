#include "web/json.h"

#include "common/typeface.h"

#include <charconv>

namespace korvane::page {
namespace {

void append(std::u16string &to, std::string_view ascii)
{
    to.append(ascii.begin(), ascii.end());
}

void appendNumber(std::u16string &to, double value)
{
    char digits[32];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 2);
    append(to, std::string_view(digits, std::size_t(end.ptr - digits)));
}

// Text as XML character data or an attribute's value.
void appendEscaped(std::u16string &to, std::u16string_view text)
{
    for (char16_t c : text) {
        switch (c) {
        case u'&':
            append(to, "&amp;");
            break;
        case u'<':
            append(to, "&lt;");
            break;
        case u'>':
            append(to, "&gt;");
            break;
        case u'"':
            append(to, "&quot;");
            break;
        default:
            to.push_back(c);
        }
    }
}

std::string colourOf(const Rgb &rgb)
{
    char hex[7];
    std::to_chars(hex, hex + 7,
                  std::uint32_t(rgb.r) << 16 | std::uint32_t(rgb.g) << 8 | rgb.b | 0x1000000, 16);
    hex[0] = '#';
    return {hex, 7};
}

} // namespace

void Json::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_first.empty())
        return;
    if (!m_first.back())
        m_text.push_back(u',');
    m_first.back() = false;
}

Json &Json::open(char bracket)
{
    separate();
    m_text.push_back(char16_t(bracket));
    m_first.push_back(true);
    return *this;
}

Json &Json::close(char bracket)
{
    m_text.push_back(char16_t(bracket));
    m_first.pop_back();
    return *this;
}

Json &Json::key(std::string_view name)
{
    separate();
    m_text.push_back(u'"');
    append(m_text, name);
    append(m_text, "\":");
    m_afterKey = true;
    return *this;
}

Json &Json::item(std::u16string_view text)
{
    separate();
    m_text.push_back(u'"');
    for (char16_t c : text) {
        if (c == u'"' || c == u'\\') {
            m_text.push_back(u'\\');
            m_text.push_back(c);
        } else if (c < 0x20) {
            constexpr char Hex[] = "0123456789abcdef";
            append(m_text, "\\u00");
            m_text.push_back(char16_t(Hex[c >> 4]));
            m_text.push_back(char16_t(Hex[c & 15]));
        } else {
            m_text.push_back(c);
        }
    }
    m_text.push_back(u'"');
    return *this;
}

Json &Json::item(std::string_view ascii)
{
    return item(std::u16string(ascii.begin(), ascii.end()));
}

Json &Json::item(int number)
{
    separate();
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, number);
    append(m_text, std::string_view(digits, std::size_t(end.ptr - digits)));
    return *this;
}

Json &Json::item(bool yes)
{
    separate();
    append(m_text, yes ? "true" : "false");
    return *this;
}

Json &Json::rect(const TwipsRect &rect)
{
    return open('[').item(rect.left).item(rect.top).item(rect.width).item(rect.height).close(']');
}

const std::u16string &Json::text() const
{
    if (m_first.size() == 1) {
        m_text.push_back(char16_t(m_root));
        m_first.pop_back();
    }
    return m_text;
}

Svg::Svg(double width, double height)
{
    append(m_text, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"");
    appendNumber(m_text, width);
    append(m_text, "\" height=\"");
    appendNumber(m_text, height);
    append(m_text, "\" viewBox=\"0 0 ");
    appendNumber(m_text, width);
    m_text.push_back(u' ');
    appendNumber(m_text, height);
    append(m_text, "\">");
}

void Svg::line(double x1, double y1, double x2, double y2, double width, const Rgb &colour,
               bool squareEnds)
{
    append(m_text, "<line x1=\"");
    appendNumber(m_text, x1);
    append(m_text, "\" y1=\"");
    appendNumber(m_text, y1);
    append(m_text, "\" x2=\"");
    appendNumber(m_text, x2);
    append(m_text, "\" y2=\"");
    appendNumber(m_text, y2);
    // The device's thinnest line, where the layout asks for width 0.
    append(m_text, "\" stroke=\"" + colourOf(colour) + "\" stroke-width=\"");
    appendNumber(m_text, width > 0 ? width : 0.25);
    append(m_text, squareEnds ? "\" stroke-linecap=\"square\"/>" : "\"/>");
}

void Svg::rect(double x, double y, double width, double height)
{
    append(m_text, "<rect x=\"");
    appendNumber(m_text, x);
    append(m_text, "\" y=\"");
    appendNumber(m_text, y);
    append(m_text, "\" width=\"");
    appendNumber(m_text, width);
    append(m_text, "\" height=\"");
    appendNumber(m_text, height);
    append(m_text, "\"/>");
}

void Svg::text(const std::vector<TextLine> &lines, int pixels, std::u16string_view face,
               const Rgb &colour, int baseline)
{
    append(m_text, "<g font-family=\"");
    for (std::u16string_view candidate : faceCandidates(face)) {
        appendEscaped(m_text, candidate);
        m_text.push_back(u',');
    }
    append(m_text, "sans-serif\" font-size=\"");
    appendNumber(m_text, pixels);
    append(m_text, "\" fill=\"" + colourOf(colour) + "\"");
    if (!baseline)
        append(m_text, " dominant-baseline=\"text-before-edge\"");
    m_text.push_back(u'>');
    for (const TextLine &line : lines) {
        append(m_text, "<text x=\"");
        appendNumber(m_text, line.left);
        append(m_text, "\" y=\"");
        appendNumber(m_text, line.top + baseline);
        append(m_text, "\">");
        appendEscaped(m_text, line.text);
        append(m_text, "</text>");
    }
    append(m_text, "</g>");
}

std::u16string Svg::finish()
{
    append(m_text, "</svg>");
    return std::move(m_text);
}

} // namespace korvane::page
