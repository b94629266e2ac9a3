#pragma once

// The desktop's rules, decided once from the window's description and the panels' tables:
// what each kind of control does by itself, which controls the keyboard visits and in what
// order, which button an access key presses, what a screen reader says of each control,
// where a control stands as the window is resized, and what a panel shows before its first
// event. The driver (common/driver.h) applies them; a front end decides none of them.

#include "common/panel.h"
#include "common/windowdescription.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane {

// Whether a control of one kind is a stop of Tab and Shift+Tab, and whether, entered by them,
// its whole text is selected, so that what is typed next replaces it. What no kind does is
// the same for all: Enter in a text box presses no button, a drop-down box completes nothing
// typed, a scroll bar's value changes when its thumb is let go, not while it is dragged, and a
// text box takes a text of any length, so that a number is never read from a text cut short.
struct Behaviour
{
    bool takesFocus = false;
    bool selectsAllOnTab = false;
};
Behaviour behaviourOf(ControlKind kind);

// An ASCII letter upper-cased; any other character as it is.
char16_t upperCase(char16_t c);

// What a scroll bar is asked to do, in the order Windows numbers its requests (SB_LINEUP to
// SB_BOTTOM).
enum class ScrollRequest
{
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbReleased,
    ThumbDragged,
    Top,
    Bottom,
};

// The value a scroll bar of `range` goes to from `value` on `request`, `thumb` where the thumb
// is: an arrow steps by the small step, the track by the large one, within the range; a
// dragged thumb moves nothing until it is let go.
int scrolledTo(const ScrollRange &range, int value, ScrollRequest request, int thumb);

// A control of one panel of a window; the tab strip is on no panel.
inline constexpr int NoPanel = -1;
struct ControlRef
{
    int panel = 0;
    ControlName control;

    bool operator==(const ControlRef &) const = default;
};

// The stops of Tab while panel `front` is in front, in order: the tab strip, then the front
// panel's controls that take the focus, in table order. The panels behind are not visited.
std::vector<ControlRef> focusCycle(const WindowDescription &window, int front);

// Where Tab (Shift+Tab when `backwards`) goes from `current`: round the cycle; from a control
// outside it, to the first stop (the last one backwards).
ControlRef nextFocus(std::span<const ControlRef> cycle, std::optional<ControlRef> current,
                     bool backwards);

// The access key a button's caption marks with '&': the character after it, an ASCII letter
// upper-cased. "&&" stands for one ampersand and marks nothing.
std::optional<char16_t> accessKeyOf(std::u16string_view caption);

// A button's caption as shown and spoken: without its '&' marker, "&&" as one ampersand.
std::u16string withoutMarker(std::u16string_view caption);

// The button an access key presses, whichever panel is in front: the first in tab order whose
// caption marks `key` (compared upper-cased). Only buttons have access keys; an '&' in a
// label is shown as written.
std::optional<ControlRef> accessKeyTarget(const WindowDescription &window, char16_t key);

// Every access key of the window with the button it presses, each key once.
std::vector<std::pair<char16_t, ControlRef>> accessKeys(const WindowDescription &window);

// What a screen reader says of a control.
struct Accessible
{
    // A label is named by the text it shows at the time, results included; every other
    // control by `name`.
    bool namedByText = false;
    std::u16string name;
    std::u16string description;

    bool operator==(const Accessible &) const = default;
};

// - a label: its own text, described by the title over it, if any (a result by its caption);
// - a text box, drop-down box, list or scroll bar: the title over it;
// - a button or option: its caption without the access-key marker;
// - a picture box or diagram: its own text, described by the title over it; without a text
//   of its own, the title over it;
// - the product picture: nothing.
Accessible accessibleOf(const PanelTable &panel, const ControlRow &row);

// The title over `name`, if any.
const Title *titleOf(const PanelTable &panel, ControlName name);

// Where a control stands in a container of `size` that its window's description lays out at
// `design`: where its row says, and, anchored on all sides, grown (or shrunk, never below the
// row's size) by what the container gained. A label that sizes itself takes `caption`, the
// size of its text as shown, at its row's left and top.
TwipsRect placeOf(const ControlRow &row, TwipsSize design, TwipsSize size, TwipsSize caption = {});

// What is wrong with a window's description: each panel's tables (checkPanel), and names used
// twice across its panels, the tab strip and the panel array, since tools find a control by
// its name alone. Empty when all is well.
std::vector<std::string> checkWindow(const WindowDescription &window);

// What a panel shows before any event, applied as any update: each diagram blank at its
// design size, each picture box in its start colour.
Update initialUpdate(const PanelTable &panel);

// Whether a panel's command can run now: only while its panel is in front, and then as its
// own rule says of the panel's last result (null before the first). A disabled command does
// nothing, however it is asked for.
bool commandEnabled(const Command &command, const Document *last, bool inFront);

// The command of `panel` that `shortcut` runs; null when there is none.
const Command *commandFor(const PanelTable &panel, Shortcut shortcut);

// A shortcut as a menu shows it beside its command: "Ctrl+Shift+C".
std::u16string shortcutText(Shortcut shortcut);

} // namespace korvane
