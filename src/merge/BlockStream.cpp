#include "merge/BlockStream.h"

#include <algorithm>
#include <new>

namespace {

// The longest a single read or write may take before chunks shrink: the window
// events wait for it.
constexpr double kCallBudgetSeconds = 0.015;

DWORD WholeBlocks(DWORD bytes) {
    return std::max(kBlockSize, bytes / kBlockSize * kBlockSize);
}

} // namespace

BlockStream::BlockStream(DWORD minChunk, DWORD maxChunk, FileCalls calls)
    : calls_(std::move(calls)) {
    minChunk = WholeBlocks(minChunk);
    maxChunk = std::max(minChunk, WholeBlocks(maxChunk));
    // Less memory means smaller chunks, not a failed merge.
    for (DWORD size = maxChunk; size >= kBlockSize && !buffer_; size /= 2) {
        buffer_.reset(new (std::nothrow) char[size]);
        if (buffer_)
            capacity_ = WholeBlocks(size);
    }
    minChunk_ = std::min(minChunk, capacity_);
    chunk_ = minChunk_;
    LARGE_INTEGER frequency{};
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0)
        ticksPerSecond_ = frequency.QuadPart;
}

void BlockStream::Start(HANDLE input, HANDLE output) {
    input_ = input;
    output_ = output;
    filled_ = cursor_ = flushed_ = 0;
}

BlockStream::Result BlockStream::Next(DWORD& bytes) {
    bytes = 0;
    if (cursor_ == filled_) {
        if (Flush() != Result::Ok)
            return Result::WriteFailed;
        filled_ = cursor_ = flushed_ = 0;
        // The read may change the chunk size for the next one.
        const DWORD asked = chunk_;
        DWORD got = 0;
        if (!Read(buffer_.get(), asked, &got))
            return Result::ReadFailed;
        filled_ = std::min(got, asked);
    }
    bytes = std::min(kBlockSize, filled_ - cursor_);
    cursor_ += bytes;
    return Result::Ok;
}

BlockStream::Result BlockStream::Flush() {
    while (flushed_ < cursor_) {
        const DWORD asked = cursor_ - flushed_;
        DWORD stored = 0;
        const BOOL ok = Write(buffer_.get() + flushed_, asked, &stored);
        stored = std::min(stored, asked);
        flushed_ += stored;
        written_ += stored;
        if (ok && stored > 0)
            continue;
        // A write that reports success but stores nothing would never finish.
        if (ok)
            error_ = ERROR_WRITE_FAULT;
        CutBackToBlock();
        return Result::WriteFailed;
    }
    return Result::Ok;
}

void BlockStream::CutBackToBlock() {
    // Blocks start at multiples of 4096 in the buffer and every flush starts on a
    // block boundary, so what lies past the last one is a partly written block.
    // Cutting the file there also drops whatever a failed call may have stored
    // without saying so.
    const DWORD partial = flushed_ % kBlockSize;
    written_ -= partial;
    flushed_ -= partial;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(written_);
    if (SetFilePointerEx(output_, end, nullptr, FILE_BEGIN))
        SetEndOfFile(output_);
}

template <typename Call> BOOL BlockStream::Timed(Call call) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!call()) {
        error_ = GetLastError();
        return FALSE;
    }
    QueryPerformanceCounter(&end);
    Adapt(end.QuadPart - start.QuadPart);
    return TRUE;
}

BOOL BlockStream::Read(void* buffer, DWORD size, DWORD* done) {
    return Timed([&] {
        return calls_.read ? calls_.read(input_, buffer, size, done)
                           : ReadFile(input_, buffer, size, done, nullptr);
    });
}

BOOL BlockStream::Write(const void* buffer, DWORD size, DWORD* done) {
    return Timed([&] {
        return calls_.write ? calls_.write(output_, buffer, size, done)
                            : WriteFile(output_, buffer, size, done, nullptr);
    });
}

void BlockStream::Adapt(LONGLONG ticks) {
    const double seconds = static_cast<double>(ticks) / static_cast<double>(ticksPerSecond_);
    if (seconds * 2 < kCallBudgetSeconds)
        chunk_ = std::min(chunk_ * 2, capacity_);
    else if (seconds > kCallBudgetSeconds)
        chunk_ = std::max(WholeBlocks(chunk_ / 2), minChunk_);
}
