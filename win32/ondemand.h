#pragma once

// System functions looked up at run time rather than imported: those of DLLs the window
// needs only when a document leaves it or a screen reader asks (the common dialogs, COM,
// accessibility), loaded at their first use so that start-up does not pay for them, and
// those newer than Windows 7, so that the program still starts there.

#include <string>
#include <windows.h>
// These need windows.h first.
#include <commdlg.h>
#include <objbase.h>

namespace korvane::win32 {

// The address of `name` in the system folder's own copy of `dll` (never a DLL of that name
// beside the program), which is loaded if it is not yet; null when either is missing. The DLL
// stays loaded, so the address may be kept.
void *systemProcedure(const wchar_t *dll, const char *name);

// The same as a pointer of type `Function`, decltype(&TheFunction) where the headers
// declare it.
template <typename Function> Function systemFunction(const wchar_t *dll, const char *name)
{
    return reinterpret_cast<Function>(systemProcedure(dll, name));
}

// comdlg32.dll, loaded at the first save or print. Null functions when it could not be.
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

// GetLastError's code, or `otherwise` where a failed call left none.
DWORD lastError(DWORD otherwise);

// The system's own words for an error code (GetLastError's), in the user's language, without
// the line break it ends with.
std::u16string systemMessage(DWORD code);

// The same for a COM result: the system's words where it has any, the code otherwise.
std::u16string systemMessage(HRESULT result);

} // namespace korvane::win32
