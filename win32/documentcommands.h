#pragma once

// A document leaving a window on Windows, for the driver: on the clipboard as the job line,
// a bitmap and the same as vector graphics; saved as PNG or SVG through the common save
// dialog (a PDF comes from printing to the system's PDF printer); printed on the printer the
// print dialog gives. Text in the window's typeface.

#include "common/driver.h"

#include <windows.h>

namespace korvane::win32 {

class Win32DocumentIo final : public DocumentIo
{
public:
    // Dialogs and the clipboard belong to `owner`, which the window sets once it exists.
    Win32DocumentIo(const HWND &owner, const Typeface &face) : m_owner(owner), m_face(face) {}

    Answered copy(const Document &document) override;
    bool writes(FileFormat format) override;
    std::u16string folder(UserFolder which) override;
    bool exists(std::u16string_view path) override;
    Answered askSaveName(const SaveDialog &dialog) override;
    Answered write(const Document &document, std::u16string_view path, FileFormat format) override;
    Answered print(const Document &document, std::u16string_view jobName) override;
    std::optional<std::string> readSettings(std::string_view name) override;
    std::optional<std::u16string> writeSettings(std::string_view name,
                                                std::string_view bytes) override;

private:
    const HWND &m_owner;
    Typeface m_face;
};

} // namespace korvane::win32
