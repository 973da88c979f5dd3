#pragma once
// The merge counts, checks for a cancel and moves its bar per block of 4096 bytes,
// but asking the system for 4096 bytes at a time is slow. This stream hands out
// such blocks while it reads and writes through one reused buffer in much larger
// chunks. A block it has handed out counts as written: it reaches the output at
// the latest when the stream is flushed, which the merge does at the end of each
// input, on a cancel and on a failure.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

inline constexpr DWORD kBlockSize = 4096;

// The system's reads and writes as the copy makes them; tests put faults in here.
// An empty function stands for ReadFile or WriteFile.
struct FileCalls {
    std::function<BOOL(HANDLE file, void* buffer, DWORD size, DWORD* done)> read;
    std::function<BOOL(HANDLE file, const void* buffer, DWORD size, DWORD* done)> write;
};

class BlockStream {
public:
    enum class Result { Ok, ReadFailed, WriteFailed };

    // Chunks start at minChunk and grow towards maxChunk while a call of the system
    // stays short, so the window events still run often on a slow drive.
    BlockStream(DWORD minChunk, DWORD maxChunk, FileCalls calls);

    // False when not even one block of memory could be had.
    bool Ready() const { return capacity_ > 0; }

    // Goes on with the next input; everything taken from the last one must have
    // been flushed.
    void Start(HANDLE input, HANDLE output);

    // Takes the next block of the input into bytes: up to 4096, 0 at its end.
    // Writes the blocks taken before when the buffer must be refilled.
    Result Next(DWORD& bytes);

    // Writes every block taken so far. A write that stores fewer bytes than asked
    // for goes on with the rest; one that stores nothing fails. After a failure the
    // output is cut back to the last whole block it is known to hold.
    Result Flush();

    // The system's error code for the last failure.
    DWORD Error() const { return error_; }

private:
    BOOL Read(void* buffer, DWORD size, DWORD* done);
    BOOL Write(const void* buffer, DWORD size, DWORD* done);
    // Makes a system call, noting its error or letting its time set the chunk size.
    template <typename Call> BOOL Timed(Call call);
    void Adapt(LONGLONG ticks);
    void CutBackToBlock();

    FileCalls calls_;
    std::unique_ptr<char[]> buffer_;
    DWORD capacity_ = 0;
    DWORD minChunk_ = 0;
    DWORD chunk_ = 0;
    LONGLONG ticksPerSecond_ = 1;

    HANDLE input_ = INVALID_HANDLE_VALUE;
    HANDLE output_ = INVALID_HANDLE_VALUE;
    // Positions in the buffer: blocks start at multiples of 4096 from 0, the data
    // read ends at filled_, blocks up to cursor_ are taken, up to flushed_ written.
    DWORD filled_ = 0;
    DWORD cursor_ = 0;
    DWORD flushed_ = 0;
    std::uint64_t written_ = 0;
    DWORD error_ = 0;
};
