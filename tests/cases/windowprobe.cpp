#include "tests/cases/windowprobe.h"

#include "app/mainwindow.h"
#include "common/raster.h"
#include "imposition/plannerwindow.h"
#include "tests/cases/paritycases.h"

#include <algorithm>

namespace korvane::test {
namespace {

using Code = Key::Code;
constexpr Key TabKey{Code::Tab};
constexpr Key BackTabKey{Code::Tab, 0, true};
constexpr Key AltC{Code::Character, u'c', false, false, true};

std::string named(ControlName control)
{
    return std::string(control);
}

// A fresh window with `tab` in front and `inputs` pasted.
void fresh(WindowProbe &probe, int tab, const std::vector<Entry> &inputs = {})
{
    probe.restart();
    probe.clickTab(tab);
    for (const Entry &entry : inputs)
        probe.paste(entry.control, entry.text);
}

// Typed key by key, or picked from its list.
void enter(WindowProbe &probe, const Entry &entry)
{
    const ControlRow &row = rowOf(entry.control);
    const auto item = std::find(row.items.begin(), row.items.end(), entry.text);
    if (row.kind == ControlKind::List)
        probe.pick(entry.control, int(item - row.items.begin()));
    else
        probe.type(entry.control, entry.text);
}

void press(WindowProbe &probe, const PressCase &c)
{
    for (const Entry &entry : c.inputs)
        probe.paste(entry.control, entry.text);
    probe.click(c.button);
}

void focusIs(Failures &f, WindowProbe &probe, ControlName want, const std::string &what)
{
    f.expect(probe.focused() == want, what + ": the focus on " + probe.focused());
}

void sameTexts(Failures &f, WindowProbe &probe, const std::vector<Entry> &shown,
               const std::string &what)
{
    for (const Entry &entry : shown)
        f.same(probe.text(entry.control), entry.text, what + ": " + named(entry.control));
}

// The planner as the user opens it from the imposition panel.
void openPlanner(WindowProbe &probe, bool byShortcut)
{
    if (!byShortcut)
        return probe.run("openPlanner");
    probe.focus("Text4");
    probe.key({Code::Character, u'L', false, true});
}

// What `diagram` shows at `dpi` where its window can be laid out there: the rasteriser's
// picture of the drawing its window's event `event` makes now, in the diagram's colours,
// after `act`; in the picture, and when `painted`, on the screen. False where it cannot.
template <typename Act>
bool drawsAt(Failures &f, WindowProbe &p, ControlName diagram, int dpi, const Event &event,
             bool painted, const std::string &what, Act act)
{
    if (p.dpi(diagram, dpi) != dpi)
        return false;
    act();
    const Outcome outcome = event.handle(p.readings(diagram, event.reads));
    const Raster raster = rasterise(*std::get<Update>(outcome).drawing, dpi);
    Picture want{
        raster.width, raster.height,
        std::vector<std::uint32_t>(std::size_t(raster.width) * std::size_t(raster.height))};
    fillPixels(raster, p.colour(rowOf(diagram).background), p.colour(rowOf(diagram).foreground),
               want.pixels.data(), std::size_t(raster.width), p.colour({Colour::Role::Highlight}));
    f.expect(p.picture(diagram, false) == want, what + ": the picture");
    f.expect(!painted || p.picture(diagram, true) == want, what + ": what is painted");
    return true;
}

void tabGoesRoundTheFrontPanel(WindowProbe &p, Failures &f)
{
    for (const FocusCase &c : focusCases()) {
        const std::string tab = "tab " + std::to_string(c.tab);
        p.clickTab(c.tab);
        p.focus("TabStrip1");
        for (ControlName stop : c.stops) {
            p.key(TabKey);
            focusIs(f, p, stop, tab + ", Tab to " + named(stop));
        }
        p.key(TabKey);
        focusIs(f, p, "TabStrip1", tab + ", Tab round");
        for (auto it = c.stops.rbegin(); it != c.stops.rend(); ++it) {
            p.key(BackTabKey);
            focusIs(f, p, *it, tab + ", Shift+Tab to " + named(*it));
        }
    }
}

void tabSelectsTheTextItEnters(WindowProbe &p, Failures &f)
{
    for (const SelectCase &c : selectCases()) {
        p.clickTab(c.tab);
        p.paste(c.control, c.text);
        p.focus(c.from);
        p.key(TabKey);
        focusIs(f, p, c.control, "Tab from " + named(c.from));
        f.same(p.shown(c.control).selected, c.text, named(c.control) + " selected");
    }
}

void accessKeysPressTheirButton(WindowProbe &p, Failures &f)
{
    for (const AccessKeyCase &c : accessKeyCases()) {
        fresh(p, c.front, c.inputs);
        p.focus(c.focus);
        p.key({Code::Character, c.key, false, false, true});
        f.expect(int(p.boxes().size()) == c.boxes, c.name + ": the boxes");
        sameTexts(f, p, c.results, c.name);
        if (c.boxes == 0)
            focusIs(f, p, c.focus, c.name);
    }
}

void focusStaysWhereTheUserLooks(WindowProbe &p, Failures &f)
{
    for (const FocusRuleCase &c : focusRuleCases()) {
        fresh(p, c.front, c.inputs);
        p.focus(c.focus);
        const std::u16string before = p.text(c.focus);
        c.clicked >= 0 ? p.clickTab(c.clicked) : p.key(AltC);
        f.expect(p.boxes().size() == (c.clicked >= 0 ? 0u : 1u), c.name + ": the boxes");
        f.expect(p.frontPanel() == c.frontAfter, c.name + ": the panel in front");
        focusIs(f, p, c.focusAfter, c.name);
        // What is typed next goes where the user sees it, or nowhere.
        for (char16_t typed : std::u16string_view(u"555"))
            p.key({Code::Character, typed});
        f.same(p.text(c.focus), before, c.name + ": " + named(c.focus));
    }
}

void kindsBehaveAlike(WindowProbe &p, Failures &f)
{
    using A = KindCase::Act;
    for (const KindCase &c : kindCases()) {
        fresh(p, c.tab);
        if (c.act == A::Paste || c.act == A::Type)
            p.enterText(c.control, c.text, c.act == A::Paste);
        if (c.act == A::DragThumb || c.act == A::LetGo)
            p.scroll(c.control,
                     c.act == A::LetGo ? ScrollRequest::ThumbReleased : ScrollRequest::ThumbDragged,
                     c.value);
        if (c.act == A::Enter || c.act == A::StepDown || c.act == A::PageDown) {
            p.focus(c.control);
            p.key({c.act == A::Enter      ? Code::Enter
                   : c.act == A::StepDown ? Code::Down
                                          : Code::PageDown});
        }
        sameTexts(f, p, {c.shown}, c.name);
    }
}

void panelsKeepWhatTheyShow(WindowProbe &p, Failures &f)
{
    const VisitCase visits = visitCase();
    for (int tab : visits.pressed) {
        p.clickTab(tab);
        press(p, goodPress(tab));
    }
    const Picture drawn = p.picture("drawpic", false);
    for (int tab : visits.visits) {
        p.clickTab(tab);
        f.expect(p.frontPanel() == tab && p.panelsShown(), "tab " + std::to_string(tab));
    }
    f.expect(p.picture("drawpic", false) == drawn, "the diagram drawn anew");
    // Covered and shown again, the box paints what was drawn.
    f.expect(p.picture("drawpic", true) == drawn, "the diagram painted otherwise");
    for (int tab : visits.pressed)
        sameTexts(f, p, goodPress(tab).results, "kept");
    f.expect(windowCaptioned(p, mainWindow.caption).shown, "the main window's caption");
}

void plannerOpensAndFollowsItsInputs(WindowProbe &p, Failures &f)
{
    for (const PlannerCase &c : plannerCases()) {
        fresh(p, 0, c.pressed);
        if (!c.pressed.empty())
            p.click("Command6");
        openPlanner(p, c.byShortcut);
        const ShownWindow planner = windowCaptioned(p, plannerWindow.caption);
        if (!f.expect(planner.shown && planner.owned, c.name + ": no planner of the main window"))
            continue;
        for (const Entry &entry : c.typed)
            enter(p, entry);
        for (ControlName clicked : c.clicked)
            p.click(clicked);
        sameTexts(f, p, c.shown, c.name);
        const auto chosen = std::find_if(PlannerOptions.begin(), PlannerOptions.end(),
                                         [&](ControlName option) { return p.value(option); });
        f.expect(chosen - PlannerOptions.begin() == c.chosen, c.name + ": the row chosen");
    }
    // Opened again, the same window comes to the front.
    openPlanner(p, true);
    openPlanner(p, false);
    const std::vector<ShownWindow> windows = p.windows();
    f.expect(
        std::count_if(windows.begin(), windows.end(),
                      [](const ShownWindow &w) { return w.caption == plannerWindow.caption; }) == 1,
        "opened again: another planner");
    for (const Entry &fault : plannerFaults()) {
        const std::u16string before = p.text(fault.control);
        const std::string after = " after " + printable(fault.text) + " in " + named(fault.control);
        enter(p, fault);
        f.same(p.text("Label86"), plannerFaultMessage(fault.control), "Label86" + after);
        f.same(p.text("Label61"), u"—", "Label61" + after);
        enter(p, {fault.control, before});
        f.same(p.text("Label86"), u"", "Label86" + after + " and back");
    }
}

// The quote's figures kept as the shop's defaults and read back by the next planner; a
// damaged file read as far as it is good, the status line naming what was not; a file that
// cannot be written said so.
void plannerKeepsItsDefaults(WindowProbe &p, Failures &f)
{
    const std::string_view name = plannerWindow.settings->name;
    const auto reopened = [&] {
        p.restart();
        openPlanner(p, true);
    };
    p.prepareSettings(name, {});
    reopened();
    for (const Entry &entry : std::vector<Entry>{{"Text103", u"7800"}, {"Text105", u"0"}})
        enter(p, entry);
    p.click("Command101");
    f.same(p.text("Label86"), u"已设为默认", "kept: the status line");
    reopened();
    sameTexts(f, p, {{"Text103", u"7800"}, {"Text105", u"0"}, {"Text104", u"4"}}, "read back");
    f.same(p.text("Label86"), u"", "read back: the status line");
    p.prepareSettings(name, "paper_price = 7800\nfront_colours = 9\ngap = \xff\n");
    reopened();
    sameTexts(f, p, {{"Text103", u"7800"}, {"Text104", u"4"}, {"Text105", u"4"}}, "damaged");
    f.same(p.text("Label86"), u"设置文件中的“正面色数”无效，已用默认值",
           "damaged: the status line");
    p.prepareSettings(name, {}, false);
    p.click("Command101");
    f.expect(p.text("Label86").starts_with(u"设置未能保存："), "unwritable: the status line");
    p.prepareSettings(name, {});
}

void plannerDiagramPixels(WindowProbe &p, Failures &f)
{
    int run = 0;
    for (const PlannerPixelCase &c : plannerPixelCases()) {
        p.restart();
        openPlanner(p, true);
        run += drawsAt(f, p, "planpic", c.dpi, plannerWindow.tabs[0].panel->events.back(), false,
                       c.name, [&] {
                           for (const Entry &entry : c.typed)
                               enter(p, entry);
                           for (ControlName clicked : c.clicked)
                               p.click(clicked);
                       });
    }
    f.expect(run > 0, "no planner diagram case at this dpi");
}

// Exactly what the rasteriser makes of the press: ink there, paper everywhere else.
void diagramPixels(WindowProbe &p, Failures &f)
{
    int run = 0;
    for (const DiagramCase &c : diagramCases()) {
        p.restart();
        run +=
            drawsAt(f, p, "drawpic", c.dpi, mainWindow.tabs[0].panel->events[0], true, c.name, [&] {
                press(p, {c.name, 0, c.inputs, "Command6", {}, {}});
                f.expect(p.boxes().empty(), c.name + ": a box");
            });
    }
    f.expect(run > 0, "no diagram case at this dpi");
}

void screenReadersHearTheTitles(WindowProbe &p, Failures &f)
{
    for (const SpokenCase &c : spokenCases()) {
        const Spoken heard = p.heard(c.control);
        f.expect(std::find(heard.names.begin(), heard.names.end(), c.name) != heard.names.end(),
                 named(c.control) + " heard otherwise");
        f.same(heard.description, c.description, named(c.control) + " described");
    }
}

void panelsStartAsTheirTablesSay(WindowProbe &p, Failures &f)
{
    for (const InitialColourCase &c : initialColourCases())
        f.expect(p.shown(c.control).background == p.colour(c.colour),
                 named(c.control) + "'s colour");
    const BlankDiagram blank = blankDiagram();
    const Picture paper = p.picture(blank.control, false);
    const int dpi = p.dpi(blank.control);
    const std::uint32_t white = p.colour(rowOf(blank.control).background);
    f.expect(paper.width == twipsToPixels(blank.width, dpi) &&
                 paper.height == twipsToPixels(blank.height, dpi) &&
                 std::all_of(paper.pixels.begin(), paper.pixels.end(),
                             [white](std::uint32_t pixel) { return pixel == white; }),
             "the blank diagram");
}

// Each press case of the handlers' own tests, with the real error box and the focus after it.
void presses(WindowProbe &p, Failures &f)
{
    for (const PressCase &c : pressCases()) {
        fresh(p, c.tab);
        // A refusal leaves the results of the good press before it alone.
        const PressCase &good = c.refusal ? goodPress(c.tab) : c;
        press(p, good);
        f.expect(p.boxes().empty(), good.name + ": a box");
        sameTexts(f, p, good.results, c.name);
        if (!c.refusal)
            continue;
        const Picture picture = p.picture("drawpic", false);
        press(p, c);
        const std::vector<SeenBox> boxes = p.boxes();
        if (!f.expect(boxes.size() == 1, c.name + ": " + std::to_string(boxes.size()) + " boxes"))
            continue;
        f.same(boxes[0].title, ErrorTitle, c.name + ": the box's title");
        f.same(boxes[0].text, c.refusal->message, c.name + ": the box's message");
        f.expect(boxes[0].stopAndOk, c.name + ": the box's icon and buttons");
        focusIs(f, p, c.refusal->focus, c.name);
        sameTexts(f, p, good.results, c.name + ", kept");
        sameTexts(f, p, c.inputs, c.name + ", typed");
        f.expect(p.picture("drawpic", false) == picture, c.name + ": the diagram");
    }
}

void scrolls(WindowProbe &p, Failures &f)
{
    for (const ScrollCase &c : scrollCases()) {
        fresh(p, ColourTab);
        for (const auto &[bar, value] : c.moves)
            p.scroll(bar, ScrollRequest::ThumbReleased, value);
        sameTexts(f, p, c.results, c.name);
        for (const auto &[box, rgb] : c.backgrounds)
            f.expect(p.shown(box).background ==
                         (rgb ? std::uint32_t(rgb->r << 16 | rgb->g << 8 | rgb->b)
                              : p.colour(rowOf(box).background)),
                     c.name + ": " + named(box) + "'s colour");
    }
}

} // namespace

const WindowDescription &windowOf(ControlName control)
{
    return findControl(*plannerWindow.tabs[0].panel, control) ? plannerWindow : mainWindow;
}

const ControlRow &rowOf(ControlName control)
{
    for (const Tab &tab : windowOf(control).tabs)
        if (const ControlRow *row = findControl(*tab.panel, control))
            return *row;
    broken(named(control) + " is on no window");
}

ShownWindow windowCaptioned(WindowProbe &probe, std::u16string_view caption)
{
    for (const ShownWindow &window : probe.windows())
        if (window.caption == caption)
            return window;
    return {};
}

bool Failures::expect(bool ok, const std::string &what)
{
    if (!ok)
        lines += "\n" + what;
    return ok;
}

bool Failures::same(std::u16string_view got, std::u16string_view want, const std::string &what)
{
    return expect(got == want, what + " shows " + printable(got) + ", not " + printable(want));
}

const std::vector<ParityCheck> &parityChecks()
{
    static const std::vector<ParityCheck> checks = {
        {"tabGoesRoundTheFrontPanel", tabGoesRoundTheFrontPanel},
        {"tabSelectsTheTextItEnters", tabSelectsTheTextItEnters},
        {"accessKeysPressTheirButton", accessKeysPressTheirButton},
        {"focusStaysWhereTheUserLooks", focusStaysWhereTheUserLooks},
        {"kindsBehaveAlike", kindsBehaveAlike},
        {"panelsKeepWhatTheyShow", panelsKeepWhatTheyShow},
        {"plannerOpensAndFollowsItsInputs", plannerOpensAndFollowsItsInputs},
        {"plannerDiagramPixels", plannerDiagramPixels},
        {"plannerKeepsItsDefaults", plannerKeepsItsDefaults},
        {"screenReadersHearTheTitles", screenReadersHearTheTitles},
        {"panelsStartAsTheirTablesSay", panelsStartAsTheirTablesSay},
        {"diagramPixels", diagramPixels},
        {"presses", presses},
        {"scrolls", scrolls},
    };
    return checks;
}

} // namespace korvane::test
