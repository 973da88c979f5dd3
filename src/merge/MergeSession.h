#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/Services.h"

struct MergeHost;

// The main window's state while a merge runs: from Begin on, the status bar says
// "Merging...", the main window takes no input, the progress dialog stands over it
// and the window's taskbar button shows the progress; the destructor puts all of it
// back, on every way out.
class MergeSession {
public:
    explicit MergeSession(MergeHost& host) : host_(host) {}
    ~MergeSession();
    MergeSession(const MergeSession&) = delete;
    MergeSession& operator=(const MergeSession&) = delete;

    void Begin(const std::wstring& output, double total);
    MergeHost& Host() { return host_; }

    // A failure message (Warn in MergeHost.h); the taskbar button shows the error
    // meanwhile.
    void Warn(const std::wstring& text);
    void SetTaskbarState(TaskbarState state);
    void SetTaskbarDone(double done);
    // The files' sizes changed: the end rebuilds the list's summary.
    void SummaryOutdated() { summaryOutdated_ = true; }

private:
    MergeHost& host_;
    double total_ = 0;
    bool summaryOutdated_ = false;
    std::unique_ptr<TaskbarProgress> taskbar_; // none where the system has no taskbar list
};
