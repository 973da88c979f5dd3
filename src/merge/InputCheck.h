#pragma once
// The checks of the inputs once the output is chosen, on a thread of their own
// while the window's thread looks on. Every input is opened once, as the copy reads
// it, so that one another program holds open for writing, or one that went away
// while the Save As dialog was open, is found before anything is written. The copy
// reads the first few thousand through the same handles; more would hold too much
// of the system (Wine gives each open file a descriptor of a limited supply), so
// later ones are closed again and opened anew when their turn comes. Where the
// output exists, each input's identity is taken from its handle to tell whether it
// is the output.

#include "merge/CopyOptions.h"
#include "merge/IoThreads.h"
#include "merge/FileIdentity.h"
#include "merge/WatchedWork.h"
#include "platform/Handles.h"

#include <optional>
#include <string>
#include <thread>
#include <vector>

class InputCheck final : public WatchedWork {
public:
    InputCheck(const std::vector<std::wstring>& inputs, const std::wstring& output,
               const FileCalls& calls, SameFileTest::Identify identify = IdentifyFile);
    ~InputCheck() { Join(); }
    InputCheck(const InputCheck&) = delete;
    InputCheck& operator=(const InputCheck&) = delete;

    // False when the system would not give the thread.
    bool Start();

    Progress Look() override;
    HANDLE Wake() const override { return ended_.Get(); }
    void Hold() override;
    void Release() override;
    void Stop() override;
    void TakeNext() override {}
    void CancelIo() override { io_.CancelIo(); }
    void Join() override;

    // Once the checks have ended: whether every input was looked at, the first that
    // is the output, the first that could not be opened and why, and the handles.
    bool Completed() const { return completed_; }
    std::optional<std::size_t> SameAsOutput() const { return sameAsOutput_; }
    struct OpenFailure {
        std::size_t input;
        DWORD error;
    };
    std::optional<OpenFailure> FirstOpenFailure() const { return openFailure_; }
    std::vector<FileHandle> TakeHandles() { return std::move(handles_); }

private:
    void CheckAll() noexcept;
    void Check(std::size_t index);
    // Waits while held; false once stopped.
    bool GoOn(std::size_t index);

    // The inputs whose handles are kept for the copy, from the first on.
    static constexpr std::size_t kKeptOpen = 8192;

    const std::vector<std::wstring>& inputs_;
    const FileCalls calls_;
    SameFileTest sameFile_;
    KernelHandle ended_;
    std::size_t kept_;
    std::vector<FileHandle> handles_;
    std::optional<std::size_t> sameAsOutput_;
    std::optional<OpenFailure> openFailure_;
    bool completed_ = false;

    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    std::size_t at_ = 0;
    bool held_ = false, stopped_ = false, done_ = false;

    IoThreads io_{calls_};
    std::jthread thread_; // last, joined before anything it uses goes
};
