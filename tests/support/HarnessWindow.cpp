#include "support/HarnessWindow.h"

#include <commctrl.h>

namespace {
constexpr wchar_t kClassName[] = L"VorbelMergeTestMainWindow";
}

HarnessWindow::HarnessWindow() {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc); // fails harmlessly from the second window on

    window_.Reset(CreateWindowExW(0, kClassName, L"Test main window", WS_OVERLAPPEDWINDOW, 100, 100,
                                  640, 480, nullptr, nullptr, instance, this));
    const HWND listView =
        CreateWindowExW(0, WC_LISTVIEWW, L"",
                        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0,
                        0, 600, 400, window_.Get(), nullptr, instance, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 580;
    SendMessageW(listView, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                 window_.Get(), nullptr, instance, nullptr);
    SendMessageW(statusBar_, SB_SIMPLE, TRUE, 0);
    list.Attach(listView, statusBar_);
    ShowWindow(window_.Get(), SW_SHOW);
}

void HarnessWindow::Fill(const std::vector<std::wstring>& paths) {
    for (const auto& path : paths)
        list.AddFile(path);
    list.RebuildStatus();
}

std::wstring HarnessWindow::StatusBarText() const {
    const auto length = LOWORD(SendMessageW(statusBar_, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(statusBar_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

LRESULT CALLBACK HarnessWindow::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<HarnessWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_NOTIFY &&
        reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
        self->list.OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
        return 0;
    }
    if (self && message >= WM_APP && self->onAppMessage) {
        self->onAppMessage(message, wParam, lParam);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
