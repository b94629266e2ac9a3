#include "win32/fonts.h"

#include "win32/text.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace korvane::win32 {
namespace {

// English names of the Chinese faces the window asks for.
// clang-format off
constexpr std::array<std::pair<std::u16string_view, const wchar_t *>, 2> EnglishNames = {{
    {u"宋体", L"SimSun"},
    {u"黑体", L"SimHei"},
}};
// clang-format on

bool installed(const std::wstring &face)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool *>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

std::wstring faceFor(std::u16string_view face)
{
    std::vector<std::wstring> candidates = {wide(face)};
    for (const auto &[chinese, english] : EnglishNames)
        if (chinese == face)
            candidates.emplace_back(english);
    candidates.emplace_back(L"Microsoft YaHei");
    for (const std::wstring &candidate : candidates)
        if (installed(candidate))
            return candidate;
    return candidates.front();
}

} // namespace

Font::Font(const FontSpec &wanted, int dpi)
{
    // The faces installed do not change while the program runs: look each up once.
    static std::vector<std::pair<std::u16string, std::wstring>> chosen;
    auto it = std::find_if(chosen.begin(), chosen.end(),
                           [&](const auto &entry) { return entry.first == wanted.face; });
    if (it == chosen.end())
        it = chosen.insert(chosen.end(), {std::u16string(wanted.face), faceFor(wanted.face)});
    const std::wstring &face = it->second;
    m_font = CreateFontW(-MulDiv(wanted.points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

Font &Font::operator=(Font &&other) noexcept
{
    if (this != &other) {
        if (m_font)
            DeleteObject(m_font);
        m_font = other.m_font;
        other.m_font = nullptr;
    }
    return *this;
}

Font::~Font()
{
    if (m_font)
        DeleteObject(m_font);
}

} // namespace korvane::win32
