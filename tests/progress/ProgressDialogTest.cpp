#include "platform/Dpi.h"
#include "platform/EventPump.h"
#include "platform/Window.h"
#include "progress/ProgressDialog.h"
#include "support/HarnessWindow.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

#include "resource.h"

#include <commctrl.h>
#include <doctest.h>

namespace {

constexpr wchar_t kQuestion[] = L"Do you really want to cancel the process?";

struct LoadedDialog {
    HarnessWindow owner;
    ScriptedServices services;
    ProgressDialog dialog;
    LoadedDialog() {
        REQUIRE(dialog.Load(owner.Handle(), services));
        dialog.Show();
        PumpPendingEvents(dialog.Handle());
    }
    HWND Item(int id) const { return GetDlgItem(dialog.Handle(), id); }
    int Dpi() const { return DpiOf(dialog.Handle()); }
    RECT ClientRectOf(int id) const {
        RECT r = Window(Item(id)).WindowRect();
        MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    int TextWidth(int id, const std::wstring& text) const {
        WindowDC dc(Item(id));
        SelectObjectScope font(dc.Get(),
                               reinterpret_cast<HGDIOBJ>(SendMessageW(Item(id), WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    int Available() const {
        const RECT client = Window(dialog.Handle()).ClientRect();
        return client.right - TwipsToPixels(240, Dpi());
    }
};

} // namespace

TEST_CASE("The progress dialog is a fixed dialog laid out from twips, centred over its owner") {
    LoadedDialog t;
    const HWND hwnd = t.dialog.Handle();
    const int dpi = t.Dpi();
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    CHECK((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
    CHECK((style & WS_CAPTION) == WS_CAPTION);
    CHECK((exStyle & WS_EX_DLGMODALFRAME) != 0);
    CHECK((exStyle & WS_EX_APPWINDOW) == 0);
    CHECK(GetWindow(hwnd, GW_OWNER) == t.owner.Handle());
    CHECK(Window(hwnd).Text() == L"Processing...");

    const RECT client = Window(hwnd).ClientRect();
    CHECK(client.right == TwipsToPixels(4830, dpi));
    CHECK(client.bottom == TwipsToPixels(1110, dpi));

    const RECT self = Window(hwnd).WindowRect();
    const RECT owner = Window(t.owner.Handle()).WindowRect();
    CHECK(std::abs((self.left + self.right) - (owner.left + owner.right)) <= 1);
    CHECK(std::abs((self.top + self.bottom) - (owner.top + owner.bottom)) <= 1);

    const struct {
        int id;
        RECT twips; // left, top, right, bottom
    } controls[] = {
        {IDC_PROGRESSBAR, {120, 690, 3495, 945}},
        {IDCANCEL, {3640, 645, 4705, 990}},
    };
    for (const auto& c : controls) {
        CAPTURE(c.id);
        const RECT r = t.ClientRectOf(c.id);
        CHECK(r.left == TwipsToPixels(c.twips.left, dpi));
        CHECK(r.top == TwipsToPixels(c.twips.top, dpi));
        CHECK(r.right == TwipsToPixels(c.twips.right, dpi));
        CHECK(r.bottom == TwipsToPixels(c.twips.bottom, dpi));
    }
    CHECK(t.ClientRectOf(IDC_STATUS1).left == TwipsToPixels(120, dpi));
    CHECK(t.ClientRectOf(IDC_STATUS1).top == TwipsToPixels(120, dpi));
    CHECK(t.ClientRectOf(IDC_STATUS2).top == TwipsToPixels(360, dpi));
    CHECK(Window(t.Item(IDCANCEL)).Text() == L"Cancel");
    CHECK((GetWindowLongW(t.Item(IDCANCEL), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON);
}

TEST_CASE("Every load starts clean, and an unload keeps the cancel flag") {
    LoadedDialog t;
    t.services.answers = {IDYES};
    t.dialog.SetStatus1(L"C:\\in.bin");
    t.dialog.SetStatus2(L"into C:\\out.bin");
    t.dialog.SetValue(42.5f);
    t.dialog.butCancel_Click();
    REQUIRE(t.dialog.bCancelFlag);

    t.dialog.Unload();
    CHECK_FALSE(t.dialog.IsLoaded());
    CHECK(t.dialog.bCancelFlag);

    REQUIRE(t.dialog.Load(t.owner.Handle(), t.services));
    CHECK_FALSE(t.dialog.bCancelFlag);
    CHECK(t.dialog.Status1().empty());
    CHECK(t.dialog.Status2().empty());
    CHECK(t.dialog.Value() == 0.0f);
    const HWND bar = t.Item(IDC_PROGRESSBAR);
    CHECK(SendMessageW(bar, PBM_GETRANGE, TRUE, 0) == 0);
    CHECK(SendMessageW(bar, PBM_GETPOS, 0, 0) == 0);
}

TEST_CASE("The cancel question raises the flag only on Yes, and a No never lowers it") {
    const struct {
        std::vector<int> answers;
        bool flag;
    } cases[] = {
        {{IDNO}, false},
        {{IDYES}, true},
        {{IDYES, IDYES}, true},
        {{IDYES, IDNO}, true},
        {{IDNO, IDNO, IDYES}, true},
    };
    for (const auto& c : cases) {
        CAPTURE(c.answers.size());
        LoadedDialog t;
        t.services.answers.assign(c.answers.begin(), c.answers.end());
        for (std::size_t i = 0; i < c.answers.size(); ++i)
            SendMessageW(t.Item(IDCANCEL), BM_CLICK, 0, 0);
        CHECK(t.dialog.bCancelFlag == c.flag);
        REQUIRE(t.services.messages.size() == c.answers.size());
        for (const auto& m : t.services.messages) {
            CHECK(m.text == kQuestion);
            CHECK(m.type == (MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1));
        }
    }
}

TEST_CASE("Enter and Esc press Cancel") {
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        CAPTURE(key);
        LoadedDialog t;
        t.services.answers = {IDYES};
        PostMessageW(t.Item(IDCANCEL), WM_KEYDOWN, key, 1);
        PostMessageW(t.Item(IDCANCEL), WM_KEYUP, key, 0xC0000001);
        PumpPendingEvents(t.dialog.Handle());
        CHECK(t.services.messages.size() == 1);
        CHECK(t.dialog.bCancelFlag);
    }
}

TEST_CASE("A close from outside the program asks the question and never closes") {
    const struct {
        UINT message;
        WPARAM wParam;
    } requests[] = {
        {WM_CLOSE, 0},
        {WM_SYSCOMMAND, SC_CLOSE},
    };
    for (const auto& r : requests) {
        for (int answer : {IDNO, IDYES}) {
            CAPTURE(r.message);
            CAPTURE(answer);
            LoadedDialog t;
            t.services.answers = {answer};
            SendMessageW(t.dialog.Handle(), r.message, r.wParam, 0);
            CHECK(IsWindow(t.dialog.Handle()));
            CHECK(t.services.messages.size() == 1);
            CHECK(t.dialog.bCancelFlag == (answer == IDYES));
        }
    }
    LoadedDialog t;
    CHECK(SendMessageW(t.dialog.Handle(), WM_QUERYENDSESSION, 0, 0) == FALSE);
    CHECK(t.services.messages.size() == 1);
    const HWND hwnd = t.dialog.Handle();
    t.dialog.Unload();
    CHECK_FALSE(IsWindow(hwnd));
}

TEST_CASE("Status lines are fitted in the labels' own font") {
    LoadedDialog t;
    const int available = t.Available();

    t.dialog.SetStatus2(L"into C:\\out.bin");
    CHECK(t.dialog.Status2() == L"into C:\\out.bin");
    const RECT label = t.ClientRectOf(IDC_STATUS2);
    CHECK(label.right - label.left == t.TextWidth(IDC_STATUS2, L"into C:\\out.bin"));

    // Folders wide enough that a few of them must go, and a name that must stay.
    std::wstring path = L"into C:";
    for (int i = 0; i < 12; ++i)
        path += L"\\Folder number " + std::to_wstring(i) + L" with a long name";
    path += L"\\R&D result.bin";
    REQUIRE(t.TextWidth(IDC_STATUS1, path) > available);
    t.dialog.SetStatus1(path);
    const std::wstring shown = t.dialog.Status1();
    CHECK(shown.rfind(L"into C:\\...", 0) == 0);
    CHECK(shown.size() >= 15);
    CHECK(shown.substr(shown.size() - 15) == L"\\R&D result.bin");
    CHECK(t.TextWidth(IDC_STATUS1, shown) <= available);
    // One folder more would have fitted too: it was cut only because it did not.
    const auto dots = shown.find(L"...");
    const auto nameStart = path.find(shown.substr(dots + 3));
    const auto previous = path.rfind(L'\\', nameStart - 2);
    CHECK(t.TextWidth(IDC_STATUS1, L"into C:\\..." + path.substr(previous + 1)) > available);
}

TEST_CASE("The bar keeps the value set and shows it within its range") {
    LoadedDialog t;
    const HWND bar = t.Item(IDC_PROGRESSBAR);
    const struct {
        float value;
        LRESULT position;
    } cases[] = {{1.2288f, 123}, {50.0f, 5000}, {100.0f, 10000}, {130.0f, 10000}};
    for (const auto& c : cases) {
        t.dialog.SetValue(c.value);
        CHECK(t.dialog.Value() == c.value);
        CHECK(SendMessageW(bar, PBM_GETPOS, 0, 0) == c.position);
    }
}
