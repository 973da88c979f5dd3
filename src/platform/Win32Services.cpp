#include "platform/Win32Services.h"

#include "paths/Filenames.h"
#include "platform/ComPtr.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"

#include <commdlg.h>
#include <cderr.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <vector>

namespace {

// "a|b|c|d" becomes "a\0b\0c\0d\0\0", the form the dialogs read.
std::wstring DialogFilter(const std::wstring& filter) {
    std::wstring out = filter;
    std::replace(out.begin(), out.end(), L'|', L'\0');
    out.append(2, L'\0');
    return out;
}

// The folder of a chosen name: without its last backslash, except at a drive's root.
std::wstring FolderBefore(const std::wstring& path, std::size_t nameOffset) {
    std::wstring folder = path.substr(0, nameOffset);
    if (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'\0'))
        folder.pop_back();
    return FolderPath(folder);
}

using DialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);

// The room a dialog without a length limit of its own (the save dialog) gets: a
// long path still fits.
constexpr std::size_t kUnlimitedChars = 32768;

// How a dialog that gave no name ended.
FileDialogResult NotChosen() {
    FileDialogResult result;
    result.error = CommDlgExtendedError();
    if (result.error == 0) {
        result.outcome = FileDialogResult::Outcome::Cancelled;
    } else if (result.error == FNERR_BUFFERTOOSMALL) {
        result.outcome = FileDialogResult::Outcome::TooSmall;
        result.folder = CurrentDirectory();
    } else {
        result.outcome = FileDialogResult::Outcome::Failed;
    }
    return result;
}

// A single path ends at its own NUL: what follows may be left over from the
// proposed name. Only a folder with several names, which the dialog marks by a
// NUL before the first name, ends at the first double NUL.
std::wstring ChosenText(const std::vector<wchar_t>& buffer, const OPENFILENAMEW& ofn) {
    const bool severalNames = (ofn.Flags & OFN_ALLOWMULTISELECT) && ofn.nFileOffset > 0 &&
                              ofn.nFileOffset < buffer.size() &&
                              buffer[ofn.nFileOffset - 1] == L'\0';
    std::size_t end = 0;
    while (end < buffer.size() && buffer[end] != L'\0')
        ++end;
    if (severalNames)
        while (end + 1 < buffer.size() && !(buffer[end] == L'\0' && buffer[end + 1] == L'\0'))
            ++end;
    return std::wstring(buffer.data(), end);
}

FileDialogResult RunFileDialog(DialogFunction show, HWND owner, const FileDialogRequest& request) {
    const std::size_t capacity =
        request.maxChars > 0 ? static_cast<std::size_t>(request.maxChars) : kUnlimitedChars;
    std::vector<wchar_t> buffer(std::max<std::size_t>(capacity, request.fileName.size() + 1) + 2,
                                L'\0');
    std::copy(request.fileName.begin(), request.fileName.end(), buffer.begin());
    const std::wstring filter = DialogFilter(request.filter);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(capacity);
    ofn.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
    ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
    ofn.Flags = request.flags;

    if (!show(&ofn))
        return NotChosen();
    FileDialogResult result;
    result.outcome = FileDialogResult::Outcome::Chosen;
    result.text = ChosenText(buffer, ofn);
    result.folder = FolderBefore(result.text, ofn.nFileOffset);
    return result;
}

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
