#pragma once

// Random use of the real windows, alike on both front ends: what a user types or pastes, the
// actions and how often each comes, and what must hold after every one of them, on the main
// window and on the planner opened from it. Reproducible: KORVANE_MONKEY_SEED and
// KORVANE_MONKEY_ACTIONS set the seed and the length.

#include "tests/cases/windowprobe.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::test {

// Texts a user might type or paste: numbers in every form, hostile ones included.
const std::vector<std::u16string> &monkeyTexts();

enum class MonkeyAction
{
    Type,      // a text typed or pasted into a text box or a drop-down's field
    Pick,      // an item picked from a drop-down
    Press,     // a button pressed, by a click
    AltC,      // Alt+C, wherever the focus is
    SwitchTab, // a tab clicked, or the arrow keys on the tab strip
    Scroll,    // a scroll bar moved by a key or a click
    // On the planner; while it is not shown, each opens it instead, by Ctrl+L or its menu
    // command, the imposition tab clicked first or not.
    PlannerType,   // a text typed or pasted into one of its inputs
    PlannerPick,   // a preset, the method or the lock picked
    PlannerChoose, // a row's option clicked
    PlannerClick,  // the cuts shown or hidden, or the quote's figures kept as defaults
    PlannerClose,  // the planner closed
};
// Each action as often as it appears.
const std::vector<MonkeyAction> &monkeyActions();

std::uint32_t monkeySeed();
int monkeyLength();

// What the main window shows makes sense: the number of ups, the grammage and spine results
// as the program writes numbers, and each colour's value label as its scroll bar stands.
// Empty, or what is wrong.
std::string checkShown(WindowProbe &probe);

// What the planner shows makes sense, once it is open: its status line empty or one of its
// messages; each figure of its rows, of its quote and its count of cuts "—" or a number as
// the planner writes it there, and all "—" beside a message (but the rows' ups, utilisation
// and sheets beside a full sheet too small); a row without ups not to be chosen, a chosen row
// enabled, and one row chosen unless a message blanks them, none then. Empty, or what is
// wrong.
std::string checkPlanner(WindowProbe &probe);

// The monkey on `probe`: monkeyLength() random actions from monkeySeed() on valid sizes, each
// press answered within `pressBudgetMs`, no other action asking a box, and the checks above
// after every action. Empty, or the first failure, naming the seed and the action.
std::string runMonkey(WindowProbe &probe, std::int64_t pressBudgetMs);

} // namespace korvane::test
