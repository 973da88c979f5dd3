#pragma once
// The system's open and save dialogs, asked for a name and read back safely.

#include "platform/Services.h"

#include <windows.h>
#include <commdlg.h>

// GetOpenFileNameW or GetSaveFileNameW, or a stand-in with their contract.
using DialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);

// Shows the dialog with the request's proposal, filter and limit, and reads back
// exactly what was chosen.
FileDialogResult RunFileDialog(DialogFunction show, HWND owner, const FileDialogRequest& request);
