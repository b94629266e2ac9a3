#pragma once

#include "common/controls.h"

#include <QFrame>

namespace korvane {

// The "克重换算" panel: a grammage and a full-sheet format in; the weight of a ream and the
// reams per tonne out.
class GrammagePanel : public QFrame
{
    Q_OBJECT

public:
    explicit GrammagePanel(QWidget *parent = nullptr);

    // The press of "换算(&C)".
    void convert();

private:
    Controls m_controls;
};

} // namespace korvane
