#include "e2e/Driver.h"

#include "paths/Filenames.h"
#include "platform/VersionInfo.h"
#include "shell/AppInfo.h"

#include <commctrl.h>

#include "resource.h"

namespace {

constexpr int kFileNameField = 0x47c; // the name box of the system's file dialogs

bool Waited(DWORD startTick, DWORD timeoutMs) {
    return GetTickCount() - startTick > timeoutMs;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

} // namespace

std::wstring TestProgramDirectory() {
    return GetDirectory(ProgramPath());
}

namespace {

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisibleWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->pid && IsWindowVisible(hwnd))
        search->found.push_back(hwnd);
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD pid) {
    WindowSearch search{pid, {}};
    EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

std::wstring MessageBoxText(HWND box) {
    std::wstring longest;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != L"Static")
            continue;
        const std::wstring text = TextOf(child);
        if (text.size() > longest.size())
            longest = text;
    }
    return longest;
}

void ChooseInFileDialog(HWND dialog, const std::wstring& path) {
    HWND field = GetDlgItem(dialog, kFileNameField);
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PressButton(dialog, IDOK);
}

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

ProgramProcess::ProgramProcess() {
    std::wstring commandLine = L"\"" + TestProgramDirectory() + L"\\..\\VorbelMerge.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return;
    process_.Reset(info.hProcess);
    KernelHandle thread(info.hThread);
    pid_ = info.dwProcessId;
    WaitForInputIdle(process_.Get(), 15000);
    main_ = WaitForWindow([](HWND hwnd) { return ClassOf(hwnd) == L"VorbelMergeMainWindow"; });
    // The main window takes commands once its first paint is through.
    WaitUntilIdle();
}

ProgramProcess::~ProgramProcess() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT)
        TerminateProcess(process_.Get(), 1);
}

HWND ProgramProcess::Toolbar() const {
    return GetDlgItem(main_, IDC_TOOLBAR);
}

HWND ProgramProcess::List() const {
    return GetDlgItem(main_, IDC_FILELIST);
}

HWND ProgramProcess::WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    do {
        for (HWND hwnd : TopLevelWindowsOf(pid_))
            if (match(hwnd))
                return hwnd;
        Sleep(20);
    } while (!Waited(start, timeoutMs));
    return nullptr;
}

HWND ProgramProcess::WaitForFileDialog() const {
    return WaitForWindow([](HWND hwnd) { return GetDlgItem(hwnd, kFileNameField) != nullptr; });
}

HWND ProgramProcess::WaitForMessageBox() const {
    return WaitForWindow(
        [](HWND hwnd) { return ClassOf(hwnd) == L"#32770" && TextOf(hwnd) == kAppTitle; });
}

bool ProgramProcess::WaitUntilIdle(DWORD timeoutMs) const {
    // Between a dialog closing and the work it started, the window is briefly free:
    // idle means free for a while.
    const DWORD start = GetTickCount();
    DWORD idleSince = 0;
    do {
        if (IsWindowEnabled(main_) && TopLevelWindowsOf(pid_).size() == 1) {
            if (idleSince == 0)
                idleSince = GetTickCount();
            else if (Waited(idleSince, 300))
                return true;
        } else {
            idleSince = 0;
        }
        Sleep(20);
    } while (!Waited(start, timeoutMs));
    return false;
}

bool ProgramProcess::WaitForExit(DWORD timeoutMs) const {
    return WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

void ProgramProcess::Command(int id) const {
    PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void ProgramProcess::ToolbarClick(int buttonId) const {
    PostMessageW(main_, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Toolbar()));
}

void ProgramProcess::SelectEntry(int index) const {
    PostMessageW(List(), WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < index; ++i)
        PostMessageW(List(), WM_KEYDOWN, VK_DOWN, 0);
    WaitUntilIdle();
}

int ProgramProcess::EntryCount() const {
    return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
}

bool ProgramProcess::AddThroughDialog(const std::wstring& path) const {
    const int before = EntryCount();
    Command(IDM_ADD);
    HWND dialog = WaitForFileDialog();
    if (!dialog)
        return false;
    ChooseInFileDialog(dialog, path);
    const DWORD start = GetTickCount();
    while (EntryCount() == before && !Waited(start, 30000))
        Sleep(20);
    return WaitUntilIdle() && EntryCount() == before + 1;
}
