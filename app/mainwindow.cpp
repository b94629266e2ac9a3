#include "app/mainwindow.h"

#include "app/aboutpanel.h"
#include "app/tabstrip.h"
#include "calculators/grammagepanel.h"
#include "calculators/spinepanel.h"
#include "colour/colourpanel.h"
#include "common/controls.h"
#include "imposition/impositionpanel.h"

#include <QApplication>
#include <QIcon>

#include <algorithm>

namespace korvane {
namespace {

// The layout is drawn for a 9-point CJK system font, 12 pixels at 96 dots per inch. The
// installed CJK sans-serif comes first: looking up absent families first costs start-up time.
QFont interfaceFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("宋体"), QStringLiteral("SimSun")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);
    return font;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Korvane"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/korvane/icon-16.png"));
    icon.addFile(QStringLiteral(":/korvane/icon-32.png"));
    setWindowIcon(icon);
    resize(twipsToPixels(5370), twipsToPixels(4005));
    setFont(interfaceFont());

    // Created first: the tab strip leads the keyboard focus order.
    m_tabStrip = new TabStrip(this);
    m_tabStrip->setObjectName(QStringLiteral("TabStrip1"));
    for (const char *caption : {"开版图", "克重换算", "书脊", "配色", "关于.."})
        m_tabStrip->addTab(QString::fromUtf8(caption));
    m_tabStrip->setGeometry(twipsRect(240, 240, 4935, 3615));

    m_panels = {new ImpositionPanel(this), new GrammagePanel(this), new SpinePanel(this),
                new ColourPanel(this), new AboutPanel(this)};
    for (int i = 0; i < PanelCount; ++i)
        initPanel(m_panels[static_cast<std::size_t>(i)], i);

    load();
    connect(m_tabStrip, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < PanelCount)
            m_panels[static_cast<std::size_t>(index)]->raise();
    });
}

bool MainWindow::focusNextPrevChild(bool next)
{
    QWidget *front = m_panels[static_cast<std::size_t>(std::max(0, m_tabStrip->currentIndex()))];
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
    for (QWidget *panel : m_panels)
        panel->setGeometry(m_tabStrip->clientRect());
    m_panels[0]->raise();
}

} // namespace korvane
