// The copy on its own threads: the reader runs ahead of the writer, and the window
// stops them.

#include "merge/MergeRig.h"
#include "platform/EventPump.h"
#include "platform/Handles.h"
#include "platform/HugeFileFunctions.h"

#include <atomic>
#include <utility>

namespace {

// The program's pace, with chunks small enough that the files fill several.
CopyOptions Threaded() {
    return {.progressIntervalMs = 15,
            .chunk = 4 * kBlockSize,
            .chunks = 4,
            .calls = {},
            .freeSpace = {}};
}

// Whether an output of this size ends on a block of the inputs: a whole number of
// blocks into one of them, or at its end.
bool EndsOnBlock(const MergeRig& rig, std::size_t size) {
    for (const auto& content : rig.contents) {
        if (size <= content.size())
            return size % kBlockSize == 0 || size == content.size();
        size -= content.size();
    }
    return false;
}

// What the window's thread does, in its events, once a condition holds.
std::function<bool()> watchedFor;
std::function<void()> thenDo;

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    if (thenDo && watchedFor())
        std::exchange(thenDo, nullptr)();
}

} // namespace

TEST_CASE("A cancel while the writer lags the reader keeps exactly the blocks counted") {
    // The click comes at a different write each time; the writer is held up until
    // the question is asked, and the reader fills the ring meanwhile.
    for (int at : {1, 4, 9, 12}) { // of 13 writes
        CAPTURE(at);
        MergeRig rig;
        rig.options = Threaded();
        for (std::size_t size : {70000, 4096, 100000})
            rig.Add(size);
        KernelHandle asked(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        int writes = 0; // the writer's own
        rig.options.calls.write = [&](HANDLE file, const void* buffer, DWORD size, DWORD* done) {
            if (++writes == at) {
                PostMessageW(rig.progress.Handle(), WM_COMMAND, IDCANCEL, 0);
                WaitForSingleObject(asked.Get(), 5000);
            }
            return WriteFile(file, buffer, size, done, nullptr);
        };
        ULONGLONG counted = 0;
        rig.services.whileMessageShown = [&] {
            counted = rig.services.taskbarDone;
            // The bar shows the part counted, once the question's message loop has run.
            PumpPendingEvents(rig.progress.Handle());
            const HWND bar = GetDlgItem(rig.progress.Handle(), IDC_PROGRESSBAR);
            CHECK(
                SendMessageW(bar, PBM_GETPOS, 0, 0) * rig.Total() ==
                doctest::Approx(SendMessageW(bar, PBM_GETRANGE, FALSE, 0) * counted).epsilon(0.01));
            SetEvent(asked.Get());
        };
        rig.services.answers = {IDYES};
        rig.Merge();
        REQUIRE(rig.services.messages.size() == 1);
        const std::size_t kept = ReadBytes(rig.output).size();
        CHECK(kept >= counted);
        CHECK(kept <= counted + kBlockSize);
        CHECK(kept < rig.Total());
        CHECK(EndsOnBlock(rig, kept));
        CHECK(FileBytes(rig.output) == rig.Joined(kept));
        rig.CheckRestored();
        rig.CheckUnchanged();
    }
}

TEST_CASE("No thread of the copy outlives the moment its dialog must end") {
    for (bool sessionEnds : {false, true}) {
        CAPTURE(sessionEnds);
        MergeRig rig;
        rig.options = Threaded();
        rig.Add(2000000);
        rig.Add(1000);
        std::atomic<int> writes{0}; // finished ones
        rig.options.calls.write = [&](HANDLE file, const void* buffer, DWORD size, DWORD* done) {
            Sleep(5);
            const BOOL ok = WriteFile(file, buffer, size, done, nullptr);
            ++writes;
            return ok;
        };
        int writesAtEnd = -1;
        watchedFor = [&] { return writes >= 3; };
        thenDo = [&] {
            if (sessionEnds)
                SendMessageW(rig.progress.Handle(), WM_ENDSESSION, TRUE, 0);
            else
                DestroyWindow(rig.Hwnd()); // the dialog's owner
            writesAtEnd = writes;
        };
        const UINT_PTR timer = SetTimer(nullptr, 0, 5, Watch);
        rig.Merge();
        KillTimer(nullptr, timer);
        REQUIRE(writesAtEnd >= 3);
        CHECK(writes == writesAtEnd); // none after the end: the threads were joined
        CHECK(rig.services.messages.empty());
        const std::size_t kept = ReadBytes(rig.output).size();
        CHECK(kept < rig.Total());
        CHECK(EndsOnBlock(rig, kept));
        CHECK(FileBytes(rig.output) == rig.Joined(kept));
        CHECK_FALSE(rig.progress.IsLoaded());
    }
}

TEST_CASE("The taskbar button shows the copy going, paused at the question, red at a failure") {
    using enum TaskbarState;
    const struct {
        std::string what;
        bool taskbarList;
        bool asked; // Cancel clicked during the second write, answered No
        int failingRead;
        std::vector<TaskbarState> states;
    } cases[] = {
        {"copied", true, false, 0, {Normal, None}},
        {"asked", true, true, 0, {Normal, Paused, Normal, None}},
        {"a read fails", true, false, 3, {Normal, Error, None}},
        {"no taskbar list", false, true, 0, {}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        MergeRig rig;
        rig.options = Threaded();
        rig.services.noTaskbar = !c.taskbarList;
        rig.Add(100000);
        rig.Add(5000);
        KernelHandle asked(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        int reads = 0, writes = 0;
        rig.options.calls.read = [&](HANDLE file, void* buffer, DWORD size, DWORD* done) -> BOOL {
            if (++reads == c.failingRead) {
                SetLastError(ERROR_CRC);
                return FALSE;
            }
            return ReadFile(file, buffer, size, done, nullptr);
        };
        rig.options.calls.write = [&](HANDLE file, const void* buffer, DWORD size, DWORD* done) {
            if (c.asked && ++writes == 2) {
                PostMessageW(rig.progress.Handle(), WM_COMMAND, IDCANCEL, 0);
                WaitForSingleObject(asked.Get(), 5000);
            }
            return WriteFile(file, buffer, size, done, nullptr);
        };
        rig.services.whileMessageShown = [&] { SetEvent(asked.Get()); };
        rig.services.answers = {IDNO};
        rig.Merge();
        CHECK(rig.services.taskbarStates == c.states);
        REQUIRE(rig.services.messages.size() == (c.asked || c.failingRead ? 1u : 0u));
        for (const auto& m : rig.services.messages)
            CHECK(m.taskbar == (!c.taskbarList                       ? None
                                : (m.type & MB_TYPEMASK) == MB_YESNO ? Paused
                                                                     : Error));
        if (!c.failingRead)
            CHECK(FileBytes(rig.output) == rig.Joined());
        if (c.what == "copied")
            CHECK(rig.services.taskbarDone == rig.Total());
        // Windows' shutdown screen names the merge while it runs.
        CHECK(rig.services.shutdownReasons == Texts{L"Merging files into " + rig.output, L""});
        rig.CheckRestored();
    }
}

TEST_CASE("A confirmed cancel does not wait for a stalled read or write") {
    for (const bool stalledRead : {true, false}) {
        CAPTURE(stalledRead);
        MergeRig rig;
        rig.options = Threaded();
        rig.Add(100000);
        rig.Add(5000);
        // A call on a stalled share: it returns only when cancelled, or at the test's limit.
        KernelHandle released(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::atomic<bool> cancelled{false};
        std::atomic<int> calls{0};
        const auto stall = [&] {
            if (++calls != 3)
                return true;
            PostMessageW(rig.progress.Handle(), WM_COMMAND, IDCANCEL, 0);
            WaitForSingleObject(released.Get(), 20000);
            SetLastError(ERROR_OPERATION_ABORTED);
            return !cancelled;
        };
        rig.options.calls.cancel = [&](HANDLE) {
            cancelled = true;
            SetEvent(released.Get());
        };
        if (stalledRead)
            rig.options.calls.read = [&](HANDLE file, void* buffer, DWORD size, DWORD* done) {
                *done = 0;
                return stall() && ReadFile(file, buffer, size, done, nullptr);
            };
        else
            rig.options.calls.write = [&](HANDLE file, const void* buffer, DWORD size,
                                          DWORD* done) {
                *done = 0;
                return stall() && WriteFile(file, buffer, size, done, nullptr);
            };
        rig.services.answers = {IDYES};
        rig.Merge();
        CHECK(cancelled);
        REQUIRE(rig.services.messages.size() == 1); // the question, and no failure
        const std::size_t kept = ReadBytes(rig.output).size();
        CHECK(kept < rig.Total());
        CHECK(EndsOnBlock(rig, kept));
        CHECK(FileBytes(rig.output) == rig.Joined(kept));
        rig.CheckRestored();
    }
}
