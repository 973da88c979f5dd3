#include "merge/MergeCommand.h"

#include "app/FormatNumber.h"
#include "merge/CopyLoop.h"
#include "merge/FileIdentity.h"
#include "paths/Filenames.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/HugeFileFunctions.h"
#include "platform/PendingError.h"
#include "platform/Services.h"

#include <commdlg.h>

#include <optional>

namespace {

constexpr wchar_t kTooFewFilesMessage[] = L"Merging requires at least two files.\r\r"
                                          L"Add the files you want to merge to the list\r"
                                          L"and try again.";
constexpr wchar_t kSameFileMessage[] = L"You cannot use the same file for input and output.\r\r"
                                       L"Check your filenames and try again.";

std::wstring MissingFileMessage(const std::wstring& path) {
    return L"Cannot find the file " + path + L".\r\rCheck the filename and try again.";
}

std::wstring NoRoomMessage(const std::wstring& drive, double needed, double free) {
    return L"Not enough space available on drive " + drive + L"\r" + FormatNumber(needed) +
           L" Bytes needed\r" + FormatNumber(free) +
           L" Bytes free\r\rDelete unused files or choose another drive and try again.";
}

std::wstring SaveDialogFailure(DWORD error) {
    return L"The Save As dialog failed with error " + FormatErrorCode(error) + L".";
}

// The Save As dialog, proposed from the first entry: "merge." with its extension,
// a filter for that extension and one for all files.
FileDialogRequest SaveAsRequest(const std::wstring& extension, const std::wstring& folder) {
    FileDialogRequest request;
    request.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    request.fileName = L"merge." + extension;
    request.filter =
        extension + L" files (*." + extension + L")|*." + extension + L"|All  files (*.*)|*.*";
    request.defaultExt = extension;
    request.initialDir = folder;
    return request;
}

// The inputs' total size, or nothing, having said why, when there are too few or
// one is missing.
std::optional<double> MeasureInputs(MergeHost& host, const std::vector<std::wstring>& inputs) {
    if (inputs.size() < 2) {
        Warn(host, kTooFewFilesMessage);
        return std::nullopt;
    }
    double total = 0;
    for (const std::wstring& path : inputs) {
        // A failed lookup counts as missing.
        if (!IsFilePresent(path)) {
            Warn(host, MissingFileMessage(path));
            return std::nullopt;
        }
        // Measured as the copy will read it: the lookup describes a symbolic link
        // itself, not the file it leads to.
        total += GetHugeFileSize(path);
    }
    return total;
}

// The output the user chose in the Save As dialog, or nothing.
std::optional<std::wstring> ChooseOutput(MergeHost& host, const std::vector<std::wstring>& inputs) {
    if (host.saveDir.empty())
        host.saveDir = GetDirectory(inputs.front());
    std::wstring extension = GetExtension(inputs.front());
    if (extension.find_first_of(L"\\/") != std::wstring::npos)
        extension.clear(); // the dot was in a folder's name: the file has none
    const FileDialogRequest request = SaveAsRequest(extension, host.saveDir);
    host.pendingError.Clear();
    const FileDialogResult chosen = host.services.ShowSaveDialog(host.mainWindow, request);
    if (chosen.outcome == FileDialogResult::Outcome::Cancelled)
        return std::nullopt;
    if (chosen.outcome != FileDialogResult::Outcome::Chosen) {
        // No output was chosen, so there is nothing to check and no file may be
        // touched: the failure is reported as the copy stage would report it.
        host.pendingError.Record(chosen.error, SaveDialogFailure(chosen.error));
        Warn(host, InitializationFailedMessage(host.pendingError.description));
        return std::nullopt;
    }
    PumpPendingEvents();
    host.saveDir = chosen.folder.empty() ? GetDirectory(chosen.text) : chosen.folder;
    return chosen.text;
}

// An input under another name would be destroyed by creating the output.
bool IsAnInput(MergeHost& host, const std::wstring& output,
               const std::vector<std::wstring>& inputs) {
    const SameFileTest sameFile(output);
    for (const std::wstring& path : inputs) {
        if (sameFile.IsOutput(path)) {
            Warn(host, kSameFileMessage);
            return true;
        }
    }
    return false;
}

// An older output stays until the copy replaces it, so a merge stopped by a
// check loses nothing; the room it takes counts as free, as it will be.
bool HasRoom(MergeHost& host, const std::wstring& output, double total,
             const CopyOptions& options) {
    const std::wstring drive = GetDrive(output);
    const std::wstring root = drive + L"\\";
    double free = options.freeSpace ? options.freeSpace(root) : GetHugeFreeSpace(root);
    if (free >= 0)
        free += SpaceFreedByReplacing(output, root);
    if (free >= total)
        return true;
    Warn(host, NoRoomMessage(drive, total, free));
    return false;
}

void RunMergeCommand(MergeHost& host, const std::vector<std::wstring>& inputs,
                     const CopyOptions& options) {
    const std::optional<double> total = MeasureInputs(host, inputs);
    if (!total)
        return;
    const std::optional<std::wstring> output = ChooseOutput(host, inputs);
    if (output && !IsAnInput(host, *output, inputs) && HasRoom(host, *output, *total, options))
        WriteMergedFile(host, inputs, *output, *total, options);
}

} // namespace

void MergeFiles(MergeHost& host, const std::vector<std::wstring>& inputs,
                const CopyOptions& options) {
    try {
        RunMergeCommand(host, inputs, options);
    } catch (...) {
        // Only memory can run out here; the merge's own guards have already put the
        // main window back, and the command simply ends.
    }
}
