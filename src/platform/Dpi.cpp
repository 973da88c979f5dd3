#include "platform/Dpi.h"

namespace {

// Present on Windows 10 1607 and later; looked up so the program still starts on
// older systems, where the system DPI is used.
template <typename Function> Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
               : nullptr;
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
