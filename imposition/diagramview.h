#pragma once

#include "imposition/layout.h"

#include <QImage>
#include <QWidget>

namespace korvane {

// The diagram box: a drawing surface whose lines persist. Everything drawn goes into a
// backing image at the screen's device pixel ratio, and painting only copies that image,
// so the picture survives being covered and shown again. Positions are in twips.
class DiagramView : public QWidget
{
    Q_OBJECT

public:
    explicit DiagramView(QWidget *parent = nullptr);

    // New size in twips (handed over as single precision); the top-left corner stays.
    void resizeDiagram(double widthTwips, double heightTwips);
    void clear();

    // One block of product cells: rows + 1 horizontal and cols + 1 vertical lines, each
    // one device pixel wide. Where the cells are narrower than a pixel the lines merge
    // into a solid area, so that is what is drawn.
    void drawBlock(const imposition::Block &block, double plen, double pwid);

    // The backing image, in device pixels.
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void newPicture();
    void redraw();

    double m_widthTwips = 0;
    double m_heightTwips = 0;
    QImage m_picture;
    struct Drawn
    {
        imposition::Block block;
        double plen;
        double pwid;
    };
    // What was drawn since the last clear, to draw it again at a new pixel ratio.
    std::vector<Drawn> m_drawn;
};

} // namespace korvane
