#include "qt/tabstrip.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace korvane {

TabStrip::TabStrip(QWidget *parent) : QTabBar(parent)
{
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(false);
}

QRect TabStrip::paneRect() const
{
    const int tabRow = count() > 0 ? tabRect(0).bottom() + 1 : 0;
    return QRect(0, tabRow - 1, width(), height() - tabRow + 1);
}

QRect TabStrip::clientRect() const
{
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return paneRect().adjusted(frame, frame + 1, -frame, -frame).translated(pos());
}

void TabStrip::paintEvent(QPaintEvent *event)
{
    {
        QStylePainter painter(this);
        QStyleOptionTabWidgetFrame pane;
        pane.initFrom(this);
        pane.rect = paneRect();
        pane.shape = shape();
        pane.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        const QRect tabs = count() > 0 ? tabRect(0).united(tabRect(count() - 1)) : QRect();
        pane.tabBarSize = tabs.size();
        pane.tabBarRect = tabs;
        pane.selectedTabRect = currentIndex() >= 0 ? tabRect(currentIndex()) : QRect();
        painter.drawPrimitive(QStyle::PE_FrameTabWidget, pane);
    }
    QTabBar::paintEvent(event);
}

} // namespace korvane
