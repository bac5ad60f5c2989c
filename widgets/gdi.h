// Owning handles for GDI objects and device contexts, and a guard that selects an object into a DC.
#pragma once

#include <windows.h>

#include <utility>

// Owns one GDI object (font, brush, bitmap) and deletes it; move-only.
template <typename Handle>
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(Handle handle) : FHandle(handle) {}
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    TGdiObject(TGdiObject&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept
    {
        if (this != &other) Reset(std::exchange(other.FHandle, nullptr));
        return *this;
    }
    ~TGdiObject() { Reset(); }

    Handle Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != nullptr; }
    void Reset(Handle handle = nullptr)
    {
        if (FHandle) DeleteObject(FHandle);
        FHandle = handle;
    }

private:
    Handle FHandle = nullptr;
};

// The screen's device context for the lifetime of the object.
class TScreenDC {
public:
    TScreenDC() : FDc(GetDC(nullptr)) {}
    TScreenDC(const TScreenDC&) = delete;
    TScreenDC& operator=(const TScreenDC&) = delete;
    ~TScreenDC() { ReleaseDC(nullptr, FDc); }
    HDC Get() const { return FDc; }

private:
    HDC FDc;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class TSelectGuard {
public:
    TSelectGuard(HDC dc, HGDIOBJ object) : FDc(dc), FPrevious(SelectObject(dc, object)) {}
    TSelectGuard(const TSelectGuard&) = delete;
    TSelectGuard& operator=(const TSelectGuard&) = delete;
    ~TSelectGuard() { SelectObject(FDc, FPrevious); }

private:
    HDC FDc;
    HGDIOBJ FPrevious;
};
