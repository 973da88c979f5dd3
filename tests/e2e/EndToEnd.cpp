// The real program, started as a separate process and driven through its real
// windows and dialogs. It is ended from outside, so it writes no preferences.

#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest.h>

#include "e2e/Driver.h"
#include "paths/Filenames.h"
#include "platform/VersionInfo.h"
#include "support/TempDir.h"

#include "resource.h"

TEST_CASE("Files added, reordered and merged through the real windows") {
    TempDir dir;
    const std::string a = Pattern(5000, 1), b = Pattern(4096, 2), c = Pattern(70000, 3);
    const auto fileA = WriteBytes(dir / L"a.bin", a);
    const auto fileB = WriteBytes(dir / L"b.bin", b);
    const auto fileC = WriteBytes(dir / L"c.bin", c);
    ProgramProcess program;
    REQUIRE(program.Main());
    for (const auto& file : {fileA, fileB, fileC})
        REQUIRE(program.AddThroughDialog(file));

    program.SelectEntry(2); // c.bin, moved above b.bin with the toolbar
    program.ToolbarClick(IDT_UP);
    program.ToolbarClick(IDT_MERGE);
    HWND save = program.WaitForFileDialog();
    REQUIRE(save);
    CHECK(TextOf(GetDlgItem(save, 0x47c)).find(L"merge.bin") != std::wstring::npos);
    const auto output = dir / L"joined.bin";
    ChooseInFileDialog(save, output);
    REQUIRE(program.WaitUntilIdle());
    CHECK(ReadBytes(output) == a + c + b);
    CHECK(ReadBytes(fileC) == c); // the inputs stay as they were
}

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
    HWND news = program.WaitForMessageBox();
    REQUIRE(news);
    CHECK(MessageBoxText(news).starts_with(L"The merged file came out right:\r" + set +
                                           L"\\holiday.mkv\r"));
    PressButton(news, IDOK);
    REQUIRE(program.WaitUntilIdle());
    CHECK(ReadBytes(set + L"\\holiday.mkv") == ReadBytes(set + L"\\original\\holiday.mkv"));
}
