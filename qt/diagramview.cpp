#include "qt/diagramview.h"

#include "common/raster.h"
#include "qt/convert.h"

#include <QEvent>
#include <QPainter>

namespace korvane {

DiagramView::DiagramView(Colour paper, Colour ink, QWidget *parent)
    : QWidget(parent), m_paper(paper), m_ink(ink)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int DiagramView::dpi() const
{
    return qRound(LogicalDpi * devicePixelRatioF());
}

void DiagramView::draw(const Drawing &drawing)
{
    m_drawing = drawing;
    resize(std::max(1, twipsToPixels(drawing.width, LogicalDpi)),
           std::max(1, twipsToPixels(drawing.height, LogicalDpi)));
    redraw();
    update();
}

void DiagramView::redraw()
{
    if (!m_drawing)
        return;
    m_pictureDpi = dpi();
    const Raster raster = rasterise(*m_drawing, m_pictureDpi);
    m_picture = QImage(raster.width, raster.height, QImage::Format_RGB32);
    // Written straight into the pixels: a plan of many boxes has hundreds of thousands of
    // edges, too many to paint one by one.
    fillPixels(raster, colourOf(m_paper, palette()).rgb(), colourOf(m_ink, palette()).rgb(),
               reinterpret_cast<QRgb *>(m_picture.bits()),
               std::size_t(m_picture.bytesPerLine()) / 4,
               palette().color(QPalette::Highlight).rgb());
    m_picture.setDevicePixelRatio(devicePixelRatioF());
}

void DiagramView::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another pixel ratio: drawn again at the new resolution.
    if (m_pictureDpi != dpi())
        redraw();
    QPainter painter(this);
    // Device pixels one to one; where the box's whole logical pixels reach past the picture,
    // paper.
    painter.fillRect(rect(), colourOf(m_paper, palette()));
    painter.drawImage(QPointF(0, 0), m_picture);
}

void DiagramView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        redraw();
    QWidget::changeEvent(event);
}

} // namespace korvane
