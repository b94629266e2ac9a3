#pragma once

#include "colour/mixer.h"
#include "common/controls.h"

#include <QFrame>

#include <array>

class QScrollBar;

namespace korvane {

// The "配色" panel: three scroll bars set red, green and blue; each column shows its value
// and its tint, and a wide box shows the colour all three make together.
class ColourPanel : public QFrame
{
    Q_OBJECT

public:
    explicit ColourPanel(QWidget *parent = nullptr);

private:
    struct Column
    {
        QScrollBar *bar = nullptr;
        QWidget *value = nullptr; // the value label
        QWidget *tint = nullptr;  // the tint box
        colour::Primary primary = colour::Primary::Red;
    };

    // The change of one scroll bar: its own value label and tint box, then the mixed box.
    void change(const Column &column);

    Controls m_controls;
    std::array<Column, 3> m_columns{};
    QWidget *m_mixed = nullptr;
};

} // namespace korvane
