// The driver on a front end of a few dozen lines with no toolkit: the parity tables both
// windows run, the focus rule, the commands and the rules of saving, fast and direct.
#include "app/mainwindow.h"
#include "common/driver.h"
#include "common/settings.h"
#include "tests/cases/paritycases.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace korvane {
namespace {

std::string nameOf(ControlRef control)
{
    return std::string(control.control);
}

// Controls as plain records; what the driver asks of a toolkit, written down in `log`.
struct FakeFrontEnd final : FrontEnd, DocumentIo
{
    struct Control
    {
        Reading reading;
        TwipsRect rect;
        bool enabled = true;
        std::optional<Drawing> drawing;
        std::span<const std::u16string_view> items;
    };
    std::map<std::string, Control, std::less<>> controls;
    std::optional<ControlRef> focused;
    bool selected = false;
    std::vector<std::string> log;
    std::vector<std::u16string> boxes;
    Driver *driver = nullptr; // set: every text set reports itself, as Win32's EN_CHANGE does
    // Documents: the clipboard, the files that exist, the answers of save dialogs to come.
    std::u16string clipboard;
    std::map<std::u16string, FileFormat> files;
    std::vector<SaveChoice> answers;
    std::vector<SaveDialog> dialogs;

    Control &at(ControlRef control) { return controls[nameOf(control)]; }
    void create(int, const ControlRow &row, const TwipsRect &rect, const Accessible &) override
    {
        Control &control = controls[std::string(row.name)];
        control.reading = {std::u16string(row.text), row.scroll.minimum};
        control.rect = rect;
        control.items = row.items;
    }
    void place(ControlRef control, const TwipsRect &rect) override { at(control).rect = rect; }
    Reading read(ControlRef control) override { return at(control).reading; }
    std::optional<ControlRef> focus() override { return focused; }
    void setText(ControlRef control, std::u16string_view text) override
    {
        at(control).reading.text = text;
        if (driver)
            driver->activated(control);
    }
    // A caption's size: 90 twips a character, 180 high.
    void setCaption(ControlRef label, std::u16string_view text) override
    {
        at(label).reading.text = text;
        ++captionsSet;
    }
    int captionsSet = 0;
    TwipsSize captionSize(ControlRef label) override
    {
        return {int(at(label).reading.text.size()) * 90, 180};
    }
    void pick(ControlRef list, std::size_t item) override
    {
        at(list).reading.text = at(list).items[item];
    }
    void setBackground(ControlRef, const Colour &) override {}
    void setOption(ControlRef control, bool enabled, bool chosen) override
    {
        at(control).enabled = enabled;
        at(control).reading.value = chosen;
    }
    void setToolTip(ControlRef, std::u16string_view) override {}
    void draw(ControlRef control, const Drawing &drawing) override
    {
        at(control).drawing = drawing;
    }
    void bringToFront(int panel) override { log.push_back("front " + std::to_string(panel)); }
    void setFocus(ControlRef control, bool, bool selectAll) override
    {
        focused = control;
        selected = selectAll;
        log.push_back("focus " + nameOf(control));
    }
    // later: every request is answered by the test, through the driver, as a browser does.
    bool later = false;
    Answered answered(Answer answer) const { return later ? Answered() : Answered(answer); }
    Answered showError(std::u16string_view message) override
    {
        boxes.emplace_back(message);
        log.push_back("box");
        return answered({});
    }
    void commandsChanged() override {}
    // Windows opened from this one, each with a front end of its own.
    std::vector<std::unique_ptr<FakeFrontEnd>> windows;
    std::vector<std::unique_ptr<Driver>> drivers;
    Answered makeWindow(const WindowDescription &window) override
    {
        log.push_back("make " + std::string(window.name));
        windows.push_back(std::make_unique<FakeFrontEnd>());
        drivers.push_back(std::make_unique<Driver>(window, *windows.back(), *windows.back()));
        drivers.back()->start();
        return answered({.opened = drivers.back().get()});
    }
    void showWindow(bool shown) override { log.push_back(shown ? "shown" : "hidden"); }
    Answered copy(const Document &document) override
    {
        clipboard = document.jobLine;
        return answered({});
    }
    bool writes(FileFormat format) override { return format != FileFormat::Pdf; }
    std::u16string folder(UserFolder which) override
    {
        return which == UserFolder::Home ? u"/home/印刷" : u"/home/印刷/文档";
    }
    bool exists(std::u16string_view path) override
    {
        return path == u"/home/印刷" || files.contains(std::u16string(path));
    }
    Answered askSaveName(const SaveDialog &dialog) override
    {
        dialogs.push_back(dialog);
        if (answers.empty())
            return answered({});
        const SaveChoice answer = answers.front();
        answers.erase(answers.begin());
        return answered({.choice = answer});
    }
    Answered write(const Document &, std::u16string_view path, FileFormat format) override
    {
        files[std::u16string(path)] = format;
        log.push_back("written");
        return answered({});
    }
    Answered print(const Document &, std::u16string_view) override
    {
        return answered({.failure = u"没有打印机"});
    }
    // Settings kept by name, for every window alike; a name in `unwritable` cannot be written.
    static inline std::map<std::string, std::string, std::less<>> settings;
    static inline std::string unwritable;
    std::optional<std::string> readSettings(std::string_view name) override
    {
        const auto it = settings.find(name);
        return it == settings.end() ? std::nullopt : std::optional(it->second);
    }
    std::optional<std::u16string> writeSettings(std::string_view name,
                                                std::string_view bytes) override
    {
        if (name == unwritable)
            return u"只读";
        settings[std::string(name)] = bytes;
        return std::nullopt;
    }
};

class DriverTest : public ::testing::Test
{
protected:
    DriverTest() { m_driver.start(); }

    void type(int panel, ControlName name, std::u16string text)
    {
        m_fake.at({panel, name}).reading.text = std::move(text);
    }
    void selectTab(int tab)
    {
        m_fake.log.clear();
        m_driver.tabSelected(tab);
    }
    void tab(bool backwards = false) { m_driver.keyPressed({KeyPress::Key::Tab, 0, backwards}); }
    std::u16string textOf(ControlName name)
    {
        return m_fake.controls[std::string(name)].reading.text;
    }
    void planned()
    {
        type(0, "Text4", u"1092");
        type(0, "Text5", u"787");
        type(0, "Text6", u"210");
        type(0, "Text7", u"297");
        m_driver.activated({0, "Command6"});
        ASSERT_TRUE(m_driver.document(0));
    }

    FakeFrontEnd m_fake;
    Driver m_driver{mainWindow, m_fake, m_fake};
};

TEST_F(DriverTest, TabGoesRoundTheFrontPanel)
{
    for (const test::FocusCase &c : test::focusCases()) {
        SCOPED_TRACE(c.tab);
        selectTab(c.tab);
        m_fake.focused = ControlRef{NoPanel, "TabStrip1"};
        for (ControlName stop : c.stops) {
            tab();
            EXPECT_EQ(m_fake.focused, (ControlRef{c.tab, stop}));
        }
        tab();
        EXPECT_EQ(m_fake.focused, (ControlRef{NoPanel, "TabStrip1"}));
        for (auto it = c.stops.rbegin(); it != c.stops.rend(); ++it) {
            tab(true);
            EXPECT_EQ(m_fake.focused, (ControlRef{c.tab, *it}));
        }
    }
}

TEST_F(DriverTest, TabSelectsTheTextItEntersAndNothingElse)
{
    for (const test::SelectCase &c : test::selectCases()) {
        selectTab(c.tab);
        m_fake.focused =
            c.from == "TabStrip1" ? ControlRef{NoPanel, c.from} : ControlRef{c.tab, c.from};
        tab();
        EXPECT_EQ(m_fake.focused, (ControlRef{c.tab, c.control}));
        EXPECT_TRUE(m_fake.selected) << c.control;
    }
    selectTab(0);
    m_fake.focused = ControlRef{0, "Text7"};
    tab();
    EXPECT_EQ(m_fake.focused, (ControlRef{0, "Command6"}));
    EXPECT_FALSE(m_fake.selected);
}

TEST_F(DriverTest, AccessKeysPressTheirButton)
{
    for (const test::AccessKeyCase &c : test::accessKeyCases()) {
        SCOPED_TRACE(c.name);
        FakeFrontEnd fake;
        Driver driver(mainWindow, fake, fake);
        driver.start();
        driver.tabSelected(c.front);
        for (const test::Entry &input : c.inputs)
            fake.at({c.panel, input.control}).reading.text = input.text;
        fake.focused = ControlRef{c.front, c.focus};
        fake.log.clear();
        const bool used = driver.keyPressed({KeyPress::Key::Letter, c.key, false, false, true});
        EXPECT_EQ(used, c.key != u'x');
        EXPECT_EQ(int(fake.boxes.size()), c.boxes);
        for (const test::Entry &result : c.results)
            EXPECT_EQ(fake.controls[std::string(result.control)].reading.text, result.text);
        if (c.boxes == 0) {
            EXPECT_EQ(fake.focused, (ControlRef{c.front, c.focus}));
        }
    }
}

// The focus never rests on a control the user cannot see.
TEST_F(DriverTest, FocusStaysWhereTheUserLooks)
{
    m_fake.focused = ControlRef{0, "Text4"};
    selectTab(1);
    EXPECT_EQ(m_fake.log, (std::vector<std::string>{"front 1", "focus TabStrip1"}));
    // A refusal on a covered panel: that panel first, then the box, then its control.
    type(1, "Text1", u"");
    selectTab(0);
    m_fake.log.clear();
    m_driver.keyPressed({KeyPress::Key::Letter, u'C', false, false, true});
    EXPECT_EQ(m_fake.log, (std::vector<std::string>{"front 1", "box", "focus Text1"}));
    EXPECT_EQ(m_driver.front(), 1);
    // The same tab again is no change at all.
    m_fake.log.clear();
    m_driver.tabSelected(1);
    EXPECT_TRUE(m_fake.log.empty());
}

// A press that shows what the last one showed sets no caption again; one that changes the
// result sets it, and a caption set back to its first text is set too.
TEST_F(DriverTest, CaptionsAreSetOnlyWhenTheyChange)
{
    planned();
    const int first = m_fake.captionsSet;
    EXPECT_GT(first, 0);
    m_driver.activated({0, "Command6"});
    EXPECT_EQ(m_fake.captionsSet, first);
    type(0, "Text6", u"100");
    m_driver.activated({0, "Command6"});
    EXPECT_GT(m_fake.captionsSet, first);
    EXPECT_NE(textOf("Label31"), u"11");
    type(0, "Text6", u"210");
    m_driver.activated({0, "Command6"});
    EXPECT_EQ(textOf("Label31"), u"10");
}

TEST_F(DriverTest, CommandsRunOnlyInFrontOnALastResult)
{
    const auto enabled = [this] {
        std::vector<bool> states;
        for (const CommandEntry &entry : m_driver.menu({0, "drawpic"}))
            states.push_back(entry.enabled);
        return states;
    };
    // Copy, save and print act on a plan; the planner opens without one.
    ASSERT_EQ(enabled(), (std::vector<bool>{false, false, false, true}));
    // The key stays the command's while it is disabled.
    EXPECT_TRUE(m_driver.keyPressed({KeyPress::Key::Letter, u'c', true, true, false}));
    EXPECT_EQ(m_fake.clipboard, u"");
    planned();
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(m_driver.menu({0, "drawpic"})[0].shortcut, u"Ctrl+Shift+C");
    selectTab(3);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, false}));
    m_driver.run(0, 0);
    EXPECT_EQ(m_fake.clipboard, u"");
    selectTab(0);
    // A refused press keeps the last result.
    type(0, "Text4", u"");
    m_driver.activated({0, "Command6"});
    EXPECT_TRUE(m_driver.keyPressed({KeyPress::Key::Letter, u'c', true, true, false}));
    EXPECT_EQ(m_fake.clipboard, m_driver.document(0)->jobLine);
    // A failure comes back in the error box.
    m_driver.keyPressed({KeyPress::Key::Letter, u'P', false, true, false});
    EXPECT_EQ(m_fake.boxes.back(), printFailure(u"没有打印机"));
    EXPECT_FALSE(m_driver.keyPressed({KeyPress::Key::Letter, u'Q', false, true, false}));
}

TEST_F(DriverTest, SaveAsksAgainRatherThanReplaceAFileUnasked)
{
    planned();
    const std::u16string stem = m_driver.document(0)->fileStem;
    m_fake.files[u"/home/印刷/a.txt.png"] = FileFormat::Png;
    // Typed "a.txt" with PNG chosen: the extension added hits a file the dialog did not ask
    // about, so it asks about that one; then "b" becomes b.svg, SVG being chosen.
    m_fake.answers = {{u"/home/印刷/a.txt", 0}, {u"/home/印刷/b", 1}};
    m_driver.keyPressed({KeyPress::Key::Letter, u'S', false, true, false});
    ASSERT_EQ(m_fake.dialogs.size(), 2u);
    const SaveDialog &first = m_fake.dialogs[0];
    EXPECT_EQ(first.title, u"保存拼版图");
    EXPECT_EQ(first.fileName, stem + u".png");
    // The documents folder does not exist here: home.
    EXPECT_EQ(first.folder, u"/home/印刷");
    ASSERT_EQ(first.types.size(), 2u); // no PDF from this front end
    EXPECT_EQ(filterLabel(first.types[1]), u"SVG 矢量图 (*.svg)");
    EXPECT_EQ(m_fake.dialogs[1].fileName, u"/home/印刷/a.txt.png");
    EXPECT_EQ(m_fake.files,
              (std::map<std::u16string, FileFormat>{{u"/home/印刷/a.txt.png", FileFormat::Png},
                                                    {u"/home/印刷/b.svg", FileFormat::Svg}}));
}

// A front end that answers later, as a browser does: the driver goes on only with the
// answer, and until then the window takes no input.
TEST_F(DriverTest, RequestsAnsweredLaterHoldTheWindowUntilThen)
{
    planned();
    m_fake.later = true;
    const auto key = [this](char16_t letter, bool shift = false) {
        return m_driver.keyPressed({KeyPress::Key::Letter, letter, shift, true, false});
    };
    // The refusal's box: the focus moves to the bad input once it is closed.
    type(0, "Text4", u"");
    m_fake.log.clear();
    m_driver.activated({0, "Command6"});
    EXPECT_EQ(m_fake.log, (std::vector<std::string>{"box"}));
    m_driver.activated({0, "Command6"});
    m_driver.tabSelected(2);
    EXPECT_FALSE(m_driver.keyPressed({KeyPress::Key::Tab}));
    EXPECT_FALSE(key(u'C', true));
    EXPECT_EQ(m_fake.log, (std::vector<std::string>{"box"}));
    EXPECT_TRUE(m_driver.waiting());
    m_driver.answer({});
    EXPECT_EQ(m_fake.log, (std::vector<std::string>{"box", "focus Text4"}));
    EXPECT_FALSE(m_driver.waiting());
    m_driver.answer({}); // none open: nothing
    EXPECT_EQ(m_fake.log.size(), 2u);

    // Save: the dialog's name, asked again where the extension added hits a file; then the
    // file, and its failure in a box.
    m_fake.files[u"/home/印刷/a.txt.png"] = FileFormat::Png;
    key(u'S');
    ASSERT_EQ(m_fake.dialogs.size(), 1u);
    m_driver.answer({.choice = SaveChoice{u"/home/印刷/a.txt", 0}});
    ASSERT_EQ(m_fake.dialogs.size(), 2u);
    EXPECT_EQ(m_fake.dialogs[1].fileName, u"/home/印刷/a.txt.png");
    m_driver.answer({.choice = SaveChoice{u"/home/印刷/b", 1}});
    EXPECT_TRUE(m_fake.files.contains(u"/home/印刷/b.svg"));
    m_fake.log.clear();
    m_driver.answer({.failure = u"磁盘已满"});
    EXPECT_EQ(m_fake.boxes.back(), saveFailure(u"/home/印刷/b.svg", u"磁盘已满"));
    m_driver.answer({});
    EXPECT_EQ(m_fake.log, (std::vector<std::string>{"box"}));
    // A save cancelled, a copy done: nothing more asked.
    key(u'S');
    m_driver.answer({});
    key(u'C', true);
    m_driver.answer({});
    EXPECT_EQ(m_fake.log, (std::vector<std::string>{"box"}));
    EXPECT_FALSE(m_driver.waiting());

    // Another window: shown and filled once it is made.
    key(u'L');
    ASSERT_EQ(m_fake.drivers.size(), 1u);
    FakeFrontEnd &planner = *m_fake.windows.front();
    EXPECT_TRUE(planner.log.empty() || planner.log.back() != "shown");
    m_driver.answer({.opened = m_fake.drivers.front().get()});
    EXPECT_EQ(planner.log.back(), "shown");
    EXPECT_EQ(planner.controls["Text51"].reading.text, u"1092");
}

// The planner opened from the panel: made once, shown each time and filled; closed, it only
// hides; away from it and back, the focus returns where it was. Labels that size themselves
// take their caption's size.
TEST_F(DriverTest, OpenedWindowsAndTheFocusComingBack)
{
    const auto openPlanner = [this] {
        m_driver.keyPressed({KeyPress::Key::Letter, u'L', false, true, false});
    };
    m_fake.log.clear();
    openPlanner();
    ASSERT_EQ(m_fake.drivers.size(), 1u);
    FakeFrontEnd &planner = *m_fake.windows.front();
    EXPECT_EQ(m_fake.log, (std::vector<std::string>{"make planner"}));
    EXPECT_EQ(planner.log.back(), "shown");
    EXPECT_EQ(planner.controls["Text51"].reading.text, u"1092");
    planner.log.clear();
    EXPECT_FALSE(m_fake.drivers.front()->closing());
    EXPECT_EQ(planner.log, (std::vector<std::string>{"hidden"}));
    openPlanner();
    EXPECT_EQ(m_fake.drivers.size(), 1u);
    EXPECT_EQ(planner.log.back(), "shown");
    EXPECT_TRUE(m_driver.closing());
    EXPECT_EQ(planner.log.back(), "hidden");

    m_fake.focused = ControlRef{0, "Text6"};
    m_driver.windowActivated(false);
    m_fake.focused.reset();
    m_fake.log.clear();
    m_driver.windowActivated(true);
    EXPECT_EQ(m_fake.log, (std::vector<std::string>{"focus Text6"}));

    // "开版数" and the ups under it; after a press, the ups' new caption.
    EXPECT_EQ(m_fake.controls["Label30"].rect, (TwipsRect{240, 2520, 270, 180}));
    planned();
    EXPECT_EQ(m_fake.controls["Label31"].rect, (TwipsRect{240, 2760, 180, 180}));
}

// The planner's settings: read once as it opens, a bad one named once it is filled; kept when
// its button says so, or the reason they were not.
TEST_F(DriverTest, SettingsReadAsAWindowOpensAndKept)
{
    FakeFrontEnd::settings = {{"planner", "paper_price = 7800\nfront_colours = 9\n"}};
    m_driver.keyPressed({KeyPress::Key::Letter, u'L', false, true, false});
    ASSERT_EQ(m_fake.drivers.size(), 1u);
    FakeFrontEnd &planner = *m_fake.windows.front();
    Driver &plannerDriver = *m_fake.drivers.front();
    EXPECT_EQ(planner.controls["Text103"].reading.text, u"7800");
    EXPECT_EQ(planner.controls["Text104"].reading.text, u"4");
    EXPECT_EQ(planner.controls["Label86"].reading.text, u"设置文件中的“正面色数”无效，已用默认值");
    plannerDriver.activated({0, "Command101"});
    EXPECT_EQ(planner.controls["Label86"].reading.text, u"已设为默认");
    EXPECT_NE(FakeFrontEnd::settings["planner"].find("front_colours = 4\n"), std::string::npos);
    FakeFrontEnd::unwritable = "planner";
    plannerDriver.activated({0, "Command101"});
    EXPECT_EQ(planner.controls["Label86"].reading.text, settingsFailure(u"只读"));
    FakeFrontEnd::settings.clear();
    FakeFrontEnd::unwritable.clear();
}

// A window of one panel that follows its size: a text whose edit runs an event, which sets
// another text and rules out an option, and a diagram drawn to the size it has.
int g_edits = 0;

Outcome edited(std::span<const Reading> readings)
{
    ++g_edits;
    const TwipsSize size = readings[1].size;
    return Update{.drawing = Drawing{"planpic", float(size.width), float(size.height), {}},
                  .texts = {{"Text2", readings[0].text + u"!"}},
                  .options = {{"Option1", false, false}}};
}

// clang-format off
using K = ControlKind;
constexpr ControlRow ProbeRows[] = {
    {K::TextBox, "Text1",   {0, 0, 900, 270}},
    {K::TextBox, "Text2",   {0, 300, 900, 270}},
    {K::Option,  "Option1", {0, 600, 900, 270}, u"横排"},
    {K::Button,  "Command1", {0, 900, 900, 375}, u"计算(&G)"},
    {K::Diagram, "planpic", {1000, 0, 2000, 1500}, {}, {}, {}, {}, {}, nullptr, Anchor::AllSides},
};
constexpr ControlName ProbeReads[] = {"Text1", "planpic"};
constexpr Event ProbeEvents[] = {{"Text1", ProbeReads, edited}, {"planpic", ProbeReads, edited}};
constexpr PanelTable Probe{ProbeRows, {}, ProbeEvents};
constexpr Tab ProbeTabs[] = {{u"", &Probe}};
constexpr WindowDescription ProbeWindow{"probe", u"探针", 3000, 2000, {}, {}, "Frame2", ProbeTabs,
                                        {u"宋体", 9}, "zh_CN"};
// clang-format on

TEST(Driver, OneWindowOfOnePanelFollowsItsSize)
{
    FakeFrontEnd fake;
    Driver driver(ProbeWindow, fake, fake);
    driver.start();
    EXPECT_EQ(checkPanel(Probe), std::vector<std::string>{});
    // What the driver sets reports itself here, as a Win32 text box does: it runs no event.
    fake.driver = &driver;
    g_edits = 0;
    driver.fill(std::vector<SetText>{{"Text1", u"1092"}});
    EXPECT_EQ(g_edits, 1);
    EXPECT_EQ(fake.controls["Text2"].reading.text, u"1092!");
    // No tab strip; an option ruled out is no stop either.
    fake.focused.reset();
    for (ControlName stop : {"Text1", "Text2", "Command1", "Text1"}) {
        driver.keyPressed({KeyPress::Key::Tab});
        EXPECT_EQ(fake.focused, (ControlRef{0, stop}));
    }
    // Grown by 900 × 600 twips, the diagram grows as much and is drawn at its new size;
    // shrunk below its design, it keeps the size of its row.
    for (const auto &[client, drawn] :
         {std::pair{TwipsSize{3900, 2600}, TwipsRect{1000, 0, 2900, 2100}},
          std::pair{TwipsSize{2000, 1000}, TwipsRect{1000, 0, 2000, 1500}}}) {
        driver.resized(client);
        EXPECT_EQ(fake.controls["planpic"].rect, drawn);
        EXPECT_EQ(fake.controls["planpic"].drawing->width, float(drawn.width));
        EXPECT_EQ(driver.placeOf({0, "planpic"}), drawn);
    }
    EXPECT_EQ(g_edits, 3);
}

} // namespace
} // namespace korvane
