#pragma once

#include "common/driver.h"
#include "win32/documentcommands.h"
#include "win32/fonts.h"
#include "win32/surface.h"

#include <map>
#include <windows.h>

namespace korvane::win32 {

// A window of its description on Win32: the tab strip over the framed panels, or the one
// panel that fills it; the controls the driver has made, each a child of its panel with the
// ID its name gives it; laid out in twips, again whenever the DPI changes. Every key and
// every notification of its controls goes to the driver, which decides what they do. A
// window opened from this one is owned by it, and closing it only hides it.
class TopLevelWindow : private FrontEnd
{
public:
    // Makes the window and everything on it, not yet shown.
    TopLevelWindow(const WindowDescription &description, HINSTANCE instance, HWND owner = nullptr);
    TopLevelWindow(const TopLevelWindow &) = delete;
    TopLevelWindow &operator=(const TopLevelWindow &) = delete;
    ~TopLevelWindow() override;

    HWND handle() const { return m_window; }
    HWND tabStrip() const { return m_tabStrip; }
    int dpi() const { return m_dpi; }
    Driver &driver() { return m_driver; }
    int panelCount() const { return int(m_panels.size()); }
    HWND panel(int index) const { return m_panels.at(std::size_t(index)); }
    // The control `name`; a name the window lacks ends the program: the tables and this front
    // end disagree, which the tests must not miss.
    HWND control(ControlName name) const { return find(name).window; }
    Surface &surface(ControlName name) const;
    // A window opened from this one; null while it is not.
    TopLevelWindow *opened(const WindowDescription &description) const;

    // Keys the driver sees before the focused control: true when `message` was used up. Also
    // asks the windows opened from this one.
    bool takeKey(const MSG &message);

    // The window's and its panels' messages.
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Control
    {
        ControlRef ref;
        const ControlRow *row = nullptr;
        HWND window = nullptr;
        std::unique_ptr<Surface> surface;
        Font font; // for a control with a face of its own
        int fontDpi = 0;
        bool hasToolTip = false;
    };

    const Control &find(ControlName name) const;
    Control &find(ControlName name)
    {
        return const_cast<Control &>(std::as_const(*this).find(name));
    }
    const Control *find(HWND window) const;
    int panelOf(HWND window) const;
    void layout();
    RECT displayRect() const;
    HFONT fontOf(Control &control);
    RECT placeOf(const Control &control, const TwipsRect &place) const;
    void applyFont(Control &control);
    void scrolled(const Control &control, int request, int thumb);
    void showMenu(const Control &control, LPARAM at);
    LRESULT onPanelMessage(int panel, UINT message, WPARAM wParam, LPARAM lParam);

    void create(int panel, const ControlRow &row, const TwipsRect &rect,
                const Accessible &spoken) override;
    void place(ControlRef control, const TwipsRect &rect) override;
    Reading read(ControlRef control) override;
    std::optional<ControlRef> focus() override;
    void setText(ControlRef control, std::u16string_view text) override;
    void pick(ControlRef list, std::size_t item) override;
    void setCaption(ControlRef label, std::u16string_view text) override;
    TwipsSize captionSize(ControlRef label) override;
    void setBackground(ControlRef control, const Colour &colour) override;
    void setOption(ControlRef control, bool enabled, bool chosen) override;
    void setToolTip(ControlRef control, std::u16string_view text) override;
    void draw(ControlRef control, const Drawing &drawing) override;
    void bringToFront(int panel) override;
    void setFocus(ControlRef control, bool byTab, bool selectAll) override;
    Answered showError(std::u16string_view message) override;
    void commandsChanged() override {}
    Answered makeWindow(const WindowDescription &window) override;
    void showWindow(bool shown) override;

    const WindowDescription &m_description;
    HWND m_window = nullptr;
    HWND m_tabStrip = nullptr;
    int m_dpi = 96;
    Font m_font;
    std::vector<HWND> m_panels;
    std::vector<Control> m_controls; // in table order, panel by panel
    HWND m_toolTips = nullptr;       // made with the first tool tip
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    Win32DocumentIo m_documentIo;
    Driver m_driver;
    std::vector<std::unique_ptr<TopLevelWindow>> m_opened; // windows opened from this one
};

// The program's message loop, with the keys of `window` and the windows opened from it,
// until it is closed or a quit message comes. Returns the quit message's exit code.
int runMessageLoop(TopLevelWindow &window);

} // namespace korvane::win32
