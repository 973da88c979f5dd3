#include "app/FormatNumber.h"
#include "shell/CommandState.h"
#include "shell/Preferences.h"
#include "shell/RegistryNames.h"
#include "support/Fixture.h"

#include <commctrl.h>
#include <doctest.h>

#include "resource.h"

namespace {

bool IsSortSubmenuEnabled(HMENU menu) {
    HMENU parent = nullptr;
    int position = 0;
    return FindMenuItemHolding(menu, IDM_SORT_FILES_ASC, &parent, &position) &&
           !(GetMenuState(parent, static_cast<UINT>(position), MF_BYPOSITION) &
             (MF_GRAYED | MF_DISABLED));
}

// Each command is enabled from a number of entries on; its menu item and its
// toolbar button, where it has one, agree.
void CheckStates(MainWindowFixture& f) {
    const int count = f.List().Count();
    CAPTURE(count);
    const struct {
        UINT id;
        int button, needs;
    } commands[] = {{IDM_ADD, IDT_ADD, 0},        {IDM_REMOVE, IDT_REMOVE, 1},
                    {IDM_UP, IDT_UP, 2},          {IDM_DOWN, IDT_DOWN, 2},
                    {IDM_MERGE, IDT_MERGE, 2},    {IDM_SELECT_ALL, 0, 1},
                    {IDM_INVERT_SELECTION, 0, 1}, {IDM_EXIT, 0, 0}};
    for (const auto& c : commands) {
        CAPTURE(c.id);
        CHECK(IsMenuCommandEnabled(f.window.Menu(), c.id) == (count >= c.needs));
        if (c.button)
            CHECK((SendMessageW(f.window.ToolbarWindow(), TB_ISBUTTONENABLED,
                                static_cast<WPARAM>(c.button), 0) != 0) == (count >= c.needs));
    }
    CHECK(IsSortSubmenuEnabled(f.window.Menu()) == (count >= 2));
}

} // namespace

TEST_CASE("Commands are enabled by the number of entries; a disabled one ignores its shortcut") {
    MainWindowFixture f;
    CheckStates(f);
    f.Drop({f.File(L"a.bin", 3)});
    CheckStates(f);
    f.Command(IDM_MERGE, 1); // Ctrl+M below two entries: no message
    CHECK(f.services.messages.empty());
    f.Drop({f.File(L"b.bin", 5)});
    CheckStates(f);
    f.SelectOnly({0});
    f.Command(IDM_REMOVE);
    CheckStates(f);
    CHECK(f.Status() == L"1 files (5 Bytes)");
}

TEST_CASE("The status bar sums the listed files as they are on disk, beyond 4 GiB too") {
    MainWindowFixture f;
    CHECK(f.Status().empty());
    // The same file twice counts twice; a file deleted after it was added counts 0; a
    // folder gives the files directly in it, not its subfolders.
    const auto seven = f.File(L"seven.bin", 7), gone = f.File(L"gone.bin", 1000);
    for (const wchar_t* folder : {L"d", L"d\\sub"})
        CreateDirectoryW((f.dir / folder).c_str(), nullptr);
    const auto inFolder = f.File(L"d\\f.bin", 4);
    f.File(L"d\\sub\\g.bin", 100);
    f.Drop({seven, seven, gone, f.dir / L"d"});
    CHECK(f.Texts() == Texts{inFolder, gone, seven, seven});
    CHECK(f.Status() == L"4 files (" + FormatNumber(1018) + L" Bytes)");
    DeleteFileW(gone.c_str());
    f.window.Status().RebuildStatus(f.List());
    CHECK(f.Status() == L"4 files (18 Bytes)");
    const auto big = f.dir / L"big.bin";
    REQUIRE(MakeSparseFile(big, 3LL << 30));
    f.Drop({big, big});
    CHECK(f.Status() == L"6 files (" + FormatNumber(6442450962.0) + L" Bytes)");
}

TEST_CASE("Sorting orders paths naturally and keeps each entry's selection") {
    MainWindowFixture f;
    const auto p2 = f.File(L"part2.bin"), p10 = f.File(L"part10.bin"), p1 = f.File(L"Part1.bin");
    const auto upper = f.File(L"PART2.BIN");
    f.Drop({p10});
    f.Drop({p2, upper, p1}); // appended in the given order to a non-empty list
    f.SelectOnly({0, 2});    // part10, PART2.BIN
    f.Command(IDM_SORT_FILES_ASC);
    // Letter case is ignored; the exact text breaks the tie, capitals first.
    CHECK(f.Texts() == Texts{p1, upper, p2, p10});
    CHECK(f.List().Selection() == std::vector<char>{0, 1, 0, 1});
    f.Command(IDM_SORT_FILES_DESC);
    CHECK(f.Texts() == Texts{p10, p2, upper, p1});
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
