#include "platform/FileDialog.h"

#include <doctest.h>

#include <algorithm>

namespace {

// What the stand-in dialog writes over the proposal, NULs included, and where it
// says the first name starts.
std::wstring answer;
WORD nameOffset = 0;

// Writes in place, as the system's dialogs do: what lies past the answer stays.
BOOL WINAPI AnsweringDialog(LPOPENFILENAMEW ofn) {
    std::copy(answer.begin(), answer.end(), ofn->lpstrFile);
    ofn->nFileOffset = nameOffset;
    return TRUE;
}

FileDialogRequest Request(const std::wstring& proposal, DWORD flags) {
    FileDialogRequest request;
    request.fileName = proposal;
    request.flags = flags;
    return request;
}

} // namespace

TEST_CASE("A file dialog's result is what was chosen and nothing after it") {
    using namespace std::string_literals;
    const struct {
        std::wstring proposal, written;
        WORD offset;
        DWORD flags;
        std::wstring text, folder;
    } cases[] = {
        // A shorter choice over a longer proposal: the rest of the proposal is not part of it.
        {L"merge.part001", L"C:\\a.b\0"s, 3, 0, L"C:\\a.b", L"C:\\"},
        {L"", L"C:\\d\\x.bin\0"s, 5, OFN_ALLOWMULTISELECT, L"C:\\d\\x.bin", L"C:\\d"},
        {L"", L"C:\\d\0x\0y z\0\0"s, 5, OFN_ALLOWMULTISELECT, L"C:\\d\0x\0y z"s, L"C:\\d"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.offset);
        answer = c.written;
        nameOffset = c.offset;
        const FileDialogResult result =
            RunFileDialog(AnsweringDialog, nullptr, Request(c.proposal, c.flags));
        CHECK(result.outcome == FileDialogResult::Outcome::Chosen);
        CHECK(result.text == c.text);
        CHECK(result.folder == c.folder);
    }
}
