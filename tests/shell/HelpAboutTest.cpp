#include "app/AppInfo.h"
#include "shell/AboutBox.h"
#include "shell/Help.h"
#include "support/MainWindowFixture.h"

#include <doctest.h>

#include "resource.h"

namespace {

const std::wstring kMissingTail = L"\r\rThe file shipped with the application and should be \r"
                                  L"located in the same directory as the program file.";

std::wstring ItemText(HWND box, int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(box, id, text, 256);
    return text;
}

} // namespace

TEST_CASE("Help opens help.txt beside the program, or says where it was expected") {
    TempDir root;
    const std::wstring blanks = root / L"Program Files With Blanks", folder = root / L"folder";
    CreateDirectoryW(blanks.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\help.txt").c_str(), nullptr); // a folder is no file
    const auto help = WriteBytes(blanks + L"\\help.txt", "help");
    const struct {
        std::wstring programDir;
        DWORD attributes;     // of the help file beside the program
        std::wstring missing; // the path the message names; empty: the file is opened
    } cases[] = {
        {blanks, FILE_ATTRIBUTE_NORMAL, L""},
        {blanks, FILE_ATTRIBUTE_HIDDEN, L""},
        {blanks, FILE_ATTRIBUTE_SYSTEM, L""},
        {root.Path(), 0, root / L"help.txt"},
        {folder, 0, folder + L"\\help.txt"},
        {L"Q:\\", 0, L"Q:\\\\help.txt"}, // at a drive's root, two backslashes in a row
    };
    for (const auto& c : cases) {
        CAPTURE(c.programDir);
        CAPTURE(c.attributes);
        if (c.attributes)
            SetFileAttributesW(help.c_str(), c.attributes);
        ScriptedServices services;
        ShowHelp(nullptr, services, c.programDir);
        if (c.missing.empty()) {
            CHECK(services.messages.empty());
            // The path follows unquoted, blanks and all.
            CHECK(services.startedProcesses ==
                  std::vector<std::wstring>{L"notepad " + c.programDir + L"\\help.txt"});
        } else {
            CHECK(services.startedProcesses.empty());
            CHECK(services.Warnings() ==
                  Texts{L"Cannot find the help file\r" + c.missing + kMissingTail});
        }
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
    WithAboutBox(f, [&](HWND box) {
        CHECK_FALSE(IsWindowEnabled(f.Hwnd())); // modal over the main window
        CHECK(ItemText(box, IDC_LABEL1) == L"Vorbel Merge your files");
        CHECK(ItemText(box, IDC_VERSION) == L"Version 1.3");
        CHECK(ItemText(box, IDC_DESCRIPTION) == L"Merge several files into a single file.");
        const std::wstring copyright = ItemText(box, IDC_COPYRIGHT);
        CHECK(copyright.starts_with(L"\u00a9 "));
        CHECK(copyright.find(L"Vorbel") != std::wstring::npos);
        CHECK(ItemText(box, IDC_LABEL4) == L"Worldwide Web: ");
        CHECK(ItemText(box, IDC_WWW) == kWebAddress);

        // The address and the icon both open the address; the box stays.
        for (int id : {IDC_WWW, IDC_IMAGE1})
            SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
        CHECK(IsWindow(box));
        // The address label is as wide as its text.
        RECT r;
        GetWindowRect(GetDlgItem(box, IDC_WWW), &r);
        CHECK(r.right - r.left > 50);
        SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    CHECK(f.services.openedAddresses == std::vector<std::wstring>{kWebAddress, kWebAddress});
    CHECK(IsWindowEnabled(f.Hwnd()));

    // The close button closes it too.
    WithAboutBox(f, [](HWND box) { SendMessageW(box, WM_CLOSE, 0, 0); });
    CHECK(FindWindowW(L"#32770", L"About Vorbel") == nullptr);
}

TEST_CASE("An About box whose address runs out of memory stays open") {
    MainWindowFixture f;
    WithAboutBox(f, [&](HWND box) {
        f.services.outOfMemory = true;
        SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_WWW, STN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDC_WWW)));
        CHECK_FALSE(f.services.outOfMemory);
        CHECK(IsWindow(box));
        SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    CHECK(f.services.openedAddresses.empty());
    CHECK(IsWindowEnabled(f.Hwnd()));
}
