#pragma once
// A real main window in the test process, its modal services scripted, and a
// temporary folder for the files it lists.

#include "shell/MainWindow.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

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
    // Drops paths onto the list through its real drop target.
    void Drop(const std::vector<std::wstring>& paths);
    // Adds through the open dialog, answered with these full paths.
    void AddByDialog(const std::vector<std::wstring>& paths);

    std::vector<std::wstring> Texts() { return List().Texts(); }
    std::vector<int> SelectedIndexes();
    void SelectOnly(const std::vector<int>& indexes);
    std::wstring Status() { return List().ShownStatusText(); }
};
