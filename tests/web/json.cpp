#include "tests/web/json.h"

#include <algorithm>
#include <charconv>

namespace korvane::web {

class JsonReader
{
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    std::optional<Json> whole()
    {
        std::optional<Json> value = read();
        space();
        return value && m_at == m_text.size() ? value : std::nullopt;
    }

private:
    void space()
    {
        while (m_at < m_text.size() &&
               std::string_view(" \t\r\n").find(m_text[m_at]) != std::string_view::npos)
            ++m_at;
    }
    bool take(char c)
    {
        space();
        if (m_at >= m_text.size() || m_text[m_at] != c)
            return false;
        ++m_at;
        return true;
    }
    bool word(std::string_view w)
    {
        if (m_text.substr(m_at, w.size()) != w)
            return false;
        m_at += w.size();
        return true;
    }
    std::optional<std::u16string> string()
    {
        if (!take('"'))
            return std::nullopt;
        std::u16string out;
        while (m_at < m_text.size() && m_text[m_at] != '"') {
            const char c = m_text[m_at++];
            if (c != '\\') {
                // The probe writes ASCII alone.
                out += char16_t(static_cast<unsigned char>(c));
                continue;
            }
            if (m_at >= m_text.size())
                return std::nullopt;
            const char e = m_text[m_at++];
            constexpr std::string_view From = "\"\\/bfnrt", To = "\"\\/\b\f\n\r\t";
            if (const auto at = From.find(e); at != std::string_view::npos) {
                out += char16_t(To[at]);
                continue;
            }
            unsigned unit = 0;
            if (e != 'u' || m_at + 4 > m_text.size() ||
                std::from_chars(m_text.data() + m_at, m_text.data() + m_at + 4, unit, 16).ptr !=
                    m_text.data() + m_at + 4)
                return std::nullopt;
            m_at += 4;
            out += char16_t(unit);
        }
        if (!take('"'))
            return std::nullopt;
        return out;
    }
    std::optional<Json> read()
    {
        space();
        Json value;
        if (m_at >= m_text.size())
            return std::nullopt;
        const char c = m_text[m_at];
        if (c == '"') {
            auto text = string();
            if (!text)
                return std::nullopt;
            value.m_kind = Json::Kind::Text;
            value.m_text = std::move(*text);
        } else if (c == '[' || c == '{') {
            const bool object = c == '{';
            ++m_at;
            value.m_kind = object ? Json::Kind::Object : Json::Kind::Array;
            if (take(object ? '}' : ']'))
                return value;
            do {
                if (object) {
                    auto name = string();
                    if (!name || !take(':'))
                        return std::nullopt;
                    value.m_names.emplace_back(name->begin(), name->end());
                }
                auto item = read();
                if (!item)
                    return std::nullopt;
                value.m_items.push_back(std::move(*item));
            } while (take(','));
            if (!take(object ? '}' : ']'))
                return std::nullopt;
        } else if (word("true") || word("false")) {
            value.m_kind = Json::Kind::Boolean;
            value.m_number = c == 't';
        } else if (word("null")) {
        } else {
            const auto [end, error] = std::from_chars(
                m_text.data() + m_at, m_text.data() + m_text.size(), value.m_number);
            if (error != std::errc())
                return std::nullopt;
            m_at = std::size_t(end - m_text.data());
            value.m_kind = Json::Kind::Number;
        }
        return value;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

std::string Json::ascii() const
{
    return std::string(m_text.begin(), m_text.end());
}

const Json &Json::operator[](std::string_view name) const
{
    static const Json none;
    const auto at = std::find(m_names.begin(), m_names.end(), name);
    return at == m_names.end() ? none : m_items[std::size_t(at - m_names.begin())];
}

bool Json::has(std::string_view name) const
{
    return std::find(m_names.begin(), m_names.end(), name) != m_names.end();
}

std::optional<Json> Json::parse(std::string_view line)
{
    return JsonReader(line).whole();
}

namespace {

void quoted(std::string &out, std::u16string_view text)
{
    constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            out += char(c);
            continue;
        }
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4)
            out += Hex[(c >> shift) & 0xf];
    }
    out += '"';
}

std::u16string widened(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

} // namespace

Request::Request(std::string_view op) : m_op(op)
{
    m_text = "{\"op\":";
    quoted(m_text, widened(op));
}

Request &Request::member(std::string_view name)
{
    m_text += ',';
    quoted(m_text, widened(name));
    m_text += ':';
    return *this;
}

Request &Request::operator()(std::string_view name, std::string_view ascii)
{
    quoted(member(name).m_text, widened(ascii));
    return *this;
}

Request &Request::operator()(std::string_view name, std::u16string_view text)
{
    quoted(member(name).m_text, text);
    return *this;
}

Request &Request::operator()(std::string_view name, int number)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    member(name).m_text.append(digits, end);
    return *this;
}

Request &Request::operator()(std::string_view name, bool flag)
{
    member(name).m_text += flag ? "true" : "false";
    return *this;
}

Request &Request::operator()(std::string_view name, std::span<const std::string_view> names)
{
    member(name).m_text += '[';
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i)
            m_text += ',';
        quoted(m_text, widened(names[i]));
    }
    m_text += ']';
    return *this;
}

Request &Request::null(std::string_view name)
{
    member(name).m_text += "null";
    return *this;
}

std::vector<std::uint8_t> fromBase64(std::u16string_view text)
{
    constexpr std::string_view Alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    unsigned bits = 0;
    int held = 0;
    for (const char16_t c : text) {
        const std::size_t value = c < 0x80 ? Alphabet.find(char(c)) : std::string_view::npos;
        if (value == std::string_view::npos)
            continue; // padding
        bits = (bits << 6) | unsigned(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(std::uint8_t(bits >> held));
        }
    }
    return bytes;
}

} // namespace korvane::web
