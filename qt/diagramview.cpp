#include "qt/diagramview.h"

#include "imposition/grid.h"
#include "qt/convert.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace korvane {

DiagramView::DiagramView(Colour paper, Colour ink, QWidget *parent)
    : QWidget(parent), m_paper(paper), m_ink(ink)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DiagramView::draw(const Drawing &drawing)
{
    // At least one pixel, so a sheet of extreme proportions still shows as a line.
    resize(std::max(1, twipsToPixels(drawing.width)), std::max(1, twipsToPixels(drawing.height)));
    m_drawn.clear();
    newPicture();
    for (const GridBlock &block : drawing.blocks) {
        m_drawn.push_back(block);
        drawBlock(block);
    }
    update();
}

void DiagramView::newPicture()
{
    const qreal ratio = devicePixelRatioF();
    m_picture = QImage(size() * ratio, QImage::Format_RGB32);
    m_picture.fill(colourOf(m_paper, palette()));
}

void DiagramView::drawBlock(const GridBlock &block)
{
    const double pixelsPerTwip = devicePixelRatioF() * 96 / TwipsPerInch;
    const auto pixels =
        imposition::gridPixels(block, pixelsPerTwip, m_picture.width(), m_picture.height());
    if (pixels.empty())
        return;
    QPainter painter(&m_picture);
    const QColor ink = colourOf(m_ink, palette());
    for (const imposition::PixelRect &r : pixels)
        painter.fillRect(r.x, r.y, r.width, r.height, ink);
}

void DiagramView::redraw()
{
    newPicture();
    for (const GridBlock &block : m_drawn)
        drawBlock(block);
}

void DiagramView::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another pixel ratio: draw it again at the new resolution.
    if (m_picture.isNull() || m_picture.size() != size() * devicePixelRatioF())
        redraw();
    QPainter painter(this);
    painter.drawImage(rect(), m_picture);
}

void DiagramView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange && !m_picture.isNull())
        redraw();
    QWidget::changeEvent(event);
}

} // namespace korvane
