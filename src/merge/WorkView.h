#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "merge/WatchedWork.h"
#include "progress/ProgressDialog.h"

class MergeSession;

// Why the window ended a piece of work before it ended by itself.
enum class StopCause { None, Cancel, PendingError, Ending };

// The window's side of the work of a merge under the progress dialog. Its thread
// waits in a message loop, never on the disk: it shows which input the work is at
// and how far the copy has come, holds the work while the cancel question is open,
// and stops it on a confirmed cancel, a pending error, or when the dialog or the
// program must end.
class WorkView final : public ProgressWatcher {
public:
    // An interval of 0 takes the handed-over blocks one by one, each followed by one
    // run of the window events. The first status line shows the input at hand after
    // `prefix`.
    WorkView(MergeSession& session, WatchedWork& work, const std::vector<std::wstring>& inputs,
             ULONGLONG intervalMs, std::wstring prefix = {});
    ~WorkView();
    WorkView(const WorkView&) = delete;
    WorkView& operator=(const WorkView&) = delete;

    // Returns once the work has ended.
    void Run();
    StopCause Cause() const { return cause_; }

    void QuestionOpened() override;
    void QuestionClosed() override;
    void Ending() override;

private:
    void Show(const WatchedWork::Progress& now);
    void CheckStop();
    void Stop(StopCause cause);

    MergeSession& session_;
    WatchedWork& work_;
    ProgressDialog& dialog_;
    const std::vector<std::wstring>& inputs_;
    const ULONGLONG interval_;
    const bool oneByOne_;
    const std::wstring prefix_;
    StopCause cause_ = StopCause::None;
    bool quitting_ = false;
    int questions_ = 0; // open cancel questions: the session's end asks one over another
    std::size_t shownInput_ = static_cast<std::size_t>(-1);
    double shownDone_ = -1;
    float shownPercent_ = 0;
};
