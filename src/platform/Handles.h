#pragma once
// Owners for the system's handles: each closes its handle in its destructor, so no
// path out of a function has to remember to.

#include <windows.h>
#include <commctrl.h>

#include <utility>

template <typename Traits> class Unique {
public:
    using Type = typename Traits::Type;

    Unique() = default;
    explicit Unique(Type value) : value_(value) {}
    ~Unique() { Reset(); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(other.Release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Type Get() const { return value_; }
    bool Valid() const { return value_ != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }

    Type Release() { return std::exchange(value_, Traits::Invalid()); }
    void Reset(Type value = Traits::Invalid()) {
        if (Valid())
            Traits::Close(value_);
        value_ = value;
    }
    // For APIs that return the handle through an out parameter.
    Type* Put() {
        Reset();
        return &value_;
    }

private:
    Type value_ = Traits::Invalid();
};

// A handle type that is closed by one function of the system.
template <typename T, auto CloseFunction> struct NullIsNoneTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseFunction(h); }
};
template <auto CloseFunction> struct InvalidValueIsNoneTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseFunction(h); }
};

// A handle from CreateFileW, whose failure value is INVALID_HANDLE_VALUE.
using FileHandle = Unique<InvalidValueIsNoneTraits<CloseHandle>>;
// A process, thread or event handle, whose failure value is null.
using KernelHandle = Unique<NullIsNoneTraits<HANDLE, CloseHandle>>;
using FindHandle = Unique<InvalidValueIsNoneTraits<FindClose>>;
using RegKey = Unique<NullIsNoneTraits<HKEY, RegCloseKey>>;

template <typename T> using GdiObject = Unique<NullIsNoneTraits<T, DeleteObject>>;
using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;

using IconHandle = Unique<NullIsNoneTraits<HICON, DestroyIcon>>;
using CursorHandle = Unique<NullIsNoneTraits<HCURSOR, DestroyCursor>>;
using MenuHandle = Unique<NullIsNoneTraits<HMENU, DestroyMenu>>;
using ImageListHandle = Unique<NullIsNoneTraits<HIMAGELIST, ImageList_Destroy>>;
// A window this code created and must destroy (the progress dialog, test windows).
using WindowHandle = Unique<NullIsNoneTraits<HWND, DestroyWindow>>;

// A device context obtained with GetDC, released to its window.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A memory device context, deleted with its owner.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc_)
            DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Selects a GDI object into a DC for one scope and puts the old one back.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectObjectScope() { SelectObject(dc_, old_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
