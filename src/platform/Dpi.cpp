#include "platform/Dpi.h"

#include "platform/SystemCalls.h"
#include "platform/Window.h"

namespace {

// Present on Windows 10 1607 and later; looked up so the program still starts on
// older systems, where the system DPI is used.
template <typename Function> Function User32Function(const char* name) {
    return SystemFunction<Function>(L"user32.dll", name);
}

int SystemDpi() {
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

} // namespace

int DpiOf(HWND hwnd) {
    static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (hwnd && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(hwnd))
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int TwipsToPixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

FontHandle CreateMessageFont(int dpi) {
    static const auto forDpi =
        User32Function<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT)>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (forDpi &&
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
        return FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
    }
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
        return FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
    }
    return FontHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

SIZE OuterSizeForClient(DWORD style, DWORD exStyle, bool hasMenu, SIZE client, int dpi) {
    static const auto adjustForDpi =
        User32Function<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&rect, style, hasMenu, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rect, style, hasMenu, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// Not shared (LR_SHARED): the system would hand out one cached size whatever the DPI,
// and a shared icon must never be destroyed.
IconHandle LoadIconOfSize(int resourceId, int size) {
    return IconHandle(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto forDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

IconHandle LoadIconForDpi(int resourceId, bool small, int dpi) {
    return LoadIconOfSize(resourceId, SystemMetricForDpi(small ? SM_CXSMICON : SM_CXICON, dpi));
}

SIZE MeasureText(HWND control, HFONT font, const std::wstring& text) {
    WindowDC dc(control);
    SelectObjectScope selected(dc.Get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    SIZE extent{};
    if (!text.empty())
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return {extent.cx, metrics.tmHeight};
}

RECT PlaceLabel(HWND label, HFONT font, int left, int top) {
    const SIZE size = MeasureText(label, font, Window(label).Text());
    Window(label).Move(left, top, size.cx, size.cy);
    return {left, top, left + size.cx, top + size.cy};
}
