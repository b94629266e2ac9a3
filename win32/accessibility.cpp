#include "win32/accessibility.h"

#include "win32/ondemand.h"
#include "win32/text.h"

#include <initguid.h>
#include <oleacc.h>
#include <unordered_map>

namespace korvane::win32 {
namespace {

// oleacc.dll and oleaut32.dll, loaded when the first screen reader asks: start-up does not
// pay for them.
struct Oleacc
{
    decltype(&CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&SysAllocString) allocString = nullptr;

    static const Oleacc &get()
    {
        static const Oleacc loaded{
            systemFunction<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll",
                                                                 "CreateStdAccessibleObject"),
            systemFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject"),
            systemFunction<decltype(&SysAllocString)>(L"oleaut32.dll", "SysAllocString")};
        return loaded;
    }
    bool ready() const { return createStandard && lresultFromObject && allocString; }
};

bool isSelf(const VARIANT &child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's accessible object for a control, with our name and description.
class Spoken final : public IAccessible
{
public:
    Spoken(IAccessible *standard, const Accessible &spoken) : m_standard(standard), m_spoken(spoken)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **out) override
    {
        if (!out)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == IID_IAccessible) {
            *out = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        // The window it belongs to (IOleWindow), its children (IEnumVARIANT): the system's.
        return m_standard->QueryInterface(id, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0) {
            m_standard->Release();
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        if (!isSelf(child) || m_spoken.namedByText)
            return m_standard->get_accName(child, name);
        return answer(m_spoken.name, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override
    {
        if (!isSelf(child))
            return m_standard->get_accDescription(child, description);
        return answer(m_spoken.description, description);
    }

    // Everything else as the system answers it: each method handed on as it came.
#define KORVANE_HAND_ON(method, parameters, arguments)                                             \
    HRESULT STDMETHODCALLTYPE method parameters override                                           \
    {                                                                                              \
        return m_standard->method arguments;                                                       \
    }
    // clang-format off
    KORVANE_HAND_ON(GetTypeInfoCount, (UINT *count), (count))
    KORVANE_HAND_ON(GetTypeInfo, (UINT index, LCID locale, ITypeInfo **info), (index, locale, info))
    KORVANE_HAND_ON(GetIDsOfNames, (REFIID id, LPOLESTR *names, UINT count, LCID locale, DISPID *ids),
                    (id, names, count, locale, ids))
    KORVANE_HAND_ON(Invoke, (DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS *params,
                             VARIANT *result, EXCEPINFO *exception, UINT *argument),
                    (member, id, locale, flags, params, result, exception, argument))
    KORVANE_HAND_ON(get_accParent, (IDispatch **parent), (parent))
    KORVANE_HAND_ON(get_accChildCount, (long *count), (count))
    KORVANE_HAND_ON(get_accChild, (VARIANT child, IDispatch **out), (child, out))
    KORVANE_HAND_ON(get_accValue, (VARIANT child, BSTR *value), (child, value))
    KORVANE_HAND_ON(get_accRole, (VARIANT child, VARIANT *role), (child, role))
    KORVANE_HAND_ON(get_accState, (VARIANT child, VARIANT *state), (child, state))
    KORVANE_HAND_ON(get_accHelp, (VARIANT child, BSTR *help), (child, help))
    KORVANE_HAND_ON(get_accHelpTopic, (BSTR *file, VARIANT child, long *topic), (file, child, topic))
    KORVANE_HAND_ON(get_accKeyboardShortcut, (VARIANT child, BSTR *shortcut), (child, shortcut))
    KORVANE_HAND_ON(get_accFocus, (VARIANT *focus), (focus))
    KORVANE_HAND_ON(get_accSelection, (VARIANT *selection), (selection))
    KORVANE_HAND_ON(get_accDefaultAction, (VARIANT child, BSTR *action), (child, action))
    KORVANE_HAND_ON(accSelect, (long flags, VARIANT child), (flags, child))
    KORVANE_HAND_ON(accLocation, (long *left, long *top, long *width, long *height, VARIANT child),
                    (left, top, width, height, child))
    KORVANE_HAND_ON(accNavigate, (long direction, VARIANT start, VARIANT *end), (direction, start, end))
    KORVANE_HAND_ON(accHitTest, (long left, long top, VARIANT *child), (left, top, child))
    KORVANE_HAND_ON(accDoDefaultAction, (VARIANT child), (child))
    KORVANE_HAND_ON(put_accName, (VARIANT child, BSTR name), (child, name))
    KORVANE_HAND_ON(put_accValue, (VARIANT child, BSTR value), (child, value))
    // clang-format on
#undef KORVANE_HAND_ON

private:
    ~Spoken() = default;

    static HRESULT answer(const std::u16string &text, BSTR *out)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (text.empty())
            return S_FALSE;
        *out = Oleacc::get().allocString(wide(text).c_str());
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    IAccessible *m_standard;
    Accessible m_spoken;
    ULONG m_references = 1;
};

// A control that answers screen readers: what it says, and the window procedure it had. Kept
// here rather than with SetWindowSubclass, which keeps its data in a window property that
// every message to the control then reads: under Wine a request to the server each time.
struct Speaking
{
    WNDPROC original;
    Accessible spoken;
};

std::unordered_map<HWND, Speaking> &speaking()
{
    static std::unordered_map<HWND, Speaking> controls;
    return controls;
}

LRESULT CALLBACK answerScreenReaders(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto it = speaking().find(window);
    if (it == speaking().end() || !it->second.original)
        return DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC original = it->second.original;
    if (message == WM_GETOBJECT && LONG(lParam) == LONG(OBJID_CLIENT)) {
        const Oleacc &oleacc = Oleacc::get();
        IAccessible *standard = nullptr;
        if (oleacc.ready() &&
            SUCCEEDED(oleacc.createStandard(window, OBJID_CLIENT, IID_IAccessible,
                                            reinterpret_cast<void **>(&standard)))) {
            auto *answer = new Spoken(standard, it->second.spoken);
            const LRESULT result = oleacc.lresultFromObject(IID_IAccessible, wParam, answer);
            answer->Release();
            return result;
        }
    } else if (message == WM_NCDESTROY) {
        // The window is gone once its own procedure has seen the message.
        const LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
        speaking().erase(window);
        return result;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

} // namespace

void speakAs(HWND control, const Accessible &spoken)
{
    auto [it, added] = speaking().try_emplace(control, Speaking{nullptr, spoken});
    if (!added) {
        it->second.spoken = spoken;
        return;
    }
    it->second.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&answerScreenReaders)));
    if (!it->second.original)
        speaking().erase(it);
}

} // namespace korvane::win32
