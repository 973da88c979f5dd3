#include "filelist/EditCommands.h"
#include "shell/CommandState.h"
#include "support/MainWindowFixture.h"

#include <doctest.h>

#include <cwctype>

#include "resource.h"

namespace {

// Entries as letters, a selected one in lower case: "aBc" is A, B and C with A and C
// selected.
std::wstring Shown(const std::vector<std::wstring>& texts, const std::vector<char>& selected) {
    std::wstring letters;
    for (std::size_t i = 0; i < texts.size(); ++i)
        letters += selected[i] ? towlower(texts[i][0]) : texts[i][0];
    return letters;
}

// Entries named by the letters, as files in the fixture's folder, dropped onto the
// empty list: sorted ascending.
void Entries(MainWindowFixture& f, const std::wstring& letters) {
    std::vector<std::wstring> paths;
    for (wchar_t letter : letters)
        paths.push_back(f.File(std::wstring(1, letter), 1));
    f.Drop(paths);
}

} // namespace

TEST_CASE("Moving carries runs of selected entries as blocks") {
    const struct {
        std::wstring before;
        bool up;
        std::wstring after;
        bool moved;
    } cases[] = {
        {L"AbcDE", true, L"bcADE", true},
        {L"AbcDE", false, L"ADbcE", true},
        {L"AbCdE", true, L"bAdCE", true},
        {L"AbCdE", false, L"ACbEd", true},
        {L"ABcde", true, L"AcdeB", true},
        // A selected entry at the edge stops the whole walk before anything moves.
        {L"aBc", true, L"aBc", false},
        {L"aBc", false, L"aBc", false},
        {L"aBC", true, L"aBC", false},
        {L"a", false, L"a", false},
        {L"ABC", true, L"ABC", true},
    };
    for (const auto& c : cases) {
        CAPTURE(c.before);
        CAPTURE(c.up);
        std::vector<std::wstring> texts;
        std::vector<char> selected;
        for (wchar_t letter : c.before) {
            texts.emplace_back(1, towupper(letter));
            selected.push_back(iswlower(letter) != 0);
        }
        const bool moved =
            c.up ? MoveSelectedUp(texts, selected) : MoveSelectedDown(texts, selected);
        CHECK(moved == c.moved);
        CHECK(Shown(texts, selected) == c.after);
    }
}

TEST_CASE("Move keeps the focus mark in its place and gives the list the focus") {
    MainWindowFixture f;
    Entries(f, L"ABC");
    f.SelectOnly({});
    f.List().MakeCurrent(1); // B, focused and selected
    f.ToolbarClick(IDT_UP);
    CHECK(f.Letters() == L"bAC");
    CHECK(f.List().FocusIndex() == 1);
    CHECK(f.services.beeps == 0);
}

TEST_CASE("Commands that cannot act beep and change nothing but, for a move, the order mark") {
    const struct {
        int id;
        std::vector<int> selected;
        SortOrder orderAfter; // Descending: the next heading click sorts ascending
    } cases[] = {
        {IDM_UP, {}, SortOrder::Ascending},
        {IDM_DOWN, {}, SortOrder::Ascending},
        {IDM_REMOVE, {}, SortOrder::Ascending},
        // A selected entry at the edge stops the move; it still counts as a reordering.
        {IDM_UP, {0, 2}, SortOrder::Descending},
        {IDM_DOWN, {2, 4}, SortOrder::Descending},
    };
    MainWindowFixture f;
    Entries(f, L"ABCDE");
    for (const auto& c : cases) {
        CAPTURE(c.id);
        CAPTURE(c.selected.size());
        f.Command(IDM_SORT_FILES_ASC);
        f.SelectOnly(c.selected);
        const std::wstring before = f.Letters();
        const int beeps = f.services.beeps;
        f.Command(c.id);
        CHECK(f.services.beeps == beeps + 1);
        CHECK(f.Letters() == before);
        CHECK(f.List().RememberedOrder() == c.orderAfter);
    }
    CHECK(f.Status() == L"5 files (5 Bytes)");
}

TEST_CASE("Remove takes out the selected entries and updates the summary") {
    MainWindowFixture f;
    Entries(f, L"ABCDE");
    f.SelectOnly({0, 4});
    f.Command(IDM_REMOVE);
    CHECK(f.Letters() == L"BCD");
    CHECK(f.Status() == L"3 files (3 Bytes)");

    // Then heading clicks sort ascending, then descending.
    SortByColumn(f.List(), 1);
    CHECK(f.Letters() == L"BCD");
    SortByColumn(f.List(), 1);
    CHECK(f.Letters() == L"DCB");

    f.Command(IDM_SELECT_ALL);
    f.Command(IDM_REMOVE);
    CHECK(f.Texts().empty());
    CHECK(f.Status().empty());
    CHECK(f.window.Status().StatusText().empty());
    CHECK_FALSE(IsMenuCommandEnabled(f.window.Menu(), IDM_REMOVE));
}

TEST_CASE("Heading clicks alternate, and a menu sort sets where they start") {
    MainWindowFixture f;
    Entries(f, L"ABCDE");
    SortByColumn(f.List(), 1); // after the sort of an empty list: descending
    CHECK(f.Letters() == L"EDCBA");
    SortByColumn(f.List(), 1);
    CHECK(f.Letters() == L"ABCDE");
    f.Command(IDM_SORT_FILES_ASC);
    SortByColumn(f.List(), 1);
    CHECK(f.Letters() == L"EDCBA");
    SortByColumn(f.List(), 2); // no such column
    CHECK(f.Letters() == L"EDCBA");
}

TEST_CASE("Select all and invert selection set the flags and the focus mark") {
    MainWindowFixture f;
    Entries(f, L"ABC");
    f.SelectOnly({});
    f.Command(IDM_SELECT_ALL);
    CHECK(f.Letters() == L"abc");
    CHECK(f.List().FocusIndex() == 2);

    f.SelectOnly({0});
    f.List().MakeCurrent(0);
    f.Command(IDM_INVERT_SELECTION);
    CHECK(f.Letters() == L"Abc");
    CHECK(f.List().FocusIndex() == 2);

    f.SelectOnly({0, 1, 2});
    f.List().MakeCurrent(1);
    f.Command(IDM_INVERT_SELECTION); // every entry was selected: the mark stays
    CHECK(f.Letters() == L"ABC");
    CHECK(f.List().FocusIndex() == 1);
    CHECK(f.services.beeps == 0);
}
