#pragma once

#include <QTabBar>

namespace korvane {

// The tab strip: a row of tabs over a bordered pane. The panels are not its children; they
// are laid onto its client rectangle, the area inside the pane below the tabs.
class TabStrip : public QTabBar
{
    Q_OBJECT

public:
    explicit TabStrip(QWidget *parent = nullptr);

    // The client rectangle in the parent's coordinates.
    QRect clientRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect paneRect() const;
};

} // namespace korvane
