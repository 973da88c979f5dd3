#pragma once
// The copy under a merge, on threads of its own. A reader fills a small ring of
// large chunks from the inputs, in list order, packing the pieces of as many inputs
// as fit into each chunk, while a writer takes the 4096-byte blocks out of it in
// order, counts them and writes them to the output in the same large chunks: while
// one chunk is written the next ones are read. Where checksums are asked for, a
// hasher computes them from the same chunks beside the writer, never in its way; a
// chunk is read into again once both are through with it. CRC-32s alone the reader
// computes itself, as it reads. The window's thread never
// waits for any of them: it looks at the progress, holds the copy while the cancel
// question is open, and stops it.

#include "merge/BlockWriter.h"
#include "merge/CopyHashes.h"
#include "merge/CopyOptions.h"
#include "merge/IoThreads.h"
#include "merge/ProgressSteps.h"
#include "merge/WatchedWork.h"
#include "platform/Handles.h"

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class CopyEngine final : public WatchedWork {
public:
    // `opened` holds the inputs the checks have opened, in list order; an input
    // without a handle there is opened when its turn comes.
    // `plan` names the checksums to compute; none when it is empty.
    CopyEngine(const std::vector<std::wstring>& inputs, std::vector<FileHandle> opened,
               HANDLE output, double total, const CopyOptions& options, const HashPlan& plan = {});
    // Stops the copy and waits for its threads.
    ~CopyEngine() { Join(); }
    CopyEngine(const CopyEngine&) = delete;
    CopyEngine& operator=(const CopyEngine&) = delete;

    // False when not even one block of memory could be had for the ring.
    bool Ready() const { return buffers_ != nullptr; }
    // Starts the threads; false when the system would not give them.
    bool Start();

    Progress Look() override;
    HANDLE Wake() const override { return wake_.Get(); }
    void Hold() override;
    void Release() override;
    // No block is taken any more; those taken are written, the rest is dropped.
    void Stop() override;
    void TakeNext() override;
    void CancelIo() override { io_.CancelIo(); }
    void Join() override;

    struct Outcome {
        enum class Kind { Copied, Stopped, OpenFailed, ReadFailed, WriteFailed };
        Kind kind = Kind::Stopped;
        std::size_t input = 0; // the input that failed, or whose blocks were taken last
        DWORD error = 0;
    };
    // How the copy ended, once it has.
    Outcome Result() const { return outcome_; }
    // The bytes taken of each input, once the copy has ended.
    const std::vector<double>& Copied() const { return copied_; }
    // The checksums of the plan, once the copy has ended; nothing unless every byte
    // of the output was hashed.
    std::optional<HashResults> Checksums();

private:
    // A run of one input's bytes in a chunk: it starts on a block of that input and
    // holds whole blocks, but for its last, which may be short.
    struct Piece {
        std::size_t input;
        DWORD bytes;
    };
    // What follows the data of a chunk.
    enum class Tail { More, End, OpenFailed, ReadFailed };
    struct Chunk {
        char* data = nullptr;
        DWORD bytes = 0;
        std::vector<Piece> pieces;
        Tail tail = Tail::More;
        std::size_t input = 0; // the input a failure concerns
        DWORD error = 0;
    };

    void ReadInputs() noexcept;
    void ReadAll();
    // Reads one input into the chunks from `chunk` on; false when the reading ends.
    bool ReadInput(std::size_t index, HANDLE input, Chunk*& chunk);
    BOOL Read(HANDLE input, char* buffer, DWORD size, DWORD* got);
    void HashChunks() noexcept;
    void WriteOutput() noexcept;
    Outcome WriteAll();
    // Writes the first `bytes` of a chunk, piece by piece, so that the output holds
    // every input's blocks up to a failure as if each input had a chunk of its own.
    bool WriteTaken(const Chunk& chunk, DWORD bytes, std::size_t* failed);
    // The reader's side of the ring.
    Chunk* Room();
    void Put();
    void PutTail(Chunk* chunk, Tail tail, std::size_t input, DWORD error);
    // The hasher's side: the next chunk it has not seen, nothing once stopped.
    const Chunk* NextToHash();
    void Hashed();
    // The writer's side.
    const Chunk* NextToTake();
    DWORD Take(const Chunk& chunk);
    void Free();
    void Finish(const Outcome& outcome);
    void ThreadEnded();
    bool MayTake() const { return !held_ && !handedOver_; }
    // Whether a failed call was one a stop cancelled.
    bool Cancelled(DWORD error);

    const std::vector<std::wstring>& inputs_;
    std::vector<FileHandle> opened_; // the reader's
    const double total_;
    const bool handOver_;
    const FileCalls calls_;
    // Who computes the checksums. CRC-32s alone the reader does, right after each
    // read while the bytes are in the cache: cheaper than a third thread's pass over
    // every chunk. Slower ones get a hasher thread, so that the reader keeps up.
    enum class Hashing { None, OnRead, OwnThread };
    static Hashing HashingFor(const HashPlan& plan);
    const Hashing hashing_;
    CopyHashes hashes_; // the hasher's, or the reader's
    BlockWriter output_;
    DWORD chunkSize_ = 0;
    std::unique_ptr<char[]> buffers_;
    KernelHandle wake_;

    // Everything below is shared between the threads, under the lock.
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    // Chunks counted from the start: put by the reader, written, and hashed (kept
    // level with written where nothing is hashed). Chunk n lies at ring_[n % size].
    std::vector<Chunk> ring_;
    std::size_t put_ = 0, written_ = 0, hashed_ = 0;
    bool hashedAll_ = false;
    bool held_ = false, handedOver_ = false, stopped_ = false;
    int running_ = 0;
    BarThreshold threshold_;
    Progress progress_;
    Outcome outcome_;
    std::vector<double> copied_; // the writer's

    IoThreads io_{calls_};
    // Last, so that they are joined before anything they use goes.
    std::jthread reader_, writer_, hasher_;
};
