#pragma once

#include <QWidget>

#include <array>

namespace korvane {

class TabStrip;

// The window "main": the tab strip and the five panels stacked on its client rectangle.
// A tab brings its panel to the front; the panels behind keep everything they show.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PanelCount = 5;

    explicit MainWindow(QWidget *parent = nullptr);

    QWidget *panel(int index) const { return m_panels.at(static_cast<std::size_t>(index)); }

protected:
    // Tab and Shift+Tab go round the tab strip and the controls of the panel in front, in
    // their order; the controls of the panels behind are not visited.
    bool focusNextPrevChild(bool next) override;

private:
    // Lays every panel onto the tab strip's client rectangle and brings the first to the
    // front. Runs once, before the window is first shown.
    void load();

    TabStrip *m_tabStrip = nullptr;
    std::array<QWidget *, PanelCount> m_panels{};
};

} // namespace korvane
