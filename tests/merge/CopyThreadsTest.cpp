// The copy on its own threads: the reader runs ahead of the writer, and the window
// stops them.

#include "merge/HugeFileFunctions.h"
#include "merge/MergeRig.h"
#include "platform/Handles.h"

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
