#pragma once
// How the merge's copy meets the system. The defaults are the program's; tests and
// the benchmark change them.

#include <windows.h>

#include <functional>
#include <string>

// The merge counts, checks for a cancel and moves its bar per block of this size.
inline constexpr DWORD kBlockSize = 4096;

// The system's calls as the copy makes them; tests put faults in here. An empty
// function stands for the system's own. Inputs are opened by the checks before the
// copy or on the copy's reading thread, reads are made on the reading thread and
// writes on the writing thread, each only there.
struct FileCalls {
    // Opens an input as the copy reads it: for reading, sharing only reads.
    std::function<HANDLE(const wchar_t* path)> open;
    std::function<BOOL(HANDLE file, void* buffer, DWORD size, DWORD* done)> read;
    std::function<BOOL(HANDLE file, const void* buffer, DWORD size, DWORD* done)> write;
    // Cancels the call a thread of the copy waits in: CancelSynchronousIo.
    std::function<void(HANDLE thread)> cancel;
};

struct CopyOptions {
    // How often the window shows the copy's progress, in ms. 0: every block is
    // handed to the window and the copy waits while the window events run once, so
    // that a test knows when a click is handled.
    ULONGLONG progressIntervalMs = 15;
    // The ring between reading and writing: this many chunks of this size, which is
    // also the most the system's reads and writes take at once.
    DWORD chunk = 1024 * 1024;
    unsigned chunks = 4;
    FileCalls calls;
    // The free space of a folder; empty: GetHugeFreeSpace.
    std::function<double(const std::wstring& folder)> freeSpace;
};

// Opens an input for the copy, through the calls' stand-in where there is one.
HANDLE OpenInput(const FileCalls& calls, const std::wstring& path);
