#include "support/ScriptedServices.h"

#include "shell/AppInfo.h"

#include <atomic>

namespace {

std::wstring TestSettingsKey() {
    static std::atomic<unsigned> counter{0};
    return L"Software\\VorbelMergeTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++);
}

FileDialogResult Next(std::deque<FileDialogResult>& queue) {
    if (queue.empty())
        return {};
    FileDialogResult result = std::move(queue.front());
    queue.pop_front();
    return result;
}

} // namespace

ScriptedServices::ScriptedServices() : Win32Services(kAppTitle, TestSettingsKey()) {}

ScriptedServices::~ScriptedServices() {
    RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey().c_str());
}

int ScriptedServices::ShowMessage(HWND, const std::wstring& text, UINT type) {
    messages.push_back({text, type});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

FileDialogResult ScriptedServices::ShowOpenDialog(HWND, const FileDialogRequest& request) {
    openRequests.push_back(request);
    if (whileDialogOpen)
        whileDialogOpen();
    return Next(openResults);
}

FileDialogResult ScriptedServices::ShowSaveDialog(HWND, const FileDialogRequest& request) {
    saveRequests.push_back(request);
    if (whileDialogOpen)
        whileDialogOpen();
    return Next(saveResults);
}

bool ScriptedServices::StartProcess(const std::wstring& commandLine) {
    startedProcesses.push_back(commandLine);
    return true;
}

void ScriptedServices::OpenAddress(HWND, const std::wstring& address) {
    openedAddresses.push_back(address);
}

FileDialogResult ScriptedServices::Chosen(const std::wstring& text, const std::wstring& folder) {
    FileDialogResult result;
    result.outcome = FileDialogResult::Outcome::Chosen;
    result.text = text;
    result.folder = folder;
    return result;
}

FileDialogResult ScriptedServices::Failed(DWORD error, const std::wstring& folder) {
    FileDialogResult result;
    result.folder = folder;
    result.outcome = error == 0x3003 /* FNERR_BUFFERTOOSMALL */
                         ? FileDialogResult::Outcome::TooSmall
                         : FileDialogResult::Outcome::Failed;
    result.error = error;
    return result;
}
