#pragma once

// What the user does on a panel and what the panel must show, as tables every kind of test
// reads: the handler tests without a window, and the tests of each front end's real window.

#include "common/panel.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvane::test {

// A text typed into a control, or a caption a label shows.
struct Entry
{
    ControlName control;
    std::u16string text;
};

// One press of a panel's button in a fresh window, after typing `inputs` (other inputs keep
// their initial texts): either the captions it shows or its refusal. A refusal case runs
// after the good press of its tab, whose results must stay as they were.
struct PressCase
{
    std::string name;
    int tab; // 0-based; the panel of tab i has index i
    std::vector<Entry> inputs;
    ControlName button;
    std::vector<Entry> results;
    std::optional<Refusal> refusal;
};

const std::vector<PressCase> &pressCases();

// The press of `tab` that refusal cases follow: the first case of the tab, a success.
const PressCase &goodPress(int tab);

// Scroll bars moved in a fresh window, in order: the value captions then, and each box's
// colour, or nullopt where the box must still show its initial colour.
struct ScrollCase
{
    std::string name;
    std::vector<std::pair<ControlName, int>> moves;
    std::vector<Entry> results;
    std::vector<std::pair<ControlName, std::optional<Rgb>>> backgrounds;
};

const std::vector<ScrollCase> &scrollCases();

// The tab of the colour mixer, which the scroll cases drive.
constexpr int ColourTab = 3;

// The event of `source` run as on a fresh window after `typed`: every other control holds its
// row's text, each scroll bar or option its value in `values` (a scroll bar's minimum, an
// option not chosen, otherwise), each diagram its row's size. An outcome that names what the
// panel lacks is broken().
Outcome runEvent(const PanelTable &panel, ControlName source, const std::vector<Entry> &typed = {},
                 const std::vector<std::pair<ControlName, int>> &values = {});

// The caption an update gives `label`; "(not set)" when it sets none.
std::u16string captionOf(const Outcome &outcome, ControlName label);

// A printable name for a case's text, for failure messages.
std::string printable(std::u16string_view text);

// A table or a test looking up what is not there: std::logic_error, which fails the running
// test; in a build without exceptions (WebAssembly), the message on standard error and an
// abort, which fails the whole program.
[[noreturn]] void broken(const std::string &what);

} // namespace korvane::test
