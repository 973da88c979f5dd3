#include "support/Fixture.h"

#include <doctest.h>

#include "resource.h"

namespace {

// What a click did: the entries as letters, selected ones in lower case, and each
// dialog, beep and message it brought up; or that it closed the window.
std::wstring Outcome(MainWindowFixture& f) {
    if (!f.Hwnd())
        return L"closed";
    std::wstring outcome = f.Letters();
    outcome += std::wstring(f.services.openRequests.size(), L'O');
    outcome += std::wstring(f.services.saveRequests.size(), L'S');
    outcome += std::wstring(static_cast<std::size_t>(f.services.beeps), L'!');
    outcome += std::wstring(f.services.messages.size(), L'M');
    return outcome;
}

} // namespace

TEST_CASE("Every menu item and toolbar key starts exactly its command") {
    // On three entries C, A, B (appended in that order after C), with B selected.
    // After the letters: O an open dialog, S a save dialog, ! a beep, M a message.
    const struct {
        int menuItem, toolbarKey; // -1: no toolbar key
        std::wstring outcome;
    } routes[] = {
        {0, 0, L"CAb"}, // separators and unknown commands start nothing
        {1, 1, L"CAb"},
        {9999, 9999, L"CAb"},
        {IDM_ADD, IDT_ADD, L"CAbO"},
        {IDM_MERGE, IDT_MERGE, L"CAbS"},
        {IDM_REMOVE, IDT_REMOVE, L"CA"},
        {IDM_UP, IDT_UP, L"CbA"},
        {IDM_DOWN, IDT_DOWN, L"CAb!"}, // B is last
        {IDM_SORT_FILES_ASC, -1, L"AbC"},
        {IDM_SORT_FILES_DESC, -1, L"CbA"},
        {IDM_SELECT_ALL, -1, L"cab"},
        {IDM_INVERT_SELECTION, -1, L"caB"},
        {IDM_HELP, -1, L"CAbM"}, // no help.txt here
        {IDM_EXIT, -1, L"closed"},
    };
    for (const auto& route : routes) {
        for (bool onToolbar : {false, true}) {
            if (onToolbar && route.toolbarKey < 0)
                continue;
            CAPTURE(route.menuItem);
            CAPTURE(onToolbar);
            MainWindowFixture f;
            f.Drop({f.File(L"C", 1)});
            f.Drop({f.File(L"A", 1), f.File(L"B", 1)});
            f.SelectOnly({2});
            if (onToolbar)
                f.ToolbarClick(route.toolbarKey);
            else
                f.Command(route.menuItem);
            CHECK(Outcome(f) == route.outcome);
        }
    }
}
