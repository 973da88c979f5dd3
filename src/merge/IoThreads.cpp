#include "merge/IoThreads.h"

#include "platform/SlimLock.h"

#include <algorithm>

namespace {

constexpr DWORD kCancelEveryMs = 10;

} // namespace

void IoThreads::Enter() {
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0,
                         FALSE, DUPLICATE_SAME_ACCESS))
        self = nullptr;
    Locked locked(lock_);
    entered_.emplace_back(self);
}

void IoThreads::CancelIo() {
    Locked locked(lock_);
    for (const KernelHandle& thread : entered_) {
        if (!thread)
            continue;
        if (calls_.cancel)
            calls_.cancel(thread.Get());
        else
            CancelSynchronousIo(thread.Get());
    }
}

void IoThreads::JoinCancelling(std::initializer_list<std::jthread*> threads) {
    const auto running = std::count_if(threads.begin(), threads.end(),
                                       [](std::jthread* thread) { return thread->joinable(); });
    for (bool waiting = running > 0; waiting;) {
        std::vector<HANDLE> handles;
        {
            Locked locked(lock_);
            for (const KernelHandle& thread : entered_)
                handles.push_back(thread.Get());
        }
        // A thread not yet started finds the stop before its first call; one the
        // system gave no handle for is waited for plainly.
        const bool all = static_cast<std::ptrdiff_t>(handles.size()) >= running;
        if (std::find(handles.begin(), handles.end(), nullptr) != handles.end() ||
            (all && WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE,
                                           kCancelEveryMs) != WAIT_TIMEOUT)) {
            waiting = false;
        } else {
            if (!all)
                Sleep(1);
            CancelIo();
        }
    }
    for (std::jthread* thread : threads)
        if (thread->joinable())
            thread->join();
}
