#include "merge/MergeSession.h"

#include "merge/MergeHost.h"
#include "merge/StatusLine.h"
#include "platform/EventPump.h"
#include "platform/HugeFileFunctions.h"
#include "platform/PendingError.h"
#include "progress/ProgressDialog.h"

#include <algorithm>

namespace {

constexpr wchar_t kMergingText[] = L"Merging...";

std::wstring ShutdownReason(const std::wstring& output) {
    return L"Merging files into " + output;
}

} // namespace

void MergeSession::Begin(const std::wstring& output, double total) {
    total_ = total;
    host_.status.SetStatusText(kMergingText);
    EnableWindow(host_.mainWindow, FALSE);
    if (!host_.progress.Load(host_.mainWindow, host_.services)) {
        const DWORD error = GetLastError() ? GetLastError() : ERROR_INVALID_WINDOW_HANDLE;
        host_.pendingError.Record(error, GetErrorText(error));
    }
    host_.progress.SetCaption(kMergingText);
    host_.progress.SetStatus2(L"into " + output);
    host_.progress.Show();
    host_.services.SetShutdownReason(host_.mainWindow, ShutdownReason(output));
    taskbar_ = host_.services.OpenTaskbarProgress(host_.mainWindow);
    SetTaskbarState(TaskbarState::Normal);
    SetTaskbarDone(0);
    PumpPendingEvents(host_.progress.Handle());
}

MergeSession::~MergeSession() {
    // Destroying the active dialog while its owner is disabled would hand the
    // activation to some other program; let the owner take it over, and keep it
    // disabled until the last events have run.
    EnableWindow(host_.mainWindow, TRUE);
    host_.progress.Unload();
    SetTaskbarState(TaskbarState::None);
    host_.services.SetShutdownReason(host_.mainWindow, {});
    EnableWindow(host_.mainWindow, FALSE);
    PumpPendingEvents();
    EnableWindow(host_.mainWindow, TRUE);
    SetFocus(host_.mainWindow);
    try {
        if (summaryOutdated_)
            host_.status.RebuildSummary();
        else
            host_.status.ShowSummary();
    } catch (...) {
        // Out of memory for a status text: the window works without it.
    }
}

void MergeSession::Warn(const std::wstring& text) {
    SetTaskbarState(TaskbarState::Error);
    ::Warn(host_, text);
}

void MergeSession::SetTaskbarState(TaskbarState state) {
    if (taskbar_)
        taskbar_->SetState(state);
}

void MergeSession::SetTaskbarDone(double done) {
    // An input that grew, or a total that could not be measured, shows a full button.
    const double whole = std::max({total_, done, 1.0});
    if (taskbar_)
        taskbar_->SetValue(static_cast<ULONGLONG>(done), static_cast<ULONGLONG>(whole));
}
