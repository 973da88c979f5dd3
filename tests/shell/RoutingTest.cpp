#include "shell/CommandState.h"
#include "support/Fixture.h"

#include <commctrl.h>

#include "resource.h"

namespace {

// Each menu item, its toolbar key (-1: none), the entries it needs to be enabled,
// and what it does on the entries x10C, x9A, X9B, listed in that order, the last
// one selected: the entries' last letters, a selected one in lower case, then O for
// an open dialog, S a save dialog, ! a beep, M a message.
const struct Route {
    int menuItem, toolbarKey, needs;
    std::wstring outcome;
} kRoutes[] = {
    {0, 0, 0, L"CAb"}, // separators and unknown commands start nothing
    {1, 1, 0, L"CAb"},
    {999, 999, 0, L"CAb"},
    {IDM_ADD, IDT_ADD, 0, L"CAbO"},
    {IDM_MERGE, IDT_MERGE, 2, L"CAbS"},
    {IDM_REMOVE, IDT_REMOVE, 1, L"CA"},
    {IDM_UP, IDT_UP, 2, L"CbA"},
    {IDM_DOWN, IDT_DOWN, 2, L"CAb!"},    // the selected entry is last
    {IDM_SORT_FILES_ASC, -1, 0, L"AbC"}, // numbers by value, case ignored; its submenu needs 2
    {IDM_SORT_FILES_DESC, -1, 0, L"CbA"},
    {IDM_SELECT_ALL, -1, 1, L"cab"},
    {IDM_INVERT_SELECTION, -1, 1, L"caB"},
    {IDM_HELP, -1, 0, L"CAbM"}, // no help.txt here
    {IDM_EXIT, -1, 0, L"closed"},
};

std::wstring Outcome(MainWindowFixture& f) {
    MSG quit;
    if (!f.Hwnd()) // and the program ends
        return PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) ? L"closed" : L"hidden";
    return f.Letters() + std::wstring(f.services.openRequests.size(), L'O') +
           std::wstring(f.services.saveRequests.size(), L'S') +
           std::wstring(static_cast<std::size_t>(f.services.beeps), L'!') +
           std::wstring(f.services.messages.size(), L'M');
}

// Menu items and toolbar buttons agree; the Sort Files submenu goes with its commands.
void CheckStates(MainWindowFixture& f) {
    const int count = f.List().Count();
    for (const Route& r : kRoutes) {
        if (r.menuItem < 1000)
            continue;
        INFO("count " << count << ", menu item " << r.menuItem);
        CHECK(IsMenuCommandEnabled(f.window.Menu(), r.menuItem) == (count >= r.needs));
        if (r.toolbarKey > 0)
            CHECK((SendMessageW(f.window.ToolbarWindow(), TB_ISBUTTONENABLED,
                                static_cast<WPARAM>(r.toolbarKey), 0) != 0) == (count >= r.needs));
    }
    HMENU parent = nullptr;
    int position = 0;
    REQUIRE(FindMenuItemHolding(f.window.Menu(), IDM_SORT_FILES_ASC, &parent, &position));
    CHECK(!(GetMenuState(parent, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) ==
          (count >= 2));
}

} // namespace

TEST_CASE("Every menu item and toolbar key starts exactly its command") {
    for (const Route& route : kRoutes) {
        for (bool onToolbar : {false, true}) {
            if (onToolbar && route.toolbarKey < 0)
                continue;
            INFO("menuItem " << route.menuItem << ", on the toolbar " << onToolbar);
            MainWindowFixture f;
            f.Drop({f.File(L"x10C", 1)});
            f.Drop({f.File(L"x9A", 1), f.File(L"X9B", 1)});
            f.SelectOnly({2});
            if (onToolbar)
                f.ToolbarClick(route.toolbarKey);
            else
                f.Command(route.menuItem);
            CHECK(Outcome(f) == route.outcome);
        }
    }
}

TEST_CASE("Commands are enabled by the number of entries; a disabled one ignores its shortcut") {
    MainWindowFixture f;
    CheckStates(f);
    f.Drop({f.File(L"a.bin", 3)});
    CheckStates(f);
    f.Command(IDM_MERGE, 1); // Ctrl+M below two entries: no message
    CHECK(f.services.messages.empty());
    f.Drop({f.File(L"b.bin", 5)});
    CheckStates(f);
    f.SelectOnly({0});
    f.Command(IDM_REMOVE);
    CheckStates(f);
    CHECK(f.Status() == L"1 files (5 Bytes)");
}
