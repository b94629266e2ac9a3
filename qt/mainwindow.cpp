#include "qt/mainwindow.h"

#include "common/rules.h"
#include "qt/convert.h"
#include "qt/documentio.h"
#include "qt/panelwidget.h"
#include "qt/tabstrip.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QShortcut>

#include <algorithm>

namespace korvane {

MainWindow::MainWindow(const WindowDescription &description, QWidget *parent)
    : QWidget(parent), m_description(description)
{
    setObjectName(toQString(description.name));
    setWindowTitle(toQString(description.caption));
    QIcon icon;
    icon.addFile(QStringLiteral(":/korvane/icon-16.png"));
    icon.addFile(QStringLiteral(":/korvane/icon-32.png"));
    setWindowIcon(icon);
    resize(twipsToPixels(description.clientWidth, LogicalDpi),
           twipsToPixels(description.clientHeight, LogicalDpi));
    setFont(toQFont(description.font));

    // Created first: the tab strip leads the keyboard focus order.
    m_tabStrip = new TabStrip(this);
    m_tabStrip->setObjectName(toQString(description.tabStrip));
    for (const Tab &tab : description.tabs)
        m_tabStrip->addTab(toQString(tab.caption));
    m_tabStrip->setGeometry(toQRect(description.tabStripRect));

    for (std::size_t i = 0; i < description.tabs.size(); ++i)
        m_panels.push_back(new PanelWidget(*description.tabs[i].panel, description.panelArray,
                                           static_cast<int>(i), this));

    load();
    addAccessKeys();
    addCommands();
    connect(m_tabStrip, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < panelCount())
            panel(index)->raise();
        updateCommands();
    });
}

int MainWindow::frontPanel() const
{
    return std::clamp(m_tabStrip->currentIndex(), 0, panelCount() - 1);
}

void MainWindow::load()
{
    for (PanelWidget *panel : m_panels)
        panel->setGeometry(m_tabStrip->clientRect());
    m_panels.front()->raise();
}

void MainWindow::addAccessKeys()
{
    for (const auto &[key, target] : accessKeys(m_description)) {
        auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(key)), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, target] { panel(target.panel)->press(target.control); });
    }
}

void MainWindow::addCommands()
{
    for (int index = 0; index < panelCount(); ++index) {
        PanelWidget *owner = panel(index);
        for (const Command &command : owner->table().commands) {
            auto *action = new QAction(toQString(command.text), this);
            action->setObjectName(QString::fromLatin1(command.id));
            action->setShortcut(QKeySequence(QKeyCombination(
                Qt::ControlModifier | (command.shortcut.shift ? Qt::ShiftModifier : Qt::NoModifier),
                Qt::Key(command.shortcut.key))));
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
            QWidget *menuOf = owner->control(command.menuOf);
            menuOf->setContextMenuPolicy(Qt::ActionsContextMenu);
            menuOf->addAction(action);
            connect(action, &QAction::triggered, this,
                    [this, index, &command] { runCommand(index, command); });
            m_commands.push_back({index, &command, action});
        }
        connect(owner, &PanelWidget::documentChanged, this, &MainWindow::updateCommands);
    }
    updateCommands();
}

void MainWindow::updateCommands()
{
    for (const CommandAction &entry : m_commands)
        entry.action->setEnabled(commandEnabled(*entry.command, panel(entry.panel)->lastDocument(),
                                                entry.panel == frontPanel()));
}

void MainWindow::runCommand(int index, const Command &command)
{
    const Document *last = panel(index)->lastDocument();
    if (!commandEnabled(command, last, index == frontPanel()))
        return;
    const CommandRequest request = command.handle(*last);
    if (const auto *copy = std::get_if<CopyRequest>(&request))
        copyToClipboard(copy->document, m_description.font);
    else if (const auto *save = std::get_if<SaveRequest>(&request))
        saveWithDialog(this, *save, m_description.font);
    else
        printWithDialog(this, std::get<PrintRequest>(request).document, m_description.font);
}

bool MainWindow::focusNextPrevChild(bool next)
{
    const int front = frontPanel();
    const std::vector<ControlName> cycle = focusCycle(m_description, front);
    PanelWidget *panel = m_panels[std::size_t(front)];
    QWidget *focus = QApplication::focusWidget();
    ControlName current;
    if (focus == m_tabStrip)
        current = m_description.tabStrip;
    else if (const ControlRow *row = panel->rowOf(focus))
        current = row->name;

    const ControlName to = nextFocus(cycle, current, !next);
    const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    if (to == m_description.tabStrip) {
        m_tabStrip->setFocus(reason);
        return true;
    }
    QWidget *target = panel->control(to);
    target->setFocus(reason);
    if (selectsAllOnTab(findControl(panel->table(), to)->kind)) {
        if (auto *edit = qobject_cast<QLineEdit *>(target))
            edit->selectAll();
        else if (auto *combo = qobject_cast<QComboBox *>(target))
            combo->lineEdit()->selectAll();
    }
    return true;
}

} // namespace korvane
