// The real program, started as a separate process and driven through its real
// windows and dialogs: the set a user most often merges, cut by another program.
// It is ended from outside, so it writes no preferences.

#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest.h>

#include "e2e/Driver.h"
#include "paths/Filenames.h"
#include "platform/VersionInfo.h"
#include "support/TempDir.h"

#include "resource.h"

TEST_CASE("A set cut by split comes back whole from its first part, and verified") {
    // Made before the run, beside this program, by scripts/make-split-set.sh.
    const std::wstring set = GetDirectory(ProgramPath()) + L"\\split-set";
    REQUIRE(GetFileAttributesW((set + L"\\holiday.mkv.005").c_str()) != INVALID_FILE_ATTRIBUTES);
    ProgramProcess program;
    REQUIRE(program.Main());
    REQUIRE(program.AddThroughDialog(set + L"\\holiday.mkv.001", 5));
    program.Command(IDM_MERGE);
    HWND save = program.WaitForFileDialog();
    REQUIRE(save);
    CHECK(TextOf(GetDlgItem(save, 0x47c)) == L"holiday.mkv");
    PressButton(save, IDOK); // the proposal, in the set's folder
    // Checked as it was written, against the .crc and the SHA256SUMS beside the parts.
    HWND news = program.WaitForMessageBox(); // its text in item 0xffff
    REQUIRE(news);
    CHECK(TextOf(GetDlgItem(news, 0xffff))
              .starts_with(L"The merged file came out right:\r" + set + L"\\holiday.mkv\r"));
    PressButton(news, IDOK);
    REQUIRE(program.WaitUntilIdle());
    CHECK(ReadBytes(set + L"\\holiday.mkv") == ReadBytes(set + L"\\original\\holiday.mkv"));
}
