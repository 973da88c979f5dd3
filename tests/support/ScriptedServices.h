#pragma once
// The services double: records every modal interaction a command asks for and
// answers it from a script. Settings go to the real registry under a key of the
// test's own, removed afterwards, so a user's settings are never touched.

#include "platform/Win32Services.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

using Texts = std::vector<std::wstring>;

class ScriptedServices : public Win32Services {
public:
    ScriptedServices();
    ~ScriptedServices() override;

    struct Message {
        std::wstring text;
        UINT type;
        TaskbarState taskbar; // the taskbar button's state while it was shown
    };
    std::vector<Message> messages;
    // The texts of the messages shown, each checked to be a warning.
    Texts Warnings() const;
    // Answers for message boxes, taken in turn; without one a box answers IDOK,
    // or IDNO for a question.
    std::deque<int> answers;
    // Runs while a message box is shown, before it is answered.
    std::function<void()> whileMessageShown;

    // The taskbar button's states in the order they were set, and its last value;
    // with noTaskbar the system plays one without a taskbar list.
    std::vector<TaskbarState> taskbarStates;
    ULONGLONG taskbarDone = 0, taskbarTotal = 0;
    bool noTaskbar = false;
    TaskbarState Taskbar() const {
        return taskbarStates.empty() ? TaskbarState::None : taskbarStates.back();
    }

    int beeps = 0;

    std::vector<FileDialogRequest> openRequests, saveRequests;
    // Outcomes of the open and save dialogs, taken in turn; without one the dialog
    // is cancelled.
    std::deque<FileDialogResult> openResults, saveResults;
    // Runs while a file dialog is open, as the user's other clicks would.
    std::function<void()> whileDialogOpen;

    std::vector<std::wstring> startedProcesses;
    std::vector<std::wstring> openedAddresses;

    // Set, the next modal or outside service asked for throws std::bad_alloc, as a
    // command that runs out of memory would; it is cleared then.
    bool outOfMemory = false;

    int ShowMessage(HWND owner, const std::wstring& text, UINT type) override;
    void Beep() override;
    FileDialogResult ShowOpenDialog(HWND owner, const FileDialogRequest& request) override;
    FileDialogResult ShowSaveDialog(HWND owner, const FileDialogRequest& request) override;
    bool StartProcess(const std::wstring& commandLine) override;
    void OpenAddress(HWND owner, const std::wstring& address) override;
    std::unique_ptr<TaskbarProgress> OpenTaskbarProgress(HWND window) override;

    // Shorthands for scripting the dialogs.
    static FileDialogResult Chosen(const std::wstring& text, const std::wstring& folder = L"");
    static FileDialogResult Failed(DWORD error, const std::wstring& folder = L"");

private:
    void MeetOutOfMemory();
};
