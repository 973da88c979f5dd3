#include "platform/Win32Services.h"

#include "platform/ComPtr.h"
#include "platform/FileDialog.h"
#include "platform/Handles.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>

namespace {

TBPFLAG TaskbarFlag(TaskbarState state) {
    switch (state) {
    case TaskbarState::Normal: return TBPF_NORMAL;
    case TaskbarState::Paused: return TBPF_PAUSED;
    case TaskbarState::Error: return TBPF_ERROR;
    case TaskbarState::None: break;
    }
    return TBPF_NOPROGRESS;
}

// The shell's taskbar list, which draws the progress on a window's button. Its
// answers are ignored: a button that cannot show progress changes nothing else.
class TaskbarButton : public TaskbarProgress {
public:
    TaskbarButton(ComPtr<ITaskbarList3> list, HWND window)
        : list_(std::move(list)), window_(window) {}
    void SetState(TaskbarState state) override {
        list_->SetProgressState(window_, TaskbarFlag(state));
    }
    void SetValue(ULONGLONG completed, ULONGLONG total) override {
        list_->SetProgressValue(window_, completed, total);
    }

private:
    ComPtr<ITaskbarList3> list_;
    HWND window_;
};

} // namespace

int Win32Services::ShowMessage(HWND owner, const std::wstring& text, UINT type) {
    return MessageBoxW(owner, text.c_str(), title_.c_str(), type);
}

void Win32Services::Beep() {
    MessageBeep(MB_OK);
}

FileDialogResult Win32Services::ShowOpenDialog(HWND owner, const FileDialogRequest& request) {
    return RunFileDialog(GetOpenFileNameW, owner, request);
}

FileDialogResult Win32Services::ShowSaveDialog(HWND owner, const FileDialogRequest& request) {
    return RunFileDialog(GetSaveFileNameW, owner, request);
}

bool Win32Services::StartProcess(const std::wstring& commandLine) {
    std::wstring mutableLine = commandLine; // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return false;
    KernelHandle process(info.hProcess), thread(info.hThread);
    return true;
}

void Win32Services::OpenAddress(HWND owner, const std::wstring& address) {
    ShellExecuteW(owner, L"open", address.c_str(), L"", L"", SW_SHOWNORMAL);
}

std::wstring Win32Services::ReadSetting(const std::wstring& section, const std::wstring& key,
                                        const std::wstring& defaultValue) {
    RegKey hkey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (settingsKey_ + L"\\" + section).c_str(), 0,
                      KEY_QUERY_VALUE, hkey.Put()) != ERROR_SUCCESS)
        return defaultValue;
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(hkey.Get(), key.c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    // Room for a value stored without its terminating NUL, or of an odd length.
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(hkey.Get(), key.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(value.data()), &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    value.resize(std::min<std::size_t>(value.size(), bytes / sizeof(wchar_t)));
    value.resize(std::wcslen(value.c_str()));
    return value;
}

void Win32Services::WriteSetting(const std::wstring& section, const std::wstring& key,
                                 const std::wstring& value) {
    RegKey hkey;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, (settingsKey_ + L"\\" + section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, hkey.Put(), nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(hkey.Get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::unique_ptr<TaskbarProgress> Win32Services::OpenTaskbarProgress(HWND window) {
    // Systems before Windows 7, and some shells, have no such list.
    ComPtr<ITaskbarList3> list;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(list.Put()))) ||
        FAILED(list->HrInit()))
        return nullptr;
    return std::make_unique<TaskbarButton>(std::move(list), window);
}

void Win32Services::SetShutdownReason(HWND window, const std::wstring& reason) {
    // The screen lists the window with its reason while it answers the session's end.
    if (reason.empty())
        ShutdownBlockReasonDestroy(window);
    else
        ShutdownBlockReasonCreate(window, reason.c_str());
}
