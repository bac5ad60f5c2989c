// List box.
#include "widgets/listbox.h"

#include <new>
#include <utility>

#include "app/failure.h"
#include "widgets/longpath.h"
#include "widgets/textlines.h"

namespace {

// Closes a file handle on scope exit.
class TFileHandle {
public:
    explicit TFileHandle(HANDLE handle) : FHandle(handle) {}
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    ~TFileHandle() { CloseHandle(FHandle); }
    HANDLE Get() const { return FHandle; }

private:
    HANDLE FHandle;
};

// Stops a window's redrawing, and on scope exit lets it redraw and repaints it once.
class TRedrawPause {
public:
    explicit TRedrawPause(HWND window) : FWindow(window) { SendMessageA(FWindow, WM_SETREDRAW, FALSE, 0); }
    TRedrawPause(const TRedrawPause&) = delete;
    TRedrawPause& operator=(const TRedrawPause&) = delete;
    ~TRedrawPause()
    {
        SendMessageA(FWindow, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FWindow, nullptr, TRUE);
    }

private:
    HWND FWindow;
};

// The whole file from its start to its size now, in one read.
std::string ReadWhole(HANDLE file, const std::string& path)
{
    LARGE_INTEGER size{};
    // One read takes at most 4 GB; a file that large, or larger than memory, is reported.
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF)
        throw TFailure("FileError", "Cannot read file " + path);
    std::string text;
    try {
        text.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        throw TFailure("FileError", "Cannot read file " + path);
    }
    DWORD read = 0;
    if (!text.empty() && !ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &read, nullptr))
        throw TFailure("FileError", "Cannot read file " + path);
    text.resize(read);
    return text;
}

} // namespace

TListBox::TListBox(TWindowedElement* parent, const TBounds& bounds, int itemHeight,
                   const std::vector<std::string>& items)
    : TWindowedElement(parent), FItems(items), FItemHeight(itemHeight)
{
    FBounds = bounds;
    FVisible = false;
    TabStop = true;
    FColor = TColor::System(COLOR_WINDOW);
}

void TListBox::CreateHandle()
{
    CreateStock("LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE);
    // From now on the list holds its lines itself.
    SetItems(std::exchange(FItems, {}));
}

void TListBox::ApplyFont()
{
    TWindowedElement::ApplyFont();
    ApplyItemHeight();
}

void TListBox::ScaleBy(int numerator, int denominator)
{
    FItemHeight = MulDiv(FItemHeight, numerator, denominator);
    TWindowedElement::ScaleBy(numerator, denominator);
    ApplyItemHeight();
}

void TListBox::ApplyItemHeight()
{
    if (FHandle) SendMessageA(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
}

void TListBox::SetItems(const std::vector<std::string>& items)
{
    if (!FHandle) {
        FItems = items;
        return;
    }
    TRedrawPause pause(FHandle);
    SendMessageA(FHandle, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageA(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TListBox::LoadFromFile(const std::string& path)
{
    HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    // The ANSI call refuses a name of 260 characters or more; the program may lie that deep.
    if (opened == INVALID_HANDLE_VALUE && path.size() >= MAX_PATH)
        opened = CreateFileW(ExtendedPath(path).data(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (opened == INVALID_HANDLE_VALUE) throw TFailure("FileError", "Cannot open file " + path);
    TFileHandle file(opened);
    // The lines go straight into the platform's list, which needs its window for that.
    TRedrawPause pause(HandleNeeded());
    const std::vector<std::string> lines = SplitLines(ReadWhole(file.Get(), path));
    SendMessageA(FHandle, LB_RESETCONTENT, 0, 0);
    // Room for all lines at once: growing the list line by line is slow for a large file.
    size_t bytes = 0;
    for (const std::string& line : lines) bytes += line.size() + 1;
    SendMessageA(FHandle, LB_INITSTORAGE, lines.size(), static_cast<LPARAM>(bytes));
    // Straight to the list's own procedure: through the subclass every message costs the
    // platform several property lookups, minutes for a file of a million lines.
    const auto listProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(FHandle, GCLP_WNDPROC));
    for (const std::string& line : lines) {
        const LRESULT added =
            CallWindowProcA(listProc, FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (added == LB_ERR || added == LB_ERRSPACE) throw TFailure("ResourceError", "Unable to insert a line");
    }
}

int TListBox::ItemIndex() const
{
    if (!FHandle) return -1;
    return static_cast<int>(SendMessageA(FHandle, LB_GETCURSEL, 0, 0));
}

void TListBox::Command(WORD code)
{
    if (code == LBN_DBLCLK && OnDblClick) OnDblClick(this);
}
