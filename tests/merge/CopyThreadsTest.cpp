// The copy on its own threads: the reader runs ahead of the writer, and the window
// stops them.

#include "merge/MergeRig.h"
#include "platform/EventPump.h"

#include <atomic>

TEST_CASE("Cancel or the close button asks; Yes keeps exactly the blocks counted, without waiting "
          "for a stalled disk; the taskbar button shows the copy going, paused at the question, "
          "red at a failure") {
    // The click comes during one of the 13 writes; the writer is held up until the
    // question is asked, and the reader fills the ring meanwhile. Or the third read or
    // write stalls, as on a share that has gone, until the copy cancels it.
    using enum TaskbarState;
    const struct {
        int clickAt, answer, failingRead; // clickAt 0: no click
        UINT click;                       // on Cancel, or on the dialog's close button
        std::vector<TaskbarState> states; // none: the system has no taskbar list
        int stall = 0;                    // 1: a read, 2: a write
    } cases[] = {
        {0, 0, 0, 0, {Normal, None}},
        {0, 0, 3, 0, {Normal, Error, None}},
        {0, 0, 0, 0, {}},
        {2, IDNO, 0, WM_CLOSE, {Normal, Paused, Normal, None}},
        {1, IDYES, 0, WM_COMMAND, {Normal, Paused, None}},
        {4, IDYES, 0, WM_CLOSE, {Normal, Paused, None}},
        {9, IDYES, 0, WM_COMMAND, {Normal, Paused, None}},
        {12, IDYES, 0, WM_COMMAND, {Normal, Paused, None}},
        {0, IDYES, 0, 0, {Normal, Paused, None}, 1},
        {0, IDYES, 0, 0, {Normal, Paused, None}, 2},
    };
    for (const auto& c : cases) {
        INFO("click at " << c.clickAt << ", read failing " << c.failingRead << ", stall "
                         << c.stall);
        MergeRig rig;
        rig.Threaded();
        rig.services.noTaskbar = c.states.empty();
        rig.Add({70000, 4096, 100000});
        rig.options.calls = WithFaults({.failingRead = c.failingRead, .error = ERROR_CRC});
        std::atomic<int> calls{0};
        std::atomic<bool> cancelled{false};
        const auto stall = [&](DWORD* done) {
            *done = 0;
            if (++calls != 3)
                return true;
            PostMessageW(rig.progress.Handle(), WM_COMMAND, IDCANCEL, 0);
            WaitForSingleObject(rig.asked.Get(), 20000); // until cancelled, or the test's limit
            SetLastError(ERROR_OPERATION_ABORTED);
            return !cancelled;
        };
        if (c.stall)
            rig.options.calls.cancel = [&](HANDLE) {
                cancelled = true;
                SetEvent(rig.asked.Get());
            };
        if (c.stall == 1)
            rig.options.calls.read = [&](HANDLE file, void* buffer, DWORD size, DWORD* done) {
                return stall(done) && ReadFile(file, buffer, size, done, nullptr);
            };
        if (c.stall == 2)
            rig.options.calls.write = [&](HANDLE file, const void* buffer, DWORD size,
                                          DWORD* done) {
                return stall(done) && WriteFile(file, buffer, size, done, nullptr);
            };
        ULONGLONG counted = 0;
        if (c.clickAt)
            rig.ClickDuringWrite(c.clickAt, c.click, [&] {
                counted = rig.services.taskbarDone;
                CHECK_FALSE(IsWindowEnabled(rig.Hwnd())); // the list waits for the merge
                // The bar shows the part counted, once the question's message loop has run.
                PumpPendingEvents(rig.progress.Handle());
                const HWND bar = GetDlgItem(rig.progress.Handle(), IDC_PROGRESSBAR);
                CHECK(SendMessageW(bar, PBM_GETPOS, 0, 0) * rig.Total() ==
                      doctest::Approx(SendMessageW(bar, PBM_GETRANGE, FALSE, 0) * counted)
                          .epsilon(0.01));
            });
        rig.services.answers = {c.answer};
        rig.Merge();
        CHECK(rig.services.taskbarStates == c.states);
        REQUIRE(rig.services.messages.size() == (c.answer || c.failingRead ? 1u : 0u));
        for (const auto& m : rig.services.messages)
            CHECK(m.taskbar == (c.answer ? Paused : Error));
        CHECK(cancelled == (c.stall > 0));
        if (c.answer == IDYES) {
            const std::size_t kept = rig.CheckCutShort();
            CHECK(kept >= counted);
            CHECK((kept <= counted + kBlockSize || c.stall));
        } else if (!c.failingRead) {
            CHECK(FileBytes(rig.output) == rig.Joined());
            CHECK(rig.services.taskbarDone == (c.states.empty() ? 0 : rig.Total()));
        }
        // Windows' shutdown screen names the merge while it runs.
        CHECK(rig.services.shutdownReasons == Texts{L"Merging files into " + rig.output, L""});
        rig.CheckRestored();
        rig.CheckUnchanged();
    }
}

TEST_CASE("No thread of the copy outlives the moment its dialog must end") {
    for (bool sessionEnds : {false, true}) {
        CAPTURE(sessionEnds);
        MergeRig rig;
        rig.Threaded();
        rig.Add({2000000, 1000});
        std::atomic<int> writes{0}; // finished ones
        rig.options.calls.write = [&](HANDLE file, const void* buffer, DWORD size, DWORD* done) {
            Sleep(5);
            const BOOL ok = WriteFile(file, buffer, size, done, nullptr);
            ++writes;
            return ok;
        };
        int writesAtEnd = -1;
        const auto end = [&] {
            if (writes < 3)
                return false;
            if (sessionEnds)
                SendMessageW(rig.progress.Handle(), WM_ENDSESSION, TRUE, 0);
            else
                DestroyWindow(rig.Hwnd()); // the dialog's owner
            writesAtEnd = writes;
            return true;
        };
        WatchWhile(end, [&] { rig.Merge(); });
        REQUIRE(writesAtEnd >= 3);
        CHECK(writes == writesAtEnd); // none after the end: the threads were joined
        CHECK(rig.services.messages.empty());
        rig.CheckCutShort();
        CHECK_FALSE(rig.progress.IsLoaded());
    }
}
