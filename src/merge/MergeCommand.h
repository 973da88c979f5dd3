#pragma once
// The merge command: its checks, the Save As dialog, and the copy of the listed
// files into the chosen output under the progress dialog.

#include <windows.h>

#include <string>
#include <vector>

#include "merge/CopyOptions.h"

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

// Merges every entry of the list, in list order, into a file the user chooses.
// Lets no exception out.
void MergeFiles(MergeHost& host, const CopyOptions& options = {});

// The copy stage: creates the output and copies the inputs into it under the
// progress dialog, reports the first failure, and puts the main window back.
void WriteMergedFile(MergeHost& host, const std::vector<std::wstring>& inputs,
                     const std::wstring& output, double total, const CopyOptions& options = {});

// The message of a merge that could not be set up, shown by both stages.
std::wstring InitializationFailedMessage(const std::wstring& description);
