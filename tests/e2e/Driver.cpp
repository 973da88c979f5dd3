#include "e2e/Driver.h"

#include "app/AppInfo.h"
#include "paths/Filenames.h"
#include "platform/VersionInfo.h"

#include <commctrl.h>

#include "resource.h"

namespace {

constexpr int kFileNameField = 0x47c; // the name box of the system's file dialogs

// Asks every 20 ms until the answer is yes or a minute has passed.
bool Poll(const std::function<bool()>& condition) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(20))
        if (condition())
            return true;
    return false;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

// A lambda cannot be the callback on the 32-bit build, whose callbacks are stdcall.
BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search.pid && IsWindowVisible(hwnd))
        search.found.push_back(hwnd);
    return TRUE;
}

} // namespace

std::wstring TextOf(HWND hwnd) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

void ChooseInFileDialog(HWND dialog, const std::wstring& path) {
    SendMessageW(GetDlgItem(dialog, kFileNameField), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.c_str()));
    PressButton(dialog, IDOK);
}

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

ProgramProcess::ProgramProcess() {
    std::wstring commandLine = L"\"" + GetDirectory(ProgramPath()) + L"\\..\\VorbelMerge.exe\"";
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

std::vector<HWND> ProgramProcess::VisibleWindows() const {
    WindowSearch search{pid_, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramProcess::WaitForWindow(const std::function<bool(HWND)>& match) const {
    HWND found = nullptr;
    Poll([&] {
        for (HWND hwnd : VisibleWindows())
            if (match(hwnd))
                found = hwnd;
        return found != nullptr;
    });
    return found;
}

HWND ProgramProcess::WaitForFileDialog() const {
    return WaitForWindow([](HWND hwnd) { return GetDlgItem(hwnd, kFileNameField) != nullptr; });
}

HWND ProgramProcess::WaitForMessageBox() const {
    return WaitForWindow(
        [](HWND hwnd) { return ClassOf(hwnd) == L"#32770" && TextOf(hwnd) == kAppTitle; });
}

bool ProgramProcess::WaitUntilIdle() const {
    // Between a dialog closing and the work it started, the window is briefly free:
    // idle means free for a while.
    DWORD idleSince = 0;
    return Poll([&] {
        if (!IsWindowEnabled(main_) || VisibleWindows().size() != 1)
            idleSince = 0;
        else if (idleSince == 0)
            idleSince = GetTickCount();
        return idleSince != 0 && GetTickCount() - idleSince > 300;
    });
}

int ProgramProcess::EntryCount() const {
    return static_cast<int>(SendMessageW(GetDlgItem(main_, IDC_FILELIST), LVM_GETITEMCOUNT, 0, 0));
}

bool ProgramProcess::AddThroughDialog(const std::wstring& path, int entries) const {
    const int before = EntryCount();
    Command(IDM_ADD);
    HWND dialog = WaitForFileDialog();
    if (!dialog)
        return false;
    ChooseInFileDialog(dialog, path);
    return Poll([&] { return EntryCount() > before; }) && WaitUntilIdle() &&
           EntryCount() == before + entries;
}
