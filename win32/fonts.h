#pragma once

#include "common/panel.h"

#include <windows.h>

namespace korvane::win32 {

// A GDI font that deletes itself.
class Font
{
public:
    Font() = default;
    // The face `wanted` names, at its size for `dpi`, in the Chinese (GB 2312) character set. A
    // face the system lacks gives way to its English name, then to Microsoft YaHei; with
    // none of them the font mapper picks a Chinese face by the character set.
    Font(const FontSpec &wanted, int dpi);
    Font(Font &&other) noexcept : m_font(other.m_font) { other.m_font = nullptr; }
    Font &operator=(Font &&other) noexcept;
    ~Font();

    HFONT handle() const { return m_font; }

private:
    HFONT m_font = nullptr;
};

} // namespace korvane::win32
