#include "support/MainWindowFixture.h"

#include <doctest.h>

#include <functional>

#include "resource.h"

namespace {

// Three entries C, A, B (appended in that order after C), with B selected.
void ThreeEntries(MainWindowFixture& f) {
    f.Drop({f.File(L"C", 1)});
    f.Drop({f.File(L"A", 1), f.File(L"B", 1)});
    f.SelectOnly({2});
}

} // namespace

TEST_CASE("Every menu item and toolbar key starts exactly its command") {
    using Check = std::function<void(MainWindowFixture&)>;
    const auto letters = [](const wchar_t* expected) -> Check {
        return [expected](MainWindowFixture& f) { CHECK(f.Letters() == expected); };
    };
    const Check saveDialog = [](MainWindowFixture& f) {
        CHECK(f.services.saveRequests.size() == 1);
        CHECK(f.Letters() == L"CAB");
    };
    const Check openDialog = [](MainWindowFixture& f) {
        CHECK(f.services.openRequests.size() == 1);
        CHECK(f.Letters() == L"CAB");
    };
    const Check beep = [](MainWindowFixture& f) { CHECK(f.services.beeps == 1); };
    const struct {
        int id;
        bool button; // a toolbar key, else a menu item
        Check check;
    } routes[] = {
        {IDM_MERGE, false, saveDialog},
        {IDT_MERGE, true, saveDialog},
        {IDM_ADD, false, openDialog},
        {IDT_ADD, true, openDialog},
        {IDM_REMOVE, false, letters(L"CA")},
        {IDT_REMOVE, true, letters(L"CA")},
        {IDM_UP, false, letters(L"CBA")},
        {IDT_UP, true, letters(L"CBA")},
        {IDM_DOWN, false, beep}, // B is last
        {IDT_DOWN, true, beep},
        {IDM_SORT_FILES_ASC, false, letters(L"ABC")},
        {IDM_SORT_FILES_DESC, false, letters(L"CBA")},
        {IDM_SELECT_ALL, false,
         [](MainWindowFixture& f) {
             CHECK(f.SelectedIndexes() == std::vector<int>{0, 1, 2});
         }},
        {IDM_INVERT_SELECTION, false,
         [](MainWindowFixture& f) {
             CHECK(f.SelectedIndexes() == std::vector<int>{0, 1});
         }},
        {IDM_HELP, false, // no help.txt here
         [](MainWindowFixture& f) { CHECK(f.services.messages.size() == 1); }},
        {IDM_EXIT, false, [](MainWindowFixture& f) { CHECK(f.Hwnd() == nullptr); }},
    };
    for (const auto& route : routes) {
        CAPTURE(route.id);
        MainWindowFixture f;
        ThreeEntries(f);
        if (route.button)
            f.ToolbarClick(route.id);
        else
            f.Command(route.id);
        route.check(f);
        CHECK(f.services.openRequests.size() + f.services.saveRequests.size() <= 1);
    }
}

TEST_CASE("Separators and unknown buttons start nothing") {
    MainWindowFixture f;
    ThreeEntries(f);
    for (int id : {0, 1, 9999}) {
        f.ToolbarClick(id);
        f.Command(id);
    }
    CHECK(f.Letters() == L"CAB");
    CHECK(f.SelectedIndexes() == std::vector<int>{2});
    CHECK(f.services.messages.empty());
    CHECK(f.services.openRequests.empty());
    CHECK(f.services.saveRequests.empty());
    CHECK(f.services.beeps == 0);
    CHECK(f.Hwnd() != nullptr);
}
