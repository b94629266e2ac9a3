#include "win32/ondemand.h"

#include <array>
#include <charconv>

namespace korvane::win32 {
namespace {

template <typename Function> Function find(HMODULE module, const char *name)
{
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(module, name)))
               : nullptr;
}

} // namespace

const CommonDialogs &CommonDialogs::get()
{
    static const CommonDialogs loaded = [] {
        CommonDialogs functions;
        const HMODULE comdlg = LoadLibraryW(L"comdlg32.dll");
        functions.getSaveFileName = find<decltype(&GetSaveFileNameW)>(comdlg, "GetSaveFileNameW");
        functions.printDialog = find<decltype(&PrintDlgW)>(comdlg, "PrintDlgW");
        functions.extendedError =
            find<decltype(&CommDlgExtendedError)>(comdlg, "CommDlgExtendedError");
        return functions;
    }();
    return loaded;
}

const Com &Com::get()
{
    static const Com loaded = [] {
        Com functions;
        const HMODULE ole = LoadLibraryW(L"ole32.dll");
        functions.createInstance = find<decltype(&CoCreateInstance)>(ole, "CoCreateInstance");
        functions.streamOnHGlobal =
            find<decltype(&CreateStreamOnHGlobal)>(ole, "CreateStreamOnHGlobal");
        const auto initialise = find<decltype(&CoInitializeEx)>(ole, "CoInitializeEx");
        if (initialise)
            functions.started = initialise(nullptr, COINIT_APARTMENTTHREADED);
        // Started before in another apartment: COM works all the same.
        if (functions.started == RPC_E_CHANGED_MODE)
            functions.started = S_FALSE;
        return functions;
    }();
    return loaded;
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
