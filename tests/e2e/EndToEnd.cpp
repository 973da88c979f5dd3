// The real program, started as a separate process and driven through its real
// windows and dialogs.

#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest.h>

#include "e2e/Driver.h"
#include "paths/Filenames.h"
#include "platform/Handles.h"
#include "platform/VersionInfo.h"
#include "shell/RegistryNames.h"
#include "support/TempDir.h"

#include "resource.h"

namespace {

std::wstring ReadPreference(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value);
    const std::wstring key = kSettingsKey + L"\\" + kPreferencesSection;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

// The program keeps its preferences under the user's own key. A test finds the key
// empty and leaves it as it found it: the user's values wait in a copy meanwhile,
// which a run that dies midway leaves for the next to put back.
class SavedPreferences {
public:
    SavedPreferences() {
        PutBack();
        RegKey saved, own, copy;
        RegCreateKeyExW(HKEY_CURRENT_USER, kSaved, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        saved.Put(), nullptr);
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey.c_str(), 0, KEY_READ, own.Put()) == 0) {
            REQUIRE(RegCreateKeyExW(saved.Get(), L"Copy", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    copy.Put(), nullptr) == 0);
            REQUIRE(RegCopyTreeW(own.Get(), nullptr, copy.Get()) == 0);
        }
        own.Reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey.c_str());
    }
    ~SavedPreferences() { PutBack(); }

private:
    static constexpr wchar_t kSaved[] = L"Software\\VorbelMergeTests\\SavedPreferences";

    static void PutBack() {
        RegKey saved, copy, own;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kSaved, 0, KEY_READ, saved.Put()) != 0)
            return;
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey.c_str());
        if (RegOpenKeyExW(saved.Get(), L"Copy", 0, KEY_READ, copy.Put()) == 0 && // the user's
            (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, own.Put(), nullptr) != 0 ||
             RegCopyTreeW(copy.Get(), nullptr, own.Get()) != 0))
            return; // the copy stays for the next run
        saved.Reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kSaved);
    }
};

} // namespace

TEST_CASE_FIXTURE(SavedPreferences, "Files added, reordered and merged through the real windows") {
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

    program.Command(IDM_EXIT);
    REQUIRE(program.WaitForExit());
    CHECK(ReadPreference(kAddDirValue) == dir.Path());
    CHECK(ReadPreference(kSaveDirValue) == dir.Path());
    CHECK(ReadPreference(kFilenameBufSizeValue) == L"4096");
}

TEST_CASE_FIXTURE(SavedPreferences,
                  "A set cut by split comes back whole from its first part, and verified") {
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
