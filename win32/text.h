#pragma once

#include <string>
#include <string_view>
#include <windows.h>

namespace korvane::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

// The handlers' UTF-16 text as the W functions take it, and back.
inline std::wstring wide(std::u16string_view text)
{
    return {reinterpret_cast<const wchar_t *>(text.data()), text.size()};
}

inline std::wstring wide(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

// A window's whole text, however long.
inline std::u16string windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return {reinterpret_cast<const char16_t *>(text.data()), text.size()};
}

} // namespace korvane::win32
