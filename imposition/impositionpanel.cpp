#include "imposition/impositionpanel.h"

#include "common/document.h"
#include "common/numtext.h"
#include "imposition/impose.h"
#include "imposition/jobline.h"
#include "imposition/plannerwindow.h"

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
    {K::Label,     "Label25",  {2640, 270, 735, 255},   MethodWord},
    {K::DropDown,  "Combo3",   {3480, 240, 1095, 300},  MethodItems[0], MethodItems},
    {K::AutoLabel, "Label27",  {240, 720, 720, 180},    SheetSizeWord},
    {K::TextBox,   "Text4",    {240, 960, 495, 270}},
    {K::AutoLabel, "Label28",  {802, 1005, 90, 180},    u"X"},
    {K::TextBox,   "Text5",    {960, 960, 495, 270}},
    {K::AutoLabel, "Label26",  {240, 1320, 720, 180},   ProductSizeWord},
    {K::TextBox,   "Text6",    {240, 1560, 495, 270}},
    {K::AutoLabel, "Label29",  {802, 1605, 90, 180},    u"X"},
    {K::TextBox,   "Text7",    {960, 1560, 495, 270}},
    {K::Button,    "Command6", {240, 2040, 1215, 375},  u"查看拼版图"},
    {K::AutoLabel, "Label30",  {240, 2520, 540, 180},   UpsWord},
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

// The plan as a document: the drawing with the sheet's edge, in the sheet's own units, and
// the job line, the sizes as parsed in box order:
//   开版尺寸 1092 × 787，产品尺寸 210 × 297，大套版，横竖混排，开版数 11，利用率 79.8%
Document documentOf(const Sizes &sizes, std::u16string_view arrangement, std::u16string_view method,
                    const Plan &plan, const Drawing &drawing, std::vector<SetText> texts)
{
    const Geometry &g = plan.geometry;
    const auto size = [](double value) { return widen(formatNumber(value)); };
    const SizeTexts shown{size(sizes.sheet1), size(sizes.sheet2), size(sizes.product1),
                          size(sizes.product2)};
    Document document;
    document.drawing = drawing;
    document.drawing.blocks.insert(document.drawing.blocks.begin(),
                                   GridBlock{1, 1, 0, 0, g.wida, g.lena});
    document.unitsPerTwip = g.llen1 / g.wida;
    document.width = g.llen1;
    document.height = g.wwid1;
    document.jobLine = JobLine(shown)
                           .add(method)
                           .add(arrangement)
                           .addUps(plan.ups, utilisationTenths(plan.ups, sizes))
                           .text();
    document.fileStem = fileStem(u"拼版图", shown);
    document.inputs = std::move(texts);
    return document;
}

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

    std::array<double, SizeBoxes.size()> typed{};
    for (std::size_t i = 0; i < SizeBoxes.size(); ++i) {
        const auto value = parseNumber(readings[2 + i].text);
        if (!value)
            return SizeBoxes[i].second;
        typed[i] = *value;
    }
    const Sizes sizes{typed[0], typed[1], typed[2], typed[3]};

    const ImposeOutcome outcome = impose(sizes, method, arrangement);
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
    // What the plan was made from: the sizes as their boxes held them, and the method.
    std::vector<SetText> texts = {{"Combo3", readings[1].text}};
    for (std::size_t i = 0; i < SizeBoxes.size(); ++i)
        texts.push_back({SizeBoxes[i].second.focus, readings[2 + i].text});
    Document document =
        documentOf(sizes, readings[0].text, readings[1].text, plan, drawing, std::move(texts));
    std::u16string jobLine = document.jobLine;
    return Update{.drawing = std::move(drawing),
                  .captions = {{"Label31", formatCount(plan.ups)}},
                  .toolTips = {{"drawpic", std::move(jobLine)}},
                  .document = std::move(document)};
}

constexpr Event Events[] = {{"Command6", ViewReads, view}};

// The planner opened on the sheet, product and method of the last plan, the sizes as their
// boxes held them; before any plan, on what the boxes hold where it is a number, and on
// 1092 × 787 and 210 × 297 where it is not.
constexpr ControlName PlannerReads[] = {"Combo3", "Text4", "Text5", "Text6", "Text7"};
constexpr ControlName PlannerFills[] = {"Combo53", "Text51", "Text52", "Text53", "Text54"};
constexpr std::u16string_view PlannerDefaults[] = {u"", u"1092", u"787", u"210", u"297"};

CommandRequest openPlanner(const Document *last, std::span<const Reading> readings)
{
    OpenRequest request{&plannerWindow, {}};
    for (std::size_t i = 0; i < std::size(PlannerReads); ++i) {
        std::u16string text = readings[i].text;
        if (last)
            for (const SetText &input : last->inputs)
                if (input.control == PlannerReads[i])
                    text = input.text;
        Method method{};
        const bool good = i == 0 ? methodFromText(text, method) : last || parseNumber(text);
        if (good || i > 0)
            request.fill.push_back(
                {PlannerFills[i], good ? text : std::u16string(PlannerDefaults[i])});
    }
    return request;
}

bool always(const Document *)
{
    return true;
}

// clang-format off
constexpr Command Commands[] = {
    copyCommand("copyDiagram", "drawpic"),
    saveCommand("saveDiagram", "drawpic"),
    printCommand("printDiagram", "drawpic"),
    {"openPlanner", u"拼版方案(&L)…", {false, u'L'}, "drawpic", always, openPlanner, PlannerReads},
};
// clang-format on

} // namespace

const PanelTable impositionPanel{Controls, Titles, Events, Commands};

} // namespace korvane
