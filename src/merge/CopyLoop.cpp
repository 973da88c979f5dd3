#include "merge/MergeCommand.h"

#include "filelist/FileList.h"
#include "merge/HugeFileFunctions.h"
#include "merge/OutputFile.h"
#include "merge/ProgressSteps.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/PendingError.h"
#include "platform/Services.h"
#include "progress/ProgressDialog.h"
#include "shell/AppInfo.h"

namespace {

constexpr wchar_t kMergingText[] = L"Merging...";

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

void Warn(MergeHost& host, const std::wstring& text) {
    const HWND owner = host.progress.IsLoaded() ? host.progress.Handle() : host.mainWindow;
    host.services.ShowMessage(owner, text, kWarningBox);
}

// The main window's state while a merge runs: from Begin on, the status bar says
// "Merging...", the main window takes no input and the progress dialog stands over
// it; the destructor puts all of it back, on every way out.
class MergeSession {
public:
    explicit MergeSession(MergeHost& host) : host_(host) {}

    void Begin(const std::wstring& output) {
        host_.list.SetStatusText(kMergingText);
        EnableWindow(host_.mainWindow, FALSE);
        if (!host_.progress.Load(host_.mainWindow, host_.services)) {
            const DWORD error = GetLastError() ? GetLastError() : ERROR_INVALID_WINDOW_HANDLE;
            host_.pendingError.Record(error, GetErrorText(error));
        }
        host_.progress.SetCaption(kMergingText);
        host_.progress.SetStatus2(L"into " + output);
        host_.progress.Show();
        PumpPendingEvents(host_.progress.Handle());
    }

    ~MergeSession() {
        // Destroying the active dialog while its owner is disabled would hand the
        // activation to some other program; let the owner take it over, and keep it
        // disabled until the last events have run.
        EnableWindow(host_.mainWindow, TRUE);
        host_.progress.Unload();
        EnableWindow(host_.mainWindow, FALSE);
        PumpPendingEvents();
        EnableWindow(host_.mainWindow, TRUE);
        SetFocus(host_.mainWindow);
        try {
            host_.list.SetStatusText(host_.list.StatusText());
        } catch (...) {
            // Out of memory for a status text: the window works without it.
        }
    }

    MergeSession(const MergeSession&) = delete;
    MergeSession& operator=(const MergeSession&) = delete;

private:
    MergeHost& host_;
};

// Runs the pending window events, which is when a click on Cancel is handled; no
// more often than the interval asks, since a pass costs more than a block. Even the
// clock is read only every few blocks: under Wine reading it costs more than a block
// taken from the buffer.
class Pacer {
public:
    Pacer(HWND dialog, ULONGLONG intervalMs)
        : dialog_(dialog), interval_(intervalMs), last_(GetTickCount64()) {}
    void Tick() {
        if (interval_ > 0 &&
            (++blocks_ % kBlocksPerLook != 0 || GetTickCount64() - last_ < interval_))
            return;
        PumpPendingEvents(dialog_);
        last_ = GetTickCount64();
    }

private:
    static constexpr unsigned kBlocksPerLook = 16;
    HWND dialog_;
    ULONGLONG interval_;
    ULONGLONG last_;
    unsigned blocks_ = 0;
};

// Copies the inputs one after the other; returns when all are copied, the user has
// confirmed a cancel or a failure has been reported.
void CopyInputs(MergeHost& host, const std::vector<std::wstring>& inputs, HANDLE output,
                double total, BlockStream& stream, const CopyOptions& options) {
    BarThreshold threshold(total);
    Pacer pacer(host.progress.Handle(), options.pumpIntervalMs);
    double done = 0;
    if (host.pendingError.Holds()) {
        Warn(host, InitializationFailedMessage(host.pendingError.description));
        return;
    }
    for (const std::wstring& path : inputs) {
        host.progress.SetStatus1(path);
        FileHandle input(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!input) {
            Warn(host, InputNotOpenedMessage(path, GetLastError()));
            return;
        }
        stream.Start(input.Get(), output);
        // Whatever ends the copy of this input, the blocks taken from it so far go to
        // the output first, so a message names the file whose blocks they are.
        const auto flushTaken = [&] {
            if (stream.Flush() == BlockStream::Result::Ok)
                return true;
            Warn(host, WriteFailedMessage(path, stream.Error()));
            return false;
        };
        DWORD bytes = 0;
        do {
            switch (stream.Next(bytes)) {
            case BlockStream::Result::Ok: break;
            case BlockStream::Result::WriteFailed:
                Warn(host, WriteFailedMessage(path, stream.Error()));
                return;
            case BlockStream::Result::ReadFailed: {
                const DWORD error = stream.Error();
                if (flushTaken())
                    Warn(host, ReadFailedMessage(path, error));
                return;
            }
            }
            if (bytes > 0) {
                done += bytes;
                if (threshold.Passed(done))
                    host.progress.SetValue(BarPercent(done, total));
                if (host.progress.bCancelFlag) {
                    flushTaken();
                    return;
                }
            }
            if (host.pendingError.Holds()) {
                if (flushTaken())
                    Warn(host, ProcessingFailedMessage(path, host.pendingError.description));
                return;
            }
            pacer.Tick();
        } while (bytes > 0);
        if (!flushTaken())
            return;
    }
}

} // namespace

std::wstring InitializationFailedMessage(const std::wstring& description) {
    return L"The following error occured while initializing the merge process:\r" + description +
           L"\r\r" + SupportLine();
}

void WriteMergedFile(MergeHost& host, const std::vector<std::wstring>& inputs,
                     const std::wstring& output, double total, const CopyOptions& options) {
    BlockStream stream(options.minChunk, options.maxChunk, options.calls);
    if (!stream.Ready())
        host.pendingError.Record(ERROR_NOT_ENOUGH_MEMORY, GetErrorText(ERROR_NOT_ENOUGH_MEMORY));

    // Creating the output is what replaces an older file of that name.
    DWORD error = 0;
    FileHandle out = CreateOutputFile(output, error);
    if (!out) {
        host.services.ShowMessage(host.mainWindow, OutputNotCreatedMessage(output, error),
                                  kWarningBox);
        return;
    }
    MergeSession session(host);
    session.Begin(output);
    CopyInputs(host, inputs, out.Get(), total, stream, options);
    out.Reset();
}
