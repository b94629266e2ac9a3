#include "calculators/grammagepanel.h"

#include "calculators/grammage.h"
#include "common/numtext.h"

#include <array>

namespace korvane {
namespace {

using namespace calculators;

// clang-format off
using K = ControlKind;
constexpr ControlRow Controls[] = {
    {K::AutoLabel, "Label6",   {960, 645, 360, 180},   u"克重"},
    {K::TextBox,   "Text1",    {1680, 600, 2295, 270}, u"60"},
    {K::AutoLabel, "Label5",   {960, 1020, 360, 180},  u"开度"},
    {K::DropDown,  "Combo1",   {1680, 960, 2295, 300}, FormatItems[0], FormatItems},
    {K::Button,    "Command1", {1800, 1560, 1455, 375}, u"换算(&C)"},
    {K::AutoLabel, "Label7",   {1200, 2160, 450, 180}, u"Kg/令"},
    {K::Label,     "Label9",   {1800, 2160, 1815, 255}, u"0"},
    {K::AutoLabel, "Label8",   {1200, 2520, 450, 180}, u"令/吨"},
    {K::Label,     "Label10",  {1800, 2520, 1815, 255}, u"0"},
};

constexpr ControlName GrammageTitled[] = {"Text1"};
constexpr ControlName FormatTitled[] = {"Combo1"};
constexpr ControlName WeightTitled[] = {"Label9"};
constexpr ControlName ReamsTitled[] = {"Label10"};
constexpr Title Titles[] = {
    {"Label6", GrammageTitled},
    {"Label5", FormatTitled},
    {"Label7", WeightTitled},
    {"Label8", ReamsTitled},
};

constexpr std::array<std::pair<GrammageRefusal, Refusal>, 2> Refusals = {{
    {GrammageRefusal::Grammage, {GrammageMessage, "Text1"}},
    {GrammageRefusal::Format,   {u"请选择纸张规格！", "Combo1"}},
}};
// clang-format on

constexpr ControlName ConvertReads[] = {"Text1", "Combo1"};

// The press of "换算(&C)": the grammage is checked before the format.
Outcome convert(std::span<const Reading> readings)
{
    const auto outcome = convertGrammage(readings[0].text, readings[1].text);
    if (const auto *refusal = std::get_if<GrammageRefusal>(&outcome))
        return refusalOf(Refusals, *refusal);
    const ReamFigures &figures = std::get<ReamFigures>(outcome);
    return Update{.captions = {{"Label9", widen(formatNumber(figures.weightPerReam))},
                               {"Label10", widen(formatNumber(figures.reamsPerTonne))}}};
}

constexpr Event Events[] = {{"Command1", ConvertReads, convert}};

} // namespace

const PanelTable grammagePanel{Controls, Titles, Events};

} // namespace korvane
