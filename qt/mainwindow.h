#pragma once

#include <QWidget>

#include <vector>

namespace korvane {

class PanelWidget;
class TabStrip;

// The window "main": the tab strip and the panels stacked on its client rectangle, built
// from the window's description. A tab brings its panel to the front; the panels behind
// keep everything they show.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    int panelCount() const { return static_cast<int>(m_panels.size()); }
    PanelWidget *panel(int index) const { return m_panels.at(static_cast<std::size_t>(index)); }

protected:
    // Tab and Shift+Tab go round the tab strip and the controls of the panel in front, in
    // their order; the controls of the panels behind are not visited.
    bool focusNextPrevChild(bool next) override;

private:
    // Lays every panel onto the tab strip's client rectangle and brings the first to the
    // front. Runs once, before the window is first shown.
    void load();

    TabStrip *m_tabStrip = nullptr;
    std::vector<PanelWidget *> m_panels;
};

} // namespace korvane
