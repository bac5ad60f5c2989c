// Screen readers: the client object of a container, and the answers to their requests.
// The interface ids are defined here: taken from the import library, IID_IAccessible would be a
// code thunk, not the id, and every answer would be "no such interface".
#include <initguid.h>

#include <oleacc.h>

#include "widgets/accessible.h"

#include <string>
#include <utility>
#include <vector>

#include "app/guard.h"
#include "widgets/element.h"
#include "widgets/label.h"
#include "widgets/readerobject.h"
#include "widgets/systemlibrary.h"

namespace {

// One child of a container's object: a label it paints, or a window inside it.
struct TEntry {
    TLabel* Label = nullptr;
    TWindowedElement* Window = nullptr;
};

// Whether a window shown in the label's own container lies over all of it: the eye sees
// nothing of it then, and neither does a reader.
bool Covered(const TLabel& label)
{
    const TBounds& b = label.Bounds();
    for (const TWindowedElement* window : label.Parent()->Children()) {
        const TBounds& w = window->Bounds();
        if (window->Showing() && w.Left <= b.Left && w.Top <= b.Top && w.Right() >= b.Right() &&
            w.Bottom() >= b.Bottom())
            return true;
    }
    return false;
}

// The children offered now, in reading order: the labels in sight, then the shown windows. A
// child's id is its place here, from 1.
std::vector<TEntry> EntriesOf(const TWindowedElement& container)
{
    std::vector<TEntry> entries;
    for (TLabel* label : container.ReadLabels)
        if (label->Showing() && !Covered(*label)) entries.push_back({label, nullptr});
    for (TWindowedElement* child : container.Children())
        if (child->Showing() && child->Handle()) entries.push_back({nullptr, child});
    return entries;
}

RECT ScreenRectOf(const TLabel& label)
{
    RECT rect = ToRect(label.PlacedBounds());
    MapWindowPoints(label.Parent()->Handle(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The system's object of a window's client area: ours where the window answers with one.
IDispatch* ObjectOfWindow(HWND window)
{
    IDispatch* object = nullptr;
    if (FAILED(SystemLibrary::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                                         reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

} // namespace

// The client area of a container: its labels, which no window stands for, and its windows.
class TAccessibleClient final : public TReaderObject {
public:
    explicit TAccessibleClient(TWindowedElement& container) : FContainer(&container) {}
    // The container goes; a reader that still holds this object is told it is gone.
    void Disconnect() { FContainer = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override
    {
        if (!out) return E_INVALIDARG;
        *out = nullptr;
        if (!FContainer) return RPC_E_DISCONNECTED;
        return SystemLibrary::AccessibleObjectFromWindow(FContainer->Handle(), static_cast<DWORD>(OBJID_WINDOW),
                                                         IID_IDispatch, reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* out) override
    {
        if (!out) return E_INVALIDARG;
        if (!FContainer) return RPC_E_DISCONNECTED;
        *out = static_cast<LONG>(EntriesOf(*FContainer).size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        if (!out) return E_INVALIDARG;
        *out = nullptr;
        TEntry entry;
        if (const HRESULT found = Find(child, entry); found != S_OK) return found;
        if (!entry.Window) return S_FALSE; // a label is a simple child, known by its id
        *out = ObjectOfWindow(entry.Window->Handle());
        return *out ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override
    {
        if (out) *out = nullptr;
        if (IsSelf(child)) return FContainer ? Text(WindowText(FContainer->Handle()), out) : RPC_E_DISCONNECTED;
        TEntry entry;
        if (const HRESULT found = Find(child, entry); found != S_OK) return found;
        return Text(entry.Label ? entry.Label->Caption() : WindowText(entry.Window->Handle()), out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* out) override { return NoAnswer(out); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* out) override { return NoAnswer(out); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override
    {
        return Number(
            child, out,
            [](const TWindowedElement& self) -> LONG {
                return self.Parent() ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_CLIENT;
            },
            [](const TEntry& entry) -> LONG {
                return !entry.Label                ? ROLE_SYSTEM_WINDOW
                       : entry.Label->ReadAsButton ? ROLE_SYSTEM_PUSHBUTTON
                                                   : ROLE_SYSTEM_STATICTEXT;
            });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override
    {
        return Number(
            child, out,
            [](const TWindowedElement& self) -> LONG {
                const HWND window = self.Handle();
                return (IsWindowVisible(window) ? 0 : STATE_SYSTEM_INVISIBLE) |
                       (IsWindowEnabled(window) ? STATE_SYSTEM_FOCUSABLE : 0) |
                       (GetFocus() == window ? STATE_SYSTEM_FOCUSED : 0);
            },
            [](const TEntry& entry) -> LONG {
                // The labels are drawn text: read, never focused; the day half is pressed by its action.
                return (entry.Label && !entry.Label->ReadAsButton ? STATE_SYSTEM_READONLY : 0) |
                       (entry.Window && !IsWindowVisible(entry.Window->Handle()) ? STATE_SYSTEM_INVISIBLE : 0);
            });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override { return NoAnswer(out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG*) override { return NoAnswer(file); }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override { return NoAnswer(out); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override
    {
        if (!out) return E_INVALIDARG;
        out->vt = VT_EMPTY;
        if (!FContainer) return RPC_E_DISCONNECTED;
        const HWND focus = GetFocus();
        if (focus == FContainer->Handle()) {
            SetNumber(out, CHILDID_SELF);
            return S_OK;
        }
        for (const TEntry& entry : EntriesOf(*FContainer)) {
            const HWND window = entry.Window ? entry.Window->Handle() : nullptr;
            if (window && (focus == window || IsChild(window, focus)) && (out->pdispVal = ObjectOfWindow(window))) {
                out->vt = VT_DISPATCH;
                return S_OK;
            }
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override
    {
        if (!out) return E_INVALIDARG;
        out->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override
    {
        if (out) *out = nullptr;
        TEntry entry;
        if (IsSelf(child) || Find(child, entry) != S_OK || !entry.Label || !entry.Label->ReadAsButton)
            return DISP_E_MEMBERNOTFOUND;
        return Text("Press", out);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT child) override
    {
        if (!x || !y || !w || !h) return E_INVALIDARG;
        RECT rect{};
        if (IsSelf(child)) {
            if (!FContainer) return RPC_E_DISCONNECTED;
            GetClientRect(FContainer->Handle(), &rect);
            MapWindowPoints(FContainer->Handle(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
        } else {
            TEntry entry;
            if (const HRESULT found = Find(child, entry); found != S_OK) return found;
            if (entry.Label)
                rect = ScreenRectOf(*entry.Label);
            else
                GetWindowRect(entry.Window->Handle(), &rect);
        }
        *x = rect.left;
        *y = rect.top;
        *w = rect.right - rect.left;
        *h = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override
    {
        if (!out) return E_INVALIDARG;
        out->vt = VT_EMPTY;
        if (!FContainer) return RPC_E_DISCONNECTED;
        const std::vector<TEntry> entries = EntriesOf(*FContainer);
        const LONG count = static_cast<LONG>(entries.size());
        LONG id = 0;
        if (IsSelf(start) && direction == NAVDIR_FIRSTCHILD)
            id = 1;
        else if (IsSelf(start) && direction == NAVDIR_LASTCHILD)
            id = count;
        else if (start.vt == VT_I4 && start.lVal >= 1 && start.lVal <= count && direction == NAVDIR_NEXT)
            id = start.lVal + 1;
        else if (start.vt == VT_I4 && start.lVal >= 1 && start.lVal <= count && direction == NAVDIR_PREVIOUS)
            id = start.lVal - 1;
        else
            return DISP_E_MEMBERNOTFOUND;
        if (id < 1 || id > count) return S_FALSE;
        return Offer(entries[static_cast<size_t>(id - 1)], id, out);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override
    {
        if (!out) return E_INVALIDARG;
        out->vt = VT_EMPTY;
        if (!FContainer) return RPC_E_DISCONNECTED;
        const POINT point{x, y};
        RECT client{};
        GetClientRect(FContainer->Handle(), &client);
        MapWindowPoints(FContainer->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        if (!PtInRect(&client, point)) return S_FALSE;
        // The windows lie over the labels, and a later one over an earlier one; labels likewise.
        const std::vector<TEntry> entries = EntriesOf(*FContainer);
        for (int pass = 0; pass < 2; ++pass) {
            for (size_t i = entries.size(); i-- > 0;) {
                const TEntry& entry = entries[i];
                if ((pass == 0) != (entry.Window != nullptr)) continue;
                RECT rect{};
                if (entry.Label)
                    rect = ScreenRectOf(*entry.Label);
                else
                    GetWindowRect(entry.Window->Handle(), &rect);
                if (PtInRect(&rect, point)) return Offer(entry, static_cast<LONG>(i + 1), out);
            }
        }
        SetNumber(out, CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        TEntry entry;
        if (IsSelf(child) || Find(child, entry) != S_OK || !entry.Label || !entry.Label->ReadAsButton)
            return DISP_E_MEMBERNOTFOUND;
        // As a click does; a failure is reported the way a click's is.
        TLabel* label = entry.Label;
        Guarded([label] { label->Click(); });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    HRESULT Find(const VARIANT& child, TEntry& entry) const
    {
        if (!FContainer) return RPC_E_DISCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        const std::vector<TEntry> entries = EntriesOf(*FContainer);
        if (child.lVal < 1 || static_cast<size_t>(child.lVal) > entries.size()) return E_INVALIDARG;
        entry = entries[static_cast<size_t>(child.lVal - 1)];
        return S_OK;
    }
    // A number (a role, a state) of the container itself or of one of its children.
    template <typename TOfSelf, typename TOfChild>
    HRESULT Number(const VARIANT& child, VARIANT* out, TOfSelf ofSelf, TOfChild ofChild) const
    {
        if (!out) return E_INVALIDARG;
        out->vt = VT_EMPTY;
        LONG value = 0;
        if (IsSelf(child)) {
            if (!FContainer) return RPC_E_DISCONNECTED;
            value = ofSelf(*FContainer);
        } else {
            TEntry entry;
            if (const HRESULT found = Find(child, entry); found != S_OK) return found;
            value = ofChild(entry);
        }
        SetNumber(out, value);
        return S_OK;
    }
    static HRESULT Offer(const TEntry& entry, LONG id, VARIANT* out)
    {
        if (entry.Window && (out->pdispVal = ObjectOfWindow(entry.Window->Handle()))) {
            out->vt = VT_DISPATCH;
            return S_OK;
        }
        SetNumber(out, id);
        return S_OK;
    }
    static HRESULT NoAnswer(BSTR* out)
    {
        if (out) *out = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }

    TWindowedElement* FContainer;
};

namespace {

// The thread answers readers in its own apartment; once is enough.
bool ReadyForReaders()
{
    static const HRESULT ready = SystemLibrary::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(ready) || ready == RPC_E_CHANGED_MODE;
}

LRESULT Answer(TWindowedElement& element, WPARAM wParam)
{
    if (!ReadyForReaders()) return 0;
    if (!element.Children().empty()) {
        if (!element.ReaderObject) element.ReaderObject = new TAccessibleClient(element);
        return SystemLibrary::LresultFromObject(IID_IAccessible, wParam,
                                                static_cast<IAccessible*>(element.ReaderObject));
    }
    return element.AccessibleName.empty() ? 0 : AnswerWithName(element.Handle(), element.AccessibleName, wParam);
}

} // namespace

LRESULT AnswerReader(TWindowedElement& element, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return 0;
    try {
        const LRESULT result = Answer(element, wParam);
        return result > 0 ? result : 0;
    } catch (...) {
        // Without oleacc the system answers the reader by itself.
        return 0;
    }
}

void AnnounceCaption(const TLabel& label)
{
    for (const TWindowedElement* container = label.Parent(); container; container = container->Parent()) {
        const std::vector<TEntry> entries = EntriesOf(*container);
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].Label == &label && container->Handle()) {
                NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, container->Handle(), OBJID_CLIENT, static_cast<LONG>(i + 1));
                return;
            }
        }
    }
}

void ReleaseReaderObject(TWindowedElement& element)
{
    if (!element.ReaderObject) return;
    element.ReaderObject->Disconnect();
    element.ReaderObject->Release();
    element.ReaderObject = nullptr;
}
