#pragma once

#include "common/controls.h"

#include <QFrame>

namespace korvane {

// The "书脊" panel: a page count and a grammage in; the thickness of the book block out.
class SpinePanel : public QFrame
{
    Q_OBJECT

public:
    explicit SpinePanel(QWidget *parent = nullptr);

    // The press of "计算".
    void calculate();

private:
    Controls m_controls;
};

} // namespace korvane
