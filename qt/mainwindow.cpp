#include "qt/mainwindow.h"

#include "app/window.h"
#include "qt/convert.h"
#include "qt/panelwidget.h"
#include "qt/tabstrip.h"

#include <QApplication>
#include <QIcon>

#include <algorithm>

namespace korvane {

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    const WindowSpec &description = mainWindow;
    setObjectName(toQString(description.name));
    setWindowTitle(toQString(description.caption));
    QIcon icon;
    icon.addFile(QStringLiteral(":/korvane/icon-16.png"));
    icon.addFile(QStringLiteral(":/korvane/icon-32.png"));
    setWindowIcon(icon);
    resize(twipsToPixels(description.clientWidth), twipsToPixels(description.clientHeight));
    // The layout is drawn for a 9-point CJK font, 12 pixels at 96 dots per inch.
    setFont(toQFont(description.font, FaceOrder::InstalledFirst));

    // Created first: the tab strip leads the keyboard focus order.
    m_tabStrip = new TabStrip(this);
    m_tabStrip->setObjectName(toQString(description.tabStrip));
    for (const TabSpec &tab : description.tabs)
        m_tabStrip->addTab(toQString(tab.caption));
    m_tabStrip->setGeometry(toQRect(description.tabStripRect));

    for (std::size_t i = 0; i < description.tabs.size(); ++i)
        m_panels.push_back(new PanelWidget(*description.tabs[i].panel, description.panelArray,
                                           static_cast<int>(i), this));

    load();
    connect(m_tabStrip, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < panelCount())
            panel(index)->raise();
    });
}

bool MainWindow::focusNextPrevChild(bool next)
{
    QWidget *front = panel(std::max(0, m_tabStrip->currentIndex()));
    QList<QWidget *> stops = {m_tabStrip};
    for (QWidget *w = m_tabStrip->nextInFocusChain(); w != m_tabStrip; w = w->nextInFocusChain()) {
        if (front->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(this) && !w->focusProxy())
            stops.append(w);
    }
    QWidget *current = QApplication::focusWidget();
    // The line edit inside an editable drop-down box stands for its box.
    while (current && !stops.contains(current))
        current = current->parentWidget();
    const qsizetype at = current ? stops.indexOf(current) : -1;
    const qsizetype count = stops.size();
    const qsizetype to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    stops[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void MainWindow::load()
{
    for (PanelWidget *panel : m_panels)
        panel->setGeometry(m_tabStrip->clientRect());
    m_panels.front()->raise();
}

} // namespace korvane
