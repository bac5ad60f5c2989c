// The forms a reader takes texts and numbers in, and the system's objects of fields and
// spinners under names of ours.
#include "widgets/readerobject.h"

#include <utility>
#include <vector>

#include "widgets/systemlibrary.h"

// A caption as a reader's string, from the ANSI code page the captions are in.
HRESULT Text(const std::string& text, BSTR* out)
{
    if (!out) return E_INVALIDARG;
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<OLECHAR> wide(static_cast<size_t>(length) + 1, 0);
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    *out = SystemLibrary::SysAllocString(wide.data());
    return *out ? S_OK : E_OUTOFMEMORY;
}

std::string WindowText(HWND window)
{
    std::vector<char> buffer(static_cast<size_t>(GetWindowTextLengthA(window)) + 1);
    const int length = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), static_cast<size_t>(length));
}

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// A child id, a role or a state, as a reader takes them.
void SetNumber(VARIANT* out, LONG value)
{
    out->vt = VT_I4;
    out->lVal = value;
}

namespace {

// The system's object of a field or a spinner under a name of ours: the system's object names
// a field by the text before it, and there is none.
class TNamedAccessible final : public TReaderObject {
public:
    TNamedAccessible(IAccessible* system, std::string name) : FSystem(system), FName(std::move(name)) {}
    ~TNamedAccessible() override { FSystem->Release(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        // Anything else the system's object has (its window, say) is the system's.
        const HRESULT own = TReaderObject::QueryInterface(iid, out);
        return own == E_NOINTERFACE ? FSystem->QueryInterface(iid, out) : own;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override
    {
        return IsSelf(child) ? Text(FName, out) : FSystem->get_accName(child, out);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override { return FSystem->get_accParent(out); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* out) override { return FSystem->get_accChildCount(out); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** out) override
    {
        return FSystem->get_accChild(c, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* out) override { return FSystem->get_accValue(c, out); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* out) override
    {
        return FSystem->get_accDescription(c, out);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* out) override { return FSystem->get_accRole(c, out); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* out) override { return FSystem->get_accState(c, out); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* out) override { return FSystem->get_accHelp(c, out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT c, LONG* topic) override
    {
        return FSystem->get_accHelpTopic(file, c, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* out) override
    {
        return FSystem->get_accKeyboardShortcut(c, out);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override { return FSystem->get_accFocus(out); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override { return FSystem->get_accSelection(out); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* out) override
    {
        return FSystem->get_accDefaultAction(c, out);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT c) override { return FSystem->accSelect(flags, c); }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT c) override
    {
        return FSystem->accLocation(x, y, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override
    {
        return FSystem->accNavigate(direction, start, out);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override
    {
        return FSystem->accHitTest(x, y, out);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return FSystem->accDoDefaultAction(c); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR name) override { return FSystem->put_accName(c, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR value) override { return FSystem->put_accValue(c, value); }

private:
    IAccessible* FSystem;
    std::string FName;
};

} // namespace

LRESULT AnswerWithName(HWND window, const std::string& name, WPARAM wParam)
{
    IAccessible* system = nullptr;
    if (FAILED(SystemLibrary::CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible,
                                                        reinterpret_cast<void**>(&system))))
        return 0;
    auto* named = new TNamedAccessible(system, name);
    const LRESULT result = SystemLibrary::LresultFromObject(IID_IAccessible, wParam, named);
    named->Release();
    return result;
}
