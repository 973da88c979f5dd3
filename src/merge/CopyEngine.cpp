#include "merge/CopyEngine.h"

#include "platform/SlimLock.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <new>
#include <system_error>

namespace {

DWORD WholeBlocks(DWORD bytes) {
    return std::max(kBlockSize, bytes / kBlockSize * kBlockSize);
}

} // namespace

HANDLE OpenInput(const FileCalls& calls, const std::wstring& path) {
    if (calls.open)
        return calls.open(path.c_str());
    return CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

CopyEngine::CopyEngine(const std::vector<std::wstring>& inputs, std::vector<FileHandle> opened,
                       HANDLE output, double total, const CopyOptions& options,
                       const HashPlan& plan)
    : inputs_(inputs), opened_(std::move(opened)), total_(total),
      handOver_(options.progressIntervalMs == 0), calls_(options.calls), hashing_(HashingFor(plan)),
      hashes_(plan, inputs.size()), output_(output, calls_),
      wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), threshold_(total),
      copied_(inputs.size(), 0.0) {
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

CopyEngine::Hashing CopyEngine::HashingFor(const HashPlan& plan) {
    if (plan.Empty())
        return Hashing::None;
    return plan.OnlyCrc32() ? Hashing::OnRead : Hashing::OwnThread;
}

bool CopyEngine::Start() {
    running_ = hashing_ == Hashing::OwnThread ? 3 : 2;
    try {
        if (hashing_ == Hashing::OwnThread)
            hasher_ = std::jthread([this] { HashChunks(); });
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
    io_.JoinCancelling({&reader_, &writer_, &hasher_});
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
    io_.Enter();
    ReadAll();
    ThreadEnded();
}

void CopyEngine::ReadAll() {
    Chunk* chunk = Room();
    for (std::size_t i = 0; chunk && i < inputs_.size(); ++i) {
        FileHandle input = i < opened_.size() ? std::move(opened_[i]) : FileHandle();
        if (!input) {
            input.Reset(OpenInput(calls_, inputs_[i]));
            if (!input)
                return PutTail(chunk, Tail::OpenFailed, i, GetLastError());
        }
        if (!ReadInput(i, input.Get(), chunk))
            return;
    }
    if (!chunk)
        return;
    if (hashing_ == Hashing::OnRead) {
        Locked locked(lock_);
        hashedAll_ = true;
    }
    PutTail(chunk, Tail::End, inputs_.size(), 0);
}

bool CopyEngine::ReadInput(std::size_t index, HANDLE input, Chunk*& chunk) {
    // Every input ends with a read that gives 0 bytes. The reads ask for whole
    // blocks, so a piece starts on a block of its input; a short read ends a piece,
    // its last block short. A chunk too full for another block goes to the writer.
    for (;;) {
        if (chunkSize_ - chunk->bytes < kBlockSize) {
            Put();
            if (!(chunk = Room()))
                return false;
        }
        const DWORD room = (chunkSize_ - chunk->bytes) / kBlockSize * kBlockSize;
        DWORD got = 0;
        if (!Read(input, chunk->data + chunk->bytes, room, &got)) {
            PutTail(chunk, Tail::ReadFailed, index, GetLastError());
            return false;
        }
        if (got == 0)
            return true;
        got = std::min(got, room);
        if (hashing_ == Hashing::OnRead)
            hashes_.Add(index, chunk->data + chunk->bytes, got);
        chunk->pieces.push_back({index, got});
        chunk->bytes += got;
    }
}

BOOL CopyEngine::Read(HANDLE input, char* buffer, DWORD size, DWORD* got) {
    return calls_.read ? calls_.read(input, buffer, size, got)
                       : ReadFile(input, buffer, size, got, nullptr);
}

CopyEngine::Chunk* CopyEngine::Room() {
    Locked locked(lock_);
    while (!stopped_ && put_ - std::min(written_, hashed_) == ring_.size())
        SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    if (stopped_)
        return nullptr;
    Chunk& chunk = ring_[put_ % ring_.size()];
    chunk.bytes = 0;
    chunk.pieces.clear();
    chunk.tail = Tail::More;
    return &chunk;
}

void CopyEngine::Put() {
    Locked locked(lock_);
    ++put_;
    WakeAllConditionVariable(&changed_);
}

void CopyEngine::PutTail(Chunk* chunk, Tail tail, std::size_t input, DWORD error) {
    chunk->tail = tail;
    chunk->input = input;
    chunk->error = error;
    Put();
}

void CopyEngine::HashChunks() noexcept {
    io_.Enter();
    while (const Chunk* chunk = NextToHash()) {
        DWORD at = 0;
        for (const Piece& piece : chunk->pieces) {
            hashes_.Add(piece.input, chunk->data + at, piece.bytes);
            at += piece.bytes;
        }
        if (chunk->tail != Tail::More) {
            Locked locked(lock_);
            hashedAll_ = chunk->tail == Tail::End;
            break;
        }
        Hashed();
    }
    ThreadEnded();
}

std::optional<HashResults> CopyEngine::Checksums() {
    Locked locked(lock_);
    // Only a reader or a hasher that saw the end sets hashedAll_.
    if (!hashedAll_ || outcome_.kind != Outcome::Kind::Copied)
        return std::nullopt;
    return hashes_.Results();
}

const CopyEngine::Chunk* CopyEngine::NextToHash() {
    Locked locked(lock_);
    while (!stopped_ && hashed_ == put_)
        SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    return stopped_ ? nullptr : &ring_[hashed_ % ring_.size()];
}

void CopyEngine::Hashed() {
    Locked locked(lock_);
    ++hashed_;
    WakeAllConditionVariable(&changed_);
}

void CopyEngine::WriteOutput() noexcept {
    io_.Enter();
    Finish(WriteAll());
}

CopyEngine::Outcome CopyEngine::WriteAll() {
    using enum Outcome::Kind;
    while (const Chunk* chunk = NextToTake()) {
        const DWORD taken = Take(*chunk);
        std::size_t failed = 0;
        if (!WriteTaken(*chunk, taken, &failed))
            return {Cancelled(output_.Error()) ? Stopped : WriteFailed, failed, output_.Error()};
        if (taken < chunk->bytes)
            break; // stopped within it
        switch (chunk->tail) {
        case Tail::More: break;
        case Tail::End: return {Copied, chunk->input, 0};
        case Tail::OpenFailed: return {OpenFailed, chunk->input, chunk->error};
        case Tail::ReadFailed: return {ReadFailed, chunk->input, chunk->error};
        }
        Free();
    }
    return {Stopped, 0, 0};
}

bool CopyEngine::WriteTaken(const Chunk& chunk, DWORD bytes, std::size_t* failed) {
    DWORD at = 0;
    for (const Piece& piece : chunk.pieces) {
        const DWORD size = std::min(piece.bytes, bytes - at);
        if (size == 0)
            break;
        if (!output_.Append(chunk.data + at, size)) {
            *failed = piece.input;
            return false;
        }
        at += size;
    }
    return true;
}

bool CopyEngine::Cancelled(DWORD error) {
    Locked locked(lock_);
    return stopped_ && error == ERROR_OPERATION_ABORTED;
}

const CopyEngine::Chunk* CopyEngine::NextToTake() {
    Locked locked(lock_);
    while (!stopped_ && (written_ == put_ || !MayTake()))
        SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    return stopped_ ? nullptr : &ring_[written_ % ring_.size()];
}

DWORD CopyEngine::Take(const Chunk& chunk) {
    // The lock is held while the blocks are counted, never while they are written:
    // a hold or a stop takes effect between two blocks, and what was taken by then
    // is exactly what the output receives.
    Locked locked(lock_);
    DWORD taken = 0;
    for (const Piece& piece : chunk.pieces) {
        progress_.input = piece.input;
        for (DWORD inPiece = 0; inPiece < piece.bytes;) {
            while (!stopped_ && !MayTake())
                SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
            if (stopped_)
                return taken;
            const DWORD block = std::min(kBlockSize, piece.bytes - inPiece);
            inPiece += block;
            taken += block;
            copied_[piece.input] += block;
            progress_.done += block;
            if (threshold_.Passed(progress_.done))
                progress_.percent = BarPercent(progress_.done, total_);
            if (handOver_) {
                handedOver_ = true;
                SetEvent(wake_.Get());
            }
        }
    }
    return taken;
}

void CopyEngine::Free() {
    Locked locked(lock_);
    ++written_;
    if (hashing_ != Hashing::OwnThread)
        hashed_ = written_;
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
        // The reader has nothing more to read for, nor the hasher to hash for, but
        // after a whole copy, whose last chunks the hasher finishes.
        if (outcome.kind != Outcome::Kind::Copied)
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
