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
    Font(Font &&other) noexcept : m_font(other.m_font) { other.m_font = nullptr; }
    Font &operator=(Font &&other) noexcept;
    ~Font();

    HFONT handle() const { return m_font; }

private:
    HFONT m_font = nullptr;
};

} // namespace korvane::win32
