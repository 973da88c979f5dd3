#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "merge/CopyEngine.h"
#include "progress/ProgressDialog.h"

class MergeSession;

// Why the window ended a copy before the copy ended by itself.
enum class StopCause { None, Cancel, PendingError, Ending };

// The window's side of a running copy. Its thread waits in a message loop, never on
// the disk: it shows the copy's progress, holds the copy while the cancel question
// is open, and stops it on a confirmed cancel, a pending error, or when the dialog
// or the program must end.
class CopyView final : public ProgressWatcher {
public:
    // An interval of 0 takes the handed-over blocks one by one, each followed by one
    // run of the window events.
    CopyView(MergeSession& session, CopyEngine& engine, const std::vector<std::wstring>& inputs,
             ULONGLONG intervalMs);
    ~CopyView();
    CopyView(const CopyView&) = delete;
    CopyView& operator=(const CopyView&) = delete;

    // Returns once the copy has ended.
    void Run();
    StopCause Cause() const { return cause_; }

    void QuestionOpened() override;
    void QuestionClosed() override;
    void Ending() override;

private:
    void Show(const CopyEngine::Progress& now);
    void CheckStop();
    void Stop(StopCause cause);

    MergeSession& session_;
    CopyEngine& engine_;
    ProgressDialog& dialog_;
    const std::vector<std::wstring>& inputs_;
    const ULONGLONG interval_;
    const bool oneByOne_;
    StopCause cause_ = StopCause::None;
    bool quitting_ = false;
    int questions_ = 0; // open cancel questions: the session's end asks one over another
    std::size_t shownInput_ = static_cast<std::size_t>(-1);
    double shownDone_ = -1;
    float shownPercent_ = 0;
};
