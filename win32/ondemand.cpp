#include "win32/ondemand.h"

#include <array>
#include <charconv>

namespace korvane::win32 {

void *systemProcedure(const wchar_t *dll, const char *name)
{
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    path.resize(length);
    // A reference of our own for each address handed out: no one else's FreeLibrary can
    // unload the DLL under it. The DLL's own imports are looked for in the system folder too.
    const HMODULE module =
        LoadLibraryExW((path + L'\\' + dll).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return module ? reinterpret_cast<void *>(GetProcAddress(module, name)) : nullptr;
}

const CommonDialogs &CommonDialogs::get()
{
    static const CommonDialogs loaded{
        systemFunction<decltype(&GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW"),
        systemFunction<decltype(&PrintDlgW)>(L"comdlg32.dll", "PrintDlgW"),
        systemFunction<decltype(&CommDlgExtendedError)>(L"comdlg32.dll", "CommDlgExtendedError")};
    return loaded;
}

const Com &Com::get()
{
    static const Com loaded = [] {
        Com com{systemFunction<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance"),
                systemFunction<decltype(&CreateStreamOnHGlobal)>(L"ole32.dll",
                                                                 "CreateStreamOnHGlobal")};
        if (const auto initialise =
                systemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx"))
            com.started = initialise(nullptr, COINIT_APARTMENTTHREADED);
        // Started before in another apartment: COM works all the same.
        if (com.started == RPC_E_CHANGED_MODE)
            com.started = S_FALSE;
        return com;
    }();
    return loaded;
}

DWORD lastError(DWORD otherwise)
{
    const DWORD error = GetLastError();
    return error ? error : otherwise;
}

std::u16string systemMessage(DWORD code)
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::u16string message(reinterpret_cast<const char16_t *>(text), text ? length : 0);
    LocalFree(text);
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r'))
        message.pop_back();
    if (message.empty()) {
        // No words for it: the code, as the system's own tools show it.
        std::array<char, 16> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), code, 16);
        message = u"0x";
        for (const char *c = digits.data(); c != end.ptr; ++c)
            message += char16_t(*c >= 'a' ? *c - 'a' + 'A' : *c);
    }
    return message;
}

std::u16string systemMessage(HRESULT result)
{
    return systemMessage(static_cast<DWORD>(result));
}

} // namespace korvane::win32
