#include "merge/WorkView.h"

#include "merge/CopyLoop.h"
#include "merge/MergeSession.h"
#include "platform/EventPump.h"
#include "platform/PendingError.h"

#include <algorithm>

namespace {

constexpr DWORD kCancelEveryMs = 10;

} // namespace

WorkView::WorkView(MergeSession& session, WatchedWork& work,
                   const std::vector<std::wstring>& inputs, ULONGLONG intervalMs,
                   std::wstring prefix)
    : session_(session), work_(work), dialog_(session.Host().progress), inputs_(inputs),
      interval_(intervalMs), oneByOne_(intervalMs == 0), prefix_(std::move(prefix)) {
    dialog_.SetWatcher(this);
}

WorkView::~WorkView() {
    dialog_.SetWatcher(nullptr);
}

void WorkView::Run() {
    Show(work_.Look());
    ULONGLONG shown = GetTickCount64();
    const HANDLE wake = work_.Wake();
    for (;;) {
        // Taken one by one, a block is followed by the window events; otherwise the
        // events run as they come and the progress is shown every interval. A quit
        // request stays in the queue for the main loop, so it no longer wakes this one.
        // Once stopped, what the work still waits for on a stalled disk is cancelled
        // every few ms until it ends.
        const ULONGLONG since = GetTickCount64() - shown;
        DWORD timeout =
            oneByOne_ ? INFINITE : static_cast<DWORD>(since < interval_ ? interval_ - since : 0);
        if (cause_ != StopCause::None)
            timeout = std::min<DWORD>(timeout, kCancelEveryMs);
        MsgWaitForMultipleObjectsEx(1, &wake, timeout, oneByOne_ || quitting_ ? 0 : QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        const WatchedWork::Progress now = work_.Look();
        if (cause_ != StopCause::None && !now.ended)
            work_.CancelIo();
        if (now.ended || now.handedOver || GetTickCount64() - shown >= interval_) {
            Show(now);
            shown = GetTickCount64();
        }
        if (now.ended)
            return;
        if (oneByOne_ && !now.handedOver)
            continue;
        CheckStop();
        // Blocks taken one by one see no window events once the stop is seen after
        // one of them; otherwise the window stays alive while the last blocks are
        // written.
        if ((!oneByOne_ || cause_ == StopCause::None) && !PumpPendingEvents(dialog_.Handle())) {
            quitting_ = true;
            Stop(StopCause::Ending);
        }
        if (oneByOne_)
            work_.TakeNext();
    }
}

void WorkView::Show(const WatchedWork::Progress& now) {
    if (now.input != shownInput_ && now.input < inputs_.size()) {
        shownInput_ = now.input;
        dialog_.SetStatus1(prefix_ + inputs_[now.input]);
    }
    // Compared with what was shown, not flagged by the look: a look that is not
    // shown, such as one woken by a click, must not lose a move.
    if (now.percent != shownPercent_) {
        shownPercent_ = now.percent;
        dialog_.SetValue(now.percent);
    }
    if (now.done != shownDone_) {
        shownDone_ = now.done;
        session_.SetTaskbarDone(now.done);
    }
}

void WorkView::CheckStop() {
    if (cause_ != StopCause::None)
        return;
    // A dialog destroyed before this watch began ends the work all the same.
    if (!dialog_.IsLoaded())
        Stop(StopCause::Ending);
    else if (dialog_.bCancelFlag)
        Stop(StopCause::Cancel);
    else if (session_.Host().pendingError.Holds())
        Stop(StopCause::PendingError);
}

void WorkView::Stop(StopCause cause) {
    if (cause_ == StopCause::None)
        cause_ = cause;
    work_.Stop();
    work_.CancelIo();
}

void WorkView::QuestionOpened() {
    if (questions_++ > 0)
        return;
    // What the copy holds at the question is what a Yes leaves in the output; checks
    // wait meanwhile.
    work_.Hold();
    Show(work_.Look());
    session_.SetTaskbarState(TaskbarState::Paused);
}

void WorkView::QuestionClosed() {
    if (--questions_ > 0)
        return;
    // A Yes stops the copy where it was held. Blocks taken one by one see the flag
    // after the next block: the one more block that a cancel may let through.
    if (dialog_.bCancelFlag && !oneByOne_)
        return Stop(StopCause::Cancel);
    work_.Release();
    if (!dialog_.bCancelFlag)
        session_.SetTaskbarState(TaskbarState::Normal);
}

void WorkView::Ending() {
    // The dialog's owner is being destroyed, or the session ends: no thread of the
    // work may outlive this moment.
    Stop(StopCause::Ending);
    work_.Join();
}
