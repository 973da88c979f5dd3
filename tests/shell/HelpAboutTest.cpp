#include "shell/AboutBox.h"
#include "shell/AppInfo.h"
#include "shell/Help.h"
#include "support/MainWindowFixture.h"

#include <doctest.h>

#include <functional>

#include "resource.h"

namespace {

const std::wstring kMissingTail = L"\r\rThe file shipped with the application and should be \r"
                                  L"located in the same directory as the program file.";

std::function<void(HWND)>* pendingInspection = nullptr;

void CALLBACK InspectWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowW(L"#32770", L"About Vorbel");
    if (!box || !pendingInspection)
        return;
    KillTimer(nullptr, timer);
    auto inspect = std::exchange(pendingInspection, nullptr);
    (*inspect)(box);
}

// Runs a command that shows the About box and inspects the box while it is open;
// the inspection must close it.
void WithAboutBox(const std::function<void()>& show, std::function<void(HWND)> inspect) {
    pendingInspection = &inspect;
    SetTimer(nullptr, 0, 20, InspectWhenShown);
    show();
    CHECK(pendingInspection == nullptr); // the box was seen
    pendingInspection = nullptr;
}

std::wstring ItemText(HWND box, int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(box, id, text, 256);
    return text;
}

} // namespace

TEST_CASE("Help opens help.txt beside the program with the text viewer") {
    TempDir root;
    const std::wstring programDir = root / L"Program Files With Blanks";
    CreateDirectoryW(programDir.c_str(), nullptr);
    const auto help = WriteBytes(programDir + L"\\help.txt", "help");

    for (DWORD attributes : {DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_HIDDEN},
                             DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
        CAPTURE(attributes);
        SetFileAttributesW(help.c_str(), attributes);
        ScriptedServices services;
        IDM_HELP_Click(nullptr, services, programDir);
        CHECK(services.messages.empty());
        REQUIRE(services.startedProcesses.size() == 1);
        // The path follows unquoted, blanks and all.
        CHECK(services.startedProcesses[0] == L"notepad " + programDir + L"\\help.txt");
    }
    SetFileAttributesW(help.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_CASE("Help says where its file was expected when it is not there") {
    TempDir root;
    const std::wstring withFolder = root / L"folder";
    CreateDirectoryW(withFolder.c_str(), nullptr);
    CreateDirectoryW((withFolder + L"\\help.txt").c_str(), nullptr); // a folder is no file
    const struct {
        std::wstring programDir;
        std::wstring shownPath;
    } cases[] = {
        {root.Path(), root / L"help.txt"},
        {withFolder, withFolder + L"\\help.txt"},
        {L"Q:\\", L"Q:\\\\help.txt"}, // at a drive's root, two backslashes in a row
    };
    for (const auto& c : cases) {
        CAPTURE(ToUtf8(c.programDir));
        ScriptedServices services;
        IDM_HELP_Click(nullptr, services, c.programDir);
        CHECK(services.startedProcesses.empty());
        REQUIRE(services.messages.size() == 1);
        CHECK(services.messages[0].text ==
              L"Cannot find the help file\r" + c.shownPath + kMissingTail);
        CHECK(services.messages[0].type == (MB_OK | MB_ICONEXCLAMATION));
    }
}

TEST_CASE("Help is reached by its menu item and by F1") {
    MainWindowFixture f;
    WriteBytes(f.dir / L"help.txt", "help");
    f.Command(IDM_HELP);
    f.ShortcutCommand(IDM_HELP);
    CHECK(f.services.startedProcesses.size() == 2);
}

TEST_CASE("The version line shows major and minor without leading zeros") {
    CHECK(VersionLine(1, 3) == L"Version 1.3");
    CHECK(VersionLine(1, 10) == L"Version 1.10");
    CHECK(VersionLine(2, 0) == L"Version 2.0");
}

TEST_CASE("The About box shows the program's version and opens the web address") {
    MainWindowFixture f;
    WithAboutBox([&] { f.Command(IDM_ABOUT); },
                 [&](HWND box) {
                     CHECK_FALSE(IsWindowEnabled(f.Hwnd())); // modal over the main window
                     CHECK(ItemText(box, IDC_LABEL1) == L"Vorbel Merge your files");
                     CHECK(ItemText(box, IDC_VERSION) == L"Version 1.3");
                     CHECK(ItemText(box, IDC_DESCRIPTION) ==
                           L"Merge several files into a single file.");
                     const std::wstring copyright = ItemText(box, IDC_COPYRIGHT);
                     CHECK(copyright.rfind(L"\u00a9 ", 0) == 0);
                     CHECK(copyright.find(L"Vorbel") != std::wstring::npos);
                     CHECK(ItemText(box, IDC_LABEL4) == L"Worldwide Web: ");
                     CHECK(ItemText(box, IDC_WWW) == kWebAddress);

                     // The address and the icon both open the address.
                     SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_WWW, STN_CLICKED),
                                  reinterpret_cast<LPARAM>(GetDlgItem(box, IDC_WWW)));
                     SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_IMAGE1, STN_CLICKED),
                                  reinterpret_cast<LPARAM>(GetDlgItem(box, IDC_IMAGE1)));
                     CHECK(IsWindow(box)); // the box stays open

                     // The address label is as wide as its text.
                     RECT r;
                     GetWindowRect(GetDlgItem(box, IDC_WWW), &r);
                     CHECK(r.right - r.left > 50);
                     SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                 });
    CHECK(f.services.openedAddresses == std::vector<std::wstring>{kWebAddress, kWebAddress});
    CHECK(IsWindowEnabled(f.Hwnd()));
}

TEST_CASE("The About box closes with its close button") {
    MainWindowFixture f;
    WithAboutBox([&] { f.Command(IDM_ABOUT); },
                 [](HWND box) { SendMessageW(box, WM_CLOSE, 0, 0); });
    CHECK(FindWindowW(L"#32770", L"About Vorbel") == nullptr);
}
