#pragma once

#include <QFrame>

namespace korvane {

// The "关于.." panel: the product picture, name and version. Nothing on it reacts.
class AboutPanel : public QFrame
{
    Q_OBJECT

public:
    explicit AboutPanel(QWidget *parent = nullptr);
};

} // namespace korvane
