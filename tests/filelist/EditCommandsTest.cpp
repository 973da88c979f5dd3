#include "filelist/BlockMove.h"
#include "support/Fixture.h"

#include <algorithm>
#include <cwctype>

#include "resource.h"

TEST_CASE("Moving carries runs of selected entries as blocks") {
    // Letters are entries, the selected ones in lower case; "-": nothing moves.
    const struct {
        std::wstring before;
        bool up;
        std::wstring after;
    } cases[] = {
        {L"AbcDE", true, L"bcADE"},
        {L"AbcDE", false, L"ADbcE"},
        {L"AbCdE", true, L"bAdCE"},
        {L"AbCdE", false, L"ACbEd"},
        {L"ABcde", true, L"AcdeB"},
        {L"ABC", true, L"ABC"},
        // A selected entry at the edge stops the whole walk before anything moves.
        {L"aBc", true, L"-"},
        {L"aBc", false, L"-"},
    };
    for (const auto& c : cases) {
        INFO("before " << c.before << ", up " << c.up);
        std::vector<char> selected;
        for (wchar_t letter : c.before)
            selected.push_back(iswlower(letter) != 0);
        const auto order = StepMoveOrder(selected, c.up ? Step::Up : Step::Down);
        std::wstring after = order ? L"" : L"-";
        for (std::size_t from : order.value_or(std::vector<std::size_t>{}))
            after += c.before[from];
        CHECK(after == c.after);
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
