#include "platform/Dpi.h"
#include "platform/EventPump.h"
#include "platform/Window.h"
#include "progress/ProgressDialog.h"
#include "support/MainWindowFixture.h"

#include "resource.h"

#include <commctrl.h>
#include <doctest.h>

namespace {

struct ShownDialog : MainWindowFixture {
    ProgressDialog dialog;
    ShownDialog() {
        REQUIRE(dialog.Load(Hwnd(), services));
        dialog.Show();
        PumpPendingEvents(dialog.Handle());
    }
    HWND Item(int id) const { return GetDlgItem(dialog.Handle(), id); }
    RECT Place(int id) const {
        RECT r = Window(Item(id)).WindowRect();
        MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    int Width(const std::wstring& text) const {
        WindowDC dc(Item(IDC_STATUS1));
        SelectObjectScope font(
            dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(Item(IDC_STATUS1), WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
};

} // namespace

TEST_CASE("The progress dialog is a fixed dialog of its owner, laid out in twips, centred") {
    ShownDialog t;
    const HWND hwnd = t.dialog.Handle();
    const int dpi = DpiOf(hwnd);
    CHECK((GetWindowLongW(hwnd, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) ==
          0);
    CHECK((GetWindowLongW(hwnd, GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW)) ==
          WS_EX_DLGMODALFRAME);
    CHECK(GetWindow(hwnd, GW_OWNER) == t.Hwnd());
    CHECK(Window(hwnd).Text() == L"Processing...");
    CHECK(Window(t.Item(IDCANCEL)).Text() == L"Cancel");
    CHECK((GetWindowLongW(t.Item(IDCANCEL), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
    const RECT self = Window(hwnd).WindowRect(), owner = Window(t.Hwnd()).WindowRect();
    CHECK(std::abs(self.left + self.right - owner.left - owner.right) <= 1);
    CHECK(std::abs(self.top + self.bottom - owner.top - owner.bottom) <= 1);

    const auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    const RECT client = Window(hwnd).ClientRect();
    CHECK((client.right == px(4830) && client.bottom == px(1110)));
    const RECT bar = t.Place(IDC_PROGRESSBAR), cancel = t.Place(IDCANCEL);
    CHECK((bar.left == px(120) && bar.top == px(690) && bar.right == px(3495) &&
           bar.bottom == px(945)));
    CHECK((cancel.left == px(3640) && cancel.top == px(645) && cancel.right == px(4705) &&
           cancel.bottom == px(990)));
    CHECK((t.Place(IDC_STATUS1).left == px(120) && t.Place(IDC_STATUS1).top == px(120)));
    CHECK((t.Place(IDC_STATUS2).left == px(120) && t.Place(IDC_STATUS2).top == px(360)));
}

TEST_CASE("Every way to cancel asks; Yes raises the flag, which only the next load lowers") {
    const struct {
        std::string what;
        int item; // 0: the dialog itself
        UINT message;
        WPARAM wParam;
    } ways[] = {
        {"the button", IDCANCEL, BM_CLICK, 0},
        {"Enter", IDCANCEL, WM_KEYDOWN, VK_RETURN},
        {"Esc", IDCANCEL, WM_KEYDOWN, VK_ESCAPE},
        {"closing", 0, WM_CLOSE, 0},
        {"the system menu", 0, WM_SYSCOMMAND, SC_CLOSE},
        {"the session ending", 0, WM_QUERYENDSESSION, 0}, // answered 0: it may not end
    };
    for (const auto& w : ways) {
        CAPTURE(w.what);
        ShownDialog t;
        const HWND to = w.item ? t.Item(w.item) : t.dialog.Handle();
        const auto press = [&] {
            if (w.message == WM_KEYDOWN) { // keys come through the message queue
                PostMessageW(to, w.message, w.wParam, 1);
                PumpPendingEvents(t.dialog.Handle());
            } else {
                CHECK(SendMessageW(to, w.message, w.wParam, 0) == 0);
            }
        };
        t.services.answers = {IDNO, IDYES, IDNO};
        for (bool flagAfter : {false, true, true}) {
            press();
            CHECK(t.dialog.bCancelFlag == flagAfter);
            CHECK(IsWindow(t.dialog.Handle()));
        }
        REQUIRE(t.services.messages.size() == 3);
        for (const auto& m : t.services.messages) {
            CHECK(m.text == L"Do you really want to cancel the process?");
            CHECK(m.type == (MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1));
        }

        t.dialog.SetStatus1(L"C:\\in.bin");
        t.dialog.SetValue(42.0f);
        const HWND closed = t.dialog.Handle();
        t.dialog.Unload();
        CHECK_FALSE(IsWindow(closed));
        CHECK(t.dialog.bCancelFlag);
        REQUIRE(t.dialog.Load(t.Hwnd(), t.services));
        CHECK_FALSE(t.dialog.bCancelFlag);
        CHECK((t.dialog.Status1().empty() && t.dialog.Status2().empty()));
        CHECK(SendMessageW(t.Item(IDC_PROGRESSBAR), PBM_GETPOS, 0, 0) == 0);
    }
}

TEST_CASE("Status lines are fitted in the labels' own font") {
    ShownDialog t;
    const int available =
        Window(t.dialog.Handle()).ClientRect().right - TwipsToPixels(240, DpiOf(t.dialog.Handle()));
    t.dialog.SetStatus2(L"into C:\\out.bin");
    CHECK(t.dialog.Status2() == L"into C:\\out.bin");
    const RECT label = t.Place(IDC_STATUS2);
    CHECK(label.right - label.left == t.Width(L"into C:\\out.bin"));

    std::wstring path = L"into C:";
    for (int i = 0; i < 12; ++i)
        path += L"\\Folder number " + std::to_wstring(i);
    path += L"\\R&D result.bin";
    t.dialog.SetStatus1(path);
    const std::wstring shown = t.dialog.Status1();
    CHECK(shown.starts_with(L"into C:\\...Folder"));
    CHECK(shown.ends_with(L"\\R&D result.bin"));
    CHECK(t.Width(shown) <= available);
    // It was cut no further than needed: with one folder more it did not fit.
    const std::wstring rest = shown.substr(11);
    const auto cut = path.rfind(L'\\', path.find(rest) - 2);
    CHECK(t.Width(L"into C:\\..." + path.substr(cut + 1)) > available);
}
