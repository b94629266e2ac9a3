#include "win32/accessibility.h"

#include "win32/text.h"

#include <initguid.h>
#include <oleacc.h>

namespace korvane::win32 {
namespace {

// COM is loaded only when the first control is named, after the window is up: the DLLs it
// brings cost start-up time that nothing before the first paint needs.
IAccPropServices *annotationService()
{
    using CoInitializeExFunction = HRESULT(WINAPI *)(void *, DWORD);
    using CoCreateInstanceFunction =
        HRESULT(WINAPI *)(REFCLSID, IUnknown *, DWORD, REFIID, void **);
    HMODULE com = LoadLibraryW(L"ole32.dll");
    if (!com)
        return nullptr;
    const auto initialize = reinterpret_cast<CoInitializeExFunction>(
        reinterpret_cast<void *>(GetProcAddress(com, "CoInitializeEx")));
    const auto create = reinterpret_cast<CoCreateInstanceFunction>(
        reinterpret_cast<void *>(GetProcAddress(com, "CoCreateInstance")));
    IAccPropServices *found = nullptr;
    if (initialize && create && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED)))
        create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
               reinterpret_cast<void **>(&found));
    return found;
}

} // namespace

void nameControl(HWND control, std::u16string_view caption)
{
    static IAccPropServices *const services = annotationService();
    if (!services)
        return;
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    const bool label = lstrcmpiW(className, L"Static") == 0;
    services->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF,
                             label ? PROPID_ACC_DESCRIPTION : PROPID_ACC_NAME,
                             wide(caption).c_str());
}

} // namespace korvane::win32
