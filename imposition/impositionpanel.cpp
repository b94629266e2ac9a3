#include "imposition/impositionpanel.h"

#include "common/numtext.h"
#include "imposition/impose.h"

#include <array>

namespace korvane {
namespace {

using namespace imposition;

constexpr std::u16string_view SheetMessage = u"请输入开版尺寸！";
constexpr std::u16string_view ProductMessage = u"请输入产品尺寸！";
// A mixed search over more cuts than a press can afford is refused on the product size.
constexpr std::u16string_view SearchMessage = u"产品尺寸相对开版尺寸过小，无法计算横竖混排！";

// clang-format off
// The four size boxes in checking order: the size each holds, and how it is refused,
// whether it is not a number or a number the counts cannot use.
constexpr std::array<std::pair<SizeBox, Refusal>, 4> SizeBoxes = {{
    {SizeBox::Sheet1,   {SheetMessage,   "Text4"}},
    {SizeBox::Sheet2,   {SheetMessage,   "Text5"}},
    {SizeBox::Product1, {ProductMessage, "Text6"}},
    {SizeBox::Product2, {ProductMessage, "Text7"}},
}};

using K = ControlKind;
constexpr Colour Paper{Colour::Role::Window};
constexpr Colour Ink{Colour::Role::WindowText};

constexpr ControlRow Controls[] = {
    {K::AutoLabel, "Label24",  {240, 300, 720, 180},    u"开版方式"},
    {K::DropDown,  "Combo2",   {1080, 240, 1335, 300},  ArrangementItems[0], ArrangementItems},
    {K::Label,     "Label25",  {2640, 270, 735, 255},   u"拼版方式"},
    {K::DropDown,  "Combo3",   {3480, 240, 1095, 300},  MethodItems[0], MethodItems},
    {K::AutoLabel, "Label27",  {240, 720, 720, 180},    u"开版尺寸"},
    {K::TextBox,   "Text4",    {240, 960, 495, 270}},
    {K::AutoLabel, "Label28",  {802, 1005, 90, 180},    u"X"},
    {K::TextBox,   "Text5",    {960, 960, 495, 270}},
    {K::AutoLabel, "Label26",  {240, 1320, 720, 180},   u"产品尺寸"},
    {K::TextBox,   "Text6",    {240, 1560, 495, 270}},
    {K::AutoLabel, "Label29",  {802, 1605, 90, 180},    u"X"},
    {K::TextBox,   "Text7",    {960, 1560, 495, 270}},
    {K::Button,    "Command6", {240, 2040, 1215, 375},  u"查看拼版图"},
    {K::AutoLabel, "Label30",  {240, 2520, 540, 180},   u"开版数"},
    {K::AutoLabel, "Label31",  {240, 2760, 90, 180},    u"0"},
    {K::Diagram,   "drawpic",  {1560, 720, EnvelopeWidth, EnvelopeHeight}, u"拼版图", {}, {},
     Paper, Ink},
};

constexpr ControlName ArrangementTitled[] = {"Combo2"};
constexpr ControlName MethodTitled[] = {"Combo3"};
constexpr ControlName SheetTitled[] = {"Text4", "Text5"};
constexpr ControlName ProductTitled[] = {"Text6", "Text7"};
constexpr ControlName UpsTitled[] = {"Label31", "drawpic"};
constexpr Title Titles[] = {
    {"Label24", ArrangementTitled},
    {"Label25", MethodTitled},
    {"Label27", SheetTitled},
    {"Label26", ProductTitled},
    {"Label30", UpsTitled},
};
// clang-format on

constexpr ControlName ViewReads[] = {"Combo2",
                                     "Combo3",
                                     SizeBoxes[0].second.focus,
                                     SizeBoxes[1].second.focus,
                                     SizeBoxes[2].second.focus,
                                     SizeBoxes[3].second.focus};

// The press of "查看拼版图": the arrangement, the method and the four sizes are checked in
// that order; then the diagram is sized to the sheet, cleared and drawn block by block, and
// the number of ups shown.
Outcome view(std::span<const Reading> readings)
{
    Arrangement arrangement{};
    if (!arrangementFromText(readings[0].text, arrangement))
        return Refusal{u"请选择开版方式！", "Combo2"};
    Method method{};
    if (!methodFromText(readings[1].text, method))
        return Refusal{u"请选择拼版方式！", "Combo3"};

    std::array<double, 4> sizes{};
    for (std::size_t i = 0; i < SizeBoxes.size(); ++i) {
        const auto value = parseNumber(readings[2 + i].text);
        if (!value)
            return SizeBoxes[i].second;
        sizes[i] = *value;
    }

    const ImposeOutcome outcome =
        impose({sizes[0], sizes[1], sizes[2], sizes[3]}, method, arrangement);
    if (const auto *refusal = std::get_if<SizeRefusal>(&outcome)) {
        const Refusal shown = refusalOf(SizeBoxes, refusal->box);
        if (refusal->problem == Problem::SearchTooLarge)
            return Refusal{SearchMessage, shown.focus};
        return shown;
    }

    const Plan &plan = std::get<Plan>(outcome);
    const Geometry &g = plan.geometry;
    Drawing drawing{"drawpic", static_cast<float>(g.wida), static_cast<float>(g.lena), {}};
    for (const Block &block : plan.blocks) {
        // Horizontal placement: the product's length runs across.
        const bool flat = block.placement == Placement::Horizontal;
        drawing.blocks.push_back({block.rows, block.cols, block.x, block.y, flat ? g.plen : g.pwid,
                                  flat ? g.pwid : g.plen});
    }
    return Update{std::move(drawing), {{"Label31", formatCount(plan.ups)}}, {}};
}

constexpr Event Events[] = {{"Command6", ViewReads, view}};

} // namespace

const PanelTable impositionPanel{Controls, Titles, Events};

} // namespace korvane
