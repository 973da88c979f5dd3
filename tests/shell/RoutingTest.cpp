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

std::wstring Letters(MainWindowFixture& f) {
    std::wstring letters;
    for (const auto& text : f.Texts())
        letters += text.back();
    return letters;
}

struct Route {
    const char* name;
    std::function<void(MainWindowFixture&)> click;
    std::function<void(MainWindowFixture&)> check;
};

} // namespace

TEST_CASE("Every menu item and toolbar key starts exactly its command") {
    auto menu = [](int id) { return [id](MainWindowFixture& f) { f.Command(id); }; };
    auto button = [](int id) { return [id](MainWindowFixture& f) { f.ToolbarClick(id); }; };
    auto saveDialogAsked = [](MainWindowFixture& f) {
        CHECK(f.services.saveRequests.size() == 1);
        CHECK(Letters(f) == L"CAB");
    };
    auto openDialogAsked = [](MainWindowFixture& f) {
        CHECK(f.services.openRequests.size() == 1);
        CHECK(Letters(f) == L"CAB");
    };
    auto movedUp = [](MainWindowFixture& f) { CHECK(Letters(f) == L"CBA"); };
    auto removed = [](MainWindowFixture& f) { CHECK(Letters(f) == L"CA"); };
    const Route routes[] = {
        {"Merge As", menu(IDM_MERGE), saveDialogAsked},
        {"merge", button(IDT_MERGE), saveDialogAsked},
        {"Add Files", menu(IDM_ADD), openDialogAsked},
        {"add", button(IDT_ADD), openDialogAsked},
        {"Remove Files", menu(IDM_REMOVE), removed},
        {"remove", button(IDT_REMOVE), removed},
        {"Move Up", menu(IDM_UP), movedUp},
        {"up", button(IDT_UP), movedUp},
        {"Move Down", menu(IDM_DOWN), [](MainWindowFixture& f) { CHECK(f.services.beeps == 1); }},
        {"down", button(IDT_DOWN), [](MainWindowFixture& f) { CHECK(f.services.beeps == 1); }},
        {"Ascending", menu(IDM_SORT_FILES_ASC),
         [](MainWindowFixture& f) { CHECK(Letters(f) == L"ABC"); }},
        {"Descending", menu(IDM_SORT_FILES_DESC),
         [](MainWindowFixture& f) { CHECK(Letters(f) == L"CBA"); }},
        {"Select All", menu(IDM_SELECT_ALL),
         [](MainWindowFixture& f) {
             CHECK(f.SelectedIndexes() == std::vector<int>{0, 1, 2});
         }},
        {"Invert Selection", menu(IDM_INVERT_SELECTION),
         [](MainWindowFixture& f) {
             CHECK(f.SelectedIndexes() == std::vector<int>{0, 1});
         }},
        {"Help", menu(IDM_HELP),
         [](MainWindowFixture& f) { CHECK(f.services.messages.size() == 1); }}, // no help.txt here
        {"Exit", menu(IDM_EXIT), [](MainWindowFixture& f) { CHECK(f.Hwnd() == nullptr); }},
    };
    for (const auto& route : routes) {
        CAPTURE(route.name);
        MainWindowFixture f;
        ThreeEntries(f);
        route.click(f);
        route.check(f);
        const int dialogs =
            static_cast<int>(f.services.openRequests.size() + f.services.saveRequests.size());
        CHECK(dialogs <= 1);
    }
}

TEST_CASE("Separators and unknown buttons start nothing") {
    MainWindowFixture f;
    ThreeEntries(f);
    for (int id : {0, 1, 9999}) {
        f.ToolbarClick(id);
        f.Command(id);
    }
    CHECK(Letters(f) == L"CAB");
    CHECK(f.SelectedIndexes() == std::vector<int>{2});
    CHECK(f.services.messages.empty());
    CHECK(f.services.openRequests.empty());
    CHECK(f.services.saveRequests.empty());
    CHECK(f.services.beeps == 0);
    CHECK(f.Hwnd() != nullptr);
}
