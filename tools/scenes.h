#pragma once

// The states the screenshot tours show the window in, for the README and for review: each
// front end's tour opens its window, brings the scene's tab to the front, types, presses
// and scrolls as listed.

#include "common/panel.h"

#include <span>
#include <string_view>
#include <utility>

namespace korvane::tour {

struct Scene
{
    std::string_view name;
    int tab;
    std::span<const std::pair<ControlName, std::u16string_view>> entries;
    ControlName button; // empty: nothing pressed
    std::span<const std::pair<ControlName, int>> scrolls;
};

// clang-format off
inline constexpr std::pair<ControlName, std::u16string_view> A4Mixed[] = {
    {"Text4", u"1092"}, {"Text5", u"787"}, {"Text6", u"210"}, {"Text7", u"297"},
    {"Combo2", u"横竖混排"}};
inline constexpr std::pair<ControlName, std::u16string_view> NarrowTurn[] = {
    {"Text4", u"1092"}, {"Text5", u"787"}, {"Text6", u"90"}, {"Text7", u"307"},
    {"Combo2", u"横竖混排"}, {"Combo3", u"自翻版"}};
inline constexpr std::pair<ControlName, std::u16string_view> NarrowTumble[] = {
    {"Text4", u"1092"}, {"Text5", u"787"}, {"Text6", u"90"}, {"Text7", u"307"},
    {"Combo2", u"横竖混排"}, {"Combo3", u"大翻版"}};
inline constexpr std::pair<ControlName, std::u16string_view> Grammage[] = {
    {"Text1", u"80"}, {"Combo1", u"880*1230"}};
inline constexpr std::pair<ControlName, std::u16string_view> Spine[] = {
    {"Text2", u"320"}, {"Text3", u"70"}};
inline constexpr std::pair<ControlName, int> Colours[] = {
    {"VScroll1", 230}, {"VScroll2", 120}, {"VScroll3", 40}};

inline constexpr Scene Scenes[] = {
    {"imposition",        0, A4Mixed,      "Command6", {}},
    {"imposition-turn",   0, NarrowTurn,   "Command6", {}},
    {"imposition-tumble", 0, NarrowTumble, "Command6", {}},
    {"grammage",          1, Grammage,     "Command1", {}},
    {"spine",             2, Spine,        "Command2", {}},
    {"colour",            3, {},           {},         Colours},
    {"about",             4, {},           {},         {}},
};
// clang-format on

inline const Scene *findScene(std::string_view name)
{
    for (const Scene &scene : Scenes)
        if (scene.name == name)
            return &scene;
    return nullptr;
}

} // namespace korvane::tour
