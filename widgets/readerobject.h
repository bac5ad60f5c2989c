// What the objects that answer screen readers share: a counted object with the interfaces a
// reader asks for, the forms a reader takes texts and numbers in, and the named objects.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

// A caption as a reader's string, from the ANSI code page the captions are in.
HRESULT Text(const std::string& text, BSTR* out);
std::string WindowText(HWND window);
bool IsSelf(const VARIANT& child);
// A child id, a role or a state, as a reader takes them.
void SetNumber(VARIANT* out, LONG value);

// A counted object with the three interfaces a reader asks for.
class TReaderObject : public IAccessible {
public:
    virtual ~TReaderObject() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&FReferences)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&FReferences);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    // No names to invoke by: readers call the interface itself.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

private:
    LONG FReferences = 1;
};

// The system's object of a window's client area, answered under name: a field or a spinner,
// which the system's object names by the text before it, and there is none. 0 where the system
// has no object for it.
LRESULT AnswerWithName(HWND window, const std::string& name, WPARAM wParam);
