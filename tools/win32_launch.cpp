// Starts a Windows GUI program the way a user would and checks it behaves: its top-level
// window appears, it keeps running, and it ends with exit code 0 when the window is sent
// WM_CLOSE. Measures on the way the time to the first window, the time to the first
// complete paint and the peak working set. Used by the installer check, by the start-up
// comparison and as a test of the built program (also at 144 dpi).
//
//   launch.exe [options] PROGRAM [ARGS...]
//     --caption TEXT        caption of the window to wait for (default: Korvane)
//     --timeout MS          longest wait for the window and its first paint (default 30000)
//     --stay MS             the program must still run this long after its first paint
//                           (default 500)
//     --close-timeout MS    longest wait for the program to end after WM_CLOSE (default 10000)
//     --client-twips WxH    the window's client area must be W x H twips at the window's
//                           dpi, to within a pixel
//   With KORVANE_EXPECTED_DPI=n in the environment, the window must also be at n dpi.
//   launch.exe --check-resources VERSION PROGRAM
//     Checks the program's resources without running it: the version resource names
//     Korvane at VERSION, icon 1 has its 16 and 32 px images, the bitmap PRODUCT loads as
//     a 24-bit DIB, and the manifest asks for per-monitor v2 DPI awareness.
//
// A PROGRAM given as a Unix path (/...) is started through Wine's Z: drive.
//
// Prints one human-readable line and, for the start-up comparison, one line
//   RESULT window_ms=W paint_ms=P peak_kib=K exit=E
// Exit status: 0 when everything went as expected, 1 on any failure (the program is then
// ended with TerminateProcess so that nothing keeps running), 2 on a usage error.
//
// Time to first paint, measured from outside the program: from just before CreateProcess
// until the window with the caption is visible, neither it nor any of its child windows has
// an update region left, and a WM_NULL sent to the window has come back. BeginPaint empties
// a window's update region before the window is drawn; the sent message is only handled
// once the GUI thread is back in its message loop, that is after the painting ended, so its
// return marks the end of the first paint (to within the 1 ms polling interval). If the
// update region is not empty after that, the window was invalidated again and the wait goes
// on. WaitForInputIdle would be the classic answer, but Wine signals it long before the
// first window even exists. The same method applies to every program compared, so the
// comparison is fair even though the absolute numbers include Wine's process start-up.

#include <windows.h>
#include <psapi.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Options {
    std::wstring caption = L"Korvane";
    DWORD timeoutMs = 30000;
    DWORD stayMs = 500;
    DWORD closeTimeoutMs = 10000;
    int clientTwipsWidth = 0;
    int clientTwipsHeight = 0;
    std::wstring checkResourcesVersion;
    std::vector<std::wstring> command;
};

void fail(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::fputs("launch: FAILED: ", stdout);
    std::vprintf(format, args);
    std::fputs("\n", stdout);
    std::fflush(stdout);
    va_end(args);
}

std::string narrow(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring windowsPath(const std::wstring& path)
{
    if (path.empty() || path[0] != L'/')
        return path;
    std::wstring result = L"Z:" + path;
    for (auto& c : result)
        if (c == L'/')
            c = L'\\';
    return result;
}

// One argument as CreateProcess's command-line parser (and the C runtime's) reads it back.
std::wstring quoted(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring result = L"\"";
    for (auto it = argument.begin();; ++it) {
        std::size_t backslashes = 0;
        while (it != argument.end() && *it == L'\\') {
            ++it;
            ++backslashes;
        }
        if (it == argument.end()) {
            result.append(backslashes * 2, L'\\');
            break;
        }
        if (*it == L'"')
            result.append(backslashes * 2 + 1, L'\\');
        else
            result.append(backslashes, L'\\');
        result.push_back(*it);
    }
    result.push_back(L'"');
    return result;
}

bool parseNumber(const wchar_t* text, DWORD& value)
{
    wchar_t* end = nullptr;
    const unsigned long parsed = std::wcstoul(text, &end, 10);
    if (!*text || *end || parsed > 3600000)
        return false;
    value = static_cast<DWORD>(parsed);
    return true;
}

bool parseSize(const wchar_t* text, int& width, int& height)
{
    wchar_t* end = nullptr;
    const long w = std::wcstol(text, &end, 10);
    if (end == text || *end != L'x')
        return false;
    const wchar_t* second = end + 1;
    const long h = std::wcstol(second, &end, 10);
    if (end == second || *end || w <= 0 || h <= 0 || w > 100000 || h > 100000)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool parseOptions(int argc, wchar_t** argv, Options& options)
{
    int i = 1;
    for (; i < argc && argv[i][0] == L'-' && argv[i][1] == L'-'; ++i) {
        const std::wstring name = argv[i];
        if (i + 1 >= argc)
            return false;
        const wchar_t* value = argv[++i];
        if (name == L"--caption")
            options.caption = value;
        else if (name == L"--timeout") {
            if (!parseNumber(value, options.timeoutMs))
                return false;
        } else if (name == L"--stay") {
            if (!parseNumber(value, options.stayMs))
                return false;
        } else if (name == L"--close-timeout") {
            if (!parseNumber(value, options.closeTimeoutMs))
                return false;
        } else if (name == L"--client-twips") {
            if (!parseSize(value, options.clientTwipsWidth, options.clientTwipsHeight))
                return false;
        } else if (name == L"--check-resources")
            options.checkResourcesVersion = value;
        else
            return false;
    }
    for (; i < argc; ++i)
        options.command.emplace_back(argv[i]);
    return !options.command.empty();
}

// --- the resource check ------------------------------------------------------------------

std::wstring versionString(const std::vector<BYTE>& block, const wchar_t* name)
{
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &size) ||
        size < sizeof(Translation))
        return {};
    wchar_t path[128];
    std::swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language,
                  translations[0].codePage, name);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &size) || !value)
        return {};
    return value;
}

int checkResources(const std::wstring& expectedVersion, const std::wstring& program)
{
    int failures = 0;
    const std::wstring path = windowsPath(program);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<BYTE> block(size);
    if (!size || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) {
        fail("%s has no version resource", narrow(path).c_str());
        ++failures;
    } else {
        for (const auto& [name, expected] : {std::pair{L"ProductName", std::wstring(L"Korvane")},
                                             std::pair{L"ProductVersion", expectedVersion},
                                             std::pair{L"FileVersion", expectedVersion},
                                             std::pair{L"OriginalFilename", std::wstring(L"korvane.exe")}}) {
            const std::wstring value = versionString(block, name);
            if (value != expected) {
                fail("version resource: %s is \"%s\", expected \"%s\"", narrow(name).c_str(),
                     narrow(value).c_str(), narrow(expected).c_str());
                ++failures;
            }
        }
        const std::wstring description = versionString(block, L"FileDescription");
        if (description.find(L"印刷") == std::wstring::npos) {
            fail("version resource: FileDescription \"%s\" lost its Chinese text", narrow(description).c_str());
            ++failures;
        }
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT fixedSize = 0;
        if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed) {
            fail("version resource: no fixed file information");
            ++failures;
        } else {
            // The numbers must read as the text does: "1.01" is 1.1.0.0.
            const unsigned major = HIWORD(fixed->dwFileVersionMS), minor = LOWORD(fixed->dwFileVersionMS);
            const auto dot = expectedVersion.find(L'.');
            const unsigned expectedMajor = std::wcstoul(expectedVersion.c_str(), nullptr, 10);
            const unsigned expectedMinor =
                dot == std::wstring::npos ? 0 : std::wcstoul(expectedVersion.c_str() + dot + 1, nullptr, 10);
            if (major != expectedMajor || minor != expectedMinor || fixed->dwFileVersionLS != 0) {
                fail("version resource: file version %u.%u.%u.%u, expected %u.%u.0.0", major, minor,
                     HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS), expectedMajor, expectedMinor);
                ++failures;
            }
        }
    }

    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        fail("cannot load %s as a resource module (error %lu)", narrow(path).c_str(), GetLastError());
        return failures + 1;
    }
    for (const int pixels : {16, 32}) {
        // LR_DEFAULTCOLOR without LR_DEFAULTSIZE: the image of exactly this size, or a
        // stretched one; the check that it is not stretched is its presence in the group.
        HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, pixels, pixels, 0));
        HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
        int id = 0;
        if (group) {
            if (HGLOBAL loaded = LoadResource(module, group))
                id = LookupIconIdFromDirectoryEx(static_cast<PBYTE>(LockResource(loaded)), TRUE, pixels, pixels, 0);
        }
        HRSRC image = id ? FindResourceW(module, MAKEINTRESOURCEW(id), RT_ICON) : nullptr;
        bool exact = false;
        if (image) {
            if (HGLOBAL loaded = LoadResource(module, image)) {
                const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(loaded));
                exact = SizeofResource(module, image) >= sizeof(BITMAPINFOHEADER) && header->biWidth == pixels;
            }
        }
        if (!icon || !exact) {
            fail("icon 1 has no %d px image", pixels);
            ++failures;
        }
        if (icon)
            DestroyIcon(icon);
    }

    HBITMAP picture = static_cast<HBITMAP>(LoadImageW(module, L"PRODUCT", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!picture) {
        fail("bitmap PRODUCT does not load (error %lu)", GetLastError());
        ++failures;
    } else {
        DIBSECTION dib{};
        if (GetObjectW(picture, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmWidth != 120 ||
            dib.dsBm.bmHeight != 116 || dib.dsBm.bmBitsPixel != 24) {
            fail("bitmap PRODUCT is %ldx%ld at %d bits, expected 120x116 at 24", dib.dsBm.bmWidth, dib.dsBm.bmHeight,
                 dib.dsBm.bmBitsPixel);
            ++failures;
        }
        DeleteObject(picture);
    }

    HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    HGLOBAL manifestData = manifest ? LoadResource(module, manifest) : nullptr;
    const std::string text = manifestData ? std::string(static_cast<const char*>(LockResource(manifestData)),
                                                        SizeofResource(module, manifest))
                                          : std::string();
    for (const char* needed : {"Microsoft.Windows.Common-Controls", "PerMonitorV2", "true/pm", "asInvoker",
                               "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        if (text.find(needed) == std::string::npos) {
            fail("manifest resource 1 lacks %s", needed);
            ++failures;
        }
    }
    FreeLibrary(module);

    if (!failures)
        std::printf("launch: resources of %s are complete (version %s)\n", narrow(path).c_str(),
                    narrow(expectedVersion).c_str());
    return failures ? 1 : 0;
}

// --- starting the program ----------------------------------------------------------------

struct Search {
    DWORD processId;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK findWindow(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window))
        return TRUE;
    wchar_t text[256];
    const int length = GetWindowTextW(window, text, 256);
    if (length >= 0 && search.caption->compare(0, std::wstring::npos, text, length) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK childNeedsPaint(HWND child, LPARAM parameter)
{
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(parameter) = true;
        return FALSE;
    }
    return TRUE;
}

bool needsPaint(HWND window)
{
    if (GetUpdateRect(window, nullptr, FALSE))
        return true;
    bool pending = false;
    EnumChildWindows(window, childNeedsPaint, reinterpret_cast<LPARAM>(&pending));
    return pending;
}

class Clock {
public:
    Clock()
    {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double elapsedMs() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
};

int windowDpi(HWND window)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow)
        return static_cast<int>(getDpiForWindow(window));
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int launch(const Options& options)
{
    const std::wstring program = windowsPath(options.command[0]);
    std::wstring commandLine = quoted(program);
    for (std::size_t i = 1; i < options.command.size(); ++i)
        commandLine += L' ' + quoted(options.command[i]);
    std::wstring directory = program.substr(0, program.find_last_of(L"\\/") + 1);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const Clock clock;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        fail("cannot start %s (error %lu)", narrow(program).c_str(), GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);

    // From here on the program is ended on any failure: nothing may keep running.
    const auto abandon = [&](int status) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
        return status;
    };
    const auto endedEarly = [&](const char* when) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        fail("%s ended %s, exit code %lu", narrow(program).c_str(), when, code);
        CloseHandle(process.hProcess);
        return 1;
    };

    Search search{process.dwProcessId, &options.caption, nullptr};
    double windowMs = 0;
    double paintMs = 0;
    for (;;) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            return endedEarly(search.found ? "before its first paint" : "before its window appeared");
        if (clock.elapsedMs() > options.timeoutMs) {
            if (!search.found)
                fail("no visible window captioned \"%s\" within %lu ms", narrow(options.caption).c_str(),
                     options.timeoutMs);
            else
                fail("the window was not painted within %lu ms", options.timeoutMs);
            return abandon(1);
        }
        if (!search.found) {
            EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found)
                windowMs = clock.elapsedMs();
        }
        if (search.found) {
            if (IsWindow(search.found) && IsWindowVisible(search.found) && !needsPaint(search.found)) {
                const double elapsed = clock.elapsedMs();
                const DWORD left = elapsed < options.timeoutMs ? options.timeoutMs - static_cast<DWORD>(elapsed) : 1;
                DWORD_PTR ignored = 0;
                if (!SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_BLOCK, left, &ignored))
                    continue; // timed out (checked above) or the window went away
                const double returned = clock.elapsedMs();
                if (!needsPaint(search.found)) {
                    paintMs = returned;
                    break;
                }
            }
        }
        Sleep(1);
    }

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    const bool haveMemory = K32GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);

    int failures = 0;
    // Set by korvane_wine_test (cmake/WineTests.cmake): the dpi of the test's Wine prefix.
    // A prefix at the wrong dpi would let a size check pass at the wrong scale.
    wchar_t expected[16] = {};
    if (GetEnvironmentVariableW(L"KORVANE_EXPECTED_DPI", expected, 16) > 0 && expected[0]) {
        const int dpi = windowDpi(search.found);
        if (dpi != static_cast<int>(std::wcstol(expected, nullptr, 10))) {
            fail("the window is at %d dpi, the test expects %s", dpi, narrow(expected).c_str());
            ++failures;
        }
    }
    if (options.clientTwipsWidth) {
        RECT client{};
        GetClientRect(search.found, &client);
        const int dpi = windowDpi(search.found);
        const int width = MulDiv(options.clientTwipsWidth, dpi, 1440);
        const int height = MulDiv(options.clientTwipsHeight, dpi, 1440);
        if (std::abs(client.right - width) > 1 || std::abs(client.bottom - height) > 1) {
            fail("client area %ldx%ld px at %d dpi, expected %dx%d px (%dx%d twips)", client.right, client.bottom,
                 dpi, width, height, options.clientTwipsWidth, options.clientTwipsHeight);
            ++failures;
        } else {
            std::printf("launch: client area %ldx%ld px at %d dpi\n", client.right, client.bottom, dpi);
        }
    }

    if (WaitForSingleObject(process.hProcess, options.stayMs) == WAIT_OBJECT_0)
        return endedEarly("by itself after its first paint");

    if (!PostMessageW(search.found, WM_CLOSE, 0, 0)) {
        fail("cannot post WM_CLOSE (error %lu)", GetLastError());
        return abandon(1);
    }
    if (WaitForSingleObject(process.hProcess, options.closeTimeoutMs) != WAIT_OBJECT_0) {
        fail("still running %lu ms after WM_CLOSE", options.closeTimeoutMs);
        return abandon(1);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    if (exitCode != 0) {
        fail("exit code %lu after WM_CLOSE, expected 0", exitCode);
        ++failures;
    }

    const unsigned long long peakKib = haveMemory ? memory.PeakWorkingSetSize / 1024 : 0;
    std::printf("launch: %s: window after %.1f ms, painted after %.1f ms, peak working set %llu KiB, "
                "closed with exit code %lu\n",
                narrow(program).c_str(), windowMs, paintMs, peakKib, exitCode);
    std::printf("RESULT window_ms=%.1f paint_ms=%.1f peak_kib=%llu exit=%lu\n", windowMs, paintMs, peakKib, exitCode);
    std::fflush(stdout);
    return failures ? 1 : 0;
}

// Window sizes are read in physical pixels: the programs checked are DPI-aware, and a
// DPI-unaware caller would be given scaled coordinates by Windows.
void becomeDpiAware()
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    using SetContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (const auto setContext = reinterpret_cast<SetContextFn>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext"))))
        if (setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
            return;
    SetProcessDPIAware();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    becomeDpiAware();
    Options options;
    if (!parseOptions(argc, argv, options) ||
        (!options.checkResourcesVersion.empty() && options.command.size() != 1)) {
        std::fputs("usage: launch.exe [--caption TEXT] [--timeout MS] [--stay MS] [--close-timeout MS]\n"
                   "                  [--client-twips WxH] PROGRAM [ARGS...]\n"
                   "       launch.exe --check-resources VERSION PROGRAM\n",
                   stderr);
        return 2;
    }
    if (!options.checkResourcesVersion.empty())
        return checkResources(options.checkResourcesVersion, options.command[0]);
    return launch(options);
}
