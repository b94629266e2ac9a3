#pragma once

// The desktop's rules, decided once from the window's description and the panels' tables:
// which controls the keyboard visits and in what order, what Tab does to a text it enters,
// which button an access key presses, what a screen reader says of each control, and what a
// panel shows before its first event. A front end maps these onto its toolkit's events; it
// decides none of them itself.

#include "common/panel.h"
#include "common/window.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane {

// Whether a control of `kind` is a stop of Tab and Shift+Tab.
bool takesFocus(ControlKind kind);

// The stops of Tab while tab `front` is in front, in order: the tab strip, then the front
// panel's controls that take the focus, in table order. The panels behind are not visited.
std::vector<ControlName> focusCycle(const WindowDescription &window, int front);

// Where Tab (Shift+Tab when `backwards`) goes from `current`: round the cycle; from a control
// outside it, to the first stop (the last one backwards).
ControlName nextFocus(std::span<const ControlName> cycle, ControlName current, bool backwards);

// Whether a control of `kind` has its whole text selected when Tab or Shift+Tab enters it,
// so that what is typed next replaces it.
bool selectsAllOnTab(ControlKind kind);

// The access key a button's caption marks with '&': the character after it, an ASCII letter
// upper-cased. "&&" stands for one ampersand and marks nothing.
std::optional<char16_t> accessKeyOf(std::u16string_view caption);

// A button's caption as shown and spoken: without its '&' marker, "&&" as one ampersand.
std::u16string withoutMarker(std::u16string_view caption);

// A control of one panel of the window.
struct ControlRef
{
    int panel = 0;
    ControlName control;

    bool operator==(const ControlRef &) const = default;
};

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
// - a text box, drop-down box or scroll bar: the title over it;
// - a button: its caption without the access-key marker;
// - a picture box or diagram: its own text, described by the title over it; without a text
//   of its own, the title over it;
// - the product picture: nothing.
Accessible accessibleOf(const PanelTable &panel, const ControlRow &row);

// The title over `name`, if any.
const Title *titleOf(const PanelTable &panel, ControlName name);

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
