#pragma once

// What both front ends must do alike, as tables that the window tests of each front end run:
// the keyboard's round, the access keys, where the focus goes, what each kind of control does
// by itself, what a screen reader hears, the panels' first state and the diagram's pixels.
// The driver's tests run the keyboard's tables on a front end without a toolkit.

#include "tests/cases/panelcases.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace korvane::test {

// With tab `tab` in front and the focus on the tab strip, Tab visits `stops` in order and
// comes back to the tab strip; Shift+Tab goes the same way backwards.
struct FocusCase
{
    int tab;
    std::vector<ControlName> stops;
};
const std::vector<FocusCase> &focusCases();

// Tab from `from` into `control`, which holds `text`, selects the whole text.
struct SelectCase
{
    int tab;
    ControlName from;
    ControlName control;
    std::u16string text;
};
const std::vector<SelectCase> &selectCases();

// With tab `front` in front and the focus on `focus`, after typing `inputs` into panel
// `panel`, Alt with `key` presses its button once: `results` show on that panel, with as
// many error boxes as `boxes`; after a success the focus stays where it was.
struct AccessKeyCase
{
    std::string name;
    int front;
    ControlName focus;
    char16_t key;
    int panel;
    std::vector<Entry> inputs;
    std::vector<Entry> results;
    int boxes;
};
const std::vector<AccessKeyCase> &accessKeyCases();

// The focus never rests on a control the user cannot see. With tab `front` in front and the
// focus on `focus`, after typing `inputs` into panel 1: the user clicks tab `clicked` (or,
// when it is negative, presses Alt+C, which is refused on panel 1); then tab `frontAfter` is
// in front and the focus is on `focusAfter`, where `typed` then goes.
struct FocusRuleCase
{
    std::string name;
    int front;
    ControlName focus;
    std::vector<Entry> inputs;
    int clicked;
    int frontAfter;
    ControlName focusAfter;
};
const std::vector<FocusRuleCase> &focusRuleCases();

// What a control of each kind does by itself. On tab `tab`: `act` on `control`, with `text`
// pasted or typed, or the thumb at `value`; then `shown` shows.
struct KindCase
{
    enum class Act
    {
        Paste,     // `text` pasted from the clipboard into the empty box
        Type,      // `text` typed, key by key, into the empty box
        Enter,     // Enter pressed in the box
        DragThumb, // the thumb dragged to `value` and held there
        LetGo,     // the thumb dragged to `value` and let go
        StepDown,  // the down arrow key, the control having the focus
        PageDown,  // the Page Down key, the control having the focus
    };
    std::string name;
    int tab;
    ControlName control;
    Act act;
    std::u16string text;
    int value;
    Entry shown;
};
const std::vector<KindCase> &kindCases();

// Each panel keeps what it shows while the others are in front: after the good press of each
// tab in `pressed`, the tabs of `visits` are selected in turn, each then in front and every
// panel still shown and enabled; at the end the presses' results are all still there.
struct VisitCase
{
    std::vector<int> pressed;
    std::vector<int> visits;
};
VisitCase visitCase();

// What a screen reader hears of a control of a fresh window. A label's name is its text.
struct SpokenCase
{
    int tab;
    ControlName control;
    std::u16string name;
    std::u16string description;
};
const std::vector<SpokenCase> &spokenCases();

// A picture box's colour in a fresh window: a role of the user's scheme or a fixed colour.
struct InitialColourCase
{
    int tab;
    ControlName control;
    Colour colour;
};
const std::vector<InitialColourCase> &initialColourCases();

// The blank diagram of a fresh window: its control and design size in twips.
struct BlankDiagram
{
    int tab;
    ControlName control;
    int width;
    int height;
};
BlankDiagram blankDiagram();

// A press of "查看拼版图" at `dpi` dots per inch: the diagram's pixels must be what the
// rasteriser makes of the press's drawing at that dpi, on either front end.
struct DiagramCase
{
    std::string name;
    std::vector<Entry> inputs;
    int dpi;
};
const std::vector<DiagramCase> &diagramCases();

// The planner's options, a row of its layouts each.
inline constexpr std::array<ControlName, 4> PlannerOptions = {"Option51", "Option52", "Option53",
                                                              "Option54"};

// The planner, opened from the imposition panel after typing `pressed` there and pressing
// "查看拼版图" (nothing pressed when it is empty), by its menu command or by Ctrl+L; then
// `typed` into it, each text key by key over the old one, and `clicked` clicked in turn (an
// option or a check box). Then its controls show `shown` and option `chosen` is the chosen
// one (-1: none).
struct PlannerCase
{
    std::string name;
    std::vector<Entry> pressed;
    bool byShortcut;
    std::vector<Entry> typed;
    std::vector<ControlName> clicked;
    std::vector<Entry> shown;
    int chosen;
};
const std::vector<PlannerCase> &plannerCases();

// A bad text in each of the planner's inputs, and what its status line then says.
const std::vector<Entry> &plannerFaults();
std::u16string plannerFaultMessage(ControlName input);

// The planner's diagram at `dpi`, after `typed` and `clicked`: the pixels the rasteriser
// makes of its handler's drawing.
struct PlannerPixelCase
{
    std::string name;
    std::vector<Entry> typed;
    int dpi;
    std::vector<ControlName> clicked = {};
};
const std::vector<PlannerPixelCase> &plannerPixelCases();

} // namespace korvane::test
