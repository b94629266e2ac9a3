#pragma once

#include "common/panel.h"
#include "win32/fonts.h"
#include "win32/surface.h"

#include <memory>
#include <vector>
#include <windows.h>

namespace korvane::win32 {

// One panel of the window, built from its table: a captionless framed child window holding
// the controls, each with the ID its name gives it, showing the panel's initial outcome.
// Button clicks and scroll bar changes run the panel's handlers; the panel applies their
// outcomes.
class PanelWindow
{
public:
    static void registerClass(HINSTANCE instance);

    // The panel laid at `place` in its parent, its controls placed at `dpi` in `windowFont`
    // or a font of their own.
    PanelWindow(const PanelTable &table, int index, HWND parent, const RECT &place, int dpi,
                HFONT windowFont);
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
    };

    const Control &find(ControlName name) const;
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
    LRESULT colourStatic(HDC dc, HWND label);

    const PanelTable &m_table;
    HWND m_window = nullptr;
    int m_dpi = 96;
    HFONT m_windowFont = nullptr;
    std::vector<Control> m_controls; // in table order
};

} // namespace korvane::win32
