#pragma once

#include "common/controls.h"
#include "imposition/layout.h"

#include <QFrame>

namespace korvane {

class DiagramView;

// The "开版图" panel: sheet and product sizes, arrangement and method in; the number of
// ups and the diagram out.
class ImpositionPanel : public QFrame
{
    Q_OBJECT

public:
    explicit ImpositionPanel(QWidget *parent = nullptr);

    // The press of "查看拼版图".
    void view();

    // What the last successful press computed: the ordered sizes, the diagram's size and
    // the counts. Kept until the next successful press.
    const imposition::Geometry &geometry() const { return m_geometry; }

private:
    // Adds one block of product cells to the diagram.
    void draw(const imposition::Block &block);

    Controls m_controls;
    DiagramView *m_drawpic = nullptr;
    imposition::Geometry m_geometry;
};

} // namespace korvane
