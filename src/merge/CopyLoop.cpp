#include "merge/CopyLoop.h"

#include "app/AppInfo.h"
#include "merge/CopyEngine.h"
#include "merge/CopyView.h"
#include "merge/MergeSession.h"
#include "merge/OutputFile.h"
#include "platform/Handles.h"
#include "platform/HugeFileFunctions.h"
#include "platform/PendingError.h"

namespace {

std::wstring SupportLine() {
    return std::wstring(L"Contact the technical support at ") + kWebAddress + L" to get help.";
}

// "<what> <path>." then the system's reason, then what to do about it.
std::wstring FileErrorMessage(const wchar_t* what, const std::wstring& path, DWORD error,
                              const wchar_t* advice) {
    return what + path + L".\r" + GetErrorText(error) + L"\r\r" + advice;
}

constexpr wchar_t kCheckTheFile[] = L"Check the file and try again.";

std::wstring OutputNotCreatedMessage(const std::wstring& output, DWORD error) {
    return FileErrorMessage(L"Cannot open the file ", output, error,
                            L"Make sure that the file is writable and try again.");
}

std::wstring InputNotOpenedMessage(const std::wstring& input, DWORD error) {
    return FileErrorMessage(L"Cannot open the file ", input, error, kCheckTheFile);
}

std::wstring ReadFailedMessage(const std::wstring& input, DWORD error) {
    return FileErrorMessage(L"An error occured while reading the file ", input, error,
                            kCheckTheFile);
}

// Names the input whose blocks were being written, not the output.
std::wstring WriteFailedMessage(const std::wstring& input, DWORD error) {
    return FileErrorMessage(L"An error occured while writing the file ", input, error,
                            kCheckTheFile);
}

std::wstring ProcessingFailedMessage(const std::wstring& input, const std::wstring& description) {
    return L"The following error occured while processing the file " + input + L":\r" +
           description + L"\r\r" + SupportLine();
}

// The message for how the copy ended, if it needs one.
void Report(MergeSession& session, const CopyEngine::Outcome& outcome, StopCause cause,
            const std::vector<std::wstring>& inputs) {
    using enum CopyEngine::Outcome::Kind;
    if (outcome.input >= inputs.size())
        return;
    const std::wstring& path = inputs[outcome.input];
    switch (outcome.kind) {
    case Copied: break;
    case Stopped:
        if (cause == StopCause::PendingError)
            session.Warn(ProcessingFailedMessage(path, session.Host().pendingError.description));
        break;
    case OpenFailed: session.Warn(InputNotOpenedMessage(path, outcome.error)); break;
    case ReadFailed: session.Warn(ReadFailedMessage(path, outcome.error)); break;
    case WriteFailed: session.Warn(WriteFailedMessage(path, outcome.error)); break;
    }
}

// Copies the inputs one after the other; returns when all are copied, the user has
// confirmed a cancel or a failure has been reported, the copy's threads joined.
void CopyInputs(MergeSession& session, const std::vector<std::wstring>& inputs, HANDLE output,
                double total, const CopyOptions& options) {
    PendingError& pendingError = session.Host().pendingError;
    CopyEngine engine(inputs, output, total, options);
    if (!pendingError.Holds() && !(engine.Ready() && engine.Start()))
        pendingError.Record(ERROR_NOT_ENOUGH_MEMORY, GetErrorText(ERROR_NOT_ENOUGH_MEMORY));
    if (pendingError.Holds()) {
        session.Warn(InitializationFailedMessage(pendingError.description));
        return;
    }
    CopyView view(session, engine, inputs, options.progressIntervalMs);
    view.Run();
    Report(session, engine.Result(), view.Cause(), inputs);
}

} // namespace

std::wstring InitializationFailedMessage(const std::wstring& description) {
    return L"The following error occured while initializing the merge process:\r" + description +
           L"\r\r" + SupportLine();
}

void WriteMergedFile(MergeHost& host, const std::vector<std::wstring>& inputs,
                     const std::wstring& output, double total, const CopyOptions& options) {
    // Creating the output is what replaces an older file of that name.
    DWORD error = 0;
    FileHandle out = CreateOutputFile(output, error);
    if (!out) {
        host.services.ShowMessage(host.mainWindow, OutputNotCreatedMessage(output, error),
                                  kWarningBox);
        return;
    }
    MergeSession session(host);
    session.Begin(output, total);
    CopyInputs(session, inputs, out.Get(), total, options);
    out.Reset();
}
