#include "filelist/EditCommands.h"
#include "shell/CommandState.h"
#include "support/MainWindowFixture.h"

#include <doctest.h>

#include "resource.h"

namespace {

using Texts = std::vector<std::wstring>;
using Flags = std::vector<char>;

Texts Split(const std::wstring& letters) {
    Texts texts;
    for (wchar_t c : letters)
        texts.emplace_back(1, c);
    return texts;
}

Flags Marks(const std::wstring& letters, const std::wstring& selected) {
    Flags flags;
    for (wchar_t c : letters)
        flags.push_back(selected.find(c) != std::wstring::npos);
    return flags;
}

// Five entries A..E as files in the fixture's folder, in that order.
std::vector<std::wstring> FiveEntries(MainWindowFixture& f) {
    std::vector<std::wstring> paths;
    for (const wchar_t* name : {L"A", L"B", L"C", L"D", L"E"})
        paths.push_back(f.File(name, 1));
    f.Drop(paths);
    return paths;
}

std::wstring Letters(MainWindowFixture& f) {
    std::wstring letters;
    for (const auto& text : f.Texts())
        letters += text.back();
    return letters;
}

} // namespace

TEST_CASE("Moving carries runs of selected entries as blocks") {
    const struct {
        const wchar_t* before;
        const wchar_t* selected;
        bool up;
        const wchar_t* after;
        const wchar_t* selectedAfter;
        bool moved;
    } cases[] = {
        {L"ABCDE", L"BC", true, L"BCADE", L"BC", true},
        {L"ABCDE", L"BC", false, L"ADBCE", L"BC", true},
        {L"ABCDE", L"BD", true, L"BADCE", L"BD", true},
        {L"ABCDE", L"BD", false, L"ACBED", L"BD", true},
        {L"ABCDE", L"CDE", true, L"ACDEB", L"CDE", true},
        // A selected entry at the edge stops the whole walk before anything moves.
        {L"ABC", L"AC", true, L"ABC", L"AC", false},
        {L"ABC", L"AC", false, L"ABC", L"AC", false},
        {L"ABC", L"A", true, L"ABC", L"A", false},
        {L"A", L"A", false, L"A", L"A", false},
        {L"ABC", L"", true, L"ABC", L"", true},
    };
    for (const auto& c : cases) {
        CAPTURE(ToUtf8(c.before));
        CAPTURE(ToUtf8(c.selected));
        CAPTURE(c.up);
        Texts texts = Split(c.before);
        Flags flags = Marks(c.before, c.selected);
        const bool moved = c.up ? MoveSelectedUp(texts, flags) : MoveSelectedDown(texts, flags);
        CHECK(moved == c.moved);
        CHECK(texts == Split(c.after));
        CHECK(flags == Marks(c.after, c.selectedAfter));
    }
}

TEST_CASE("Move keeps the focus mark in its place and gives the list the focus") {
    MainWindowFixture f;
    for (const wchar_t* name : {L"A", L"B", L"C"})
        f.Drop({f.File(name, 1)});
    f.SelectOnly({});
    f.List().MakeCurrent(1); // B, focused and selected
    f.ToolbarClick(IDT_UP);
    CHECK(Letters(f) == L"BAC");
    CHECK(f.SelectedIndexes() == std::vector<int>{0});
    CHECK(f.List().FocusIndex() == 1);
    CHECK(f.services.beeps == 0);
}

TEST_CASE("Commands that need a selection beep without one and change nothing") {
    MainWindowFixture f;
    FiveEntries(f);
    f.SelectOnly({});
    f.Command(IDM_SORT_FILES_ASC);
    for (int id : {IDM_UP, IDM_DOWN, IDM_REMOVE}) {
        CAPTURE(id);
        const int beeps = f.services.beeps;
        f.Command(id);
        CHECK(f.services.beeps == beeps + 1);
        CHECK(Letters(f) == L"ABCDE");
        // The order is not marked as changed: the next heading click still reverses.
        CHECK(f.List().RememberedOrder() == SortOrder::Ascending);
    }
    CHECK(f.Status() == L"5 files (5 Bytes)");
}

TEST_CASE("A move stopped at the edge still marks the order as changed") {
    MainWindowFixture f;
    FiveEntries(f); // sorted ascending on the empty list
    for (int id : {IDM_UP, IDM_DOWN}) {
        f.Command(IDM_SORT_FILES_ASC);
        f.SelectOnly(id == IDM_UP ? std::vector<int>{0, 2} : std::vector<int>{2, 4});
        f.Command(id);
        CHECK(Letters(f) == L"ABCDE");
        CHECK(f.services.beeps > 0);
        lvwFiles_ColumnClick(f.List(), 1);
        CHECK(f.List().RememberedOrder() == SortOrder::Ascending);
    }
}

TEST_CASE("Remove takes out the selected entries and updates the summary") {
    MainWindowFixture f;
    FiveEntries(f);
    f.SelectOnly({0, 4});
    f.Command(IDM_REMOVE);
    CHECK(Letters(f) == L"BCD");
    CHECK(f.Status() == L"3 files (3 Bytes)");
    CHECK(f.SelectedIndexes().empty());

    // Then heading clicks sort ascending, then descending.
    lvwFiles_ColumnClick(f.List(), 1);
    CHECK(Letters(f) == L"BCD");
    lvwFiles_ColumnClick(f.List(), 1);
    CHECK(Letters(f) == L"DCB");

    f.Command(IDM_SELECT_ALL);
    f.Command(IDM_REMOVE);
    CHECK(f.Texts().empty());
    CHECK(f.Status().empty());
    CHECK(f.List().StatusText().empty());
    CHECK_FALSE(IsMenuCommandEnabled(f.window.Menu(), IDM_REMOVE));
}

TEST_CASE("Heading clicks alternate, and a menu sort sets where they start") {
    MainWindowFixture f;
    FiveEntries(f);
    lvwFiles_ColumnClick(f.List(), 1); // after the sort of an empty list: descending
    CHECK(Letters(f) == L"EDCBA");
    lvwFiles_ColumnClick(f.List(), 1);
    CHECK(Letters(f) == L"ABCDE");
    f.Command(IDM_SORT_FILES_ASC);
    lvwFiles_ColumnClick(f.List(), 1);
    CHECK(Letters(f) == L"EDCBA");
    lvwFiles_ColumnClick(f.List(), 2); // no such column
    CHECK(Letters(f) == L"EDCBA");
}

TEST_CASE("Select all and invert selection set the flags and the focus mark") {
    MainWindowFixture f;
    for (const wchar_t* name : {L"A", L"B", L"C"})
        f.Drop({f.File(name, 1)});
    f.SelectOnly({});
    f.Command(IDM_SELECT_ALL);
    CHECK(f.SelectedIndexes() == std::vector<int>{0, 1, 2});
    CHECK(f.List().FocusIndex() == 2);

    f.SelectOnly({0});
    f.List().MakeCurrent(0);
    f.Command(IDM_INVERT_SELECTION);
    CHECK(f.SelectedIndexes() == std::vector<int>{1, 2});
    CHECK(f.List().FocusIndex() == 2);

    f.SelectOnly({0, 1, 2});
    f.List().MakeCurrent(1);
    f.Command(IDM_INVERT_SELECTION); // every entry was selected: the mark stays
    CHECK(f.SelectedIndexes().empty());
    CHECK(f.List().FocusIndex() == 1);
    CHECK(f.services.beeps == 0);
}
