#include "support/ScriptedServices.h"

#include "app/AppInfo.h"

#include <atomic>
#include <new>
#include <utility>
#include <doctest.h>

namespace {

std::wstring TestSettingsKey() {
    static std::atomic<unsigned> counter{0};
    return L"Software\\VorbelMergeTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++);
}

// The next scripted answer, or the given one when the script has run out.
template <typename T> T Take(std::deque<T>& script, T otherwise) {
    if (script.empty())
        return otherwise;
    T next = std::move(script.front());
    script.pop_front();
    return next;
}

} // namespace

ScriptedServices::ScriptedServices() : Win32Services(kAppTitle, TestSettingsKey()) {}

ScriptedServices::~ScriptedServices() {
    RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey().c_str());
}

void ScriptedServices::MeetOutOfMemory() {
    if (std::exchange(outOfMemory, false))
        throw std::bad_alloc();
}

int ScriptedServices::ShowMessage(HWND, const std::wstring& text, UINT type) {
    MeetOutOfMemory();
    messages.push_back({text, type, Taskbar()});
    if (whileMessageShown)
        whileMessageShown();
    return Take(answers, (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK);
}

Texts ScriptedServices::Warnings() const {
    Texts texts;
    for (const auto& m : messages) {
        CHECK(m.type == (MB_OK | MB_ICONEXCLAMATION));
        texts.push_back(m.text);
    }
    return texts;
}

void ScriptedServices::Beep() {
    MeetOutOfMemory();
    ++beeps;
}

FileDialogResult ScriptedServices::ShowOpenDialog(HWND, const FileDialogRequest& request) {
    MeetOutOfMemory();
    openRequests.push_back(request);
    if (whileDialogOpen)
        whileDialogOpen();
    return Take(openResults, {});
}

FileDialogResult ScriptedServices::ShowSaveDialog(HWND, const FileDialogRequest& request) {
    MeetOutOfMemory();
    saveRequests.push_back(request);
    if (whileDialogOpen)
        whileDialogOpen();
    return Take(saveResults, {});
}

bool ScriptedServices::StartProcess(const std::wstring& commandLine) {
    MeetOutOfMemory();
    startedProcesses.push_back(commandLine);
    return true;
}

void ScriptedServices::OpenAddress(HWND, const std::wstring& address) {
    MeetOutOfMemory();
    openedAddresses.push_back(address);
}

std::unique_ptr<TaskbarProgress> ScriptedServices::OpenTaskbarProgress(HWND) {
    MeetOutOfMemory();
    class Recorder : public TaskbarProgress {
    public:
        explicit Recorder(ScriptedServices& services) : services_(services) {}
        void SetState(TaskbarState state) override { services_.taskbarStates.push_back(state); }
        void SetValue(ULONGLONG completed, ULONGLONG total) override {
            services_.taskbarDone = completed;
            services_.taskbarTotal = total;
        }

    private:
        ScriptedServices& services_;
    };
    return noTaskbar ? nullptr : std::make_unique<Recorder>(*this);
}

FileDialogResult ScriptedServices::Chosen(const std::wstring& text, const std::wstring& folder) {
    return {FileDialogResult::Outcome::Chosen, text, folder};
}

FileDialogResult ScriptedServices::Failed(DWORD error, const std::wstring& folder) {
    using enum FileDialogResult::Outcome;
    return {error == 0x3003 /* FNERR_BUFFERTOOSMALL */ ? TooSmall : Failed, L"", folder, error};
}
