#pragma once

// A document saved as a file: the bytes of each kind of file this front end writes, and a
// file written whole or not at all.

#include "common/document.h"
#include "win32/picture.h"

#include <cstdint>
#include <optional>
#include <vector>
#include <windows.h>

namespace korvane::win32 {

// Writes `size` bytes to `path` whole or not at all: into a new file in the same folder,
// flushed to the disk, then moved over `path` in one step. Returns 0, or the system's error
// code; then no new file is left behind and whatever `path` held is as it was.
DWORD writeWhole(const std::wstring &path, const void *bytes, std::size_t size);

// The picture as the bytes of a PNG file, through the system's image encoder.
HRESULT encodePng(const Picture &picture, std::vector<std::uint8_t> &png);

// Writes `document` to `path` as a PNG or SVG file, its text in `face`, whole or not at all.
// Nothing on success, else the system's reason.
std::optional<std::u16string> writeDocument(const Document &document, std::u16string_view path,
                                            FileFormat format, const Typeface &face);

} // namespace korvane::win32
