#pragma once
// The seam between the program and the system's modal and outside services:
// message boxes, the beep, the open and save dialogs, starting a process, opening
// a web address, the settings store and the progress on a taskbar button.
// Win32Services reaches the real ones; tests put a scripted double in its place.

#include <windows.h>

#include <memory>
#include <string>

// Settings for one use of the open or save dialog.
struct FileDialogRequest {
    DWORD flags = 0;         // OFN_* option flags
    std::wstring fileName;   // the name the dialog proposes
    std::wstring filter;     // "description|pattern|description|pattern..."
    std::wstring defaultExt; // appended to a typed name without one
    std::wstring initialDir;
    int maxChars = 0; // longest result the dialog may return, in characters; 0: no limit
};

struct FileDialogResult {
    enum class Outcome { Chosen, Cancelled, TooSmall, Failed };
    Outcome outcome = Outcome::Cancelled;
    // One full path, or a folder followed by the chosen names, each part ended by
    // a NUL (the last one without).
    std::wstring text;
    // The folder the dialog was showing when it closed, where the dialog tells.
    std::wstring folder;
    DWORD error = 0; // CommDlgExtendedError() for TooSmall and Failed
};

enum class TaskbarState { None, Normal, Paused, Error };

// The progress shown on one window's taskbar button: None takes it away.
class TaskbarProgress {
public:
    virtual ~TaskbarProgress() = default;
    virtual void SetState(TaskbarState state) = 0;
    virtual void SetValue(ULONGLONG completed, ULONGLONG total) = 0;
};

class Services {
public:
    virtual ~Services() = default;

    // A modal message box captioned with the program's title; returns IDOK, IDYES...
    virtual int ShowMessage(HWND owner, const std::wstring& text, UINT type) = 0;
    virtual void Beep() = 0;
    virtual FileDialogResult ShowOpenDialog(HWND owner, const FileDialogRequest& request) = 0;
    virtual FileDialogResult ShowSaveDialog(HWND owner, const FileDialogRequest& request) = 0;
    // Starts a program from a command line, shown normally, without waiting for it.
    virtual bool StartProcess(const std::wstring& commandLine) = 0;
    // Opens a document or web address with its registered handler.
    virtual void OpenAddress(HWND owner, const std::wstring& address) = 0;

    // The per-user settings store: text values by section and key.
    virtual std::wstring ReadSetting(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& defaultValue) = 0;
    virtual void WriteSetting(const std::wstring& section, const std::wstring& key,
                              const std::wstring& value) = 0;

    // The taskbar button of a top-level window; null where the system has no
    // taskbar list.
    virtual std::unique_ptr<TaskbarProgress> OpenTaskbarProgress(HWND window) = 0;

    // What Windows' shutdown screen says a top-level window is busy with; an empty
    // reason takes it away. Nothing where there is no such screen.
    virtual void SetShutdownReason(HWND, const std::wstring&) {}
};

// Message box types used by the program.
inline constexpr UINT kWarningBox = MB_OK | MB_ICONEXCLAMATION;
inline constexpr UINT kQuestionBox = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1;
