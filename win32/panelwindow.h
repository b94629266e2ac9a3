#pragma once

#include "common/panel.h"
#include "win32/fonts.h"
#include "win32/surface.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>
#include <windows.h>

namespace korvane::win32 {

// One panel of the window, built from its table: a captionless framed child window holding
// the controls, each with the ID its name gives it, showing the panel's initial outcome.
// Button clicks and scroll bar changes run the panel's handlers; the panel applies their
// outcomes and keeps the last document one gave. Its commands act on that document: from
// the context menu of their control, from their shortcut (the window passes it on), or as a
// WM_COMMAND with their number and no control, as the menu sends it.
class PanelWindow
{
public:
    static void registerClass(HINSTANCE instance);

    // The panel laid at `place` in its parent, its controls placed at `dpi` in `windowFont`
    // or a font of their own; what leaves the window is drawn in `windowFace`.
    PanelWindow(const PanelTable &table, int index, HWND parent, const RECT &place, int dpi,
                HFONT windowFont, const Typeface &windowFace);
    PanelWindow(const PanelWindow &) = delete;
    PanelWindow &operator=(const PanelWindow &) = delete;

    HWND handle() const { return m_window; }
    const PanelTable &table() const { return m_table; }

    // Places every control again from its twips at a new `dpi`: fonts, sizes to text and the
    // diagram made anew.
    void layout(int dpi, HFONT windowFont);

    // The control `name`. A name the panel lacks ends the program: the table and this front
    // end disagree, which the tests must not miss.
    HWND control(ControlName name) const;
    Surface &surface(ControlName name) const;
    // The row of the control `window` is or lies inside (the text field of a drop-down box
    // stands for its box); null for a window of no control of this panel.
    const ControlRow *rowOf(HWND window) const;

    // Presses a button as a click would.
    void press(ControlName button);

    // Whether the panel is in front, where its commands can run; the window tells it.
    void setInFront(bool inFront) { m_inFront = inFront; }
    // The last document an outcome gave, on which the commands act; null before the first.
    const Document *document() const { return m_document ? &*m_document : nullptr; }
    // Runs a command of this panel as its menu item does; nothing while it is disabled.
    void run(const Command &command);

    // The panel's messages: its buttons' clicks, its scroll bars, its labels' colours.
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Control
    {
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
    void nameForScreenReaders();
    HFONT fontOf(Control &control);
    RECT placeOf(Control &control, std::u16string_view text);
    void create(Control &control);
    void applyFont(Control &control, HFONT font);
    void fitToText(const Control &control);
    static void fitField(HWND box, int height);
    // A scroll bar's request; `thumb` is where a dragged thumb was let go.
    void scrolled(const Control &control, int request, int thumb);
    void fire(const Control &source);
    void apply(const Outcome &outcome);
    void setToolTip(Control &control, std::u16string_view text);
    // The context menu of `control` at `at` (screen coordinates; -1, -1 from the keyboard).
    // False when no command offers itself there.
    bool showMenu(const Control &control, LPARAM at);
    LRESULT colourStatic(HDC dc, HWND label);

    const PanelTable &m_table;
    HWND m_window = nullptr;
    int m_dpi = 96;
    HFONT m_windowFont = nullptr;
    Typeface m_windowFace;
    std::vector<Control> m_controls; // in table order
    HWND m_toolTips = nullptr;       // made with the first tool tip
    bool m_inFront = false;
    std::optional<Document> m_document;
};

} // namespace korvane::win32
