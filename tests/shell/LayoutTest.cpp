// The windows under each system font a user may have and at each DPI a monitor may
// have: texts whole, nothing overlapping, everything scaled once per DPI change, and
// no GDI or USER object left behind.

#include "platform/Dpi.h"
#include "platform/EventPump.h"
#include "platform/Window.h"
#include "progress/ProgressDialog.h"
#include "support/GuiObjects.h"
#include "support/MainWindowFixture.h"
#include "support/SystemFonts.h"

#include <commctrl.h>
#include <doctest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

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

// A text's width and line height in a control's font, as the system draws it.
SIZE Drawn(HWND control, const std::wstring& text) {
    WindowDC dc(control);
    SelectObjectScope font(dc.Get(), FontOf(control));
    RECT r{};
    DrawTextW(dc.Get(), text.empty() ? L" " : text.c_str(), -1, &r,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return {text.empty() ? 0 : r.right, r.bottom};
}

// Each control is as wide as its text and as high as a line of its font.
void CheckTextsWhole(HWND parent, std::initializer_list<int> ids) {
    for (int id : ids) {
        const HWND control = GetDlgItem(parent, id);
        const SIZE text = Drawn(control, Window(control).Text());
        const RECT r = RectIn(parent, control);
        CAPTURE(Window(control).Text());
        CHECK(r.right - r.left >= text.cx);
        CHECK(r.bottom - r.top >= text.cy);
    }
}

void CheckNoOverlaps(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    for (std::size_t i = 0; i < children.size(); ++i) {
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            const RECT a = RectIn(parent, children[i]), b = RectIn(parent, children[j]);
            RECT both;
            CAPTURE(GetDlgCtrlID(children[i]));
            CAPTURE(GetDlgCtrlID(children[j]));
            CHECK_FALSE(IntersectRect(&both, &a, &b));
        }
    }
}

int ColumnGap(HWND list) {
    const RECT r = Window(list).WindowRect();
    return (r.right - r.left) - static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
}

int FontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(FontOf(control), sizeof(font), &font);
    return font.lfHeight;
}

// The colours down one column of pixels across the About box's rule, each run once,
// as the box paints its client area on a background of the dialog's colour.
std::string RuleColours(HWND box, int dpi) {
    const RECT client = Window(box).ClientRect();
    WindowDC screen(box);
    MemoryDC dc(screen.Get());
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    SelectObjectScope selected(dc.Get(), bitmap.Get());
    FillRect(dc.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
    SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    std::string runs;
    const int x = TwipsToPixels(2000, dpi), top = TwipsToPixels(1890, dpi);
    for (int y = top - 3; y < top + 9; ++y) {
        const COLORREF colour = GetPixel(dc.Get(), x, y);
        const std::string name = colour == GetSysColor(COLOR_BTNFACE) ? "face"
                                 : colour == RGB(128, 128, 128)       ? "grey"
                                 : colour == RGB(255, 255, 255)       ? "white"
                                                                      : std::to_string(colour);
        if (!runs.ends_with(name))
            runs += (runs.empty() ? "" : " ") + name;
    }
    return runs;
}

} // namespace

TEST_CASE("The main window opens at its design size and scales once per DPI change") {
    for (const auto& setup : kFontSetups) {
        CAPTURE(std::string(setup.name));
        SystemFontsScope fonts(setup);
        MainWindowFixture f;
        const HWND hwnd = f.Hwnd(), list = f.List().ListView().Handle();
        const HWND toolbar = f.window.ToolbarWindow(), status = f.window.StatusBarWindow();
        int dpi = DpiOf(hwnd);
        const auto px = [&](int twips) { return TwipsToPixels(twips, dpi); };
        const RECT client = Window(hwnd).ClientRect();
        CHECK((client.right == px(6285) && client.bottom == px(4110)));
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);

        SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(200, 0)); // dragged by the user
        int gap = ColumnGap(list);
        const int fontHeight = FontHeight(list), startDpi = dpi;
        // Whenever a control is handed a font, the ones the controls hold are alive.
        bool deletedFontHeld = false;
        MessageSpy spy(WM_SETFONT, [&](WPARAM) {
            for (HWND control : {toolbar, list, status})
                deletedFontHeld |= GetObjectType(FontOf(control)) != OBJ_FONT;
        });
        for (const int to : {144, 96}) {
            CAPTURE(to);
            SendDpiChange(hwnd, dpi, to);
            gap = MulDiv(gap, to, dpi);
            dpi = to;
            CHECK(ColumnGap(list) == gap);
            CHECK((GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL) == 0);
            for (HWND control : {toolbar, list, status})
                CHECK(FontHeight(control) == MulDiv(fontHeight, to, startDpi));

            const LRESULT buttons = SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0);
            CHECK((LOWORD(buttons) >= px(705) && HIWORD(buttons) >= px(540)));
            int cx = 0, cy = 0;
            ImageList_GetIconSize(
                reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0)), &cx,
                &cy);
            CHECK((cx == MulDiv(15, to, 96) && cy == MulDiv(16, to, 96)));
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
                CHECK(r.bottom - r.top >= cy + Drawn(toolbar, caption).cy);
            }
            const RECT bar = RectIn(hwnd, status), placed = RectIn(hwnd, list);
            CHECK(bar.bottom - bar.top >= Drawn(status, L"Xg").cy);
            CHECK((placed.top == RectIn(hwnd, toolbar).bottom && placed.bottom == bar.top));
        }
        // From there on, a resize keeps the gap.
        const RECT outer = Window(hwnd).WindowRect();
        SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left + 60, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        CHECK(ColumnGap(list) == gap);
        CHECK_FALSE(deletedFontHeld);
    }
}

TEST_CASE("The About box keeps its texts whole and the address after its prefix") {
    const int labels[] = {IDC_LABEL1,    IDC_VERSION, IDC_DESCRIPTION,
                          IDC_COPYRIGHT, IDC_LABEL4,  IDC_WWW};
    for (const auto& setup : kFontSetups) {
        SystemFontsScope fonts(setup);
        MainWindowFixture f;
        for (const int dpi : {96, 120, 144}) {
            CAPTURE(std::string(setup.name));
            CAPTURE(dpi);
            WithAboutBox(f, [&](HWND box) {
                SendDpiChange(box, DpiOf(box), dpi);
                for (int id : labels)
                    CheckTextsWhole(box, {id});
                CheckNoOverlaps(box);

                // The address stays at its design place unless its prefix runs past it;
                // then it follows the prefix, blank and all. Its underline spans its text.
                const HWND prefix = GetDlgItem(box, IDC_LABEL4), link = GetDlgItem(box, IDC_WWW);
                const RECT p = RectIn(box, prefix), l = RectIn(box, link);
                CHECK(l.left == std::max<int>(TwipsToPixels(2070, dpi), p.right));
                CHECK(l.left >=
                      p.left + Drawn(prefix, L"Worldwide Web:").cx + Drawn(prefix, L" ").cx);
                CHECK(l.right - l.left == Drawn(link, Window(link).Text()).cx);

                // The etched rule: grey, then white right beneath it.
                CHECK(RuleColours(box, dpi) == "face grey white face");
                SendMessageW(box, WM_CLOSE, 0, 0);
            });
        }
    }
}

TEST_CASE("The progress dialog's status lines are whole, in height too") {
    for (const auto& setup : kFontSetups) {
        SystemFontsScope fonts(setup);
        MainWindowFixture f;
        for (const int dpi : {96, 144}) {
            CAPTURE(std::string(setup.name));
            CAPTURE(dpi);
            ProgressDialog dialog;
            REQUIRE(dialog.Load(f.Hwnd(), f.services));
            dialog.Show();
            dialog.SetStatus1(L"C:\\Pictures\\gypsy quay.jpg");
            dialog.SetStatus2(L"into C:\\joined.jpg");
            SendDpiChange(dialog.Handle(), DpiOf(dialog.Handle()), dpi);
            PumpPendingEvents(dialog.Handle());
            CheckTextsWhole(dialog.Handle(), {IDC_STATUS1, IDC_STATUS2, IDCANCEL});
            CheckNoOverlaps(dialog.Handle());
        }
    }
}

TEST_CASE("Repeated About boxes, merges and DPI changes leave no GDI or USER object behind") {
    MainWindowFixture f;
    f.Drop({WriteBytes(f.dir / L"a.bin", "A"), WriteBytes(f.dir / L"b.bin", "B")});
    const auto output = f.dir / L"out.bin";
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"About box",
         [&] { WithAboutBox(f, [](HWND box) { SendMessageW(box, WM_CLOSE, 0, 0); }); }},
        {"merge",
         [&] {
             f.services.saveResults.push_back(ScriptedServices::Chosen(output));
             f.Command(IDM_MERGE);
         }},
        {"DPI change to 144 and back",
         [&] {
             SendDpiChange(f.Hwnd(), 96, 144);
             SendDpiChange(f.Hwnd(), 144, 96);
         }},
    };
    for (const auto& [what, action] : actions) {
        CAPTURE(std::string(what));
        // A first round fills what the system caches (Wine keeps the device contexts
        // of gone windows up to a limit).
        for (int i = 0; i < 10; ++i)
            action();
        const GuiObjects before = CountGuiObjects();
        for (int i = 0; i < 10; ++i)
            action();
        const GuiObjects after = CountGuiObjects();
        CHECK(after.gdi == before.gdi);
        CHECK(after.user == before.user);
    }
    CHECK(ReadBytes(output) == "AB");
}
