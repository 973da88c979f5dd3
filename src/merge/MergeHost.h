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

// A warning of the merge, owned by the progress dialog while it stands, by the main
// window otherwise.
void Warn(MergeHost& host, const std::wstring& text);
