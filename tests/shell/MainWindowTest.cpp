#include "filelist/StatusSummary.h"
#include "shell/CommandState.h"
#include "shell/RegistryNames.h"
#include "shell/Toolbar.h"
#include "support/MainWindowFixture.h"

#include <commctrl.h>
#include <doctest.h>

#include <functional>

#include "resource.h"

namespace {

struct CommandStates {
    bool merge, up, down, sort, selectAll, invert, remove, add;
};

CommandStates StatesOf(MainWindowFixture& f) {
    HMENU menu = f.window.Menu();
    HWND toolbar = f.window.ToolbarWindow();
    auto both = [&](UINT id, const wchar_t* key) {
        const bool menuOn = IsMenuCommandEnabled(menu, id);
        CHECK(menuOn == IsToolbarKeyEnabled(toolbar, key)); // menu and button agree
        return menuOn;
    };
    return {both(IDM_MERGE, L"merge"),
            both(IDM_UP, L"up"),
            both(IDM_DOWN, L"down"),
            IsSortSubmenuEnabled(menu),
            IsMenuCommandEnabled(menu, IDM_SELECT_ALL),
            IsMenuCommandEnabled(menu, IDM_INVERT_SELECTION),
            both(IDM_REMOVE, L"remove"),
            both(IDM_ADD, L"add")};
}

void CheckStates(MainWindowFixture& f, int count) {
    CAPTURE(count);
    const CommandStates s = StatesOf(f);
    CHECK(s.merge == (count >= 2));
    CHECK(s.up == (count >= 2));
    CHECK(s.down == (count >= 2));
    CHECK(s.sort == (count >= 2));
    CHECK(s.selectAll == (count >= 1));
    CHECK(s.invert == (count >= 1));
    CHECK(s.remove == (count >= 1));
    CHECK(s.add);
    HMENU menu = f.window.Menu();
    for (UINT id : {IDM_EXIT, IDM_HELP, IDM_ABOUT})
        CHECK(IsMenuCommandEnabled(menu, id));
}

std::wstring Grouped(const std::vector<std::wstring>& groups) {
    wchar_t separator[8] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
    std::wstring text;
    for (const auto& g : groups)
        text += (text.empty() ? L"" : separator) + g;
    return text;
}

LRESULT CALLBACK CountSetText(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR count) {
    if (msg == SB_SETTEXTW)
        ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(hwnd, msg, w, l);
}

int CountSetTexts(HWND statusBar, const std::function<void()>& action) {
    int count = 0;
    SetWindowSubclass(statusBar, CountSetText, 1, reinterpret_cast<DWORD_PTR>(&count));
    action();
    RemoveWindowSubclass(statusBar, CountSetText, 1);
    return count;
}

RECT RectIn(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

TEST_CASE("Commands are enabled by the number of entries") {
    MainWindowFixture f;
    CheckStates(f, 0);
    f.Drop({f.File(L"a.bin")});
    CheckStates(f, 1);
    f.Drop({f.File(L"b.bin")});
    CheckStates(f, 2);
    f.Drop({f.File(L"c.bin")});
    CheckStates(f, 3);

    // Moving, sorting and selecting leave the states alone.
    f.SelectOnly({1});
    f.Command(IDM_UP);
    f.Command(IDM_SORT_FILES_DESC);
    f.Command(IDM_INVERT_SELECTION);
    CheckStates(f, 3);

    f.SelectOnly({0, 1});
    f.Command(IDM_REMOVE);
    CheckStates(f, 1);
    f.SelectOnly({0});
    f.Command(IDM_REMOVE);
    CheckStates(f, 0);
}

TEST_CASE("A disabled command ignores its shortcut") {
    MainWindowFixture f;
    f.Drop({f.File(L"a.bin")});
    f.Command(IDM_SELECT_ALL);
    f.SelectOnly({});
    f.ShortcutCommand(IDM_MERGE); // Ctrl+M below two entries: no message
    CHECK(f.services.messages.empty());
    CHECK(f.services.saveRequests.empty());
    f.ShortcutCommand(IDM_SELECT_ALL); // Ctrl+A is enabled with one entry
    CHECK(f.SelectedIndexes() == std::vector<int>{0});
}

TEST_CASE("The status bar sums the listed files as they are on disk") {
    MainWindowFixture f;
    CHECK(f.Status().empty());

    const auto empty = f.File(L"empty.bin");
    f.Drop({empty});
    CHECK(f.Status() == L"1 files (0 Bytes)");
    CHECK(f.List().StatusText() == f.Status());

    // The same file twice counts twice; a file deleted after it was added counts 0.
    const auto seven = f.File(L"seven.bin", 7);
    const auto gone = f.File(L"gone.bin", 1000);
    f.Drop({seven, seven, gone});
    CHECK(f.Status() == L"4 files (" + Grouped({L"1", L"014"}) + L" Bytes)");
    DeleteFileW(gone.c_str());
    f.List().RebuildStatus();
    CHECK(f.Status() == L"4 files (14 Bytes)");
    CHECK(f.Texts().size() == 4); // the entry stays
}

TEST_CASE("Totals beyond 4 GiB are shown in full") {
    MainWindowFixture f;
    const auto a = f.dir / L"a.bin", b = f.dir / L"b.bin";
    REQUIRE(MakeSparseFile(a, 3LL << 30));
    REQUIRE(MakeSparseFile(b, 3LL << 30));
    f.Drop({a, b});
    CHECK(f.Status() == L"2 files (" + Grouped({L"6", L"442", L"450", L"944"}) + L" Bytes)");
}

TEST_CASE("Numbers are rounded and grouped") {
    const struct {
        double value;
        std::vector<std::wstring> groups;
    } cases[] = {
        {0, {L"0"}},
        {999, {L"999"}},
        {1000, {L"1", L"000"}},
        {1234567, {L"1", L"234", L"567"}},
        {1234.6, {L"1", L"235"}},
        {-1, {L"-1"}},
        {-1234567, {L"-1", L"234", L"567"}},
        {9007199254740992.0, {L"9", L"007", L"199", L"254", L"740", L"992"}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.value);
        CHECK(FormatNumber(c.value) == Grouped(c.groups));
    }
}

TEST_CASE("The status bar is written only when its text changes") {
    MainWindowFixture f;
    f.Drop({f.File(L"a.bin", 3)});
    HWND bar = f.window.StatusBarWindow();
    CHECK(CountSetTexts(bar, [&] { f.List().SetStatusText(f.Status()); }) == 0);
    CHECK(CountSetTexts(bar, [&] { f.List().SetStatusText(L"Merging..."); }) == 1);
    CHECK(f.Status() == L"Merging...");
    // Letter case counts as a change.
    CHECK(CountSetTexts(bar, [&] { f.List().SetStatusText(L"merging..."); }) == 1);
}

TEST_CASE("Sorting orders paths naturally and keeps each entry's selection") {
    MainWindowFixture f;
    const auto p2 = f.File(L"part2.bin"), p10 = f.File(L"part10.bin"), p1 = f.File(L"Part1.bin");
    const auto upper = f.File(L"PART2.BIN"), x = f.File(L"x.bin");
    f.Drop({p10});
    f.Drop({p2, upper, p1}); // appended in the given order to a non-empty list
    CHECK(f.Texts() == std::vector<std::wstring>{p10, p2, upper, p1});

    f.SelectOnly({0, 2}); // part10, PART2.BIN
    f.Command(IDM_SORT_FILES_ASC);
    // Letter case is ignored; the exact text breaks the tie, capitals first.
    CHECK(f.Texts() == std::vector<std::wstring>{p1, upper, p2, p10});
    CHECK(f.SelectedIndexes() == std::vector<int>{1, 3});

    f.Command(IDM_SORT_FILES_DESC);
    CHECK(f.Texts() == std::vector<std::wstring>{p10, p2, upper, p1});
    CHECK(f.SelectedIndexes() == std::vector<int>{0, 2});

    // Later additions land at the end, unsorted.
    f.Drop({x, p1});
    CHECK(f.Texts() == std::vector<std::wstring>{p10, p2, upper, p1, x, p1});
}

TEST_CASE("Preferences survive from one run to the next") {
    ScriptedServices services;
    {
        MainWindow window(services, L"");
        REQUIRE(window.Create(GetModuleHandleW(nullptr)));
        CHECK(window.Prefs().strAddDir.empty());
        CHECK(window.Prefs().strSaveDir.empty());
        CHECK(window.Prefs().strFilenameBufSize == L"4096");
        window.Prefs().strAddDir = L"C:\\in";
        SendMessageW(window.Handle(), WM_CLOSE, 0, 0); // the close button
        CHECK(window.Handle() == nullptr);
    }
    CHECK(services.ReadSetting(kPreferencesSection, kAddDirValue, L"?") == L"C:\\in");
    CHECK(services.ReadSetting(kPreferencesSection, kSaveDirValue, L"?").empty());
    CHECK(services.ReadSetting(kPreferencesSection, kFilenameBufSizeValue, L"?") == L"4096");

    // Whatever text the user put into the store is kept as it was.
    services.WriteSetting(kPreferencesSection, kFilenameBufSizeValue, L"lots");
    {
        MainWindow window(services, L"");
        REQUIRE(window.Create(GetModuleHandleW(nullptr)));
        CHECK(window.Prefs().strAddDir == L"C:\\in");
        CHECK(window.Prefs().strFilenameBufSize == L"lots");
        SendMessageW(window.Handle(), WM_COMMAND, IDM_EXIT, 0);
        CHECK(window.Handle() == nullptr);
    }
    CHECK(services.ReadSetting(kPreferencesSection, kFilenameBufSizeValue, L"?") == L"lots");
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST_CASE("Garbage in the settings store reads as the defaults") {
    ScriptedServices services;
    services.WriteSetting(kPreferencesSection, kAddDirValue, L"");
    RegKey key;
    REQUIRE(RegOpenKeyExW(HKEY_CURRENT_USER,
                          (services.SettingsKey() + L"\\" + kPreferencesSection).c_str(), 0,
                          KEY_SET_VALUE, key.Put()) == ERROR_SUCCESS);
    const DWORD number = 12345;
    RegSetValueExW(key.Get(), kFilenameBufSizeValue, 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&number), sizeof number);
    const wchar_t unterminated[] = {L'C', L':', L'\\', L'x'};
    RegSetValueExW(key.Get(), kSaveDirValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated),
                   sizeof unterminated);
    const char odd[] = {'a', 'b', 'c'};
    RegSetValueExW(key.Get(), kAddDirValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(odd), 3);

    const Preferences p = LoadPreferences(services);
    CHECK(p.strFilenameBufSize == L"4096");
    CHECK(p.strSaveDir == L"C:\\x");
    CHECK(p.strAddDir.size() <= 2);
}

TEST_CASE("The list fills the space between toolbar and status bar") {
    MainWindowFixture f;
    HWND hwnd = f.Hwnd();
    HWND list = f.List().ListView().Handle();
    auto checkPlaced = [&] {
        RECT client;
        GetClientRect(hwnd, &client);
        const RECT l = RectIn(hwnd, list);
        const RECT t = RectIn(hwnd, f.window.ToolbarWindow());
        const RECT s = RectIn(hwnd, f.window.StatusBarWindow());
        CHECK(l.left == 0);
        CHECK(l.right == client.right);
        CHECK(l.top == t.bottom);
        CHECK(l.bottom == s.top);
    };
    ShowWindow(hwnd, SW_SHOWNOACTIVATE); // the first showing lays the window out
    checkPlaced();
    auto columnGap = [&] {
        RECT r;
        GetWindowRect(list, &r);
        return (r.right - r.left) - static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    };

    // The user drags the column narrower; later widths keep the new distance.
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(100, 0));
    const int gap = columnGap();
    SetWindowPos(hwnd, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    checkPlaced();
    CHECK(columnGap() == gap);
    const int column = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    SetWindowPos(hwnd, nullptr, 0, 0, 700, 420, SWP_NOMOVE | SWP_NOZORDER);
    CHECK(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0) == column); // height only
    checkPlaced();
}

TEST_CASE("The window keeps its minimum size, each side on its own") {
    MainWindowFixture f;
    HWND hwnd = f.Hwnd();
    const int dpi = 96;
    const int minWidth = MulDiv(3200, dpi, 1440), minHeight = MulDiv(2400, dpi, 1440);
    auto sizeAfter = [&](int w, int h) {
        SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        RECT r;
        GetWindowRect(hwnd, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    const SIZE narrow = sizeAfter(50, 400);
    CHECK(narrow.cx == minWidth);
    CHECK(narrow.cy == 400);
    const SIZE low = sizeAfter(500, 20);
    CHECK(low.cx == 500);
    CHECK(low.cy == minHeight);

    // A minimized window leaves its list where it was.
    HWND list = f.List().ListView().Handle();
    const RECT before = RectIn(hwnd, list);
    ShowWindow(hwnd, SW_MINIMIZE);
    const RECT after = RectIn(hwnd, list);
    CHECK(EqualRect(&before, &after));
    ShowWindow(hwnd, SW_RESTORE);
}

TEST_CASE("The window shows its design") {
    MainWindowFixture f;
    wchar_t caption[64];
    GetWindowTextW(f.Hwnd(), caption, 64);
    CHECK(std::wstring(caption) == L"Vorbel Merge your files");

    HWND toolbar = f.window.ToolbarWindow();
    REQUIRE(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0) == 7);
    const wchar_t* keys[] = {L"add", L"remove", nullptr, L"up", L"down", nullptr, L"merge"};
    for (int i = 0; i < 7; ++i) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        CAPTURE(i);
        const wchar_t* key = ToolbarKeyOf(button.idCommand);
        CHECK(((key == nullptr) == (keys[i] == nullptr)));
        if (key && keys[i])
            CHECK(std::wstring(key) == keys[i]);
        CHECK(((button.fsStyle & BTNS_SEP) != 0) == (keys[i] == nullptr));
    }

    HWND list = f.List().ListView().Handle();
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    CHECK(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) == 1);
    wchar_t text[16] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 16;
    SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    CHECK(std::wstring(text) == L"Files");
    CHECK((GetWindowLongW(list, GWL_STYLE) & LVS_SINGLESEL) == 0);

    wchar_t item[64] = {};
    const struct {
        int position;
        const wchar_t* caption;
    } menus[] = {{0, L"&File"}, {1, L"&Edit"}, {2, L"&Actions"}, {3, L"&Help"}};
    for (const auto& m : menus) {
        GetMenuStringW(f.window.Menu(), static_cast<UINT>(m.position), item, 64, MF_BYPOSITION);
        CHECK(std::wstring(item) == m.caption);
    }
    GetMenuStringW(f.window.Menu(), IDM_MERGE, item, 64, MF_BYCOMMAND);
    CHECK(std::wstring(item) == L"&Merge As...\tCtrl+M");
    GetMenuStringW(f.window.Menu(), IDM_ABOUT, item, 64, MF_BYCOMMAND);
    CHECK(std::wstring(item) == L"&About Vorbel...");
}

TEST_CASE("Commands that arrive while a command runs do not run inside it") {
    ScriptedServices services;
    TempDir dir;
    const auto a = WriteBytes(dir / L"a.bin", "a"), b = WriteBytes(dir / L"b.bin", "b");
    MainWindow window(services, dir.Path());
    REQUIRE(window.Create(GetModuleHandleW(nullptr)));
    // Clicks queued while the open dialog is up reach the window when the add
    // command lets events run: Remove is dropped, Exit waits for the add to finish.
    services.whileDialogOpen = [&] {
        PostMessageW(window.Handle(), WM_COMMAND, IDM_SELECT_ALL, 0);
        PostMessageW(window.Handle(), WM_COMMAND, IDM_REMOVE, 0);
        PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    };
    services.openResults.push_back(ScriptedServices::Chosen(
        dir.Path() + std::wstring(1, L'\0') + L"a.bin" + std::wstring(1, L'\0') + L"b.bin",
        dir.Path()));
    SendMessageW(window.Handle(), WM_COMMAND, IDM_ADD, 0);
    CHECK(window.Handle() == nullptr); // closed once the add was through
    CHECK(window.List().Texts() == std::vector<std::wstring>{a, b});
    CHECK(services.ReadSetting(kPreferencesSection, kAddDirValue, L"?") == dir.Path());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}
