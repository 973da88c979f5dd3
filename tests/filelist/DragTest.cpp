#include "filelist/BlockMove.h"
#include "platform/EventPump.h"
#include "shell/CommandState.h"
#include "support/MainWindowFixture.h"

#include <doctest.h>

#include <cwctype>

#include "resource.h"

TEST_CASE("Dragged entries land as one block in their order, the others around them") {
    // Letters are entries, the selected ones in lower case; the gap is counted in
    // the list as it stands, 0 before the first entry.
    const struct {
        std::wstring before;
        std::size_t gap;
        std::wstring after;
    } cases[] = {
        {L"AbcDE", 0, L"bcADE"}, // to the first place
        {L"AbcDE", 2, L"AbcDE"}, // inside the block: it stays
        {L"AbcDE", 4, L"ADbcE"}, // after it
        {L"AbcDE", 5, L"ADEbc"}, // to the last place
        {L"aBcDe", 0, L"aceBD"}, // scattered: gathered at the gap
        {L"aBcDe", 3, L"BaceD"}, // between two of them
        {L"aBcDe", 5, L"BDace"}, // to the end
        {L"aBC", 99, L"BCa"},    // past the end: the end
        {L"ABC", 1, L"ABC"},     // nothing selected
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
POINT InRow(HWND list, int index, bool lowerHalf = false) {
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
    const int quarter = (row.bottom - row.top) / 4;
    return {30, lowerHalf ? row.bottom - quarter : row.top + quarter};
}

LPARAM At(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

// The mouse's way to start a drag on an entry: the button goes down on it and the
// pointer moves off further than the system's drag distance. The list view tells
// of the drag from its handling of these messages, which reads them from the queue.
void PressAndPull(HWND list, POINT from) {
    const POINT away{from.x + 3 * GetSystemMetrics(SM_CXDRAG) + 3, from.y};
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, At(from));
    PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, At({from.x + 1, from.y}));
    PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, At(away));
    PumpPendingEvents();
}

void MoveTo(HWND list, POINT point) {
    SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, At(point));
}

void ReleaseAt(HWND list, POINT point) {
    SendMessageW(list, WM_LBUTTONUP, 0, At(point));
}

} // namespace

TEST_CASE("Dragging the selected entries moves them where the button is released") {
    MainWindowFixture f;
    Entries(f, 6);
    const HWND list = f.List().ListView().Handle();
    f.SelectOnly({1, 3});

    PressAndPull(list, InRow(list, 1));
    CHECK(f.window.EntryDrag().Active());
    CHECK(GetCapture() == list);
    MoveTo(list, InRow(list, 4, true)); // over E's lower half: the gap after it
    CHECK(f.window.EntryDrag().MarkGap() == 5);
    MoveTo(list, InRow(list, 0)); // over A's upper half: the gap before it
    CHECK(f.window.EntryDrag().MarkGap() == 0);
    MoveTo(list, InRow(list, 4, true));
    ReleaseAt(list, InRow(list, 4, true));

    CHECK(f.Letters() == L"ACEbdF");
    CHECK(f.List().FocusIndex() == 3); // the click gave B the focus mark, and it went along
    CHECK_FALSE(f.window.EntryDrag().Active());
    CHECK(f.window.EntryDrag().MarkGap() == -1);
    CHECK(GetCapture() == nullptr);
    // Nothing was added or removed: the summary and the commands stay as they were.
    CHECK(f.Status() == L"6 files (6 Bytes)");
    CHECK(IsMenuCommandEnabled(f.window.Menu(), IDM_MERGE));
    // The order counts as changed: a heading click sorts ascending.
    f.HeadingClick();
    CHECK(f.Letters() == L"AbCdEF");
}

TEST_CASE("A drag ends with nothing moved on Esc, the right button, a release outside or a "
          "lost capture") {
    const struct {
        std::string how;
        std::function<void(HWND list, HWND main)> cancel;
    } ways[] = {
        {"Esc", [](HWND list, HWND) { SendMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"the right button",
         [](HWND list, HWND) { SendMessageW(list, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 0); }},
        {"a release outside",
         [](HWND list, HWND) {
             RECT client;
             GetClientRect(list, &client);
             ReleaseAt(list, {client.right + 20, client.bottom / 2});
         }},
        {"a lost capture", [](HWND, HWND main) { SetCapture(main); }},
    };
    for (const auto& way : ways) {
        CAPTURE(way.how);
        MainWindowFixture f;
        Entries(f, 4);
        const HWND list = f.List().ListView().Handle();
        f.SelectOnly({0, 1});
        PressAndPull(list, InRow(list, 0));
        MoveTo(list, InRow(list, 3, true));
        REQUIRE(f.window.EntryDrag().MarkGap() == 4);
        way.cancel(list, f.Hwnd());
        CHECK_FALSE(f.window.EntryDrag().Active());
        CHECK(f.window.EntryDrag().MarkGap() == -1);
        ReleaseCapture();
        // A release that comes after is the list view's own again: nothing moves.
        ReleaseAt(list, InRow(list, 3, true));
        CHECK(f.Texts() ==
              std::vector<std::wstring>{f.dir / L"A", f.dir / L"B", f.dir / L"C", f.dir / L"D"});
        CHECK(f.List().RememberedOrder() == SortOrder::Ascending);
    }
}

TEST_CASE("Near the list's bottom or top edge a drag scrolls it") {
    MainWindowFixture f;
    Entries(f, 26);
    const HWND list = f.List().ListView().Handle();
    const auto top = [&] { return static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); };
    const auto tick = [&] { SendMessageW(list, WM_TIMER, ListDrag::kScrollTimer, 0); };
    RECT client;
    GetClientRect(list, &client);
    REQUIRE(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0) < 20);
    SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE); // the drop left the end in view
    REQUIRE(top() == 0);
    f.SelectOnly({0});
    PressAndPull(list, InRow(list, 0));
    MoveTo(list, {30, client.bottom - 2});
    const int mark = f.window.EntryDrag().MarkGap();
    tick();
    tick();
    CHECK(top() == 2);
    CHECK(f.window.EntryDrag().MarkGap() == mark + 2); // the mark stays under the pointer
    MoveTo(list, InRow(list, top()));
    tick();
    CHECK(top() == 1);
    MoveTo(list, InRow(list, top() + 3)); // away from the edges: it stays
    tick();
    CHECK(top() == 1);
    SendMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_CASE("No drag starts on an unselected entry or while a command runs") {
    MainWindowFixture f;
    Entries(f, 3);
    const HWND list = f.List().ListView().Handle();
    bool startedDuringCommand = true;
    f.services.whileDialogOpen = [&] {
        f.SelectOnly({0});
        PressAndPull(list, InRow(list, 0));
        startedDuringCommand = f.window.EntryDrag().Active();
    };
    f.AddByDialog({f.File(L"D", 1)});
    CHECK_FALSE(startedDuringCommand);

    f.SelectOnly({});
    NMLISTVIEW begin{};
    begin.hdr = {list, IDC_FILELIST, LVN_BEGINDRAG};
    begin.iItem = 1;
    SendMessageW(f.Hwnd(), WM_NOTIFY, IDC_FILELIST, reinterpret_cast<LPARAM>(&begin));
    CHECK_FALSE(f.window.EntryDrag().Active());
}
