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
    program.SelectEntry(2);
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
    // A third of the way through, the bar has something to show.
    for (int i = 0; progress && i < 600; ++i) {
        HWND bar = GetDlgItem(progress, IDC_PROGRESSBAR);
        const LRESULT position = SendMessageW(bar, PBM_GETPOS, 0, 0);
        const LRESULT top = SendMessageW(bar, PBM_GETRANGE, FALSE, 0);
        if (top > 0 && position * 3 >= top)
            return true;
        Sleep(20);
    }
    return false;
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
    else if (scene == L"about")
        ready = MainScene(program, dir) && AboutScene(program);
    Sleep(500); // let the last paint through
    std::printf(ready ? "READY\n" : "FAILED\n");
    std::fflush(stdout);
    if (argc > 2)
        WaitForFile(argv[2]);
    return ready ? 0 : 1;
}
