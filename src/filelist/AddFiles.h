#pragma once
// Files enter the list by the open dialog or by a drop from the desktop shell.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class FileList;
class Services;

// What the add command reads and writes of the main window.
struct AddFilesContext {
    HWND owner;
    FileList& list;
    Services& services;
    std::wstring& strAddDir;
    const std::wstring& strFilenameBufSize;
    // The open dialog's result limit, kept between commands like the dialog's own.
    int& dialogMaxChars;
};

// True when files were listed: the list's summary is then to be rebuilt. One file
// chosen alone that is the first part of a split set brings the set's other parts.
bool AddFiles(AddFilesContext& context);

// The entries a drop appended: those from `first` on, `bytes` in all as they were
// measured when found.
struct AddedEntries {
    int first;
    double bytes;
};
// Adds dropped files, and the files directly inside dropped folders; one file dropped
// alone that is the first part of a split set brings the set's other parts.
AddedEntries AddDroppedFiles(FileList& list, const std::vector<std::wstring>& paths);

// The paths in an open dialog's result: one full path, or a folder and the names
// chosen in it, separated by NULs.
std::vector<std::wstring> ParseDialogResult(const std::wstring& text);

// The result limit a FilenameBufSize text asks for: a whole number the dialog
// accepts (1 to 32767), or nothing.
std::optional<int> DialogLimitOf(const std::wstring& text);

// An English description of a common dialog error code.
std::wstring CommonDialogErrorText(DWORD code);

inline constexpr int kLargestDialogLimit = 32767;
