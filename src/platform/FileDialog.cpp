#include "platform/FileDialog.h"

#include "paths/Filenames.h"
#include "paths/LongPaths.h"
#include "platform/FileSystem.h"

#include <cderr.h>

#include <algorithm>
#include <vector>

namespace {

// "a|b|c|d" becomes "a\0b\0c\0d\0\0", the form the dialogs read.
std::wstring DialogFilter(const std::wstring& filter) {
    std::wstring out = filter;
    std::replace(out.begin(), out.end(), L'|', L'\0');
    out.append(2, L'\0');
    return out;
}

// The folder of a chosen name: without its last backslash, except at a drive's root.
std::wstring FolderBefore(const std::wstring& path, std::size_t nameOffset) {
    std::wstring folder = path.substr(0, nameOffset);
    if (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'\0'))
        folder.pop_back();
    return FolderPath(folder);
}

// The room a dialog without a length limit of its own (the save dialog) gets: a
// long path still fits.
constexpr std::size_t kUnlimitedChars = 32768;

// Room past the length the dialog is told: the system's dialog has been seen to
// write beyond it and report success, and such an overrun must land in memory of
// ours. A result that reaches the end of the told length counts as too long.
constexpr std::size_t kOverrunRoom = 32768;

// The folder the dialog starts in. The dialog fails on a folder of MAX_PATH
// characters or more (a long one crashes it); it then starts in the nearest folder
// above that fits, or where it chooses itself (empty) when none does.
std::wstring StartingFolder(const std::wstring& folder) {
    if (folder.size() < kMaxPath)
        return folder;
    const std::wstring path = WithoutLongPathPrefix(folder);
    const std::size_t cut = path.rfind(L'\\', kMaxPath - 1);
    if (cut == std::wstring::npos)
        return {};
    const std::wstring above = path.substr(0, cut);
    if (above.size() == 2 && above[1] == L':')
        return above + L'\\'; // a drive's root
    // A folder stands on a drive or on a share's root ("\\server\share").
    const auto separators = std::count(above.begin(), above.end(), L'\\');
    if (above.rfind(L"\\\\", 0) == 0 ? separators < 3 : separators == 0)
        return {};
    return above;
}

// How a dialog that gave no name ended.
FileDialogResult NotChosen() {
    FileDialogResult result;
    result.error = CommDlgExtendedError();
    if (result.error == 0) {
        result.outcome = FileDialogResult::Outcome::Cancelled;
    } else if (result.error == FNERR_BUFFERTOOSMALL) {
        result.outcome = FileDialogResult::Outcome::TooSmall;
        result.folder = CurrentDirectory();
    } else {
        result.outcome = FileDialogResult::Outcome::Failed;
    }
    return result;
}

// A single path ends at its own NUL: what follows may be left over from the
// proposed name. Only a folder with several names, which the dialog marks by a
// NUL before the first name, ends at the first double NUL.
std::wstring ChosenText(const std::vector<wchar_t>& buffer, const OPENFILENAMEW& ofn) {
    const bool severalNames = (ofn.Flags & OFN_ALLOWMULTISELECT) && ofn.nFileOffset > 0 &&
                              ofn.nFileOffset < buffer.size() &&
                              buffer[ofn.nFileOffset - 1] == L'\0';
    std::size_t end = 0;
    while (end < buffer.size() && buffer[end] != L'\0')
        ++end;
    if (severalNames)
        while (end + 1 < buffer.size() && !(buffer[end] == L'\0' && buffer[end + 1] == L'\0'))
            ++end;
    return std::wstring(buffer.data(), end);
}

} // namespace

FileDialogResult RunFileDialog(DialogFunction show, HWND owner, const FileDialogRequest& request) {
    const std::size_t capacity =
        request.maxChars > 0 ? static_cast<std::size_t>(request.maxChars) : kUnlimitedChars;
    std::vector<wchar_t> buffer(
        std::max<std::size_t>(capacity, request.fileName.size() + 1) + kOverrunRoom, L'\0');
    std::copy(request.fileName.begin(), request.fileName.end(), buffer.begin());
    const std::wstring filter = DialogFilter(request.filter);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(capacity);
    const std::wstring initialDir = StartingFolder(request.initialDir);
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
    ofn.Flags = request.flags;

    if (!show(&ofn))
        return NotChosen();
    FileDialogResult result;
    result.text = ChosenText(buffer, ofn);
    result.folder = FolderBefore(result.text, ofn.nFileOffset);
    if (result.text.size() + 1 >= capacity) {
        result.outcome = FileDialogResult::Outcome::TooSmall;
        result.error = FNERR_BUFFERTOOSMALL;
        result.text.clear();
    } else {
        result.outcome = FileDialogResult::Outcome::Chosen;
    }
    return result;
}
