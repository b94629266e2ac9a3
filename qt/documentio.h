#pragma once

// A document leaving a window on Linux: its picture, the clipboard, files and the printer.

#include "common/driver.h"

#include <QImage>

class QPagedPaintDevice;
class QWidget;

namespace korvane {

// The picture of a copy and of a PNG file, its text in `face`.
QImage renderPicture(const Document &document, const Typeface &face);

// The document on one page of `device` (a printer or a PDF file); false when the device
// would not take it.
bool renderPage(QPagedPaintDevice &device, const Document &document, const Typeface &face);

// The clipboard (a picture, SVG as image/svg+xml, the job line), files written whole through
// a temporary file renamed over the target, and Qt's own dialogs over `window`, which speak
// its language from the first one that opens.
class QtDocumentIo final : public DocumentIo
{
public:
    QtDocumentIo(QWidget *window, const WindowDescription &description)
        : m_window(window), m_description(description)
    {
    }

    Answered copy(const Document &document) override;
    bool writes(FileFormat) override { return true; }
    std::u16string folder(UserFolder which) override;
    bool exists(std::u16string_view path) override;
    Answered askSaveName(const SaveDialog &dialog) override;
    Answered write(const Document &document, std::u16string_view path, FileFormat format) override;
    Answered print(const Document &document, std::u16string_view jobName) override;
    std::optional<std::string> readSettings(std::string_view name) override;
    std::optional<std::u16string> writeSettings(std::string_view name,
                                                std::string_view bytes) override;

private:
    QWidget *m_window;
    const WindowDescription &m_description;
};

} // namespace korvane
