#include "filelist/EditCommands.h"
#include "support/TempDir.h"

#include <doctest.h>

#include <cwctype>

TEST_CASE("Moving carries runs of selected entries as blocks") {
    // Letters are entries, the selected ones in lower case.
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
        {L"ABC", true, L"ABC", true},
        // A selected entry at the edge stops the whole walk before anything moves.
        {L"aBc", true, L"aBc", false},
        {L"aBc", false, L"aBc", false},
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
        CHECK((c.up ? MoveSelectedUp(texts, selected) : MoveSelectedDown(texts, selected)) ==
              c.moved);
        std::wstring after;
        for (std::size_t i = 0; i < texts.size(); ++i)
            after += selected[i] ? towlower(texts[i][0]) : texts[i][0];
        CHECK(after == c.after);
    }
}
