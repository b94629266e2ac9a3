#pragma once

#include "common/panel.h"

#include <QImage>
#include <QWidget>

namespace korvane {

// The diagram box: a drawing surface whose lines persist. The drawing is rasterised into a
// backing image at the screen's dots per inch, and painting only copies that image, so the
// picture survives being covered and shown again.
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

    // The dots per inch the picture is drawn at: the logical 96 times the pixel ratio.
    int dpi() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void redraw();

    Colour m_paper;
    Colour m_ink;
    std::optional<Drawing> m_drawing;
    QImage m_picture;
    int m_pictureDpi = 0;
};

} // namespace korvane
