#include "platform/EventPump.h"
#include "support/Fixture.h"

#include <algorithm>
#include <cwctype>

#include "resource.h"

namespace {

// A point in an entry's row, in the list view's client area: its upper or lower half.
LPARAM InRow(HWND list, int index, bool lowerHalf) {
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
    const int quarter = (row.bottom - row.top) / 4;
    return MAKELPARAM(30, lowerHalf ? row.bottom - quarter : row.top + quarter);
}

// Where the pointer shows a gap: the upper half of the row below it or, taking
// turns, the lower half of the row above it.
LPARAM AtGap(HWND list, int gap, int count) {
    return gap == count || (gap % 2 && gap > 0) ? InRow(list, gap - 1, true)
                                                : InRow(list, gap, false);
}

} // namespace

TEST_CASE("Dragged entries land as one block in their order where the line shows, the others "
          "around them; Up and Down carry each run of selected entries a step") {
    // Letters are entries, the selected ones in lower case, then a ! for each beep; the
    // gap is counted in the list as it stands, 0 before the first entry.
    constexpr int U = -1, D = -2; // a step up or down
    const struct {
        std::wstring before;
        int gap;
        std::wstring after;
    } cases[] = {
        {L"AbcDE", 0, L"bcADE"}, {L"AbcDE", 2, L"AbcDE"}, // inside the block: it stays
        {L"AbcDE", 4, L"ADbcE"}, {L"aBcDe", 0, L"aceBD"}, // scattered: gathered at the gap
        {L"aBcDe", 3, L"BaceD"}, {L"aBC", 3, L"BCa"},     {L"AbCdEF", 5, L"ACEbdF"},
        {L"AbcDE", U, L"bcADE"}, {L"AbcDE", D, L"ADbcE"}, {L"AbCdE", U, L"bAdCE"},
        {L"AbCdE", D, L"ACbEd"}, {L"ABcde", U, L"AcdeB"}, {L"aBc", U, L"aBc!"},
        {L"aBc", D, L"aBc!"}, // one at an edge: none moves
    };
    for (const auto& c : cases) {
        INFO("before " << c.before << ", gap " << c.gap);
        MainWindowFixture f;
        const int count = static_cast<int>(c.before.size());
        ::Texts paths;
        std::vector<int> selected;
        for (int i = 0; i < count; ++i) {
            paths.push_back(f.File(std::wstring(1, towupper(c.before[i])), 1));
            if (iswlower(c.before[i]))
                selected.push_back(i);
        }
        f.Drop(paths);
        f.SelectOnly(selected);
        const HWND list = f.List().ListView().Handle();
        if (c.gap < 0) {
            f.Command(c.gap == U ? IDM_UP : IDM_DOWN);
        } else {
            // The mouse's way to start a drag: the button goes down on a selected entry
            // and the pointer moves off further than the system's drag distance. The list
            // view tells of it from its handling of these messages, read from the queue.
            const LPARAM from = InRow(list, selected.back(), false);
            PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, from);
            PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, from + 1);
            PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON,
                         from + 3 * GetSystemMetrics(SM_CXDRAG) + 3);
            PumpPendingEvents();
            REQUIRE(GetCapture() == list);
            SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, AtGap(list, c.gap, count));
            CHECK(f.window.EntryDrag().MarkGap() == c.gap);
            SendMessageW(list, WM_LBUTTONUP, 0, AtGap(list, c.gap, count));
            // The click gave the last selected entry the focus mark, and it went along.
            CHECK(towlower(f.List().Text(f.List().FocusIndex()).back()) ==
                  c.before[selected.back()]);
        }
        CHECK(f.Letters() + std::wstring(static_cast<std::size_t>(f.services.beeps), L'!') ==
              c.after);
        CHECK_FALSE(f.window.EntryDrag().Active());
        CHECK(GetCapture() == nullptr);
        CHECK(f.Status() ==
              std::to_wstring(count) + L" files (" + std::to_wstring(count) + L" Bytes)");
        // The order counts as changed: a heading click sorts ascending, as the drop into
        // the empty list did.
        f.HeadingClick();
        CHECK(f.Letters() == c.before);
    }
}

TEST_CASE("Up, Down and the sorts leave the focus mark, the anchor and the rows in view in place") {
    MainWindowFixture f;
    FileList& list = f.List();
    const int count = 300;
    {
        FileList::Batch batch(list);
        for (int i = 0; i < count; ++i)
            list.AddFile(L"C:\\list\\" + std::to_wstring(1000 + i)); // in ascending order
    }
    const HWND view = list.ListView().Handle();
    list.MakeCurrent(5);
    SendMessageW(view, LVM_SETSELECTIONMARK, 0, 7);
    std::vector<char> expected(count, 0);
    for (int i : {100, 101, 102, 110, 200, 201})
        expected[static_cast<std::size_t>(i)] = 1;
    list.SetSelection(expected);
    list.EnsureVisible(count - 1);
    list.EnsureVisible(150); // the focus mark far out of view
    REQUIRE(SendMessageW(view, LVM_GETTOPINDEX, 0, 0) == 150);
    const struct {
        int command;
        int shift; // of the selected entries; 0 for the list turned round
    } steps[] = {{IDM_UP, -1}, {IDM_DOWN, 1}, {IDM_SORT_FILES_DESC, 0}, {IDM_SORT_FILES_ASC, 0}};
    for (const auto& step : steps) {
        CAPTURE(step.command);
        f.Command(step.command);
        if (step.shift < 0)
            std::rotate(expected.begin(), expected.begin() + 1, expected.end());
        else if (step.shift > 0)
            std::rotate(expected.begin(), expected.end() - 1, expected.end());
        else
            std::reverse(expected.begin(), expected.end());
        CHECK(list.Selection() == expected);
        CHECK(list.FocusIndex() == 5);
        CHECK(SendMessageW(view, LVM_GETSELECTIONMARK, 0, 0) == 7);
        CHECK(SendMessageW(view, LVM_GETTOPINDEX, 0, 0) == 150);
    }
}
