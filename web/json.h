#pragma once

// What the module hands the page as text: JSON built in UTF-16, and the printed page as SVG.

#include "common/document.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvane::page {

// A JSON text written in order: objects and arrays opened and closed, keys and values, the
// commas between them put where they belong.
class Json
{
public:
    // An object, or with '[' an array.
    explicit Json(char root = '{') : m_root(root == '[' ? ']' : '}') { open(root); }

    Json &open(char bracket);
    Json &close(char bracket);
    Json &key(std::string_view name);
    Json &item(std::u16string_view text);
    Json &item(const std::u16string &text) { return item(std::u16string_view(text)); }
    Json &item(const char16_t *text) { return item(std::u16string_view(text)); }
    Json &item(std::string_view ascii);
    Json &item(int number);
    Json &item(bool yes);
    Json &rect(const TwipsRect &rect);
    template <typename Value> Json &field(std::string_view name, const Value &value)
    {
        return key(name).item(value);
    }

    // The text, the outermost object closed.
    const std::u16string &text() const;

private:
    void separate();

    mutable std::u16string m_text;
    mutable std::vector<bool> m_first; // of each container open, whether nothing is in it yet
    bool m_afterKey = false;
    char m_root;
};

// An SVG picture in CSS pixels, drawn in black unless told otherwise.
class Svg
{
public:
    Svg(double width, double height);

    void line(double x1, double y1, double x2, double y2, double width, const Rgb &colour,
              bool squareEnds);
    void rect(double x, double y, double width, double height);
    // Lines of text at `pixels`: from the top of their em box, or with `baseline` their
    // baseline that far below the top.
    void text(const std::vector<TextLine> &lines, int pixels, std::u16string_view face,
              const Rgb &colour, int baseline);
    std::u16string finish();

private:
    std::u16string m_text;
};

} // namespace korvane::page
