// Opens the Windows window in a given state, for screenshots under Wine:
// tools/windows-screenshots.sh. Usage: korvane_tour.exe <scene> [seconds]
#include "app/window.h"
#include "tools/scenes.h"
#include "win32/controlid.h"
#include "win32/mainwindow.h"
#include "win32/text.h"

#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t *argv[])
{
    const std::wstring wanted = argc > 1 ? argv[1] : L"";
    const korvane::tour::Scene *scene =
        korvane::tour::findScene(std::string(wanted.begin(), wanted.end()));
    if (!scene) {
        std::fprintf(stderr, "usage: korvane_tour <scene> [seconds]\n");
        return 2;
    }
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 5;

    using namespace korvane::win32;
    MainWindow window(korvane::mainWindow, GetModuleHandleW(nullptr));
    SendMessageW(window.tabStrip(), TCM_SETCURFOCUS, WPARAM(scene->tab), 0);
    HWND panel = window.panel(scene->tab).handle();
    for (const auto &[name, text] : scene->entries)
        SetWindowTextW(GetDlgItem(panel, controlId(name)), wide(text).c_str());
    for (const auto &[name, value] : scene->scrolls)
        SendMessageW(panel, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, value),
                     reinterpret_cast<LPARAM>(GetDlgItem(panel, controlId(name))));
    if (!scene->button.empty())
        SendMessageW(GetDlgItem(panel, controlId(scene->button)), BM_CLICK, 0, 0);
    SetWindowPos(window.handle(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    SetTimer(window.handle(), 0, UINT(seconds) * 1000,
             [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    return window.run();
}
