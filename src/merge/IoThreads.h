#pragma once
// The threads of a merge's work whose reads, writes and opens may be cancelled. A
// stalled network share, or a file the cloud must first download, would otherwise
// hold a stop for as long as the system waits on it.

#include "merge/CopyOptions.h"
#include "platform/Handles.h"

#include <thread>
#include <vector>

class IoThreads {
public:
    explicit IoThreads(const FileCalls& calls) : calls_(calls) {}
    IoThreads(const IoThreads&) = delete;
    IoThreads& operator=(const IoThreads&) = delete;

    // Called by each thread of the work as it starts.
    void Enter();
    // Cancels what the threads are waiting for now; a call then fails with
    // ERROR_OPERATION_ABORTED.
    void CancelIo();
    // Waits for the threads to end, cancelling their calls every few ms meanwhile;
    // the work must have been told to stop.
    void JoinCancelling(std::initializer_list<std::jthread*> threads);

private:
    const FileCalls& calls_;
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::vector<KernelHandle> entered_; // an invalid one where the system gave none
};
