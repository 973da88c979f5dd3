// The windows under each system font a user may have and at each DPI a monitor may
// have: texts whole, nothing overlapping, everything scaled once per DPI change.

#include "platform/Dpi.h"
#include "platform/EventPump.h"
#include "platform/Window.h"
#include "progress/ProgressDialog.h"
#include "support/Fixture.h"
#include "support/SystemFonts.h"

#include <commctrl.h>

#include "resource.h"

namespace {

RECT RectIn(HWND parent, HWND child) {
    RECT r = Window(child).WindowRect();
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

int FontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(FontOf(control), sizeof(font), &font);
    return font.lfHeight;
}

// A text's width and line height in a control's font, as the system draws it.
SIZE Drawn(HWND control, const std::wstring& text) {
    WindowDC dc(control);
    SelectObjectScope font(dc.Get(), FontOf(control));
    RECT r{};
    DrawTextW(dc.Get(), text.empty() ? L" " : text.c_str(), -1, &r,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return {text.empty() ? 0 : r.right, r.bottom};
}

// Each control is as wide as its text and as high as a line of its font, and no two
// controls overlap.
void CheckTextsWhole(HWND parent, std::initializer_list<int> ids) {
    for (int id : ids) {
        const HWND control = GetDlgItem(parent, id);
        const SIZE text = Drawn(control, Window(control).Text());
        const RECT r = RectIn(parent, control);
        CAPTURE(Window(control).Text());
        CHECK(r.right - r.left >= text.cx);
        CHECK(r.bottom - r.top >= text.cy);
    }
    for (HWND a = GetWindow(parent, GW_CHILD); a; a = GetWindow(a, GW_HWNDNEXT)) {
        for (HWND b = GetWindow(a, GW_HWNDNEXT); b; b = GetWindow(b, GW_HWNDNEXT)) {
            const RECT ra = RectIn(parent, a), rb = RectIn(parent, b);
            RECT both;
            INFO("controls " << GetDlgCtrlID(a) << " and " << GetDlgCtrlID(b));
            CHECK_FALSE(IntersectRect(&both, &ra, &rb));
        }
    }
}

// WM_DPICHANGED with the window's rectangle scaled, as a move to another monitor sends.
void SendDpiChange(HWND window, int from, int to) {
    RECT r;
    GetWindowRect(window, &r);
    RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, to, from),
                   r.top + MulDiv(r.bottom - r.top, to, from)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
}

int ColumnGap(HWND list) {
    const RECT r = Window(list).WindowRect();
    return (r.right - r.left) - static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
}

} // namespace

TEST_CASE("The windows open at their design size, keep their texts whole and scale once per DPI "
          "change") {
    for (const auto& setup : kFontSetups) {
        CAPTURE(std::string(setup.name));
        SystemFontsScope fonts(setup);
        MainWindowFixture f;
        const HWND hwnd = f.Hwnd(), list = f.List().ListView().Handle();
        const HWND toolbar = f.window.ToolbarWindow(), status = f.window.StatusBarWindow();
        int dpi = DpiOf(hwnd);
        const RECT client = Window(hwnd).ClientRect();
        CHECK((client.right == TwipsToPixels(6285, dpi) &&
               client.bottom == TwipsToPixels(4110, dpi)));
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(200, 0)); // dragged by the user
        int gap = ColumnGap(list);
        const int fontHeight = FontHeight(list), startDpi = dpi;
        for (const int to : {144, 96}) {
            CAPTURE(to);
            SendDpiChange(hwnd, dpi, to);
            gap = MulDiv(gap, to, dpi);
            dpi = to;
            CHECK(ColumnGap(list) == gap);
            for (HWND control : {toolbar, list, status})
                CHECK(FontHeight(control) == MulDiv(fontHeight, to, startDpi));
            for (int i = 0; i < SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0); ++i) {
                TBBUTTON button{};
                SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
                wchar_t caption[32] = {};
                SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand,
                             reinterpret_cast<LPARAM>(caption));
                RECT r{};
                SendMessageW(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
                CAPTURE(std::wstring(caption));
                CHECK(r.right - r.left >= Drawn(toolbar, caption).cx);
                CHECK(r.bottom - r.top >= MulDiv(16, to, 96) + Drawn(toolbar, caption).cy);
            }
            const RECT bar = RectIn(hwnd, status), placed = RectIn(hwnd, list);
            CHECK(bar.bottom - bar.top >= Drawn(status, L"Xg").cy);
            CHECK((placed.top == RectIn(hwnd, toolbar).bottom && placed.bottom == bar.top));
        }
        for (const int to : {96, 120, 144}) {
            CAPTURE(to);
            const auto inspect = [&] {
                const HWND box = FindWindowW(L"#32770", L"About Vorbel");
                if (!box)
                    return false;
                SendDpiChange(box, DpiOf(box), to);
                CheckTextsWhole(box, {IDC_LABEL1, IDC_VERSION, IDC_DESCRIPTION, IDC_COPYRIGHT,
                                      IDC_LABEL4, IDC_WWW});
                // Esc closes it, as in every dialog; a box that stayed is closed after all.
                ShowWindow(box, SW_SHOW);
                PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
                PumpPendingEvents(box);
                CHECK_FALSE(IsWindowVisible(box));
                SendMessageW(box, WM_CLOSE, 0, 0);
                return true;
            };
            WatchWhile(inspect, [&] { f.Command(IDM_ABOUT); });
            ProgressDialog dialog;
            REQUIRE(dialog.Load(hwnd, f.services));
            dialog.Show();
            dialog.SetStatus1(L"C:\\Pictures\\gypsy quay.jpg");
            dialog.SetStatus2(L"into C:\\joined.jpg");
            SendDpiChange(dialog.Handle(), DpiOf(dialog.Handle()), to);
            PumpPendingEvents(dialog.Handle());
            CheckTextsWhole(dialog.Handle(), {IDC_STATUS1, IDC_STATUS2, IDCANCEL});
        }
    }
}
