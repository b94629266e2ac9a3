// One whole press of "查看拼版图" in the Windows window, under Wine or on Windows: parsing,
// the computation, drawing the diagram and painting it. The cases are the Qt benchmark's.
// Prints the median and the slowest of a number of presses per case, in milliseconds.
#include "app/window.h"
#include "bench/presscases.h"
#include "win32/controlid.h"
#include "win32/mainwindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
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

} // namespace

int main(int argc, char **argv)
{
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    korvane::win32::MainWindow window(korvane::mainWindow, GetModuleHandleW(nullptr));
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    HWND panel = window.panel(0).handle();
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
    return 0;
}
