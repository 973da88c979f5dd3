#pragma once
// The copy under a merge, on two threads of its own. A reader fills a small ring of
// large chunks from the inputs, in list order, while a writer takes the 4096-byte
// blocks out of it in order, counts them and writes them to the output in the same
// large chunks: while one chunk is written the next ones are read. The window's
// thread never waits for either: it looks at the progress, holds the copy while the
// cancel question is open, and stops it.

#include "merge/BlockWriter.h"
#include "merge/CopyOptions.h"
#include "merge/ProgressSteps.h"
#include "platform/Handles.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

class CopyEngine {
public:
    CopyEngine(const std::vector<std::wstring>& inputs, HANDLE output, double total,
               const CopyOptions& options);
    // Stops the copy and waits for its threads.
    ~CopyEngine() { Join(); }
    CopyEngine(const CopyEngine&) = delete;
    CopyEngine& operator=(const CopyEngine&) = delete;

    // False when not even one block of memory could be had for the ring.
    bool Ready() const { return buffers_ != nullptr; }
    // Starts the threads; false when the system would not give them.
    bool Start();
    // Stops the copy and returns once both threads have ended.
    void Join();

    // Signalled when a block is handed over and when the copy has ended.
    HANDLE Wake() const { return wake_.Get(); }

    struct Progress {
        std::size_t input = 0; // whose blocks are being taken
        double done = 0;       // bytes in the blocks taken, all of which reach the output
        float percent = 0;     // the bar's value by its step rule
        bool handedOver = false;
        bool ended = false; // both threads are through
    };
    Progress Look();

    // No block is taken between Hold and Release.
    void Hold();
    void Release();
    // No block is taken any more; those taken are written, the rest is dropped.
    void Stop();
    // With a handed-over block: the window is done with it, the copy goes on.
    void TakeNext();

    struct Outcome {
        enum class Kind { Copied, Stopped, OpenFailed, ReadFailed, WriteFailed };
        Kind kind = Kind::Stopped;
        std::size_t input = 0; // the input that failed, or whose blocks were taken last
        DWORD error = 0;
    };
    // How the copy ended, once it has.
    Outcome Result() const { return outcome_; }

private:
    enum class Item { Data, End, OpenFailed, ReadFailed };
    struct Chunk {
        char* data = nullptr;
        DWORD bytes = 0;
        Item item = Item::Data;
        std::size_t input = 0;
        DWORD error = 0;
    };

    void ReadInputs() noexcept;
    void ReadAll();
    BOOL Read(HANDLE input, char* buffer, DWORD* got);
    void WriteOutput() noexcept;
    Outcome WriteAll();
    // The reader's side of the ring.
    Chunk* Room();
    void Put(Item item, std::size_t input, DWORD bytes, DWORD error);
    // The writer's side.
    const Chunk* NextToTake();
    DWORD Take(const Chunk& chunk);
    void Free();
    void Finish(const Outcome& outcome);
    void ThreadEnded();
    bool MayTake() const { return !held_ && !handedOver_; }

    const std::vector<std::wstring>& inputs_;
    const double total_;
    const bool handOver_;
    const FileCalls calls_;
    BlockWriter output_;
    DWORD chunkSize_ = 0;
    std::unique_ptr<char[]> buffers_;
    KernelHandle wake_;

    // Everything below is shared between the threads, under the lock.
    // Slim locks: taking one and waiting on its condition cost no trip to the kernel,
    // or under Wine to its server, unless a thread must really sleep.
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    std::vector<Chunk> ring_;
    std::size_t first_ = 0, filled_ = 0;
    bool held_ = false, handedOver_ = false, stopped_ = false;
    int running_ = 0;
    BarThreshold threshold_;
    Progress progress_;
    Outcome outcome_;

    // Last, so that they are joined before anything they use goes.
    std::jthread reader_, writer_;
};
