#include "win32/savefile.h"

#include "win32/ondemand.h"
#include "win32/text.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <wincodec.h>
#include <wrl/client.h>

namespace korvane::win32 {
namespace {

using Microsoft::WRL::ComPtr;

// Removes a file this program made, and makes sure it is gone: a file system may report a
// delete it did not do (Wine on a read-only mount).
void discard(const std::wstring &path)
{
    DeleteFileW(path.c_str());
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

DWORD writeAll(HANDLE file, const void *bytes, std::size_t size)
{
    // Pictures and drawings are megabytes at most, far below what one call writes.
    DWORD written = 0;
    if (size > MAXDWORD || !WriteFile(file, bytes, DWORD(size), &written, nullptr))
        return size > MAXDWORD ? DWORD(ERROR_FILE_TOO_LARGE) : lastError(ERROR_WRITE_FAULT);
    if (written != size)
        return ERROR_DISK_FULL;
    return FlushFileBuffers(file) ? 0 : lastError(ERROR_WRITE_FAULT);
}

} // namespace

DWORD writeWhole(const std::wstring &path, const void *bytes, std::size_t size)
{
    // A new file of our own beside the target, so that the move stays within one volume. A
    // bare name's folder is the current one.
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
    std::wstring temporary(MAX_PATH, L'\0');
    if (!GetTempFileNameW(folder.c_str(), L"~", 0, temporary.data())) {
        // The folder is missing or no folder: what creating the file in it would say.
        const DWORD error = lastError(ERROR_WRITE_FAULT);
        return error == ERROR_DIRECTORY ? DWORD(ERROR_PATH_NOT_FOUND) : error;
    }
    temporary.resize(temporary.find(L'\0'));
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error =
        file == INVALID_HANDLE_VALUE ? lastError(ERROR_WRITE_FAULT) : writeAll(file, bytes, size);
    if (file != INVALID_HANDLE_VALUE && !CloseHandle(file) && !error)
        error = lastError(ERROR_WRITE_FAULT);
    if (!error && !MoveFileExW(temporary.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = lastError(ERROR_WRITE_FAULT);
    if (error)
        discard(temporary);
    return error;
}

HRESULT encodePng(const Picture &picture, std::vector<std::uint8_t> &png)
{
    if (picture.pixels.empty())
        return E_OUTOFMEMORY;
    const Com &com = Com::get();
    if (!com.ready())
        return FAILED(com.started) ? com.started : HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    const PictureLayout &layout = picture.layout;

    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    HRESULT result = com.createInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_PPV_ARGS(factory.GetAddressOf()));
    if (SUCCEEDED(result))
        result = com.streamOnHGlobal(nullptr, TRUE, stream.GetAddressOf());
    if (SUCCEEDED(result))
        result = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.GetAddressOf());
    if (SUCCEEDED(result))
        result = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
    if (SUCCEEDED(result))
        result = encoder->CreateNewFrame(frame.GetAddressOf(), options.GetAddressOf());
    if (SUCCEEDED(result))
        result = frame->Initialize(options.Get());
    if (SUCCEEDED(result))
        result = frame->SetSize(UINT(layout.width), UINT(layout.height));
    if (SUCCEEDED(result))
        result = frame->SetResolution(PictureLayout::Dpi, PictureLayout::Dpi);
    if (SUCCEEDED(result))
        result = frame->SetPixelFormat(&format);
    if (SUCCEEDED(result) && !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        result = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (SUCCEEDED(result))
        result = frame->WritePixels(UINT(layout.height), UINT(picture.stride),
                                    UINT(picture.pixels.size()),
                                    const_cast<BYTE *>(picture.pixels.data()));
    if (SUCCEEDED(result))
        result = frame->Commit();
    if (SUCCEEDED(result))
        result = encoder->Commit();
    STATSTG stat{};
    if (SUCCEEDED(result))
        result = stream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(result))
        return result;

    png.resize(std::size_t(stat.cbSize.QuadPart));
    const LARGE_INTEGER start{};
    ULONG read = 0;
    result = stream->Seek(start, STREAM_SEEK_SET, nullptr);
    if (SUCCEEDED(result))
        result = stream->Read(png.data(), ULONG(png.size()), &read);
    if (SUCCEEDED(result) && read != png.size())
        result = E_UNEXPECTED;
    return FAILED(result) ? result : S_OK;
}

std::optional<std::u16string> writeDocument(const Document &document, std::u16string_view path,
                                            FileFormat format, const Typeface &face)
{
    try {
        DWORD error = 0;
        switch (format) {
        case FileFormat::Png: {
            std::vector<std::uint8_t> png;
            const HRESULT encoded = encodePng(renderPicture(document, face), png);
            if (FAILED(encoded))
                return systemMessage(encoded);
            error = writeWhole(wide(path), png.data(), png.size());
            break;
        }
        case FileFormat::Svg: {
            const std::string svg = toSvg(document, face.face);
            error = writeWhole(wide(path), svg.data(), svg.size());
            break;
        }
        case FileFormat::Pdf:
            error = ERROR_NOT_SUPPORTED;
            break;
        }
        if (error)
            return systemMessage(error);
        return std::nullopt;
    } catch (const std::bad_alloc &) {
        return systemMessage(DWORD(ERROR_NOT_ENOUGH_MEMORY));
    } catch (const std::length_error &) {
        return systemMessage(DWORD(ERROR_NOT_ENOUGH_MEMORY));
    }
}

} // namespace korvane::win32
