// The cases the page's benchmark times, from the tables bench/ times them from: each press of
// "查看拼版图" of bench/presscases.h, and the planner's everyday sheets and products and its
// worst inputs in range, as the texts its fields then hold. A JSON line each.
//
//   web_bench_cases > cases.jsonl
#include "bench/presscases.h"
#include "common/numtext.h"
#include "imposition/impose.h"
#include "imposition/plannerwindow.h"
#include "tests/cases/tradesizes.h"
#include "tests/web/json.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <string>

namespace {

using namespace korvane;

void print(const web::Request &request)
{
    std::puts(request.line().c_str());
}

// A planner case as its inputs' texts: the lengths in their fields, in the order its events
// read them, and the method picked.
void printPlanner(std::string_view kind, const std::string &name, const planner::Input &in)
{
    const Event &event = plannerWindow.tabs.front().panel->events.front();
    const std::array<planner::Length, 8> lengths = {in.sheet1, in.sheet2, in.product1, in.product2,
                                                    in.bleed,  in.gap,    in.gripper,  in.margin};
    web::Request request(kind);
    request("name", name);
    for (std::size_t i = 0; i < lengths.size(); ++i)
        request(event.reads[i], widen(formatNumber(double(lengths[i]) / 100)));
    request("Combo53", imposition::MethodItems[std::size_t(in.method)]);
    print(request);
}

std::string digits(int number)
{
    char text[16];
    return std::string(text, std::to_chars(text, text + sizeof text, number).ptr);
}

std::string millimetres(const cases::MmSize &size)
{
    return digits(size.width) + " x " + digits(size.length);
}

} // namespace

int main()
{
    for (const bench::PressInput &press : bench::PressInputs)
        print(web::Request("press")("name", press.name)("Combo2", press.arrangement)(
            "Combo3", press.method)("Text4", press.sizes[0])("Text5", press.sizes[1])(
            "Text6", press.sizes[2])("Text7", press.sizes[3]));
    for (const cases::MmSize sheet : cases::TradeSheets)
        for (const cases::MmSize product : cases::TradeProducts)
            printPlanner(
                "everyday", millimetres(product) + " on " + millimetres(sheet),
                {sheet.width * 100, sheet.length * 100, product.width * 100, product.length * 100});
    for (const cases::PlannerCase &worst : cases::WorstPlannerCases)
        printPlanner("worst", worst.name, worst.input);
    return 0;
}
