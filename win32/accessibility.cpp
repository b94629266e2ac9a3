#include "win32/accessibility.h"

#include "win32/ondemand.h"
#include "win32/text.h"

#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

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

    // Everything else as the system answers it.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        return m_standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override
    {
        return m_standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) override
    {
        return m_standard->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argument) override
    {
        return m_standard->Invoke(member, id, locale, flags, params, result, exception, argument);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return m_standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        return m_standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **out) override
    {
        return m_standard->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        return m_standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        return m_standard->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        return m_standard->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override
    {
        return m_standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override
    {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override
    {
        return m_standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override
    {
        return m_standard->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override
    {
        return m_standard->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        return m_standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return m_standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height,
                                          VARIANT child) override
    {
        return m_standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT *child) override
    {
        return m_standard->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return m_standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return m_standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return m_standard->put_accValue(child, value);
    }

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

LRESULT CALLBACK answerScreenReaders(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data)
{
    const auto *spoken = reinterpret_cast<const Accessible *>(data);
    if (message == WM_GETOBJECT && LONG(lParam) == LONG(OBJID_CLIENT)) {
        const Oleacc &oleacc = Oleacc::get();
        IAccessible *standard = nullptr;
        if (oleacc.ready() &&
            SUCCEEDED(oleacc.createStandard(window, OBJID_CLIENT, IID_IAccessible,
                                            reinterpret_cast<void **>(&standard)))) {
            auto *answer = new Spoken(standard, *spoken);
            const LRESULT result = oleacc.lresultFromObject(IID_IAccessible, wParam, answer);
            answer->Release();
            return result;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, answerScreenReaders, 0);
        delete spoken;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

void speakAs(HWND control, const Accessible &spoken)
{
    SetWindowSubclass(control, answerScreenReaders, 0,
                      reinterpret_cast<DWORD_PTR>(new Accessible(spoken)));
}

} // namespace korvane::win32
