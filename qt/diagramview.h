#pragma once

#include "common/panel.h"

#include <QImage>
#include <QWidget>

#include <vector>

namespace korvane {

// The diagram box: a drawing surface whose lines persist. Everything drawn goes into a
// backing image at the screen's device pixel ratio, and painting only copies that image,
// so the picture survives being covered and shown again.
class DiagramView : public QWidget
{
    Q_OBJECT

public:
    // Paper and ink are roles of the user's scheme, looked up whenever the picture is made.
    DiagramView(Colour paper, Colour ink, QWidget *parent = nullptr);

    // Resizes the box to the drawing's size (its top-left corner stays), clears it and
    // draws the drawing's blocks.
    void draw(const Drawing &drawing);

    // The backing image, in device pixels.
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void newPicture();
    void drawBlock(const GridBlock &block);
    void redraw();

    Colour m_paper;
    Colour m_ink;
    QImage m_picture;
    // What was drawn since the last clear, to draw it again at a new pixel ratio.
    std::vector<GridBlock> m_drawn;
};

} // namespace korvane
