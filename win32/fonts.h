#pragma once

#include "common/panel.h"

#include <windows.h>

namespace korvane::win32 {

// A GDI font that deletes itself.
class Font
{
public:
    Font() = default;
    // The first installed candidate for the face `wanted` names, at its size for `dpi`, in
    // the Chinese (GB 2312) character set.
    Font(const Typeface &wanted, int dpi);
    // The same face with its em `pixels` high, in the logical units of the device it is
    // selected into.
    static Font ofPixels(std::u16string_view face, int pixels);
    Font(Font &&other) noexcept : m_font(other.m_font) { other.m_font = nullptr; }
    Font &operator=(Font &&other) noexcept;
    ~Font();

    HFONT handle() const { return m_font; }

private:
    explicit Font(HFONT font) : m_font(font) {}

    HFONT m_font = nullptr;
};

} // namespace korvane::win32
