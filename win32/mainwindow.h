#pragma once

#include "common/window.h"
#include "win32/fonts.h"
#include "win32/panelwindow.h"

#include <memory>
#include <vector>
#include <windows.h>

namespace korvane::win32 {

// A window of panels under a tab strip, built from its description: the panels stacked on
// the strip's display rectangle, a tab bringing its panel to the front, the keyboard going
// round the tab strip and the front panel, and the access keys pressing their buttons. Laid
// out in twips, again whenever the DPI changes.
class MainWindow
{
public:
    // Creates the window and everything on it, not yet shown.
    MainWindow(const WindowDescription &description, HINSTANCE instance);
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;
    ~MainWindow();

    HWND handle() const { return m_window; }
    HWND tabStrip() const { return m_tabStrip; }
    int dpi() const { return m_dpi; }
    int panelCount() const { return int(m_panels.size()); }
    PanelWindow &panel(int index) const { return *m_panels.at(std::size_t(index)); }

    // Keys the window handles before the focused control sees them: Tab and Shift+Tab, Alt
    // with an access key, and Ctrl (with Shift) with the letter of a command of the front
    // panel. True when `message` was used up.
    bool takeKey(const MSG &message);

    // The program's message loop, with the keys above, until the window is closed or a quit
    // message comes. Returns the quit message's exit code.
    int run();

    // The window's messages.
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void layout();
    RECT displayRect() const;
    void bringToFront(int index);
    int frontPanel() const;
    void moveFocus(bool backwards);

    const WindowDescription &m_description;
    HWND m_window = nullptr;
    HWND m_tabStrip = nullptr;
    int m_dpi = 96;
    Font m_font;
    std::vector<std::unique_ptr<PanelWindow>> m_panels;
    HWND m_lastFocus = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
};

} // namespace korvane::win32
