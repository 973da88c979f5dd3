#include "merge/CopyEngine.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <new>
#include <system_error>

namespace {

class Locked {
public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ReleaseSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    SRWLOCK& lock_;
};

DWORD WholeBlocks(DWORD bytes) {
    return std::max(kBlockSize, bytes / kBlockSize * kBlockSize);
}

} // namespace

CopyEngine::CopyEngine(const std::vector<std::wstring>& inputs, HANDLE output, double total,
                       const CopyOptions& options)
    : inputs_(inputs), total_(total), handOver_(options.progressIntervalMs == 0),
      calls_(options.calls), output_(output, calls_),
      wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), threshold_(total) {
    const std::size_t count = std::max(2u, options.chunks);
    // Less memory means smaller chunks, not a failed merge.
    for (DWORD size = WholeBlocks(options.chunk); size >= kBlockSize && !buffers_; size /= 2) {
        chunkSize_ = WholeBlocks(size);
        buffers_.reset(new (std::nothrow) char[count * chunkSize_]);
    }
    if (!buffers_ || !wake_) {
        buffers_.reset();
        return;
    }
    ring_.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        ring_[i].data = buffers_.get() + i * chunkSize_;
}

bool CopyEngine::Start() {
    running_ = 2;
    try {
        reader_ = std::jthread([this] { ReadInputs(); });
        writer_ = std::jthread([this] { WriteOutput(); });
        return true;
    } catch (const std::system_error&) {
        Join();
        return false;
    }
}

void CopyEngine::Join() {
    Stop();
    for (std::jthread* thread : {&reader_, &writer_})
        if (thread->joinable())
            thread->join();
}

CopyEngine::Progress CopyEngine::Look() {
    Locked locked(lock_);
    Progress now = progress_;
    now.handedOver = handedOver_;
    return now;
}

void CopyEngine::Hold() {
    Locked locked(lock_);
    held_ = true;
}

void CopyEngine::Release() {
    Locked locked(lock_);
    held_ = false;
    WakeAllConditionVariable(&changed_);
}

void CopyEngine::Stop() {
    Locked locked(lock_);
    stopped_ = true;
    WakeAllConditionVariable(&changed_);
}

void CopyEngine::TakeNext() {
    Locked locked(lock_);
    handedOver_ = false;
    WakeAllConditionVariable(&changed_);
}

void CopyEngine::ReadInputs() noexcept {
    ReadAll();
    ThreadEnded();
}

void CopyEngine::ReadAll() {
    for (std::size_t i = 0; i < inputs_.size(); ++i) {
        FileHandle input(CreateFileW(SystemPath(inputs_[i]).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!input) {
            const DWORD error = GetLastError();
            if (Room())
                Put(Item::OpenFailed, i, 0, error);
            return;
        }
        // Every input ends with a read that gives 0 bytes; a short read is a chunk
        // of its own, its last block short.
        for (;;) {
            Chunk* room = Room();
            if (!room)
                return;
            DWORD got = 0;
            if (!Read(input.Get(), room->data, &got)) {
                Put(Item::ReadFailed, i, 0, GetLastError());
                return;
            }
            if (got == 0)
                break;
            Put(Item::Data, i, std::min(got, chunkSize_), 0);
        }
    }
    if (Room())
        Put(Item::End, inputs_.size(), 0, 0);
}

BOOL CopyEngine::Read(HANDLE input, char* buffer, DWORD* got) {
    return calls_.read ? calls_.read(input, buffer, chunkSize_, got)
                       : ReadFile(input, buffer, chunkSize_, got, nullptr);
}

CopyEngine::Chunk* CopyEngine::Room() {
    Locked locked(lock_);
    while (!stopped_ && filled_ == ring_.size())
        SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    return stopped_ ? nullptr : &ring_[(first_ + filled_) % ring_.size()];
}

void CopyEngine::Put(Item item, std::size_t input, DWORD bytes, DWORD error) {
    Locked locked(lock_);
    Chunk& chunk = ring_[(first_ + filled_) % ring_.size()];
    chunk.item = item;
    chunk.input = input;
    chunk.bytes = bytes;
    chunk.error = error;
    ++filled_;
    WakeAllConditionVariable(&changed_);
}

void CopyEngine::WriteOutput() noexcept {
    Finish(WriteAll());
}

CopyEngine::Outcome CopyEngine::WriteAll() {
    using enum Outcome::Kind;
    while (const Chunk* chunk = NextToTake()) {
        switch (chunk->item) {
        case Item::End: return {Copied, chunk->input, 0};
        case Item::OpenFailed: return {OpenFailed, chunk->input, chunk->error};
        case Item::ReadFailed: return {ReadFailed, chunk->input, chunk->error};
        case Item::Data: break;
        }
        const DWORD taken = Take(*chunk);
        if (taken > 0 && !output_.Append(chunk->data, taken))
            return {WriteFailed, chunk->input, output_.Error()};
        if (taken < chunk->bytes)
            break; // stopped within it
        Free();
    }
    return {Stopped, 0, 0};
}

const CopyEngine::Chunk* CopyEngine::NextToTake() {
    Locked locked(lock_);
    while (!stopped_ && (filled_ == 0 || !MayTake()))
        SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    return stopped_ ? nullptr : &ring_[first_];
}

DWORD CopyEngine::Take(const Chunk& chunk) {
    // The lock is held while the blocks are counted, never while they are written:
    // a hold or a stop takes effect between two blocks, and what was taken by then
    // is exactly what the output receives.
    Locked locked(lock_);
    progress_.input = chunk.input;
    DWORD taken = 0;
    while (taken < chunk.bytes) {
        while (!stopped_ && !MayTake())
            SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        if (stopped_)
            break;
        const DWORD block = std::min(kBlockSize, chunk.bytes - taken);
        taken += block;
        progress_.done += block;
        if (threshold_.Passed(progress_.done))
            progress_.percent = BarPercent(progress_.done, total_);
        if (handOver_) {
            handedOver_ = true;
            SetEvent(wake_.Get());
        }
    }
    return taken;
}

void CopyEngine::Free() {
    Locked locked(lock_);
    first_ = (first_ + 1) % ring_.size();
    --filled_;
    WakeAllConditionVariable(&changed_);
}

void CopyEngine::Finish(const Outcome& outcome) {
    {
        Locked locked(lock_);
        outcome_ = outcome;
        // A failure shows its input; a stop names the input it stopped in.
        if (outcome.kind == Outcome::Kind::Stopped)
            outcome_.input = progress_.input;
        else if (outcome.kind != Outcome::Kind::Copied)
            progress_.input = outcome.input;
        // The reader has nothing more to read for.
        stopped_ = true;
        WakeAllConditionVariable(&changed_);
    }
    ThreadEnded();
}

void CopyEngine::ThreadEnded() {
    Locked locked(lock_);
    if (--running_ == 0) {
        progress_.ended = true;
        SetEvent(wake_.Get());
    }
}
