#pragma once
// Starts the real program as a separate process and works its windows from the
// outside, the way a user's clicks and keystrokes reach them.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Handles.h"

class ProgramProcess {
public:
    // Starts the program beside this test program and waits for its main window.
    ProgramProcess();
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    HWND Main() const { return main_; }
    // A visible top-level window of the program that matches, or null on time-out.
    HWND WaitForWindow(const std::function<bool(HWND)>& match) const;
    HWND WaitForFileDialog() const; // the program's open or save dialog
    HWND WaitForMessageBox() const; // a dialog with the program's title
    // Waits until the main window takes input again and nothing stands over it.
    bool WaitUntilIdle() const;

    void Command(int id) const { PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // Adds one file through the real open dialog, typing its full path; it brings
    // `entries` entries (more for the first part of a split set).
    bool AddThroughDialog(const std::wstring& path, int entries = 1) const;

private:
    std::vector<HWND> VisibleWindows() const; // the top-level ones
    int EntryCount() const;

    KernelHandle process_;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
};

std::wstring TextOf(HWND hwnd);
// Types a full path into a file dialog's name field and presses its OK button.
void ChooseInFileDialog(HWND dialog, const std::wstring& path);
void PressButton(HWND dialog, int id);
