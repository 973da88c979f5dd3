#pragma once

#include <windows.h>

#include <string>

class Services;
class ProgressDialog;
class StatusLine;
struct PendingError;

// What the merge needs from the main window, which owns all of it.
struct MergeHost {
    HWND mainWindow;
    StatusLine& status;
    Services& services;
    ProgressDialog& progress;
    std::wstring& saveDir; // the SaveDir preference
    PendingError& pendingError;
};
