#pragma once

// A document leaving the window on Linux: its picture, the clipboard, files and the printer.

#include "common/document.h"

#include <QImage>
#include <QString>

class QPainter;
class QPagedPaintDevice;
class QWidget;

namespace korvane {

// The picture of a copy and of a PNG file, its text in `face`.
QImage pictureOf(const Document &document, const Typeface &face);

// Puts the document on the clipboard as a picture, as SVG (image/svg+xml) and as its job
// line in plain text.
void copyToClipboard(const Document &document, const Typeface &face);

// Writes the document to `path` whole or not at all: a temporary file beside it, renamed over
// it when complete. False with the system's reason when it could not.
bool writeDocument(const Document &document, FileFormat format, const Typeface &face,
                   const QString &path, QString *reason);

// Asks where to save the document and saves it there; a failure shows the error box.
void saveWithDialog(QWidget *parent, const SaveRequest &request, const Typeface &face);

// The document on the pages of `device` (a printer or a PDF file), one page; false when the
// device would not take it.
bool paintPages(QPagedPaintDevice &device, const Document &document, const Typeface &face);

// The print dialog, then the document on the printer it gives; Cancel prints nothing.
void printWithDialog(QWidget *parent, const Document &document, const Typeface &face);

} // namespace korvane
