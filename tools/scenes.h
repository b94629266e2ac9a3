#pragma once

// The states the screenshot tours show the window in, for the README and for review: each
// front end's tour opens its window, brings the scene's tab to the front, types, presses
// and scrolls as listed; then, for a scene with planner entries, opens the planner from the
// imposition panel, types those into it, chooses the row of `plannerRow` and clicks
// `plannerClick`.

#include "common/panel.h"

#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace korvane::tour {

struct Scene
{
    std::string_view name;
    int tab;
    std::span<const std::pair<ControlName, std::u16string_view>> entries;
    ControlName button; // empty: nothing pressed
    std::span<const std::pair<ControlName, int>> scrolls;
    std::span<const std::pair<ControlName, std::u16string_view>> planner = {};
    ControlName plannerRow = {};
    ControlName plannerClick = {}; // a button or check box of the planner's, clicked last
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
inline constexpr std::pair<ControlName, std::u16string_view> Planned[] = {
    {"Text55", u"3"}, {"Text57", u"10"}, {"Text59", u"5000"}};
// The quote's worked case: A4 on 546 x 787, 5000 copies of 4+4 colours on 157 g.
inline constexpr std::pair<ControlName, std::u16string_view> Quoted[] = {
    {"Text51", u"787"}, {"Text52", u"546"}, {"Text59", u"5000"}, {"Text61", u"157"},
    {"Text103", u"7800"}, {"Text106", u"30"}, {"Text107", u"100"}};
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
    {"planner",           0, A4Mixed,      "Command6", {}, Planned, "Option54"},
    {"planner-cuts",      0, A4Mixed,      "Command6", {}, Planned, "Option54", "Check101"},
    {"planner-quote",     0, A4Mixed,      "Command6", {}, Quoted,  "Option54"},
};
// clang-format on

inline const Scene *findScene(std::string_view name)
{
    for (const Scene &scene : Scenes)
        if (scene.name == name)
            return &scene;
    return nullptr;
}

// The scene's texts as the driver fills them in.
inline std::vector<SetText>
textsOf(std::span<const std::pair<ControlName, std::u16string_view>> entries)
{
    std::vector<SetText> texts;
    for (const auto &[name, text] : entries)
        texts.push_back({name, std::u16string(text)});
    return texts;
}

// The index of the command `id` among the panel's.
inline std::size_t commandIndex(const PanelTable &panel, std::string_view id)
{
    std::size_t index = 0;
    while (index < panel.commands.size() && panel.commands[index].id != id)
        ++index;
    return index;
}

} // namespace korvane::tour
