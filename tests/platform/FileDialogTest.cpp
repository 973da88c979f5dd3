#include "platform/FileDialog.h"
#include "support/TempDir.h"

#include <cderr.h>
#include <malloc.h>

#include <algorithm>

namespace {

// What the stand-in dialog writes over the proposal, NULs included, where it says
// the first name starts, and the folder it was told to start in.
std::wstring answer, startedIn;
WORD nameOffset = 0;

// Writes in place, as the system's dialogs do: what lies past the answer stays. Like
// the system's, it may write past the length it is told, but only into the program's
// memory.
BOOL WINAPI AnsweringDialog(LPOPENFILENAMEW ofn) {
    startedIn = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : L"";
    const bool owned = _msize(ofn->lpstrFile) >= answer.size() * sizeof(wchar_t);
    CHECK(owned);
    if (owned)
        std::copy(answer.begin(), answer.end(), ofn->lpstrFile);
    ofn->nFileOffset = nameOffset;
    return owned;
}

} // namespace

TEST_CASE("A file dialog's result is what was chosen and nothing after it, or too long") {
    using namespace std::string_literals;
    using enum FileDialogResult::Outcome;
    constexpr DWORD multi = OFN_ALLOWMULTISELECT;
    const struct {
        std::wstring proposal, written; // the name proposed, what the dialog writes over it
        WORD offset;                    // where it says the first name starts
        DWORD flags;
        int maxChars; // the length it is told
        FileDialogResult::Outcome outcome;
        std::wstring text, folder;
    } cases[] = {
        // A shorter choice over a longer proposal: the rest of the proposal is not part of it.
        {L"merge.part001", L"C:\\a.b\0"s, 3, 0, 0, Chosen, L"C:\\a.b", L"C:\\"},
        {L"", L"C:\\d\\x.bin\0"s, 5, multi, 0, Chosen, L"C:\\d\\x.bin", L"C:\\d"},
        {L"", L"C:\\d\0x\0y z\0\0"s, 5, multi, 0, Chosen, L"C:\\d\0x\0y z"s, L"C:\\d"},
        // A result that reaches the end of the length told, or runs past it, is too long.
        {L"", L"C:\\d\\abcdefghi\0"s, 5, multi, 16, Chosen, L"C:\\d\\abcdefghi", L"C:\\d"},
        {L"", L"C:\\d\\abcdefghij\0"s, 5, multi, 16, TooSmall, L"", L"C:\\d"},
        {L"", L"C:\\d\0"s + std::wstring(40, L'x') + L"\0y\0\0"s, 5, multi, 16, TooSmall, L"",
         L"C:\\d"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.written.size());
        answer = c.written;
        nameOffset = c.offset;
        // Flags, proposal, filter, default extension, starting folder, limit.
        const FileDialogResult result =
            RunFileDialog(AnsweringDialog, nullptr, {c.flags, c.proposal, {}, {}, L"", c.maxChars});
        CHECK(result.outcome == c.outcome);
        CHECK(result.error == (c.outcome == TooSmall ? FNERR_BUFFERTOOSMALL : 0));
        CHECK(result.text == c.text);
        CHECK(result.folder == c.folder);
    }
}

// The dialog cannot take a folder of MAX_PATH characters or more (a long one crashed
// it); the folder asked for, a saved one too, stays as it is.
TEST_CASE("A file dialog starts in the nearest folder that it can take") {
    const std::wstring d(140, L'd'), e(300, L'e'), fits = L"C:\\" + std::wstring(256, L'f');
    const std::pair<std::wstring, std::wstring> cases[] = {
        {fits, fits},
        {L"C:\\" + d + L"\\" + e, L"C:\\" + d},
        {L"\\\\?\\C:\\" + d + L"\\" + e, L"C:\\" + d},
        {L"C:\\" + e, L"C:\\"},
        {L"\\\\server\\share\\" + e, L"\\\\server\\share"},
        {L"\\\\server\\" + e, L""},
        {std::wstring(30000, L'x'), L""},
    };
    answer = L"C:\\x";
    for (const auto& [folder, started] : cases) {
        CAPTURE(folder.size());
        RunFileDialog(AnsweringDialog, nullptr, {0, L"", {}, {}, folder, 0});
        CHECK(startedIn == started);
    }
}
