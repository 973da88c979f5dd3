#include "filelist/BlockMove.h"
#include "platform/EventPump.h"
#include "platform/Window.h"
#include "support/Fixture.h"

#include <doctest.h>

#include <cwctype>

TEST_CASE("Dragged entries land as one block in their order, the others around them") {
    // Letters are entries, the selected ones in lower case; the gap is counted in
    // the list as it stands, 0 before the first entry.
    const struct {
        std::wstring before;
        std::size_t gap;
        std::wstring after;
    } cases[] = {
        {L"AbcDE", 0, L"bcADE"}, {L"AbcDE", 2, L"AbcDE"}, // inside the block: it stays
        {L"AbcDE", 4, L"ADbcE"}, {L"aBcDe", 0, L"aceBD"}, // scattered: gathered at the gap
        {L"aBcDe", 3, L"BaceD"}, {L"aBC", 99, L"BCa"},    // past the end: the end
        {L"ABC", 1, L"ABC"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.before);
        CAPTURE(c.gap);
        std::vector<char> selected;
        for (wchar_t letter : c.before)
            selected.push_back(iswlower(letter) != 0);
        std::wstring after;
        for (std::size_t from : BlockMoveOrder(selected, c.gap))
            after += c.before[from];
        CHECK(after == c.after);
    }
}

namespace {

// Entries named A, B, C... as files in the fixture's folder, sorted.
void Entries(MainWindowFixture& f, int count) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back(f.File(std::wstring(1, static_cast<wchar_t>(L'A' + i)), 1));
    f.Drop(paths);
}

// A point in an entry's row, in the list view's client area: its upper or lower half.
LPARAM InRow(HWND list, int index, bool lowerHalf = false) {
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
    const int quarter = (row.bottom - row.top) / 4;
    return MAKELPARAM(30, lowerHalf ? row.bottom - quarter : row.top + quarter);
}

// The mouse's way to start a drag on an entry: the button goes down on it and the
// pointer moves off further than the system's drag distance. The list view tells
// of the drag from its handling of these messages, which reads them from the queue.
void PressAndPull(HWND list, LPARAM from) {
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, from);
    PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, from + 1);
    PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, from + 3 * GetSystemMetrics(SM_CXDRAG) + 3);
    PumpPendingEvents();
}

void MoveTo(HWND list, LPARAM point) {
    SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, point);
}

} // namespace

TEST_CASE("Dragging the selected entries moves them where the button is released") {
    MainWindowFixture f;
    Entries(f, 6);
    const HWND list = f.List().ListView().Handle();
    f.SelectOnly({1, 3});
    PressAndPull(list, InRow(list, 1));
    CHECK(GetCapture() == list);
    MoveTo(list, InRow(list, 4, true)); // over E's lower half: the gap after it
    CHECK(f.window.EntryDrag().MarkGap() == 5);
    MoveTo(list, InRow(list, 0)); // over A's upper half: the gap before it
    CHECK(f.window.EntryDrag().MarkGap() == 0);
    MoveTo(list, InRow(list, 4, true));
    SendMessageW(list, WM_LBUTTONUP, 0, InRow(list, 4, true));
    CHECK(f.Letters() == L"ACEbdF");
    CHECK(f.List().FocusIndex() == 3); // the click gave B the focus mark, and it went along
    CHECK_FALSE(f.window.EntryDrag().Active());
    CHECK(GetCapture() == nullptr);
    CHECK(f.Status() == L"6 files (6 Bytes)");
    f.HeadingClick(); // the order counts as changed: a heading click sorts ascending
    CHECK(f.Letters() == L"AbCdEF");
}
