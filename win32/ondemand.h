#pragma once

// System libraries the window needs only when a document leaves it, loaded at their first
// use so that start-up does not pay for them: the common dialogs (save and print) and COM
// (the image encoder).

#include <string>
#include <windows.h>
// These need windows.h first.
#include <commdlg.h>
#include <objbase.h>

namespace korvane::win32 {

// comdlg32.dll. Null functions when it could not be loaded.
struct CommonDialogs
{
    decltype(&GetSaveFileNameW) getSaveFileName = nullptr;
    decltype(&PrintDlgW) printDialog = nullptr;
    decltype(&CommDlgExtendedError) extendedError = nullptr;

    static const CommonDialogs &get();
    bool ready() const { return getSaveFileName && printDialog && extendedError; }
};

// ole32.dll, with COM started on the thread that first asks (the window's), in a
// single-threaded apartment as the shell's dialogs want it.
struct Com
{
    decltype(&CoCreateInstance) createInstance = nullptr;
    decltype(&CreateStreamOnHGlobal) streamOnHGlobal = nullptr;
    HRESULT started = E_FAIL; // what starting COM gave; S_FALSE: it ran already

    static const Com &get();
    bool ready() const { return createInstance && streamOnHGlobal && SUCCEEDED(started); }
};

// The system's own words for an error code (GetLastError's), in the user's language, without
// the line break it ends with.
std::u16string systemMessage(DWORD code);

// The same for a COM result: the system's words where it has any, the code otherwise.
std::u16string systemMessage(HRESULT result);

} // namespace korvane::win32
