#include "qt/documentio.h"

#include "qt/convert.h"
#include "qt/errorbox.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMimeData>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>

#include <vector>

namespace korvane {
namespace {

TextWidth measuredIn(const QFont &base)
{
    return [base](std::u16string_view text, int pixels) {
        QFont font(base);
        font.setPixelSize(pixels);
        return QFontMetricsF(font).horizontalAdvance(toQString(text));
    };
}

QFont atPixels(QFont font, int pixels)
{
    font.setPixelSize(pixels);
    return font;
}

QPageLayout::Orientation orientationFor(const Document &document)
{
    return printsAcross(document) ? QPageLayout::Landscape : QPageLayout::Portrait;
}

} // namespace

QImage pictureOf(const Document &document, const Typeface &face)
{
    const QFont base = toQFont(face);
    const PictureLayout layout = layoutPicture(document, measuredIn(base));
    QImage picture(layout.width, layout.height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (const PixelRect &r : layout.sheet.ink)
        painter.fillRect(r.x, r.y, r.width, r.height, Qt::black);
    painter.setPen(Qt::black);
    painter.setFont(atPixels(base, layout.fontPixels));
    int top = layout.sheet.height + layout.margin;
    for (const std::u16string &line : layout.lines) {
        painter.drawText(QRect(layout.margin, top, layout.width - layout.margin, layout.lineHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, toQString(line));
        top += layout.lineHeight;
    }
    return picture;
}

void copyToClipboard(const Document &document, const Typeface &face)
{
    auto *data = new QMimeData;
    data->setImageData(pictureOf(document, face));
    data->setData(QStringLiteral("image/svg+xml"),
                  QByteArray::fromStdString(toSvg(document, face.face)));
    data->setText(toQString(document.jobLine));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool paintPages(QPagedPaintDevice &device, const Document &document, const Typeface &face)
{
    const int dpi = device.logicalDpiX();
    const QRect printable = device.pageLayout().paintRectPixels(dpi);
    const QFont base = toQFont(face);
    // The painter's origin is the printable area's top-left corner.
    const PageLayout page =
        layoutPage(document, {0, 0, double(printable.width()), double(printable.height())}, dpi,
                   measuredIn(base));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setFont(atPixels(base, page.textPixels));
    painter.drawText(QRectF(page.textLeft, page.textTop, printable.width(), page.textPixels * 2.0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     toQString(document.jobLine));
    QPen pen(Qt::black);
    pen.setWidthF(page.lineWidth);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    std::vector<QLineF> lines;
    const double k = page.unitsPerTwip;
    for (const GridBlock &block : document.drawing.blocks)
        forEachStroke(
            block, k,
            [&](double x1, double y1, double x2, double y2) {
                lines.emplace_back(page.sheetLeft + x1 * k, page.sheetTop + y1 * k,
                                   page.sheetLeft + x2 * k, page.sheetTop + y2 * k);
            },
            [&](double x, double y, double width, double height) {
                painter.fillRect(
                    QRectF(page.sheetLeft + x * k, page.sheetTop + y * k, width * k, height * k),
                    Qt::black);
            });
    painter.drawLines(lines.data(), int(lines.size()));
    return painter.end();
}

bool writeDocument(const Document &document, FileFormat format, const Typeface &face,
                   const QString &path, QString *reason)
{
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        switch (format) {
        case FileFormat::Png:
            written = pictureOf(document, face).save(&file, "PNG");
            break;
        case FileFormat::Svg: {
            const std::string svg = toSvg(document, face.face);
            written = file.write(svg.data(), qint64(svg.size())) == qint64(svg.size());
            break;
        }
        case FileFormat::Pdf: {
            QPdfWriter pdf(&file);
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageOrientation(orientationFor(document));
            pdf.setTitle(toQString(document.jobLine));
            written = paintPages(pdf, document, face);
            break;
        }
        }
    }
    if (written && file.commit())
        return true;
    *reason = file.errorString();
    file.cancelWriting();
    return false;
}

void saveWithDialog(QWidget *parent, const SaveRequest &request, const Typeface &face)
{
    QFileDialog dialog(parent->window(), toQString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const FileType &type : request.types)
        filters.append(QStringLiteral("%1 (*.%2)")
                           .arg(toQString(type.description), toQString(type.extension)));
    dialog.setNameFilters(filters);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    dialog.setDirectory(QDir(documents).exists() ? documents : QDir::homePath());
    dialog.selectFile(toQString(request.fileName));
    // A name typed without an extension takes the chosen type's before the dialog asks
    // whether to replace an existing file.
    const auto suffixOf = [&](const QString &filter) {
        return toQString(
            request.types[std::size_t(std::max<qsizetype>(0, filters.indexOf(filter)))].extension);
    };
    dialog.setDefaultSuffix(suffixOf(filters.front()));
    QObject::connect(&dialog, &QFileDialog::filterSelected,
                     [&](const QString &filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const qsizetype chosen = std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()));
    const SavePath target = savePath(toU16(dialog.selectedFiles().front()), request.types,
                                     request.types[std::size_t(chosen)]);
    const QString path = toQString(target.path);
    QString reason;
    if (!writeDocument(request.document, target.type->format, face, path, &reason))
        showError(parent, saveFailure(target.path, toU16(reason)));
}

void printWithDialog(QWidget *parent, const Document &document, const Typeface &face)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(toQString(document.fileStem));
    printer.setPageOrientation(orientationFor(document));
    QPrintDialog dialog(&printer, parent->window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!paintPages(printer, document, face))
        showError(parent, printFailure(toU16(qt_error_string())));
}

} // namespace korvane
