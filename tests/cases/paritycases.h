#pragma once

// What both front ends must do alike, as tables that the window tests of each front end run,
// and the toolkit-free tests too: the keyboard's round, the access keys, what a screen
// reader hears, the panels' first state and the diagram's pixels.

#include "tests/cases/panelcases.h"

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

} // namespace korvane::test
