// Sets the real program up for a screenshot and holds it there: started inside a
// Wine virtual desktop by scripts/screenshots.sh, which takes the picture when
// this prints READY and then creates the stop file named on the command line.
// "scenes fonts FACE POINTS" sets the system's fonts for the programs started later.

#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest.h>

#include "e2e/Driver.h"
#include "support/SystemFonts.h"
#include "support/TempDir.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "resource.h"

namespace {

void WaitForFile(const std::wstring& path) {
    for (int i = 0; i < 3000 && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
}

// Selects the entry at a 0-based position with the keyboard, as a user would.
void SelectEntry(const ProgramProcess& program, int index) {
    const HWND list = GetDlgItem(program.Main(), IDC_FILELIST);
    PostMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < index; ++i)
        PostMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    program.WaitUntilIdle();
}

bool MainScene(ProgramProcess& program, TempDir& dir) {
    const struct {
        const wchar_t* name;
        std::size_t size;
    } files[] = {{L"holiday-video.part3", 734003},
                 {L"holiday-video.part1", 1048576},
                 {L"holiday-video.part2", 1048576},
                 {L"holiday-video.part10", 52812}};
    for (const auto& f : files)
        if (!program.AddThroughDialog(WriteBytes(dir / f.name, std::string(f.size, 'x'))))
            return false;
    SelectEntry(program, 2);
    return true;
}

bool ProgressScene(ProgramProcess& program, TempDir& dir) {
    const auto big = dir / L"disk-image.part1";
    MakeSparseFile(big, 24LL << 30); // long enough to be caught running
    if (!program.AddThroughDialog(big) ||
        !program.AddThroughDialog(WriteBytes(dir / L"disk-image.part2", "tail")))
        return false;
    program.Command(IDM_MERGE);
    HWND save = program.WaitForFileDialog();
    if (!save)
        return false;
    ChooseInFileDialog(save, dir / L"disk-image.img");
    HWND progress = program.WaitForWindow([](HWND w) { return TextOf(w) == L"Merging..."; });
    // A third of the way through, the bar has something to show. The output goes to
    // the disk, so on a busy machine that may take a while.
    for (int i = 0; progress && i < 3000; ++i) {
        HWND bar = GetDlgItem(progress, IDC_PROGRESSBAR);
        const LRESULT position = SendMessageW(bar, PBM_GETPOS, 0, 0);
        const LRESULT top = SendMessageW(bar, PBM_GETRANGE, FALSE, 0);
        if (top > 0 && position * 3 >= top)
            return true;
        Sleep(20);
    }
    return false;
}

// The top and bottom of an entry's row in the program's list: the list view writes
// the rectangle into the program's own memory.
bool RowOf(HWND list, int index, RECT& row) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    KernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    void* remote = process ? VirtualAllocEx(process.Get(), nullptr, sizeof row,
                                            MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                           : nullptr;
    if (!remote)
        return false;
    row = {LVIR_BOUNDS, 0, 0, 0};
    const bool ok = WriteProcessMemory(process.Get(), remote, &row, sizeof row, nullptr) &&
                    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(remote)) &&
                    ReadProcessMemory(process.Get(), remote, &row, sizeof row, nullptr);
    VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return ok;
}

void PostMouse(HWND list, UINT message, WPARAM keys, int x, int y) {
    PostMessageW(list, message, keys, MAKELPARAM(x, y));
}

// Six parts of a recording, the last two of which belong after the second: they are
// selected and dragged there, and the picture is taken with the button still down.
bool DragScene(ProgramProcess& program, TempDir& dir) {
    for (int part = 1; part <= 6; ++part) {
        const auto name = L"interview-2024.part" + std::to_wstring(part);
        if (!program.AddThroughDialog(WriteBytes(dir / name, std::string(150000u * part, 'x'))))
            return false;
    }
    const HWND list = GetDlgItem(program.Main(), IDC_FILELIST);
    RECT fifth, sixth, third;
    if (!RowOf(list, 4, fifth) || !RowOf(list, 5, sixth) || !RowOf(list, 2, third))
        return false;
    const int x = 60, middle = (sixth.top + sixth.bottom) / 2;
    PostMouse(list, WM_LBUTTONDOWN, MK_LBUTTON, x, (fifth.top + fifth.bottom) / 2);
    PostMouse(list, WM_LBUTTONUP, 0, x, (fifth.top + fifth.bottom) / 2);
    PostMouse(list, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, x, middle);
    PostMouse(list, WM_LBUTTONUP, MK_SHIFT, x, middle);
    program.WaitUntilIdle();
    // Pressed on the sixth and pulled away: the list view begins the drag.
    PostMouse(list, WM_LBUTTONDOWN, MK_LBUTTON, x, middle);
    PostMouse(list, WM_MOUSEMOVE, MK_LBUTTON, x + 1, middle);
    PostMouse(list, WM_MOUSEMOVE, MK_LBUTTON, x + 40, middle - 10);
    Sleep(500);
    PostMouse(list, WM_MOUSEMOVE, MK_LBUTTON, x + 40, third.top + 2); // above the third part
    Sleep(300);
    return true;
}

// A video cut into numbered parts, one missing and one cut short by a broken
// download: adding the first part brings the rest, and Merge As asks first.
bool SetScene(ProgramProcess& program, TempDir& dir) {
    const std::size_t sizes[] = {1048576, 700000, 1048576, 0, 1048576, 301233};
    for (int part = 1; part <= 6; ++part)
        if (sizes[part - 1] > 0)
            WriteBytes(dir / (L"holiday-video.mkv.00" + std::to_wstring(part)),
                       std::string(sizes[part - 1], 'x'));
    if (!program.AddThroughDialog(dir / L"holiday-video.mkv.001", 5))
        return false;
    program.Command(IDM_MERGE);
    return program.WaitForMessageBox() != nullptr;
}

bool AboutScene(ProgramProcess& program) {
    program.Command(IDM_ABOUT);
    return program.WaitForWindow([](HWND w) { return TextOf(w) == L"About Vorbel"; }) != nullptr;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    doctest::Context checks; // the file helpers check what they write
    checks.setAsDefaultForAssertsOutOfTestCases();
    const std::wstring scene = argc > 1 ? argv[1] : L"main";
    if (scene == L"fonts" && argc > 3) {
        const FontSetup setup{"", argv[2], _wtoi(argv[3])};
        return SetSystemFonts(setup, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) ? 0 : 1;
    }
    TempDir dir;
    ProgramProcess program;
    if (!program.Main())
        return 1;
    bool ready = false;
    if (scene == L"main")
        ready = MainScene(program, dir);
    else if (scene == L"progress")
        ready = MainScene(program, dir) && ProgressScene(program, dir);
    else if (scene == L"drag")
        ready = DragScene(program, dir);
    else if (scene == L"set")
        ready = SetScene(program, dir);
    else if (scene == L"about")
        ready = MainScene(program, dir) && AboutScene(program);
    Sleep(500); // let the last paint through
    std::printf(ready ? "READY\n" : "FAILED\n");
    std::fflush(stdout);
    if (argc > 2)
        WaitForFile(argv[2]);
    return ready ? 0 : 1;
}
