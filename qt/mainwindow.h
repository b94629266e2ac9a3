#pragma once

#include "common/window.h"

#include <QWidget>

class QAction;

#include <vector>

namespace korvane {

class PanelWidget;
class TabStrip;

// A window of panels under a tab strip, built from its description: the panels stacked on
// the strip's client rectangle, a tab bringing its panel to the front, the keyboard going
// round the tab strip and the front panel, the access keys pressing their buttons, and the
// panels' commands as actions: in the context menu of their control and by their shortcuts.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(const WindowDescription &description, QWidget *parent = nullptr);

    int panelCount() const { return static_cast<int>(m_panels.size()); }
    PanelWidget *panel(int index) const { return m_panels.at(static_cast<std::size_t>(index)); }
    int frontPanel() const;

protected:
    bool focusNextPrevChild(bool next) override;

private:
    // Lays every panel onto the tab strip's client rectangle and brings the first to the
    // front. Runs once, before the window is first shown.
    void load();
    void addAccessKeys();
    void addCommands();
    void updateCommands();
    void runCommand(int panel, const Command &command);

    struct CommandAction
    {
        int panel;
        const Command *command;
        QAction *action;
    };

    const WindowDescription &m_description;
    TabStrip *m_tabStrip = nullptr;
    std::vector<PanelWidget *> m_panels;
    std::vector<CommandAction> m_commands;
};

} // namespace korvane
