#include "app/mainwindow.h"
#include "win32/toplevelwindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    korvane::win32::TopLevelWindow window(korvane::mainWindow, instance);
    ShowWindow(window.handle(), show);
    // Painted at once, its controls with it, rather than one paint message at a time from
    // the message loop.
    UpdateWindow(window.handle());
    return korvane::win32::runMessageLoop(window);
}
