// How a screen reader reads a window, for the tests in process and for the probe from outside.
// Include before anything else that brings in the accessibility headers: the interface ids
// are defined here, as the import library's would be code thunks.
#pragma once

#include <windows.h>

#include <initguid.h>

#include <oleacc.h>

#include <string>
#include <vector>

// What a screen reader reads in a window's client area, the way it gets there: the names (and
// values) of the children, the windows' children after each window, as "name" or "name=value";
// a nameless one as "[window]".
inline void ReadChildren(IAccessible* object, std::vector<std::string>& read, int depth = 0)
{
    LONG count = 0;
    if (FAILED(object->get_accChildCount(&count)) || count <= 0 || depth > 2) return;
    std::vector<VARIANT> children(static_cast<size_t>(count));
    LONG obtained = 0;
    if (FAILED(AccessibleChildren(object, 0, count, children.data(), &obtained))) return;
    auto text = [](BSTR value) {
        char out[4096] = {};
        if (value) WideCharToMultiByte(CP_UTF8, 0, value, -1, out, sizeof out, nullptr, nullptr);
        SysFreeString(value);
        return std::string(out);
    };
    for (LONG i = 0; i < obtained; ++i) {
        VARIANT& child = children[static_cast<size_t>(i)];
        IAccessible* holder = object;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT id = child;
        if (child.vt == VT_DISPATCH) {
            holder = nullptr;
            child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&holder));
            child.pdispVal->Release();
            if (!holder) continue;
            id = self;
        }
        BSTR name = nullptr;
        BSTR value = nullptr;
        holder->get_accName(id, &name);
        holder->get_accValue(id, &value);
        std::string line = text(name);
        if (line.empty()) line = "[window]";
        const std::string shown = text(value);
        read.push_back(shown.empty() ? line : line + "=" + shown);
        if (holder != object) {
            ReadChildren(holder, read, depth + 1);
            holder->Release();
        }
    }
}

inline std::vector<std::string> ReadAloud(HWND window)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* client = nullptr;
    std::vector<std::string> read;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&client))))
        return {"no client object"};
    ReadChildren(client, read);
    client->Release();
    return read;
}
