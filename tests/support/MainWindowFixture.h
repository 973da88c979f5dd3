#pragma once
// A real main window in the test process, its modal services scripted, and a
// temporary folder for the files it lists.

#include "shell/MainWindow.h"
#include "support/DataObjects.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

#include <functional>
#include <string>
#include <vector>

class MainWindowFixture {
public:
    MainWindowFixture();
    ~MainWindowFixture();

    ScriptedServices services;
    TempDir dir;
    // The program's folder is the temporary folder too: Help looks for its file there.
    MainWindow window{services, dir.Path()};

    HWND Hwnd() const { return window.Handle(); }
    FileList& List() { return window.List(); }

    // A file of the given size in the temporary folder; returns its path.
    std::wstring File(const std::wstring& name, std::size_t size = 0);
    void Command(int id) const;
    void ShortcutCommand(int id) const; // as an accelerator sends it
    void ToolbarClick(int buttonId) const;
    // Drops paths onto the list through its real drop target; returns the effects
    // it answered.
    Effects Drop(const std::vector<std::wstring>& paths);
    // A click on the list's column heading.
    void HeadingClick();
    // Adds through the open dialog, answered with these paths from the fixture's folder.
    void AddByDialog(const std::vector<std::wstring>& paths);

    std::vector<std::wstring> Texts() { return List().Texts(); }
    // Entries named "A", "B"... as their letters in list order, a selected one in
    // lower case.
    std::wstring Letters();
    void SelectOnly(const std::vector<int>& indexes);
    std::wstring Status() { return window.Status().ShownStatusText(); }
};

// Shows the About box from the fixture's window and inspects it while it is open;
// the inspection must close it.
void WithAboutBox(MainWindowFixture& f, std::function<void(HWND)> inspect);

// Tells a window that its DPI changed, as the system does when it moves to a
// monitor of another scaling: WM_DPICHANGED with its rectangle scaled.
void SendDpiChange(HWND window, int from, int to);

// While it lives, hands the wParam of every message of one kind sent to a window
// of this thread to a function. One at a time.
class MessageSpy {
public:
    MessageSpy(UINT message, std::function<void(WPARAM)> onSent);
    ~MessageSpy();
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    UINT message_;
    std::function<void(WPARAM)> onSent_;
    HHOOK hook_;
};
