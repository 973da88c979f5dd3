// The copy on its own threads: the reader runs ahead of the writer, the window
// holds and stops them, and neither outlives the dialog.

#include "merge/HugeFileFunctions.h"
#include "merge/MergeRig.h"
#include "platform/Handles.h"

#include <atomic>

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

// Runs a function once, in this thread's window events, as soon as a condition
// holds.
class Once {
public:
    Once(std::function<bool()> when, std::function<void()> run) {
        when_ = std::move(when);
        run_ = std::move(run);
        id_ = SetTimer(nullptr, 0, 5, Look);
    }
    ~Once() {
        KillTimer(nullptr, id_);
        when_ = nullptr;
        run_ = nullptr;
    }
    Once(const Once&) = delete;
    Once& operator=(const Once&) = delete;

private:
    static void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD) {
        if (!run_ || !when_())
            return;
        KillTimer(nullptr, id);
        std::exchange(run_, nullptr)();
    }
    static inline std::function<bool()> when_;
    static inline std::function<void()> run_;
    UINT_PTR id_;
};

} // namespace

TEST_CASE("A cancel while the writer lags the reader keeps exactly the blocks counted") {
    // The click comes at a different write each time; the writer is held up until
    // the question is asked, and the reader fills the ring meanwhile.
    for (int at : {1, 2, 4, 6, 9, 12}) { // of 13 writes
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
            SetEvent(asked.Get());
        };
        rig.services.answers = {IDYES};
        rig.Merge(rig.Total());
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

TEST_CASE(
    "A read that fails while the writer holds chunks: they are written, then its input named") {
    MergeRig rig;
    rig.options = Threaded();
    rig.Add(10000);
    rig.Add(50000);
    // Reads: the first input whole, its end, a chunk of the second, then the failure;
    // no write starts before it.
    KernelHandle failed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    int reads = 0;
    rig.options.calls.read = [&](HANDLE file, void* buffer, DWORD size, DWORD* done) -> BOOL {
        if (++reads < 4)
            return ReadFile(file, buffer, size, done, nullptr);
        SetEvent(failed.Get());
        SetLastError(ERROR_CRC);
        return FALSE;
    };
    rig.options.calls.write = [&](HANDLE file, const void* buffer, DWORD size, DWORD* done) {
        WaitForSingleObject(failed.Get(), 5000);
        return WriteFile(file, buffer, size, done, nullptr);
    };
    std::size_t keptAtMessage = 0;
    rig.services.whileMessageShown = [&] { keptAtMessage = ReadBytes(rig.output).size(); };
    rig.Merge(rig.Total());
    const std::size_t kept = 10000 + 4 * kBlockSize;
    CHECK(rig.services.Warnings() ==
          Texts{L"An error occured while reading the file " + rig.inputs[1] + L".\r" +
                GetErrorText(ERROR_CRC) + L"\r\rCheck the file and try again."});
    CHECK(keptAtMessage == kept);
    CHECK(FileBytes(rig.output) == rig.Joined(kept));
    rig.CheckRestored();
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
        const Once end([&] { return writes >= 3; },
                       [&] {
                           if (sessionEnds)
                               SendMessageW(rig.progress.Handle(), WM_ENDSESSION, TRUE, 0);
                           else
                               DestroyWindow(rig.Hwnd()); // the dialog's owner
                           writesAtEnd = writes;
                       });
        rig.Merge(rig.Total());
        REQUIRE(writesAtEnd >= 3);
        CHECK(writes == writesAtEnd);
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
        std::vector<int> answers; // to a click on Cancel at each move of the bar
        int failingRead;
        std::vector<TaskbarState> states;
    } cases[] = {
        {"copied", true, {}, 0, {Normal, None}},
        {"asked twice", true, {IDNO, IDYES}, 0, {Normal, Paused, Normal, Paused, None}},
        {"a read fails", true, {}, 3, {Normal, Error, None}},
        {"no taskbar list", false, {IDNO}, 0, {}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        MergeRig rig;
        rig.services.noTaskbar = !c.taskbarList;
        rig.Add(3 * kBlockSize);
        rig.Add(5000);
        rig.options.chunk = kBlockSize;
        int reads = 0;
        rig.options.calls.read = [&](HANDLE file, void* buffer, DWORD size, DWORD* done) -> BOOL {
            if (++reads == c.failingRead) {
                SetLastError(ERROR_CRC);
                return FALSE;
            }
            return ReadFile(file, buffer, size, done, nullptr);
        };
        std::size_t clicks = c.answers.size();
        rig.onBarMove = [&] {
            if (clicks > 0) {
                --clicks;
                PostMessageW(rig.progress.Handle(), WM_COMMAND, IDCANCEL, 0);
            }
        };
        rig.services.answers.assign(c.answers.begin(), c.answers.end());
        rig.Merge(rig.Total());
        CHECK(rig.services.taskbarStates == c.states);
        REQUIRE(rig.services.messages.size() == c.answers.size() + (c.failingRead ? 1 : 0));
        for (const auto& m : rig.services.messages)
            CHECK(m.taskbar == (!c.taskbarList ? None : m.type == kQuestionBox ? Paused : Error));
        if (c.states.size() == 2) {
            CHECK(rig.services.taskbarDone == rig.Total());
            CHECK(rig.services.taskbarTotal == rig.Total());
        }
        if (c.failingRead == 0 && c.answers.size() < 2)
            CHECK(FileBytes(rig.output) == rig.Joined());
        rig.CheckRestored();
    }
}
