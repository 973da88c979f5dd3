#pragma once
// A thin, non-owning view of a window handle: the program's one HWND wrapper.

#include <windows.h>

#include <string>

// Centres a top-level window over its owner (or its monitor, when the owner is
// missing or minimized), kept within the owner's monitor's work area.
void CenterOverOwner(HWND window, HWND owner);

// A visible child control of the program's module, placed later by its layout.
HWND CreateChildControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style,
                        int id);

class Window {
public:
    Window(HWND hwnd = nullptr) : hwnd_(hwnd) {}

    HWND Handle() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(hwnd_, message, wParam, lParam);
    }

    std::wstring Text() const;
    void SetText(const std::wstring& text) const { SetWindowTextW(hwnd_, text.c_str()); }

    RECT ClientRect() const;
    RECT WindowRect() const;
    // Places the window in its parent's client coordinates (pixels).
    void Move(int x, int y, int width, int height) const {
        SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void SetFont(HFONT font) const { Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

private:
    HWND hwnd_;
};
