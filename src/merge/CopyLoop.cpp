#include "merge/CopyLoop.h"

#include "app/AppInfo.h"
#include "app/FormatNumber.h"
#include "merge/CopyEngine.h"
#include "merge/WorkView.h"
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

// At most this many changed inputs are named; the rest are counted.
constexpr std::size_t kChangesNamed = 10;

// Names each input whose size at the copy differs from its size when measured.
std::wstring SizesChangedMessage(const std::vector<std::wstring>& inputs,
                                 const std::vector<double>& measured,
                                 const std::vector<double>& copied) {
    std::wstring text = L"These files changed size after they were checked:\r";
    std::size_t changed = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (copied[i] == measured[i] || ++changed > kChangesNamed)
            continue;
        text += inputs[i] + L": " + FormatNumber(measured[i]) + L" Bytes then, " +
                FormatNumber(copied[i]) + L" Bytes when merged\r";
    }
    if (changed > kChangesNamed)
        text += L"and " + FormatNumber(static_cast<double>(changed - kChangesNamed)) + L" more\r";
    return text + L"\rThe output holds what the files held while they were read. "
                  L"Merge again once they have stopped changing if you need them whole.";
}

// The message for how the copy ended, if it needs one.
void Report(MergeSession& session, CopyEngine& engine, StopCause cause,
            const std::vector<std::wstring>& inputs, const std::vector<double>& sizes,
            const std::wstring& output, const Verification& verification) {
    using enum CopyEngine::Outcome::Kind;
    const CopyEngine::Outcome outcome = engine.Result();
    if (outcome.kind == Copied && engine.Copied() != sizes) {
        session.SummaryOutdated();
        session.Warn(SizesChangedMessage(inputs, sizes, engine.Copied()));
    }
    if (const auto checksums = engine.Checksums())
        ReportVerification(session, output, inputs, verification, *checksums);
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
void CopyInputs(MergeSession& session, const std::vector<std::wstring>& inputs,
                std::vector<FileHandle> opened, HANDLE output, const std::wstring& outputPath,
                const std::vector<double>& sizes, const Verification& verification,
                const CopyOptions& options) {
    PendingError& pendingError = session.Host().pendingError;
    CopyEngine engine(inputs, std::move(opened), output, TotalOf(sizes), options,
                      verification.plan);
    if (!pendingError.Holds() && !(engine.Ready() && engine.Start()))
        pendingError.Record(ERROR_NOT_ENOUGH_MEMORY, GetErrorText(ERROR_NOT_ENOUGH_MEMORY));
    if (pendingError.Holds()) {
        session.Warn(InitializationFailedMessage(pendingError.description));
        return;
    }
    WorkView view(session, engine, inputs, options.progressIntervalMs);
    view.Run();
    Report(session, engine, view.Cause(), inputs, sizes, outputPath, verification);
}

} // namespace

std::wstring InputNotOpenedMessage(const std::wstring& input, DWORD error) {
    return FileErrorMessage(L"Cannot open the file ", input, error, kCheckTheFile);
}

std::wstring InitializationFailedMessage(const std::wstring& description) {
    return L"The following error occured while initializing the merge process:\r" + description +
           L"\r\r" + SupportLine();
}

double TotalOf(const std::vector<double>& sizes) {
    double total = 0;
    for (const double size : sizes)
        total += size;
    return total;
}

void CopyIntoOutput(MergeSession& session, const std::vector<std::wstring>& inputs,
                    std::vector<FileHandle> opened, const std::wstring& output,
                    const std::vector<double>& sizes, const Verification& verification,
                    const CopyOptions& options) {
    // Creating the output is what replaces an older file of that name.
    DWORD error = 0;
    FileHandle out = CreateOutputFile(output, error);
    if (!out) {
        session.Warn(OutputNotCreatedMessage(output, error));
        return;
    }
    CopyInputs(session, inputs, std::move(opened), out.Get(), output, sizes, verification, options);
}

void WriteMergedFile(MergeHost& host, const std::vector<std::wstring>& inputs,
                     const std::wstring& output, const std::vector<double>& sizes,
                     const CopyOptions& options, const Verification& verification) {
    MergeSession session(host);
    session.Begin(output, TotalOf(sizes));
    CopyIntoOutput(session, inputs, {}, output, sizes, verification, options);
}
