// Opens the Windows window in a given state, for screenshots under Wine:
// tools/windows-screenshots.sh. Usage: korvane_tour.exe <scene> [seconds] [--menu] [--save DIR]
//   --menu      opens the diagram's context menu once the window shows
//   --save DIR  writes what the imposition panel's commands hand on into DIR (a Windows
//               path): the PNG and SVG files and the vector picture of a copy as an EMF
#include "app/mainwindow.h"
#include "imposition/plannerwindow.h"
#include "tools/scenes.h"
#include "win32/controlid.h"
#include "win32/picture.h"
#include "win32/savefile.h"
#include "win32/text.h"
#include "win32/toplevelwindow.h"

#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace korvane;
using namespace korvane::win32;

void save(const Document &document, const std::wstring &folder)
{
    const Typeface &face = mainWindow.font;
    for (const FileType &type : documentTypes()) {
        const std::wstring path =
            folder + L"\\" + wide(document.fileStem) + L"." + wide(type.extension);
        if (type.format == FileFormat::Pdf)
            continue;
        if (const auto reason = writeDocument(
                document, reinterpret_cast<const char16_t *>(path.c_str()), type.format, face))
            std::fprintf(stderr, "korvane_tour: cannot save a file\n");
    }
    const Picture picture = renderPicture(document, face);
    const HENHMETAFILE metafile = renderMetafile(document, picture.layout, face);
    const std::wstring path = folder + L"\\" + wide(document.fileStem) + L".emf";
    DeleteEnhMetaFile(CopyEnhMetaFileW(metafile, path.c_str()));
    DeleteEnhMetaFile(metafile);
}

HWND g_diagram = nullptr;

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    const std::wstring wanted = argc > 1 ? argv[1] : L"";
    const tour::Scene *scene = tour::findScene(std::string(wanted.begin(), wanted.end()));
    if (!scene) {
        std::fprintf(stderr, "usage: korvane_tour <scene> [seconds] [--menu] [--save DIR]\n");
        return 2;
    }
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 5;
    bool menu = false;
    std::wstring folder;
    for (int i = 3; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--menu")
            menu = true;
        else if (std::wstring(argv[i]) == L"--save" && i + 1 < argc)
            folder = argv[++i];
    }

    TopLevelWindow window(mainWindow, GetModuleHandleW(nullptr));
    SendMessageW(window.tabStrip(), TCM_SETCURFOCUS, WPARAM(scene->tab), 0);
    HWND panel = window.panel(scene->tab);
    for (const auto &[name, text] : scene->entries)
        SetWindowTextW(GetDlgItem(panel, controlId(name)), wide(text).c_str());
    for (const auto &[name, value] : scene->scrolls)
        SendMessageW(panel, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, value),
                     reinterpret_cast<LPARAM>(GetDlgItem(panel, controlId(name))));
    if (!scene->button.empty())
        SendMessageW(GetDlgItem(panel, controlId(scene->button)), BM_CLICK, 0, 0);
    if (!folder.empty() && window.driver().document(0))
        save(*window.driver().document(0), folder);
    SetWindowPos(window.handle(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    if (!scene->planner.empty()) {
        const PanelTable &imposition = *mainWindow.tabs.front().panel;
        window.driver().run(0, tour::commandIndex(imposition, "openPlanner"));
        TopLevelWindow &planner = *window.opened(plannerWindow);
        planner.driver().fill(tour::textsOf(scene->planner));
        planner.driver().activated({0, scene->plannerRow});
        if (!scene->plannerClick.empty())
            SendMessageW(planner.control(scene->plannerClick), BM_CLICK, 0, 0);
        SetWindowPos(planner.handle(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    // No tool tip over the picture: the pointer of a virtual display rests on the diagram.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND tips, LPARAM) -> BOOL {
            wchar_t name[32] = {};
            GetClassNameW(tips, name, 32);
            if (std::wstring(name) == TOOLTIPS_CLASSW)
                SendMessageW(tips, TTM_ACTIVATE, FALSE, 0);
            return TRUE;
        },
        0);
    if (menu) {
        // Right-clicked in the middle of the diagram, once the window has shown.
        g_diagram = window.control("drawpic");
        SetTimer(window.handle(), 1, 500, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(GetAncestor(g_diagram, GA_ROOT), id);
            RECT r;
            GetWindowRect(g_diagram, &r);
            PostMessageW(g_diagram, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(g_diagram),
                         MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        });
    }
    // A menu's own loop would keep the quit message from the window's: close it first.
    SetTimer(window.handle(), 0, UINT(seconds) * 1000, [](HWND, UINT, UINT_PTR, DWORD) {
        EndMenu();
        PostQuitMessage(0);
    });
    return runMessageLoop(window);
}
