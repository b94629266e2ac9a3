#include "win32/documentcommands.h"

#include "common/document.h"
#include "win32/ondemand.h"
#include "win32/picture.h"
#include "win32/savefile.h"
#include "win32/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <variant>

namespace korvane::win32 {
namespace {

template <typename... F> struct Overloaded : F...
{
    using F::operator()...;
};
template <typename... F> Overloaded(F...) -> Overloaded<F...>;

DWORD lastError(DWORD otherwise)
{
    const DWORD error = GetLastError();
    return error ? error : otherwise;
}

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

// The picture as CF_DIB wants it: the header, then the rows from the bottom up.
HGLOBAL globalBitmap(const Picture &picture)
{
    if (picture.pixels.empty())
        return nullptr;
    const int height = picture.layout.height;
    const std::size_t stride = std::size_t(picture.stride);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + stride * height);
    auto *header = memory ? static_cast<BITMAPINFOHEADER *>(GlobalLock(memory)) : nullptr;
    if (!header) {
        if (memory)
            GlobalFree(memory);
        return nullptr;
    }
    *header = {};
    header->biSize = sizeof *header;
    header->biWidth = picture.layout.width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biCompression = BI_RGB;
    header->biSizeImage = DWORD(stride * height);
    // Pixels per metre at the picture's resolution.
    header->biXPelsPerMeter = LONG(std::lround(PictureLayout::Dpi / 0.0254));
    header->biYPelsPerMeter = header->biXPelsPerMeter;
    auto *rows = reinterpret_cast<std::uint8_t *>(header + 1);
    for (int y = 0; y < height; ++y)
        std::memcpy(rows + std::size_t(height - 1 - y) * stride,
                    picture.pixels.data() + std::size_t(y) * stride, stride);
    GlobalUnlock(memory);
    return memory;
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

bool exists(std::u16string_view path)
{
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Prints the page on `dc`; 0, or the system's error code.
DWORD printPage(HDC dc, const Document &document, std::u16string_view face)
{
    const std::wstring name = wide(document.fileStem);
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
    const PageArea area{0, 0, double(GetDeviceCaps(dc, HORZRES)),
                        double(GetDeviceCaps(dc, VERTRES)) * dpiX / dpiY};
    renderPage(dc, area, dpiX, document, face);
    if (EndPage(dc) <= 0) {
        const DWORD error = lastError(ERROR_GEN_FAILURE);
        AbortDoc(dc);
        return error;
    }
    return EndDoc(dc) > 0 ? 0 : lastError(ERROR_GEN_FAILURE);
}

} // namespace

void carryOut(HWND owner, const CommandRequest &request, std::u16string_view face)
{
    std::visit(Overloaded{
                   [&](const CopyRequest &copy) { copyDocument(owner, copy.document, face); },
                   [&](const SaveRequest &save) { saveDocument(owner, save, face); },
                   [&](const PrintRequest &print) { printDocument(owner, print.document, face); },
               },
               request);
}

void copyDocument(HWND owner, const Document &document, std::u16string_view face)
{
    // Everything is made before the clipboard is opened: others wait while it is open.
    HGLOBAL text = nullptr;
    HGLOBAL bitmap = nullptr;
    HENHMETAFILE metafile = nullptr;
    DWORD error = 0;
    try {
        text =
            globalCopy(document.jobLine.c_str(), (document.jobLine.size() + 1) * sizeof(char16_t));
        const Picture picture = renderPicture(document, face);
        bitmap = globalBitmap(picture);
        metafile = renderMetafile(document, picture.layout, face);
    } catch (const std::bad_alloc &) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    }
    if (!error && (!text || !bitmap || !metafile))
        error = ERROR_NOT_ENOUGH_MEMORY;
    if (!error) {
        if (openClipboard(owner)) {
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
        showError(owner, copyFailure(systemMessage(error)));
}

void saveDocument(HWND owner, const SaveRequest &request, std::u16string_view face)
{
    const std::vector<FileType> types = writableTypes(request.types);
    if (types.empty())
        return;
    const CommonDialogs &dialogs = CommonDialogs::get();
    if (!dialogs.ready()) {
        showError(owner, saveFailure(request.fileName, systemMessage(DWORD(ERROR_MOD_NOT_FOUND))));
        return;
    }
    // Each type as the dialog lists it, "PNG 图像 (*.png)", with its pattern.
    std::wstring filter;
    for (const FileType &type : types) {
        const std::wstring pattern = L"*." + wide(type.extension);
        filter += wide(type.description) + L" (" + pattern + L")" + L'\0' + pattern + L'\0';
    }
    const std::wstring title = wide(request.title);
    std::u16string proposed = request.fileName;
    // First the type of the name proposed.
    const FileType *chosen = savePath(proposed, types, types.front()).type;
    for (;;) {
        std::vector<wchar_t> file(32768, L'\0');
        wide(proposed).copy(file.data(), file.size() - 1);
        const std::wstring extension = wide(chosen->extension);
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = DWORD(chosen - types.data()) + 1;
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = DWORD(file.size());
        dialog.lpstrTitle = title.c_str();
        dialog.lpstrDefExt = extension.c_str();
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                       OFN_HIDEREADONLY;
        // Cancelled, or the dialog failed and said so itself.
        if (!dialogs.getSaveFileName(&dialog))
            return;
        const std::size_t index = std::clamp<std::size_t>(dialog.nFilterIndex, 1, types.size()) - 1;
        chosen = &types[index];
        const std::u16string named(reinterpret_cast<const char16_t *>(file.data()));
        const SavePath target = savePath(named, types, *chosen);
        // The dialog asked about the name it returned, not about one with an extension
        // added: such a file is not replaced unasked, but offered again for the dialog to ask.
        if (target.path != named && exists(target.path)) {
            proposed = target.path;
            chosen = target.type;
            continue;
        }
        if (const auto reason =
                saveDocumentAs(request.document, target.path, target.type->format, face))
            showError(owner, saveFailure(target.path, *reason));
        return;
    }
}

void printDocument(HWND owner, const Document &document, std::u16string_view face)
{
    const CommonDialogs &dialogs = CommonDialogs::get();
    if (!dialogs.ready()) {
        showError(owner, printFailure(systemMessage(DWORD(ERROR_MOD_NOT_FOUND))));
        return;
    }
    // The dialog starts from the default printer's settings, the page turned as the document
    // prints. Without a printer there are none, and the dialog says so itself.
    PRINTDLGW defaults{};
    defaults.lStructSize = sizeof defaults;
    defaults.hwndOwner = owner;
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
    dialog.hwndOwner = owner;
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
        return;
    DWORD error = 0;
    if (chosen) {
        try {
            error = printPage(dialog.hDC, document, face);
        } catch (const std::bad_alloc &) {
            AbortDoc(dialog.hDC);
            error = ERROR_NOT_ENOUGH_MEMORY;
        }
    }
    DeleteDC(dialog.hDC);
    // Cancelled where the printer asked for a file name.
    if (error && error != ERROR_CANCELLED && error != ERROR_PRINT_CANCELLED)
        showError(owner, printFailure(systemMessage(error)));
}

void showError(HWND owner, std::u16string_view message)
{
    MessageBoxW(owner, wide(message).c_str(), wide(ErrorTitle).c_str(), MB_OK | MB_ICONERROR);
}

} // namespace korvane::win32
