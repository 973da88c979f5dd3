#include "merge/MergeCommand.h"

#include "app/FormatNumber.h"
#include "merge/CopyLoop.h"
#include "merge/FileIdentity.h"
#include "merge/InputCheck.h"
#include "merge/MergeSession.h"
#include "merge/WorkView.h"
#include "paths/Filenames.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/HugeFileFunctions.h"
#include "platform/PendingError.h"
#include "platform/Services.h"
#include "sets/SetCheck.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>

namespace {

constexpr wchar_t kTooFewFilesMessage[] = L"Merging requires at least two files.\r\r"
                                          L"Add the files you want to merge to the list\r"
                                          L"and try again.";
constexpr wchar_t kSameFileMessage[] = L"You cannot use the same file for input and output.\r\r"
                                       L"Check your filenames and try again.";

// How often the window's events run while the inputs are measured.
constexpr ULONGLONG kPumpEveryMs = 50;

// The first line of the progress dialog while the inputs are checked.
constexpr wchar_t kCheckingPrefix[] = L"Checking ";

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

// The Save As dialog with a proposed name, a filter for its extension and one for
// all files.
FileDialogRequest SaveAsRequest(const std::wstring& proposal, const std::wstring& extension,
                                const std::wstring& folder) {
    FileDialogRequest request;
    request.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    request.fileName = proposal;
    request.filter =
        extension + L" files (*." + extension + L")|*." + extension + L"|All  files (*.*)|*.*";
    request.defaultExt = extension;
    request.initialDir = folder;
    return request;
}

// The inputs' sizes, or nothing, having said why, when there are too few or one is
// missing.
std::optional<std::vector<double>> MeasureInputs(MergeHost& host,
                                                 const std::vector<std::wstring>& inputs) {
    if (inputs.size() < 2) {
        Warn(host, kTooFewFilesMessage);
        return std::nullopt;
    }
    std::vector<double> sizes;
    sizes.reserve(inputs.size());
    // Thousands of inputs take a while: the window draws and answers meanwhile. Any
    // command that comes is refused while this one runs.
    ULONGLONG pumped = GetTickCount64();
    for (const std::wstring& path : inputs) {
        if (GetTickCount64() - pumped >= kPumpEveryMs) {
            if (!PumpPendingEvents())
                return std::nullopt; // the program is ending
            pumped = GetTickCount64();
        }
        // A failed lookup counts as missing.
        if (!IsFilePresent(path)) {
            Warn(host, MissingFileMessage(path));
            return std::nullopt;
        }
        // Measured as the copy will read it: the lookup describes a symbolic link
        // itself, not the file it leads to.
        sizes.push_back(GetHugeFileSize(path));
    }
    return sizes;
}

// The Save As dialog as the list proposes it: a split set's original by its name,
// anything else as "merge." with the first entry's extension.
FileDialogRequest ProposedOutput(const std::vector<std::wstring>& inputs,
                                 const std::wstring& folder) {
    if (const auto set = ListedSet(inputs))
        return SaveAsRequest(set->base, GetExtension(set->base), folder);
    std::wstring extension = GetExtension(inputs.front());
    if (extension.find_first_of(L"\\/") != std::wstring::npos)
        extension.clear(); // the dot was in a folder's name: the file has none
    return SaveAsRequest(L"merge." + extension, extension, folder);
}

// Whether a list that is one split set may go on to the Save As dialog: where parts
// look missing, repeated, out of order or of the wrong size, the user is asked.
bool SetLooksWhole(MergeHost& host, const std::vector<std::wstring>& inputs,
                   const std::vector<double>& sizes) {
    const std::wstring question = SetCheckQuestion(inputs, sizes);
    return question.empty() ||
           host.services.ShowMessage(host.mainWindow, question, kSetQuestionBox) == IDYES;
}

// The output the user chose in the Save As dialog, or nothing.
std::optional<std::wstring> ChooseOutput(MergeHost& host, const std::vector<std::wstring>& inputs) {
    if (host.saveDir.empty())
        host.saveDir = GetDirectory(inputs.front());
    const FileDialogRequest request = ProposedOutput(inputs, host.saveDir);
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

// The bytes free where the output goes. The output's folder is asked first: a user
// may write there but not list the drive's root, and a folder quota, a mounted
// folder or a junction is measured only there. The root answers where the folder
// does not.
double FreeSpaceFor(const std::wstring& output, const CopyOptions& options) {
    const auto ask = [&](const std::wstring& folder) {
        return options.freeSpace ? options.freeSpace(folder) : GetHugeFreeSpace(folder);
    };
    std::wstring folder = FolderPath(GetDirectory(output));
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    const std::wstring root = GetDrive(output) + L"\\";
    double free = folder.empty() || folder == root ? -1 : ask(folder);
    return free >= 0 ? free : ask(root);
}

// An older output stays until the copy replaces it, so a merge stopped by a
// check loses nothing; the room it takes counts as free, as it will be.
bool HasRoom(MergeSession& session, const std::wstring& output, double total,
             const CopyOptions& options) {
    double free = FreeSpaceFor(output, options);
    if (free >= 0)
        free += SpaceFreedByReplacing(output);
    if (free >= total)
        return true;
    session.Warn(NoRoomMessage(GetDrive(output), total, free));
    return false;
}

// How often the window shows which input the checks are at.
constexpr ULONGLONG kCheckIntervalMs = 15;

// The checks once the output is chosen, under the progress dialog, whose first line
// says which input is being checked: no input is the output, the output's drive
// has room, and every input opens as the copy reads it. A confirmed cancel ends
// them. The inputs' handles when all is well, for the copy to read through.
std::optional<std::vector<FileHandle>> CheckBeforeCopy(MergeSession& session,
                                                       const std::vector<std::wstring>& inputs,
                                                       const std::wstring& output, double total,
                                                       const CopyOptions& options) {
    PendingError& pendingError = session.Host().pendingError;
    InputCheck check(inputs, output, options.calls);
    if (!pendingError.Holds() && !check.Start())
        pendingError.Record(ERROR_NOT_ENOUGH_MEMORY, GetErrorText(ERROR_NOT_ENOUGH_MEMORY));
    if (pendingError.Holds()) {
        session.Warn(InitializationFailedMessage(pendingError.description));
        return std::nullopt;
    }
    WorkView view(session, check, inputs, std::max(options.progressIntervalMs, kCheckIntervalMs),
                  kCheckingPrefix);
    view.Run();
    check.Join();
    if (view.Cause() == StopCause::PendingError)
        session.Warn(InitializationFailedMessage(pendingError.description));
    if (view.Cause() != StopCause::None || !check.Completed())
        return std::nullopt;
    if (check.SameAsOutput()) {
        session.Warn(kSameFileMessage);
        return std::nullopt;
    }
    if (!HasRoom(session, output, total, options))
        return std::nullopt;
    if (const auto failure = check.FirstOpenFailure()) {
        session.Warn(InputNotOpenedMessage(inputs[failure->input], failure->error));
        return std::nullopt;
    }
    return check.TakeHandles();
}

void RunMergeCommand(MergeHost& host, const std::vector<std::wstring>& inputs,
                     const CopyOptions& options) {
    const std::optional<std::vector<double>> sizes = MeasureInputs(host, inputs);
    if (!sizes)
        return;
    if (!SetLooksWhole(host, inputs, *sizes))
        return;
    const std::optional<std::wstring> output = ChooseOutput(host, inputs);
    if (!output)
        return;
    const double total = TotalOf(*sizes);
    MergeSession session(host);
    session.Begin(*output, total);
    if (auto opened = CheckBeforeCopy(session, inputs, *output, total, options))
        CopyIntoOutput(session, inputs, std::move(*opened), *output, *sizes,
                       PlanVerification(inputs), options);
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
