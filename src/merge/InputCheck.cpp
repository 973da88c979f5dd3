#include "merge/InputCheck.h"

#include "platform/SlimLock.h"

#include <algorithm>
#include <system_error>

InputCheck::InputCheck(const std::vector<std::wstring>& inputs, const std::wstring& output,
                       const FileCalls& calls, SameFileTest::Identify identify)
    : inputs_(inputs), calls_(calls), sameFile_(output, identify),
      ended_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      kept_(std::min(inputs.size(), kKeptOpen)), handles_(kept_) {}

bool InputCheck::Start() {
    try {
        thread_ = std::jthread([this] { CheckAll(); });
        return ended_.Valid();
    } catch (const std::system_error&) {
        return false;
    }
}

WatchedWork::Progress InputCheck::Look() {
    Locked locked(lock_);
    Progress now;
    now.input = at_;
    now.ended = done_;
    return now;
}

void InputCheck::Hold() {
    Locked locked(lock_);
    held_ = true;
}

void InputCheck::Release() {
    Locked locked(lock_);
    held_ = false;
    WakeAllConditionVariable(&changed_);
}

void InputCheck::Stop() {
    Locked locked(lock_);
    stopped_ = true;
    WakeAllConditionVariable(&changed_);
}

void InputCheck::Join() {
    Stop();
    io_.JoinCancelling({&thread_});
}

void InputCheck::CheckAll() noexcept {
    io_.Enter();
    std::size_t index = 0;
    while (index < inputs_.size() && GoOn(index))
        Check(index++);
    Locked locked(lock_);
    completed_ = index == inputs_.size();
    done_ = true;
    SetEvent(ended_.Get());
}

bool InputCheck::GoOn(std::size_t index) {
    Locked locked(lock_);
    while (held_ && !stopped_)
        SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    at_ = index;
    return !stopped_;
}

void InputCheck::Check(std::size_t index) {
    const std::wstring& path = inputs_[index];
    FileHandle input(OpenInput(calls_, path));
    if (!input && GetLastError() == ERROR_TOO_MANY_OPEN_FILES && kept_ > 0) {
        // The system holds no more: the copy opens every input again instead.
        for (FileHandle& handle : handles_)
            handle.Reset();
        kept_ = 0;
        input.Reset(OpenInput(calls_, path));
    }
    if (!input && !openFailure_)
        openFailure_ = OpenFailure{index, GetLastError()};
    if (!sameAsOutput_ && sameFile_.IsOutput(path, input.Get()))
        sameAsOutput_ = index;
    if (index < kept_)
        handles_[index] = std::move(input);
}
