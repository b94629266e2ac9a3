// One whole press of "查看拼版图" in the Windows window, under Wine or on Windows: parsing,
// the computation, drawing the diagram and painting it. The cases are the Qt benchmark's.
// Then the plan handed on, for an everyday plan and the largest one: the copy (picture,
// vector picture and text onto the clipboard), each file saved (rendered, encoded, written
// whole and flushed), and the printed page drawn at 600 dpi; with the sizes they come to.
// Then the planner's keystroke in its own window: a digit typed into the copies and taken
// back, each keystroke with its handler (every row, the quote, the cut plan) and the
// diagram painted, bare and with the cuts drawn, for the trade table and the worst inputs.
// Prints the median and the slowest of a number of runs per case, in milliseconds.
#include "app/mainwindow.h"
#include "bench/presscases.h"
#include "common/numtext.h"
#include "imposition/plannerwindow.h"
#include "tests/cases/documentcases.h"
#include "tests/cases/tradesizes.h"
#include "win32/controlid.h"
#include "win32/documentcommands.h"
#include "win32/picture.h"
#include "win32/savefile.h"
#include "win32/text.h"
#include "win32/toplevelwindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

double now()
{
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

void setText(HWND panel, korvane::ControlName name, const char16_t *text)
{
    SetWindowTextW(GetDlgItem(panel, korvane::win32::controlId(name)),
                   reinterpret_cast<const wchar_t *>(text));
}

// Median and slowest of `runs` runs of `work`, printed as one row.
void time(const char *name, int runs, const std::function<void()> &work, const std::string &size)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = now();
        work();
        times.push_back(now() - start);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-45s %10.3f %10.3f %12s\n", name, times[times.size() / 2], times.back(),
                size.c_str());
}

std::size_t fileSize(const std::wstring &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return (std::size_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The plan handed on in every form, `runs` times each.
void handOn(korvane::win32::TopLevelWindow &window, const korvane::Document &document,
            const char *plan, int runs)
{
    using namespace korvane;
    using namespace korvane::win32;
    const Typeface &face = mainWindow.font;
    const auto kib = [](std::size_t bytes) {
        return std::to_string((bytes + 512) / 1024) + " KiB";
    };
    const std::string name(plan);

    const Picture picture = renderPicture(document, face);
    const HENHMETAFILE metafile = renderMetafile(document, picture.layout, face);
    const std::size_t vectors = GetEnhMetaFileBits(metafile, 0, nullptr);
    DeleteEnhMetaFile(metafile);
    Win32DocumentIo io(window.handle(), face);
    time((name + ": copy").c_str(), runs, [&] { io.copy(document); },
         kib(picture.pixels.size()) + " + " + kib(vectors));

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (const FileType &type : documentTypes()) {
        if (!io.writes(type.format))
            continue;
        const std::wstring path = std::wstring(temp) + L"拼版图-bench." + wide(type.extension);
        const std::u16string target(reinterpret_cast<const char16_t *>(path.c_str()));
        writeDocument(document, target, type.format, face);
        time((name + ": save " + std::string(type.extension.begin(), type.extension.end())).c_str(),
             runs, [&] { writeDocument(document, target, type.format, face); },
             kib(fileSize(path)));
        DeleteFileW(path.c_str());
    }

    // An A4 page at 600 dpi, a quarter of an inch from each edge, one bit a pixel.
    const int width = 4961;
    const int height = 7016;
    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.colours[1] = {255, 255, 255, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    void *bits = nullptr;
    HBITMAP page = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, page);
    const PageArea area{double(width), double(height), 150, 150, width - 300.0, height - 300.0};
    time((name + ": page at 600 dpi").c_str(), runs,
         [&] {
             PatBlt(dc, 0, 0, width, height, WHITENESS);
             renderPage(dc, area, 600, document, face);
             GdiFlush();
         },
         "");
    SelectObject(dc, old);
    DeleteObject(page);
    DeleteDC(dc);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double slowest(const std::vector<double> &values)
{
    return *std::max_element(values.begin(), values.end());
}

// The planner's keystrokes, `runs` of each case: a digit typed at the end of the copies, then
// taken back, each timed from the key to the diagram painted.
class PlannerKeys
{
public:
    explicit PlannerKeys(korvane::win32::TopLevelWindow &planner)
        : m_planner(planner), m_copies(planner.control("Text59")),
          m_diagram(planner.control("planpic")), m_cuts(planner.control("Check101"))
    {
    }

    // The case typed in; its keystrokes timed bare (first) and with the cuts drawn.
    std::pair<std::vector<double>, std::vector<double>> time(const korvane::planner::Input &in,
                                                             int runs)
    {
        using korvane::SetText;
        const auto text = [](korvane::planner::Length hundredths) {
            return korvane::formatFixed(hundredths, 2, true);
        };
        m_planner.driver().fill(std::vector<SetText>{
            {"Text51", text(in.sheet1)},
            {"Text52", text(in.sheet2)},
            {"Text53", text(in.product1)},
            {"Text54", text(in.product2)},
            {"Text55", text(in.bleed)},
            {"Text56", text(in.gap)},
            {"Text57", text(in.gripper)},
            {"Text58", text(in.margin)},
            {"Combo53", std::u16string(korvane::imposition::MethodItems[std::size_t(in.method)])},
            {"Text59", u"5000"}});
        std::vector<double> bare = keys(runs);
        SendMessageW(m_cuts, BM_CLICK, 0, 0);
        std::vector<double> drawn = keys(runs);
        SendMessageW(m_cuts, BM_CLICK, 0, 0);
        return {bare, drawn};
    }

private:
    std::vector<double> keys(int runs)
    {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            const WPARAM key = i % 2 == 0 ? L'0' : L'\b';
            const LRESULT end = SendMessageW(m_copies, WM_GETTEXTLENGTH, 0, 0);
            SendMessageW(m_copies, EM_SETSEL, WPARAM(end), LPARAM(end));
            const double start = now();
            SendMessageW(m_copies, WM_CHAR, key, 1);
            UpdateWindow(m_diagram);
            times.push_back(now() - start);
        }
        return times;
    }

    korvane::win32::TopLevelWindow &m_planner;
    HWND m_copies, m_diagram, m_cuts;
};

void plannerKeys(korvane::win32::TopLevelWindow &window, int runs)
{
    using namespace korvane;
    const PanelTable &imposition = *mainWindow.tabs.front().panel;
    std::size_t open = 0;
    while (open < imposition.commands.size() && imposition.commands[open].id != "openPlanner")
        ++open;
    window.driver().run(0, open);
    win32::TopLevelWindow *planner = window.opened(plannerWindow);
    if (!planner) {
        std::printf("the planner did not open\n");
        return;
    }
    PlannerKeys keys(*planner);
    std::printf("\n%-45s %10s %10s %10s %10s\n", "the planner's keystroke (ms)", "keys med",
                "keys max", "shown med", "shown max");
    // The trade cases' fastest of a few keystrokes each, as the planner's own benchmark takes
    // them; the worst inputs' every run.
    const int tradeRuns = std::min(runs, 4);
    for (const planner::Length bleed : {planner::Length(0), planner::Length(300)}) {
        std::vector<double> bare, drawn;
        for (const cases::MmSize sheet : cases::TradeSheets)
            for (const cases::MmSize product : cases::TradeProducts) {
                const auto [b, d] = keys.time({sheet.width * 100, sheet.length * 100,
                                               product.width * 100, product.length * 100, bleed},
                                              tradeRuns);
                bare.push_back(*std::min_element(b.begin(), b.end()));
                drawn.push_back(*std::min_element(d.begin(), d.end()));
            }
        std::printf("%-45s %10.3f %10.3f %10.3f %10.3f\n",
                    bleed ? "160 trade cases, bleed 3" : "160 trade cases", median(bare),
                    slowest(bare), median(drawn), slowest(drawn));
    }
    for (const cases::PlannerCase &c : cases::WorstPlannerCases) {
        const auto [b, d] = keys.time(c.input, runs);
        std::printf("%-45s %10.3f %10.3f %10.3f %10.3f\n", c.name, median(b), slowest(b), median(d),
                    slowest(d));
    }
}

} // namespace

int main(int argc, char **argv)
{
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    korvane::win32::TopLevelWindow window(korvane::mainWindow, GetModuleHandleW(nullptr));
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    HWND panel = window.panel(0);
    HWND button = GetDlgItem(panel, korvane::win32::controlId("Command6"));
    HWND diagram = GetDlgItem(panel, korvane::win32::controlId("drawpic"));
    std::printf("%-45s %10s %10s\n", "press (Windows front end)", "median ms", "max ms");
    for (const korvane::bench::PressInput &c : korvane::bench::PressInputs) {
        setText(panel, "Combo2", c.arrangement);
        setText(panel, "Combo3", c.method);
        const korvane::ControlName boxes[] = {"Text4", "Text5", "Text6", "Text7"};
        for (std::size_t i = 0; i < std::size(boxes); ++i)
            setText(panel, boxes[i], c.sizes[i]);
        std::vector<double> times;
        for (int i = 0; i < presses; ++i) {
            const double start = now();
            SendMessageW(button, BM_CLICK, 0, 0);
            UpdateWindow(diagram);
            times.push_back(now() - start);
        }
        std::sort(times.begin(), times.end());
        std::printf("%-45s %10.3f %10.3f\n", c.name, times[times.size() / 2], times.back());
    }

    std::printf("\n%-45s %10s %10s %12s\n", "the plan handed on", "median ms", "max ms", "size");
    const auto pressPlan = [&](const std::vector<korvane::test::Entry> &inputs) {
        for (const korvane::test::Entry &entry : inputs)
            setText(panel, entry.control, entry.text.c_str());
        SendMessageW(button, BM_CLICK, 0, 0);
        return *window.driver().document(0);
    };
    handOn(window, pressPlan(korvane::test::documentCases().front().inputs), "everyday", presses);
    handOn(window, pressPlan(korvane::test::largestPlan()), "largest", presses);
    plannerKeys(window, presses);
    return 0;
}
