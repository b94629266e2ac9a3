#include "calculators/spinepanel.h"

#include "calculators/grammage.h"
#include "calculators/spine.h"
#include "common/numtext.h"

#include <array>

namespace korvane {
namespace {

using namespace calculators;

// clang-format off
using K = ControlKind;
constexpr ControlRow Controls[] = {
    {K::AutoLabel, "Label15",  {960, 645, 360, 180},    u"页数"},
    {K::TextBox,   "Text2",    {1680, 600, 2175, 270},  u"100"},
    {K::AutoLabel, "Label16",  {960, 1050, 360, 180},   u"克数"},
    {K::TextBox,   "Text3",    {1680, 960, 2175, 270},  u"60"},
    {K::Button,    "Command2", {1800, 1560, 1455, 375}, u"计算"},
    {K::AutoLabel, "Label17",  {1200, 2280, 540, 180},  u"厚度："},
    {K::Label,     "Label18",  {2040, 2280, 1215, 255}, u"0"},
    {K::AutoLabel, "Label19",  {3360, 2280, 180, 180},  u"mm"},
};

constexpr ControlName PagesTitled[] = {"Text2"};
constexpr ControlName GrammageTitled[] = {"Text3"};
constexpr ControlName ThicknessTitled[] = {"Label18"};
constexpr Title Titles[] = {
    {"Label15", PagesTitled},
    {"Label16", GrammageTitled},
    {"Label17", ThicknessTitled},
};

// The grammage message is the grammage panel's, although this row reads "克数".
constexpr std::array<std::pair<SpineRefusal, Refusal>, 2> Refusals = {{
    {SpineRefusal::Pages,    {u"请输入页数！", "Text2"}},
    {SpineRefusal::Grammage, {GrammageMessage, "Text3"}},
}};
// clang-format on

constexpr ControlName CalculateReads[] = {"Text2", "Text3"};

// The press of "计算": the page count is checked before the grammage.
Outcome calculate(std::span<const Reading> readings)
{
    const auto outcome = spineThickness(readings[0].text, readings[1].text);
    if (const auto *refusal = std::get_if<SpineRefusal>(&outcome))
        return refusalOf(Refusals, *refusal);
    return Update{.captions = {{"Label18", widen(formatNumber(std::get<double>(outcome)))}}};
}

constexpr Event Events[] = {{"Command2", CalculateReads, calculate}};

} // namespace

const PanelTable spinePanel{Controls, Titles, Events};

} // namespace korvane
