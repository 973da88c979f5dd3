#pragma once
// Work of a merge that runs on threads of its own while the window's thread looks
// on: the checks of the inputs, then the copy.

#include <windows.h>

#include <cstddef>

class WatchedWork {
public:
    struct Progress {
        std::size_t input = 0; // the input at hand
        double done = 0;       // bytes in the blocks taken, which reach the output unless a
                               // stop cancels their write
        float percent = 0;     // the bar's value by its step rule
        bool handedOver = false;
        bool ended = false; // all its threads are through
    };
    virtual Progress Look() = 0;
    // Signalled when a block is handed over and when the work has ended.
    virtual HANDLE Wake() const = 0;
    // Nothing goes on between Hold and Release.
    virtual void Hold() = 0;
    virtual void Release() = 0;
    // Nothing more is started; what is under way is finished.
    virtual void Stop() = 0;
    // With a handed-over block: the window is done with it, the work goes on.
    virtual void TakeNext() = 0;
    // Cancels the reads, writes and opens the stopped work still waits in.
    virtual void CancelIo() = 0;
    // Stops the work and returns once its threads have ended.
    virtual void Join() = 0;

protected:
    ~WatchedWork() = default;
};
