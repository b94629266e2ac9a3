#pragma once

// A real window as the tests drive it, whatever its toolkit: what a user does to it and what
// it shows, on the main window and the planner opened from it. Each front end's tests
// implement it thinly; the checks every window must pass are written once against it
// (parityChecks(), and the monkey of monkeycases.h) and say what went wrong as text.

#include "common/driver.h"
#include "tests/cases/panelcases.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane::test {

// A key pressed on the control with the focus: Tab, Enter, an arrow or page key, or a
// character, typed as it is or, with Ctrl or Alt, pressed as its letter's key.
struct Key
{
    enum class Code
    {
        Tab,
        Enter,
        Up,
        Down,
        Left,
        Right,
        PageUp,
        PageDown,
        Home,
        End,
        Character,
    };
    Code code = Code::Character;
    char16_t character = 0;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// An error box as it was answered with OK: its title and message, whether it had the stop
// icon and OK alone, and when it showed, from the start of the action that asked it.
struct SeenBox
{
    std::u16string title;
    std::u16string text;
    bool stopAndOk = false;
    std::int64_t afterMs = 0;
};

// A diagram's pixels, top row first, 0xRRGGBB each.
struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool operator==(const Picture &) const = default;
};

// What a control shows: its caption or text, its value (a scroll bar's; 1 for a chosen
// option), whether it is enabled, the text selected in it, and a picture box's colour.
struct Shown
{
    std::u16string text;
    int value = 0;
    bool enabled = false;
    std::u16string selected;
    std::uint32_t background = 0;
};

// What a screen reader hears of a control: the names it may give it, and its description.
struct Spoken
{
    std::vector<std::u16string> names;
    std::u16string description;
};

// A top-level window of the program, shown or hidden, an error box too; `owned` when the main
// window owns it.
struct ShownWindow
{
    std::u16string caption;
    bool shown = false;
    bool owned = false;
};

class WindowProbe
{
public:
    virtual ~WindowProbe() = default;

    // A fresh main window, shown and active, its first tab in front.
    virtual void restart() = 0;

    // What the user does, each action run until the window has handled it; every error box
    // it asks is answered with OK and kept for boxes(). A click is the mouse's, on a button,
    // an option or the tab strip's tab `tab`.
    virtual void clickAt(ControlName control, int tab) = 0;
    void click(ControlName control) { clickAt(control, 0); }
    void clickTab(int tab) { clickAt("TabStrip1", tab); }
    virtual void focus(ControlName control) = 0; // its window made active
    virtual void key(const Key &key) = 0;
    // A text box's or drop-down box's text, typed key by key or pasted over all it holds.
    virtual void enterText(ControlName control, std::u16string_view text, bool pasted) = 0;
    void type(ControlName control, std::u16string_view text) { enterText(control, text, false); }
    void paste(ControlName control, std::u16string_view text) { enterText(control, text, true); }
    virtual void pick(ControlName list, int item) = 0;
    virtual void scroll(ControlName bar, ScrollRequest request, int thumb = 0) = 0;
    // A command of the main window, as its menu item runs it: "openPlanner".
    virtual void run(std::string_view command) = 0;
    virtual void close(const WindowDescription &window) = 0;

    // What the windows show; the control with the focus, empty when there is none.
    virtual Shown shown(ControlName control) = 0;
    std::u16string text(ControlName control) { return shown(control).text; }
    int value(ControlName control) { return shown(control).value; }
    virtual std::string focused() = 0;
    virtual int frontPanel() = 0;
    // Every panel of the main window visible and enabled, whichever is in front.
    virtual bool panelsShown() = 0;
    virtual Spoken heard(ControlName control) = 0;
    // A colour of the user's scheme as this toolkit shows it, 0xRRGGBB.
    virtual std::uint32_t colour(const Colour &colour) = 0;
    // A diagram's backing picture, or what the screen shows of it.
    virtual Picture picture(ControlName diagram, bool painted) = 0;
    // The dots per inch the window of `diagram` is laid out at, moved first to a monitor of
    // `wanted` where the probe can do that.
    virtual int dpi(ControlName diagram, int wanted = 0) = 0;
    // The boxes asked since the last call.
    virtual std::vector<SeenBox> boxes() = 0;
    virtual std::vector<ShownWindow> windows() = 0;
    // The controls `reads` of the panel of `diagram`, the first, as its window's driver gives
    // them to an event now.
    virtual std::vector<Reading> readings(ControlName diagram,
                                          std::span<const ControlName> reads) = 0;
    // The settings `name` as the windows will find them, in a folder of the test's own: a
    // file of `bytes` (none: no file), or, not `writable`, a folder where none can be made.
    virtual void prepareSettings(std::string_view name, std::optional<std::string> bytes,
                                 bool writable = true) = 0;
};

// The window a control is on, the main one or the planner, and its row there.
const WindowDescription &windowOf(ControlName control);
const ControlRow &rowOf(ControlName control);

// The window of that caption; none (an empty caption) when there is none.
ShownWindow windowCaptioned(WindowProbe &probe, std::u16string_view caption);

// What went wrong in a check, a line each.
struct Failures
{
    std::string lines;

    // `ok`, or `what` recorded on a line of its own.
    bool expect(bool ok, const std::string &what);
    bool same(std::u16string_view got, std::u16string_view want, const std::string &what);
};

// A check of what every window must do alike, run on a fresh window.
struct ParityCheck
{
    std::string name;
    void (*run)(WindowProbe &probe, Failures &failures);
};
const std::vector<ParityCheck> &parityChecks();

} // namespace korvane::test
