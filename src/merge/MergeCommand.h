#pragma once
// The merge command: its checks, the Save As dialog, and the copy of the listed
// files into the chosen output under the progress dialog.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "merge/BlockStream.h"

class FileList;
class Services;
class ProgressDialog;
struct PendingError;

// What the merge needs from the main window, which owns all of it.
struct MergeHost {
    HWND mainWindow;
    FileList& list;
    Services& services;
    ProgressDialog& progress;
    std::wstring& saveDir; // the SaveDir preference
    PendingError& pendingError;
};

// How the copy meets the system. The defaults are the program's; tests and the
// benchmark change them.
struct CopyOptions {
    // Longest time between two runs of the pending window events, in ms; the
    // events run after a block only once it has passed. 0: after every block.
    ULONGLONG pumpIntervalMs = 15;
    // Sizes of the system's reads and writes.
    DWORD minChunk = 64 * 1024;
    DWORD maxChunk = 1024 * 1024;
    FileCalls calls;
    // The free space of a drive's root; empty: GetHugeFreeSpace.
    std::function<double(const std::wstring& root)> freeSpace;
};

// Merges every entry of the list, in list order, into a file the user chooses.
// Lets no exception out.
void MergeFiles(MergeHost& host, const CopyOptions& options = {});

// The copy stage: creates the output and copies the inputs into it under the
// progress dialog, reports the first failure, and puts the main window back.
void WriteMergedFile(MergeHost& host, const std::vector<std::wstring>& inputs,
                     const std::wstring& output, double total, const CopyOptions& options = {});

// The message of a merge that could not be set up, shown by both stages.
std::wstring InitializationFailedMessage(const std::wstring& description);
