#include "qt/documentio.h"

#include "app/version.h"
#include "qt/convert.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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

namespace korvane {
namespace {

QFont atPixels(QFont font, int pixels)
{
    font.setPixelSize(pixels);
    return font;
}

TextWidth measuredIn(const QFont &base)
{
    return [base](std::u16string_view text, int pixels) {
        return QFontMetricsF(atPixels(base, pixels)).horizontalAdvance(toQString(text));
    };
}

QColor markColour()
{
    return QColor(MarkColour.r, MarkColour.g, MarkColour.b);
}

QPageLayout::Orientation orientationFor(const Document &document)
{
    return printsAcross(document) ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// Qt's own dialogs (saving, printing) in the window's language, loaded when the first one
// opens rather than at start-up.
void speakDialogs(std::string_view language)
{
    static const bool loaded = (translateQtDialogs(language), true);
    (void)loaded;
}

// $XDG_CONFIG_HOME/korvane/NAME.conf, or ~/.config/korvane/NAME.conf.
QString settingsPath(std::string_view name)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + toQString(ProductName).toLower() + QLatin1Char('/') +
           QString::fromLatin1(name.data(), qsizetype(name.size())) + QStringLiteral(".conf");
}

} // namespace

QImage renderPicture(const Document &document, const Typeface &face)
{
    const QFont base = toQFont(face);
    const PictureLayout layout = layoutPicture(document, face, measuredIn(base));
    QImage picture(layout.width, layout.height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    fillPixels(layout.sheet, QColor(Qt::white).rgb(), QColor(Qt::black).rgb(),
               reinterpret_cast<QRgb *>(picture.bits()), std::size_t(picture.bytesPerLine()) / 4,
               markColour().rgb());
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.setFont(atPixels(base, layout.fontPixels));
    for (const TextLine &line : layout.lines)
        painter.drawText(QRect(line.left, line.top, layout.width - line.left, layout.lineHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, toQString(line.text));
    return picture;
}

Answered QtDocumentIo::copy(const Document &document)
{
    auto *data = new QMimeData;
    data->setImageData(renderPicture(document, m_description.font));
    data->setData(QStringLiteral("image/svg+xml"),
                  QByteArray::fromStdString(toSvg(document, m_description.font.face)));
    data->setText(toQString(documentText(document)));
    QGuiApplication::clipboard()->setMimeData(data);
    return Answer{};
}

std::u16string QtDocumentIo::folder(UserFolder which)
{
    return toU16(which == UserFolder::Home
                     ? QDir::homePath()
                     : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

bool QtDocumentIo::exists(std::u16string_view path)
{
    return QFileInfo::exists(toQString(path));
}

bool renderPage(QPagedPaintDevice &device, const Document &document, const Typeface &face)
{
    const int dpi = device.logicalDpiX();
    const QRect paper = device.pageLayout().fullRectPixels(dpi);
    const QRect printable = device.pageLayout().paintRectPixels(dpi);
    const QFont base = toQFont(face);
    // The painter's origin is the printable area's top-left corner.
    const PageLayout page =
        layoutPage(document,
                   {double(paper.width()), double(paper.height()),
                    double(printable.left() - paper.left()), double(printable.top() - paper.top()),
                    double(printable.width()), double(printable.height())},
                   dpi, measuredIn(base));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setFont(atPixels(base, page.textPixels));
    for (const TextLine &line : page.lines)
        painter.drawText(QRectF(line.left, line.top, printable.width(), page.textPixels * 2.0),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, toQString(line.text));
    QPen pen(Qt::black);
    pen.setWidthF(page.lineWidth);
    pen.setCapStyle(page.squareEnds ? Qt::SquareCap : Qt::FlatCap);
    painter.setPen(pen);
    const double k = page.unitsPerTwip;
    for (const GridBlock &block : document.drawing.blocks)
        forEachStroke(
            block, k,
            [&](double x1, double y1, double x2, double y2) {
                painter.drawLine(QLineF(page.sheetLeft + x1 * k, page.sheetTop + y1 * k,
                                        page.sheetLeft + x2 * k, page.sheetTop + y2 * k));
            },
            [&](double x, double y, double width, double height) {
                painter.fillRect(
                    QRectF(page.sheetLeft + x * k, page.sheetTop + y * k, width * k, height * k),
                    Qt::black);
            });
    pen.setColor(markColour());
    painter.setPen(pen);
    for (const PageMark &m : page.marks)
        painter.drawLine(QLineF(m.x1, m.y1, m.x2, m.y2));
    painter.setFont(atPixels(base, page.numberPixels));
    for (const TextLine &number : page.numbers)
        painter.drawText(QPointF(number.left, number.top + page.numberPixels),
                         toQString(number.text));
    return painter.end();
}

Answered QtDocumentIo::write(const Document &document, std::u16string_view path, FileFormat format)
{
    const Typeface &face = m_description.font;
    QSaveFile file(toQString(path));
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        switch (format) {
        case FileFormat::Png:
            written = renderPicture(document, face).save(&file, "PNG");
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
            written = renderPage(pdf, document, face);
            break;
        }
        }
    }
    if (written && file.commit())
        return Answer{};
    const QString reason = file.errorString();
    file.cancelWriting();
    return Answer{.failure = toU16(reason)};
}

Answered QtDocumentIo::askSaveName(const SaveDialog &request)
{
    speakDialogs(m_description.language);
    QFileDialog dialog(m_window, toQString(request.title), toQString(request.folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const FileType &type : request.types)
        filters.append(toQString(filterLabel(type)));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(qsizetype(request.type)));
    dialog.selectFile(toQString(request.fileName));
    // A name typed without an extension takes the chosen type's before the dialog asks
    // whether to replace an existing file.
    const auto suffixOf = [&](const QString &filter) {
        return toQString(
            request.types[std::size_t(std::max<qsizetype>(0, filters.indexOf(filter)))].extension);
    };
    dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected,
                     [&](const QString &filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return Answer{};
    return Answer{.choice = SaveChoice{toU16(dialog.selectedFiles().front()),
                                       std::size_t(std::max<qsizetype>(
                                           0, filters.indexOf(dialog.selectedNameFilter())))}};
}

Answered QtDocumentIo::print(const Document &document, std::u16string_view jobName)
{
    speakDialogs(m_description.language);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(toQString(jobName));
    printer.setPageOrientation(orientationFor(document));
    QPrintDialog dialog(&printer, m_window);
    if (dialog.exec() != QDialog::Accepted || renderPage(printer, document, m_description.font))
        return Answer{};
    return Answer{.failure = toU16(qt_error_string())};
}

std::optional<std::string> QtDocumentIo::readSettings(std::string_view name)
{
    // Settings are a few lines: whatever the file holds beyond is not read at all.
    constexpr qint64 Most = 64 * 1024;
    QFile file(settingsPath(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(Most).toStdString();
}

std::optional<std::u16string> QtDocumentIo::writeSettings(std::string_view name,
                                                          std::string_view bytes)
{
    const QString path = settingsPath(name);
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) && file.commit())
        return std::nullopt;
    return toU16(file.errorString());
}

} // namespace korvane
