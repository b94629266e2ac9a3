#pragma once

// The little JSON the page's probe speaks: requests written as one line, answers read from
// one line. Text is UTF-16 both ways, every character outside printable ASCII written as its
// \u escape, so that any text, control characters and unpaired surrogates too, comes through
// as it was.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::web {

class Json
{
public:
    enum class Kind
    {
        Null,
        Boolean,
        Number,
        Text,
        Array,
        Object,
    };

    Kind kind() const { return m_kind; }
    bool isNull() const { return m_kind == Kind::Null; }
    bool boolean() const { return m_kind == Kind::Boolean && m_number != 0; }
    double number() const { return m_number; }
    int integer() const { return static_cast<int>(m_number); }
    const std::u16string &text() const { return m_text; }
    // The text of ASCII characters, as names and messages are.
    std::string ascii() const;
    // An array's items.
    const std::vector<Json> &items() const { return m_items; }
    // The member `name`, or null when there is none.
    const Json &operator[](std::string_view name) const;
    bool has(std::string_view name) const;

    // The value of a whole line; nullopt where it is no JSON.
    static std::optional<Json> parse(std::string_view line);

private:
    friend class JsonReader;
    Kind m_kind = Kind::Null;
    double m_number = 0;
    std::u16string m_text;
    std::vector<Json> m_items;
    std::vector<std::string>
        m_names; // an object's members: their names, and their values in m_items
};

// A request: {"op": op, ...} with members added in turn.
class Request
{
public:
    explicit Request(std::string_view op);
    Request &operator()(std::string_view name, std::string_view ascii);
    Request &operator()(std::string_view name, const char *ascii)
    {
        return (*this)(name, std::string_view(ascii));
    }
    Request &operator()(std::string_view name, std::u16string_view text);
    Request &operator()(std::string_view name, const char16_t *text)
    {
        return (*this)(name, std::u16string_view(text));
    }
    Request &operator()(std::string_view name, int number);
    Request &operator()(std::string_view name, bool flag);
    Request &operator()(std::string_view name, std::span<const std::string_view> names);
    Request &null(std::string_view name);
    std::string line() const { return m_text + "}"; }
    std::string_view op() const { return m_op; }

private:
    Request &member(std::string_view name);
    std::string m_text;
    std::string m_op;
};

// Base64 as the probe sends pixels and files.
std::vector<std::uint8_t> fromBase64(std::u16string_view text);

} // namespace korvane::web
