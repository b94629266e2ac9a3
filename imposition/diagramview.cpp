#include "imposition/diagramview.h"

#include "common/controls.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace korvane {
namespace {

// Device pixel holding a coordinate in twips, clamped into [0, extent - 1] so that the
// lines on the far edges of a block that fills the sheet stay visible.
int devicePixel(double twips, double scale, int extent)
{
    const double px = std::floor(static_cast<float>(twips) * scale);
    return static_cast<int>(std::clamp(px, 0.0, static_cast<double>(std::max(0, extent - 1))));
}

// The lines of one direction: at start, start + step, ... (count + 1 of them), each
// spanning [from, to] across. Returns false when they are denser than the pixels, in which
// case they cover the whole band and the caller fills it.
template <typename DrawLine>
bool drawLines(std::int64_t count, double start, double step, double scale, int extent,
               DrawLine drawLine)
{
    if (step * scale < 1.0)
        return false;
    const double limit = extent / scale;
    for (std::int64_t i = 0; i <= count; ++i) {
        const double at = start + static_cast<double>(i) * step;
        if (at > limit)
            break;
        drawLine(devicePixel(at, scale, extent));
    }
    return true;
}

} // namespace

DiagramView::DiagramView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DiagramView::resizeDiagram(double widthTwips, double heightTwips)
{
    m_widthTwips = static_cast<float>(widthTwips);
    m_heightTwips = static_cast<float>(heightTwips);
    // At least one pixel, so a sheet of extreme proportions still shows as a line.
    resize(std::max(1, twipsToPixels(m_widthTwips)), std::max(1, twipsToPixels(m_heightTwips)));
    clear();
}

void DiagramView::clear()
{
    m_drawn.clear();
    newPicture();
    update();
}

void DiagramView::newPicture()
{
    const qreal ratio = devicePixelRatioF();
    m_picture = QImage(size() * ratio, QImage::Format_RGB32);
    m_picture.fill(palette().color(QPalette::Base));
}

void DiagramView::drawBlock(const imposition::Block &block, double plen, double pwid)
{
    m_drawn.push_back({block, plen, pwid});
    if (block.rows == 0 || block.cols == 0 || m_picture.isNull())
        return;
    const bool flat = block.placement == imposition::Placement::Horizontal;
    const double cellWidth = flat ? plen : pwid;
    const double cellHeight = flat ? pwid : plen;
    const double scale = devicePixelRatioF() / TwipsPerPixel;
    const int w = m_picture.width();
    const int h = m_picture.height();
    const int left = devicePixel(block.x, scale, w);
    const int top = devicePixel(block.y, scale, h);
    const int right = devicePixel(block.x + static_cast<double>(block.cols) * cellWidth, scale, w);
    const int bottom =
        devicePixel(block.y + static_cast<double>(block.rows) * cellHeight, scale, h);

    QPainter painter(&m_picture);
    const QColor ink = palette().color(QPalette::Text);
    painter.setPen(QPen(ink, 0));
    const QRect band(QPoint(left, top), QPoint(right, bottom));
    const bool rowsDrawn = drawLines(block.rows, block.y, cellHeight, scale, h, [&](int y) {
        painter.drawLine(left, y, right, y);
    });
    const bool colsDrawn = drawLines(block.cols, block.x, cellWidth, scale, w, [&](int x) {
        painter.drawLine(x, top, x, bottom);
    });
    if (!rowsDrawn || !colsDrawn)
        painter.fillRect(band, ink);
    update();
}

void DiagramView::redraw()
{
    const std::vector<Drawn> drawn = std::move(m_drawn);
    m_drawn.clear();
    newPicture();
    for (const Drawn &d : drawn)
        drawBlock(d.block, d.plen, d.pwid);
}

void DiagramView::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another pixel ratio: draw it again at the new resolution.
    if (!m_picture.isNull() && m_picture.size() != size() * devicePixelRatioF())
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
