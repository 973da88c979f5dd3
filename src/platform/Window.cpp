#include "platform/Window.h"

#include <algorithm>

std::wstring Window::Text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

RECT Window::ClientRect() const {
    RECT rect{};
    GetClientRect(hwnd_, &rect);
    return rect;
}

RECT Window::WindowRect() const {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    return rect;
}

void CenterOverOwner(HWND window, HWND owner) {
    const RECT self = Window(window).WindowRect();
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT area = monitor.rcWork;
    const RECT over = owner && !IsIconic(owner) ? Window(owner).WindowRect() : area;
    const int x = std::clamp<int>((over.left + over.right - width) / 2, area.left,
                                  std::max<int>(area.left, area.right - width));
    const int y = std::clamp<int>((over.top + over.bottom - height) / 2, area.top,
                                  std::max<int>(area.top, area.bottom - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateChildControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style,
                        int id) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}
