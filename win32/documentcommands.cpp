#include "win32/documentcommands.h"

#include "app/version.h"
#include "win32/ondemand.h"
#include "win32/picture.h"
#include "win32/savefile.h"
#include "win32/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <shlobj.h>

namespace korvane::win32 {
namespace {

HGLOBAL globalCopy(const void *bytes, std::size_t size)
{
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    void *at = memory ? GlobalLock(memory) : nullptr;
    if (!at) {
        if (memory)
            GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(at, bytes, size);
    GlobalUnlock(memory);
    return memory;
}

// The picture as CF_DIB wants it: the header, then the rows from the bottom up, as every
// program reads them.
HGLOBAL globalBitmap(const Picture &picture)
{
    if (picture.pixels.empty())
        return nullptr;
    const std::size_t stride = std::size_t(picture.stride);
    const std::size_t height = std::size_t(picture.layout.height);
    BITMAPINFOHEADER header = topDownBitmap(picture.layout.width, int(height), 24).bmiHeader;
    header.biHeight = LONG(height);
    header.biSizeImage = DWORD(stride * height);
    // Pixels per metre at the picture's resolution.
    header.biXPelsPerMeter = header.biYPelsPerMeter =
        LONG(std::lround(PictureLayout::Dpi / 0.0254));
    std::vector<std::uint8_t> dib(sizeof header + stride * height);
    std::memcpy(dib.data(), &header, sizeof header);
    for (std::size_t y = 0; y < height; ++y)
        std::memcpy(dib.data() + sizeof header + (height - 1 - y) * stride,
                    picture.pixels.data() + y * stride, stride);
    return globalCopy(dib.data(), dib.size());
}

// Another program may hold the clipboard for a moment: try for a quarter of a second.
bool openClipboard(HWND owner)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(25);
    }
    return false;
}

// Fills the opened clipboard; each handle it takes is the system's from then on.
DWORD fillClipboard(HGLOBAL &text, HGLOBAL &bitmap, HENHMETAFILE &metafile)
{
    if (!EmptyClipboard())
        return lastError(ERROR_ACCESS_DENIED);
    if (!SetClipboardData(CF_UNICODETEXT, text))
        return lastError(ERROR_ACCESS_DENIED);
    text = nullptr;
    if (!SetClipboardData(CF_DIB, bitmap))
        return lastError(ERROR_ACCESS_DENIED);
    bitmap = nullptr;
    if (!SetClipboardData(CF_ENHMETAFILE, metafile))
        return lastError(ERROR_ACCESS_DENIED);
    metafile = nullptr;
    return 0;
}

// Prints the page on `dc` as the job `jobName`; 0, or the system's error code.
DWORD printPage(HDC dc, const Document &document, std::u16string_view jobName, const Typeface &face)
{
    const std::wstring name = wide(jobName);
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = name.c_str();
    if (StartDocW(dc, &info) <= 0)
        return lastError(ERROR_GEN_FAILURE);
    if (StartPage(dc) <= 0) {
        const DWORD error = lastError(ERROR_GEN_FAILURE);
        AbortDoc(dc);
        return error;
    }
    // Square logical units at the horizontal resolution, whatever the vertical one is.
    const int dpiX = std::max(1, GetDeviceCaps(dc, LOGPIXELSX));
    const int dpiY = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
    if (dpiX != dpiY) {
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, dpiX, dpiX, nullptr);
        SetViewportExtEx(dc, dpiX, dpiY, nullptr);
    }
    // The paper and its printable part in the horizontal resolution's units.
    const double down = double(dpiX) / dpiY;
    const PageArea area{
        double(GetDeviceCaps(dc, PHYSICALWIDTH)),   GetDeviceCaps(dc, PHYSICALHEIGHT) * down,
        double(GetDeviceCaps(dc, PHYSICALOFFSETX)), GetDeviceCaps(dc, PHYSICALOFFSETY) * down,
        double(GetDeviceCaps(dc, HORZRES)),         GetDeviceCaps(dc, VERTRES) * down};
    renderPage(dc, area, dpiX, document, face);
    if (EndPage(dc) <= 0) {
        const DWORD error = lastError(ERROR_GEN_FAILURE);
        AbortDoc(dc);
        return error;
    }
    return EndDoc(dc) > 0 ? 0 : lastError(ERROR_GEN_FAILURE);
}

// %APPDATA%\Korvane\NAME.conf; empty where the system has no such folder.
std::wstring settingsPath(std::string_view name)
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::wstring(folder) + L'\\' + wide(ProductName) + L'\\' +
           std::wstring(name.begin(), name.end()) + L".conf";
}

} // namespace

Answered Win32DocumentIo::copy(const Document &document)
{
    // Everything is made before the clipboard is opened: others wait while it is open.
    HGLOBAL text = nullptr;
    HGLOBAL bitmap = nullptr;
    HENHMETAFILE metafile = nullptr;
    DWORD error = 0;
    try {
        // The job line and the notes, a line each, as Windows ends lines.
        std::u16string lines = documentText(document);
        for (std::size_t at = 0; (at = lines.find(u'\n', at)) != std::u16string::npos; at += 2)
            lines.insert(at, 1, u'\r');
        text = globalCopy(lines.c_str(), (lines.size() + 1) * sizeof(char16_t));
        const Picture picture = renderPicture(document, m_face);
        bitmap = globalBitmap(picture);
        metafile = renderMetafile(document, picture.layout, m_face);
    } catch (const std::bad_alloc &) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    }
    if (!error && (!text || !bitmap || !metafile))
        error = ERROR_NOT_ENOUGH_MEMORY;
    if (!error) {
        if (openClipboard(m_owner)) {
            error = fillClipboard(text, bitmap, metafile);
            CloseClipboard();
        } else {
            error = lastError(ERROR_ACCESS_DENIED);
        }
    }
    if (text)
        GlobalFree(text);
    if (bitmap)
        GlobalFree(bitmap);
    if (metafile)
        DeleteEnhMetaFile(metafile);
    if (error)
        return Answer{.failure = systemMessage(error)};
    return Answer{};
}

bool Win32DocumentIo::writes(FileFormat format)
{
    return format == FileFormat::Png || format == FileFormat::Svg;
}

std::u16string Win32DocumentIo::folder(UserFolder which)
{
    // shell32 is loaded at the first save, not at start-up.
    const auto folderPath =
        systemFunction<decltype(&SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
    wchar_t path[MAX_PATH] = {};
    const int folder = which == UserFolder::Documents ? CSIDL_PERSONAL : CSIDL_PROFILE;
    if (!folderPath || FAILED(folderPath(m_owner, folder, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return reinterpret_cast<const char16_t *>(path);
}

bool Win32DocumentIo::exists(std::u16string_view path)
{
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

Answered Win32DocumentIo::askSaveName(const SaveDialog &request)
{
    const CommonDialogs &dialogs = CommonDialogs::get();
    if (!dialogs.ready())
        return Answer{};
    // Each type as the dialog lists it, with its pattern.
    std::wstring filter;
    for (const FileType &type : request.types)
        filter += wide(filterLabel(type)) + L'\0' + L"*." + wide(type.extension) + L'\0';
    const std::wstring title = wide(request.title);
    const std::wstring folder = wide(request.folder);
    const std::wstring extension = wide(request.types[request.type].extension);
    std::vector<wchar_t> file(32768, L'\0');
    wide(request.fileName).copy(file.data(), file.size() - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = DWORD(request.type) + 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags =
        OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    // Cancelled, or the dialog failed and said so itself.
    if (!dialogs.getSaveFileName(&dialog))
        return Answer{};
    return Answer{.choice = SaveChoice{
                      reinterpret_cast<const char16_t *>(file.data()),
                      std::clamp<std::size_t>(dialog.nFilterIndex, 1, request.types.size()) - 1}};
}

Answered Win32DocumentIo::write(const Document &document, std::u16string_view path,
                                FileFormat format)
{
    return Answer{.failure = writeDocument(document, path, format, m_face)};
}

Answered Win32DocumentIo::print(const Document &document, std::u16string_view jobName)
{
    const CommonDialogs &dialogs = CommonDialogs::get();
    if (!dialogs.ready())
        return Answer{.failure = systemMessage(DWORD(ERROR_MOD_NOT_FOUND))};
    // The dialog starts from the default printer's settings, the page turned as the document
    // prints. Without a printer there are none, and the dialog says so itself.
    PRINTDLGW defaults{};
    defaults.lStructSize = sizeof defaults;
    defaults.hwndOwner = m_owner;
    defaults.Flags = PD_RETURNDEFAULT;
    if (dialogs.printDialog(&defaults) && defaults.hDevMode) {
        if (auto *mode = static_cast<DEVMODEW *>(GlobalLock(defaults.hDevMode))) {
            mode->dmFields |= DM_ORIENTATION;
            mode->dmOrientation =
                short(printsAcross(document) ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
            GlobalUnlock(defaults.hDevMode);
        }
    }
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner;
    dialog.hDevMode = defaults.hDevMode;
    dialog.hDevNames = defaults.hDevNames;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    // Cancelled, or no printer: then the dialog said so itself. It may have replaced the
    // settings it was given; what it holds now is ours to free.
    const BOOL chosen = dialogs.printDialog(&dialog);
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    if (!dialog.hDC)
        return Answer{};
    DWORD error = 0;
    if (chosen) {
        try {
            error = printPage(dialog.hDC, document, jobName, m_face);
        } catch (const std::bad_alloc &) {
            AbortDoc(dialog.hDC);
            error = ERROR_NOT_ENOUGH_MEMORY;
        }
    }
    DeleteDC(dialog.hDC);
    // Cancelled where the printer asked for a file name.
    if (error && error != ERROR_CANCELLED && error != ERROR_PRINT_CANCELLED)
        return Answer{.failure = systemMessage(error)};
    return Answer{};
}

std::optional<std::string> Win32DocumentIo::readSettings(std::string_view name)
{
    // Settings are a few lines: whatever the file holds beyond is not read at all.
    constexpr DWORD Most = 64 * 1024;
    const std::wstring path = settingsPath(name);
    const HANDLE file = path.empty() ? INVALID_HANDLE_VALUE
                                     : CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                   nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes(Most, '\0');
    DWORD read = 0;
    const bool good = ReadFile(file, bytes.data(), Most, &read, nullptr);
    CloseHandle(file);
    if (!good)
        return std::nullopt;
    bytes.resize(read);
    return bytes;
}

std::optional<std::u16string> Win32DocumentIo::writeSettings(std::string_view name,
                                                             std::string_view bytes)
{
    const std::wstring path = settingsPath(name);
    if (path.empty())
        return systemMessage(DWORD(ERROR_PATH_NOT_FOUND));
    CreateDirectoryW(path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
    if (const DWORD error = writeWhole(path, bytes.data(), bytes.size()))
        return systemMessage(error);
    return std::nullopt;
}

} // namespace korvane::win32
