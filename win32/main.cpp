#include "app/window.h"
#include "win32/mainwindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    korvane::win32::MainWindow window(korvane::mainWindow, instance);
    ShowWindow(window.handle(), show);
    return window.run();
}
