#include "app/FormatNumber.h"
#include "shell/CommandState.h"
#include "shell/RegistryNames.h"
#include "shell/Toolbar.h"
#include "support/MainWindowFixture.h"

#include <commctrl.h>
#include <doctest.h>

#include "resource.h"

namespace {

bool IsToolbarKeyEnabled(HWND toolbar, const wchar_t* key) {
    for (int i = 0; i < SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0); ++i) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        const wchar_t* buttonKey = ToolbarKeyOf(button.idCommand);
        if (buttonKey && std::wstring(buttonKey) == key)
            return SendMessageW(toolbar, TB_ISBUTTONENABLED, button.idCommand, 0) != 0;
    }
    return false;
}

bool IsSortSubmenuEnabled(HMENU menu) {
    HMENU parent = nullptr;
    int position = 0;
    return FindMenuItemHolding(menu, IDM_SORT_FILES_ASC, &parent, &position) &&
           !(GetMenuState(parent, static_cast<UINT>(position), MF_BYPOSITION) &
             (MF_GRAYED | MF_DISABLED));
}

// Each command is enabled from a number of entries on; its menu item and its
// toolbar key, where it has one, agree.
void CheckStates(MainWindowFixture& f) {
    const int count = f.List().Count();
    CAPTURE(count);
    const struct {
        UINT id;
        const wchar_t* key;
        int needs;
    } commands[] = {{IDM_ADD, L"add", 0},
                    {IDM_REMOVE, L"remove", 1},
                    {IDM_UP, L"up", 2},
                    {IDM_DOWN, L"down", 2},
                    {IDM_MERGE, L"merge", 2},
                    {IDM_SELECT_ALL, nullptr, 1},
                    {IDM_INVERT_SELECTION, nullptr, 1},
                    {IDM_EXIT, nullptr, 0},
                    {IDM_HELP, nullptr, 0},
                    {IDM_ABOUT, nullptr, 0}};
    for (const auto& c : commands) {
        CAPTURE(c.id);
        CHECK(IsMenuCommandEnabled(f.window.Menu(), c.id) == (count >= c.needs));
        if (c.key)
            CHECK(IsToolbarKeyEnabled(f.window.ToolbarWindow(), c.key) == (count >= c.needs));
    }
    CHECK(IsSortSubmenuEnabled(f.window.Menu()) == (count >= 2));
}

// A number written with "," between groups of digits, as the user's locale groups it.
std::wstring Grouped(const std::wstring& number) {
    wchar_t separator[8] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
    std::wstring text;
    for (wchar_t ch : number)
        text += ch == L',' ? std::wstring(separator) : std::wstring(1, ch);
    return text;
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
    CheckStates(f);
    for (const wchar_t* name : {L"a.bin", L"b.bin", L"c.bin"}) {
        f.Drop({f.File(name)});
        CheckStates(f);
    }
    // Moving, sorting and selecting leave the states alone.
    f.SelectOnly({1});
    f.Command(IDM_UP);
    f.Command(IDM_SORT_FILES_DESC);
    f.Command(IDM_INVERT_SELECTION);
    CheckStates(f);
    f.SelectOnly({0, 1});
    f.Command(IDM_REMOVE);
    CheckStates(f);
    f.SelectOnly({0});
    f.Command(IDM_REMOVE);
    CheckStates(f);
}

TEST_CASE("A disabled command ignores its shortcut") {
    MainWindowFixture f;
    f.Drop({f.File(L"a.bin")});
    f.ShortcutCommand(IDM_MERGE); // Ctrl+M below two entries: no message
    CHECK(f.services.messages.empty());
    CHECK(f.services.saveRequests.empty());
    f.ShortcutCommand(IDM_SELECT_ALL); // Ctrl+A is enabled with one entry
    CHECK(f.List().IsSelected(0));
}

TEST_CASE("The status bar sums the listed files as they are on disk, beyond 4 GiB too") {
    MainWindowFixture f;
    CHECK(f.Status().empty());
    f.Drop({f.File(L"empty.bin")});
    CHECK(f.Status() == L"1 files (0 Bytes)");
    CHECK(f.window.Status().StatusText() == f.Status());

    // The same file twice counts twice; a file deleted after it was added counts 0.
    const auto seven = f.File(L"seven.bin", 7), gone = f.File(L"gone.bin", 1000);
    f.Drop({seven, seven, gone});
    CHECK(f.Status() == L"4 files (" + Grouped(L"1,014") + L" Bytes)");
    DeleteFileW(gone.c_str());
    f.window.Status().RebuildStatus(f.List());
    CHECK(f.Status() == L"4 files (14 Bytes)");
    CHECK(f.Texts().size() == 4); // the entry stays

    const auto big = f.dir / L"big.bin";
    REQUIRE(MakeSparseFile(big, 3LL << 30));
    f.Drop({big, big});
    CHECK(f.Status() == L"6 files (" + Grouped(L"6,442,450,958") + L" Bytes)");
}

TEST_CASE("Numbers are rounded and grouped") {
    const std::pair<double, std::wstring> cases[] = {
        {0, L"0"},
        {999, L"999"},
        {1000, L"1,000"},
        {1234.6, L"1,235"},
        {-1, L"-1"},
        {-1234567, L"-1,234,567"},
        {9007199254740992.0, L"9,007,199,254,740,992"}};
    for (const auto& [value, shown] : cases) {
        CAPTURE(value);
        CHECK(FormatNumber(value) == Grouped(shown));
    }
    // In threes even where the locale groups otherwise, as in lakhs and crores.
    wchar_t pattern[16] = {};
    GetLocaleInfoEx(L"en-IN", LOCALE_SGROUPING, pattern, 16);
    REQUIRE(std::wstring(pattern) == L"3;2;0");
    CHECK(FormatNumber(1234567, L"en-IN") == L"1,234,567");
}

TEST_CASE("The status bar is written only when its text changes") {
    MainWindowFixture f;
    f.Drop({f.File(L"a.bin", 3)});
    int writes = 0;
    MessageSpy spy(SB_SETTEXTW, [&](WPARAM) { ++writes; });
    f.window.Status().SetStatusText(f.Status());
    CHECK(writes == 0);
    f.window.Status().SetStatusText(L"Merging...");
    f.window.Status().SetStatusText(L"merging..."); // letter case counts as a change
    CHECK(writes == 2);
    CHECK(f.Status() == L"merging...");
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
    CHECK(f.List().Selection() == std::vector<char>{0, 1, 0, 1});

    f.Command(IDM_SORT_FILES_DESC);
    CHECK(f.Texts() == std::vector<std::wstring>{p10, p2, upper, p1});
    CHECK(f.List().Selection() == std::vector<char>{1, 0, 1, 0});

    // Later additions land at the end, unsorted.
    f.Drop({x, p1});
    CHECK(f.Texts() == std::vector<std::wstring>{p10, p2, upper, p1, x, p1});
}

TEST_CASE("Preferences survive from one run to the next") {
    MainWindowFixture f; // the first run
    const auto stored = [&](const wchar_t* name) {
        return f.services.ReadSetting(kPreferencesSection, name, L"?");
    };
    CHECK(f.window.Prefs().strAddDir.empty());
    CHECK(f.window.Prefs().strSaveDir.empty());
    CHECK(f.window.Prefs().strFilenameBufSize == L"4096");
    f.window.Prefs().strAddDir = L"C:\\in";
    SendMessageW(f.Hwnd(), WM_CLOSE, 0, 0); // the close button
    CHECK(f.Hwnd() == nullptr);
    CHECK(stored(kAddDirValue) == L"C:\\in");
    CHECK(stored(kSaveDirValue).empty());
    CHECK(stored(kFilenameBufSizeValue) == L"4096");

    // Whatever text the user put into the store is kept as it was.
    f.services.WriteSetting(kPreferencesSection, kFilenameBufSizeValue, L"lots");
    MainWindow second(f.services, L"");
    REQUIRE(second.Create(GetModuleHandleW(nullptr)));
    CHECK(second.Prefs().strAddDir == L"C:\\in");
    CHECK(second.Prefs().strFilenameBufSize == L"lots");
    SendMessageW(second.Handle(), WM_COMMAND, IDM_EXIT, 0);
    CHECK(second.Handle() == nullptr);
    CHECK(stored(kFilenameBufSizeValue) == L"lots");
}

TEST_CASE("Garbage in the settings store reads as the defaults") {
    ScriptedServices services;
    const std::wstring key = services.SettingsKey() + L"\\" + kPreferencesSection;
    const auto store = [&](const wchar_t* name, DWORD type, const void* data, DWORD size) {
        REQUIRE(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data, size) ==
                ERROR_SUCCESS);
    };
    const DWORD number = 12345;
    store(kFilenameBufSizeValue, REG_DWORD, &number, sizeof number);
    const wchar_t unterminated[] = {L'C', L':', L'\\', L'x'};
    store(kSaveDirValue, REG_SZ, unterminated, sizeof unterminated);
    store(kAddDirValue, REG_SZ, "abc", 3); // an odd number of bytes

    const Preferences p = LoadPreferences(services);
    CHECK(p.strFilenameBufSize == L"4096");
    CHECK(p.strSaveDir == L"C:\\x");
    CHECK(p.strAddDir.size() <= 2);
}

TEST_CASE("The list fills the space between toolbar and status bar; the window keeps a minimum") {
    MainWindowFixture f;
    const HWND hwnd = f.Hwnd(), list = f.List().ListView().Handle();
    auto checkPlaced = [&] {
        RECT client;
        GetClientRect(hwnd, &client);
        const RECT l = RectIn(hwnd, list);
        CHECK((l.left == 0 && l.right == client.right));
        CHECK(l.top == RectIn(hwnd, f.window.ToolbarWindow()).bottom);
        CHECK(l.bottom == RectIn(hwnd, f.window.StatusBarWindow()).top);
    };
    auto columnGap = [&] {
        RECT r;
        GetWindowRect(list, &r);
        return (r.right - r.left) - static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    };
    auto sizeAfter = [&](int w, int h) {
        SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        checkPlaced();
        const RECT r = RectIn(nullptr, hwnd);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    ShowWindow(hwnd, SW_SHOWNOACTIVATE); // the first showing lays the window out
    checkPlaced();

    // The user drags the column narrower; later widths keep the new distance.
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(100, 0));
    const int gap = columnGap();
    sizeAfter(700, 500);
    CHECK(columnGap() == gap);
    const auto column = SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0);
    sizeAfter(700, 420);
    CHECK(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0) == column); // height only

    // Each side keeps its minimum on its own: 3200 by 2400 twips.
    const SIZE narrow = sizeAfter(50, 400), low = sizeAfter(500, 20);
    CHECK((narrow.cx == MulDiv(3200, 96, 1440) && narrow.cy == 400));
    CHECK((low.cx == 500 && low.cy == MulDiv(2400, 96, 1440)));

    // A minimized window leaves its list where it was.
    const RECT before = RectIn(hwnd, list);
    ShowWindow(hwnd, SW_MINIMIZE);
    const RECT after = RectIn(hwnd, list);
    CHECK(EqualRect(&before, &after));
}

TEST_CASE("The window shows its caption, its toolbar keys in order, and one column") {
    MainWindowFixture f;
    CHECK(Window(f.Hwnd()).Text() == L"Vorbel Merge your files");
    std::wstring keys;
    const HWND toolbar = f.window.ToolbarWindow();
    for (int i = 0; i < SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0); ++i) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        const wchar_t* key = ToolbarKeyOf(button.idCommand);
        keys += std::wstring((button.fsStyle & BTNS_SEP) ? L"|" : key ? key : L"?") + L" ";
    }
    CHECK(keys == L"add remove | up down | merge ");

    // One column, and more than one entry may be selected.
    const HWND list = f.List().ListView().Handle();
    CHECK(SendMessageW(ListView_GetHeader(list), HDM_GETITEMCOUNT, 0, 0) == 1);
    wchar_t text[16] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 16;
    ListView_GetColumn(list, 0, &column);
    CHECK(std::wstring(text) == L"Files");
    CHECK((GetWindowLongW(list, GWL_STYLE) & LVS_SINGLESEL) == 0);
}

TEST_CASE("Nothing that arrives while a command runs changes the list or runs inside it") {
    for (const bool merging : {false, true}) {
        CAPTURE(merging);
        MainWindowFixture f;
        const auto a = WriteBytes(f.dir / L"a.bin", "A"), b = WriteBytes(f.dir / L"b.bin", "B");
        const auto c = WriteBytes(f.dir / L"c.bin", "C"), output = f.dir / L"out.bin";
        f.Drop({b});
        f.Drop({a}); // b, a: a heading click would sort them
        // Clicks queued while the dialog is up reach the window when the command lets
        // events run: Remove is dropped, Exit waits for the command to finish. A drop
        // and a heading click that come then are refused.
        Effects dropped{};
        f.services.whileDialogOpen = [&] {
            PostMessageW(f.Hwnd(), WM_COMMAND, IDM_SELECT_ALL, 0);
            PostMessageW(f.Hwnd(), WM_COMMAND, IDM_REMOVE, 0);
            PostMessageW(f.Hwnd(), WM_CLOSE, 0, 0);
            dropped = f.Drop({c});
            f.HeadingClick();
        };
        if (merging) {
            f.services.saveResults.push_back(ScriptedServices::Chosen(output));
            f.Command(IDM_MERGE);
            CHECK(ReadBytes(output) == "BA");
        } else {
            f.AddByDialog({c});
        }
        CHECK(dropped == Effects{0, 0, 0});
        CHECK(f.Hwnd() == nullptr); // closed once the command was through
        CHECK(f.Texts() == (merging ? std::vector{b, a} : std::vector{b, a, c}));
        CHECK(f.services.ReadSetting(kPreferencesSection, kAddDirValue, L"?") ==
              (merging ? L"" : f.dir.Path()));
    }
}

TEST_CASE("A command that runs out of memory ends there, and the window lives on") {
    // Each meets the failure in the first service it asks for.
    const std::pair<int, std::string> commands[] = {
        {IDM_ADD, "the open dialog"},
        {IDM_UP, "the beep for no selection"},
        {IDM_HELP, "the message that help.txt is missing"},
    };
    for (const auto& [id, where] : commands) {
        CAPTURE(where);
        MainWindowFixture f;
        f.Drop({f.File(L"A"), f.File(L"B")});
        f.services.outOfMemory = true;
        f.Command(id);
        CHECK_FALSE(f.services.outOfMemory); // met
        REQUIRE(IsWindow(f.Hwnd()));
        CHECK(IsWindowEnabled(f.Hwnd()));
        f.Command(IDM_SELECT_ALL); // the next command runs
        CHECK(f.Letters() == L"ab");
    }
}
