#pragma once
// A stand-in for the main window in tests: a top-level window holding an owner-data
// report list view and a simple-mode status bar, with the file list attached.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "filelist/FileList.h"
#include "platform/Handles.h"

class HarnessWindow {
public:
    HarnessWindow();
    HarnessWindow(const HarnessWindow&) = delete;
    HarnessWindow& operator=(const HarnessWindow&) = delete;

    HWND Handle() const { return window_.Get(); }
    // Adds the paths to the list and shows the list's summary, as adding files does.
    void Fill(const std::vector<std::wstring>& paths);
    // The status bar's text, read as part 0: Wine's simple-mode status bar answers
    // nothing for SB_SIMPLEID.
    std::wstring StatusBarText() const;

    FileList list;
    // Called for every message from WM_APP on that reaches the window.
    std::function<void(UINT message, WPARAM wParam, LPARAM lParam)> onAppMessage;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    WindowHandle window_;
    HWND statusBar_ = nullptr;
};
