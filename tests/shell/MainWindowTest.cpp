#include "app/FormatNumber.h"
#include "shell/Preferences.h"
#include "shell/RegistryNames.h"
#include "support/Fixture.h"

#include "resource.h"

TEST_CASE("The status bar sums the listed files as they are on disk, beyond 4 GiB too") {
    MainWindowFixture f;
    CHECK(f.Status().empty());
    // The same file twice counts twice; a file deleted after it was added counts 0; a
    // folder gives the files directly in it, not its subfolders. Sorted as they come
    // into the empty list, letter case ignored, the exact text breaking a tie.
    const auto seven = f.File(L"seven.bin", 7), gone = f.File(L"gone.bin", 1000);
    for (const wchar_t* folder : {L"d", L"d\\sub"})
        CreateDirectoryW((f.dir / folder).c_str(), nullptr);
    const auto inFolder = f.File(L"d\\f.bin", 4), upper = f.dir / L"SEVEN.BIN";
    f.File(L"d\\sub\\g.bin", 100);
    f.Drop({seven, upper, gone, f.dir / L"d"});
    CHECK(f.Texts() == Texts{inFolder, gone, upper, seven});
    CHECK(f.Status() == L"4 files (" + FormatNumber(1018) + L" Bytes)");
    DeleteFileW(gone.c_str());
    f.window.Status().RebuildStatus(f.List());
    CHECK(f.Status() == L"4 files (18 Bytes)");
    const auto big = f.dir / L"big.bin";
    REQUIRE(MakeSparseFile(big, 3LL << 30));
    f.Drop({big, big});
    CHECK(f.Status() == L"6 files (" + FormatNumber(6442450962.0) + L" Bytes)");
}

TEST_CASE("Nothing that arrives while a command runs changes the list or runs inside it") {
    for (const bool merging : {false, true}) {
        CAPTURE(merging);
        MainWindowFixture f;
        const auto a = WriteBytes(f.dir / L"a.bin", "A"), b = WriteBytes(f.dir / L"b.bin", "B");
        const auto c = WriteBytes(f.dir / L"c.bin", "C"), output = f.dir / L"out.bin";
        f.Drop({b});
        f.Drop({a}); // b, a: a heading click would sort them
        // Clicks queued while the dialog is up reach the window when the command lets
        // events run: Remove is dropped, Exit waits for the command to finish. A drop
        // and a heading click that come then are refused.
        Effects dropped{};
        f.services.whileDialogOpen = [&] {
            PostMessageW(f.Hwnd(), WM_COMMAND, IDM_SELECT_ALL, 0);
            PostMessageW(f.Hwnd(), WM_COMMAND, IDM_REMOVE, 0);
            PostMessageW(f.Hwnd(), WM_CLOSE, 0, 0);
            dropped = f.Drop({c});
            f.HeadingClick();
        };
        if (merging) {
            f.services.saveResults.push_back(ScriptedServices::Chosen(output));
            f.Command(IDM_MERGE);
            CHECK(ReadBytes(output) == "BA");
        } else {
            f.AddByDialog({c});
        }
        CHECK(dropped == Effects{0, 0, 0});
        CHECK(f.Hwnd() == nullptr); // closed once the command was through
        CHECK(f.Texts() == (merging ? Texts{b, a} : Texts{b, a, c}));
        // The close stored the folder the dialog ended in.
        const Preferences stored = LoadPreferences(f.services);
        CHECK((merging ? stored.strSaveDir : stored.strAddDir) == f.dir.Path());
    }
}

TEST_CASE("Garbage in the settings store reads as the defaults") {
    ScriptedServices services;
    const std::wstring key = services.SettingsKey() + L"\\" + kPreferencesSection;
    const auto store = [&](const wchar_t* name, DWORD type, const void* data, DWORD size) {
        REQUIRE(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data, size) == 0);
    };
    const DWORD number = 12345;
    const wchar_t unterminated[] = {L'C', L':', L'\\', L'x'};
    store(kFilenameBufSizeValue, REG_DWORD, &number, sizeof number);
    store(kSaveDirValue, REG_SZ, unterminated, sizeof unterminated);
    store(kAddDirValue, REG_SZ, "abc", 3); // an odd number of bytes
    const Preferences p = LoadPreferences(services);
    CHECK(p.strFilenameBufSize == L"4096");
    CHECK(p.strSaveDir == L"C:\\x");
    CHECK(p.strAddDir.size() <= 2);
}
