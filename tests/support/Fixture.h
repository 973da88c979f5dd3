#pragma once
// A real main window in the test process, its modal services scripted, and a
// temporary folder for the files it lists.

#include "platform/Win32Services.h"
#include "shell/MainWindow.h"
#include "support/DataObjects.h"
#include "support/TempDir.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

using Texts = std::vector<std::wstring>;
// The words of a text, split at blanks: a table's list of names on one line.
Texts Words(const std::wstring& text);
// Runs `run`, which waits in a modal loop, while that loop calls `watch` every few ms
// until it answers that it is done; it must be.
void WatchWhile(std::function<bool()> watch, const std::function<void()>& run);

// Records every modal interaction a command asks for and answers it from a script.
// Settings go to a key of the test's own under the real registry, removed afterwards.
class ScriptedServices : public Win32Services {
public:
    ScriptedServices();
    ~ScriptedServices() override { RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey().c_str()); }

    struct Message {
        std::wstring text;
        UINT type;
        TaskbarState taskbar; // the taskbar button's state while it was shown
    };
    std::vector<Message> messages;
    Texts Warnings() const; // the texts, each checked to be a warning
    // Answers for message boxes in turn; then IDOK, or IDNO for a question.
    std::deque<int> answers;
    std::function<void()> whileMessageShown;
    int beeps = 0;
    std::vector<FileDialogRequest> openRequests, saveRequests;
    // Outcomes of the open and save dialogs in turn; then the dialog is cancelled.
    std::deque<FileDialogResult> openResults, saveResults;
    std::function<void()> whileDialogOpen; // the user's other clicks meanwhile
    ULONGLONG taskbarDone = 0;             // the taskbar button's last progress
    std::vector<TaskbarState> taskbarStates;
    bool noTaskbar = false; // the system has no taskbar list
    Texts shutdownReasons;  // as set, an empty one when taken away

    int ShowMessage(HWND owner, const std::wstring& text, UINT type) override;
    void Beep() override { ++beeps; }
    FileDialogResult ShowOpenDialog(HWND owner, const FileDialogRequest& request) override;
    FileDialogResult ShowSaveDialog(HWND owner, const FileDialogRequest& request) override;
    bool StartProcess(const std::wstring&) override { return true; }
    void OpenAddress(HWND, const std::wstring&) override {}
    std::unique_ptr<TaskbarProgress> OpenTaskbarProgress(HWND window) override;
    void SetShutdownReason(HWND, const std::wstring& reason) override {
        shutdownReasons.push_back(reason);
    }

    static FileDialogResult Chosen(const std::wstring& text, const std::wstring& folder = L"") {
        return {FileDialogResult::Outcome::Chosen, text, folder};
    }
    static FileDialogResult Failed(DWORD error, const std::wstring& folder = L"") {
        using enum FileDialogResult::Outcome;
        return {error == 0x3003 /* FNERR_BUFFERTOOSMALL */ ? TooSmall : Failed, L"", folder, error};
    }
};

class MainWindowFixture {
public:
    MainWindowFixture() { REQUIRE(window.Create(GetModuleHandleW(nullptr)) != nullptr); }
    ~MainWindowFixture();

    ScriptedServices services;
    TempDir dir;
    // The program's folder is the temporary folder too: Help looks for its file there.
    MainWindow window{services, dir.Path()};

    HWND Hwnd() const { return window.Handle(); }
    FileList& List() { return window.List(); }
    std::wstring File(const std::wstring& name, std::size_t size = 0); // made in dir
    ::Texts Paths(const std::wstring& names);                          // of names in dir
    void Command(int id, WORD code = 0) const; // code 1: as an accelerator sends it
    void ToolbarClick(int buttonId) const;
    Effects Drop(const std::vector<std::wstring>& paths); // through the real drop target
    void HeadingClick();
    // Adds through the open dialog, answered with these paths from the fixture's folder.
    void AddByDialog(const std::vector<std::wstring>& paths);
    std::vector<std::wstring> Texts() { return List().Texts(); }
    // The entries' last letters in list order, a selected one in lower case.
    std::wstring Letters();
    void SelectOnly(const std::vector<int>& indexes);
    std::wstring Status() { return window.Status().ShownStatusText(); }
};
