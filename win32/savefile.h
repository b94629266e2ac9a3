#pragma once

// A document saved as a file: the bytes of each kind of file this front end writes, and a
// file written whole or not at all.

#include "common/document.h"
#include "win32/picture.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>
#include <windows.h>

namespace korvane::win32 {

// The kinds of file of `types` this front end writes, in their order: PNG and SVG. (A PDF
// comes from printing to the system's PDF printer.)
std::vector<FileType> writableTypes(std::span<const FileType> types);

// Writes `size` bytes to `path` whole or not at all: into a new file in the same folder,
// flushed to the disk, then moved over `path` in one step. Returns 0, or the system's error
// code; then no new file is left behind and whatever `path` held is as it was.
DWORD writeWhole(const std::wstring &path, const void *bytes, std::size_t size);

// The picture as the bytes of a PNG file, through the system's image encoder.
HRESULT encodePng(const Picture &picture, std::vector<std::uint8_t> &png);

// Saves `document` to `path` as a file of `format`, its text in `face`. Nothing on success,
// else the system's reason.
std::optional<std::u16string> saveDocumentAs(const Document &document, std::u16string_view path,
                                             FileFormat format, std::u16string_view face);

} // namespace korvane::win32
