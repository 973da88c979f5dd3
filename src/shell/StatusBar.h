#pragma once
// The main window's status bar: the list's summary, or what a running command
// shows in its place.

#include <windows.h>

#include <string>

#include "merge/StatusLine.h"
#include "platform/Window.h"

class FileList;

class StatusBar final : public StatusLine {
public:
    // Takes over a simple-mode status bar that sums up the list.
    void Attach(HWND bar, const FileList& list) {
        bar_ = bar;
        list_ = &list;
    }

    // The stored summary: shown again after a merge.
    const std::wstring& StatusText() const { return summary_; }
    // Builds the list's summary (empty for an empty list), stores it and shows it.
    void RebuildStatus(const FileList& list);
    // The same where the entries from `measuredFrom` on were just appended by a
    // caller that measured them as it found them, `measured` bytes in all.
    void RebuildStatus(const FileList& list, int measuredFrom, double measured);

    void SetStatusText(const std::wstring& text) override;
    void ShowSummary() override { SetStatusText(summary_); }
    void RebuildSummary() override { RebuildStatus(*list_); }
    std::wstring ShownStatusText() const;

private:
    Window bar_;
    const FileList* list_ = nullptr;
    std::wstring summary_;
};
