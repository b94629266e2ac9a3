#pragma once

// Random use of a real window, alike on both front ends: what a user types or pastes, the
// actions and how often each comes, and what must hold after every one of them.
// Reproducible: KORVANE_MONKEY_SEED and KORVANE_MONKEY_ACTIONS set the seed and the length.

#include "common/panel.h"

#include <cstdint>
#include <functional>
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
    AltC,      // Alt+C, whichever tab is in front
    SwitchTab, // a tab clicked, or the arrow keys on the tab strip
    Scroll,    // a scroll bar moved by a key or a click
};
// Each action as often as it appears.
const std::vector<MonkeyAction> &monkeyActions();

std::uint32_t monkeySeed();
int monkeyLength();

// What the window shows makes sense: the number of ups, the grammage and spine results as the
// program writes numbers, and each colour's value label as its scroll bar stands. `caption`
// reads a label, `value` a scroll bar. Empty, or what is wrong.
std::string checkShown(const std::function<std::u16string(ControlName)> &caption,
                       const std::function<int(ControlName)> &value);

// Whether a box after a press of `button` may say `message` and leave the focus on `focus`:
// only what the press cases show.
bool knownRefusal(ControlName button, std::u16string_view message, ControlName focus);

} // namespace korvane::test
