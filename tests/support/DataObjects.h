#pragma once
// Data objects as a drag source hands them out: the shell's file list, or text.

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "platform/ComPtr.h"

ComPtr<IDataObject> MakeFileListData(const std::vector<std::wstring>& paths);
ComPtr<IDataObject> MakeTextData(const std::wstring& text);

// Drags data over a target and drops it, as the shell would; returns the effect the
// target showed while the data was over it.
DWORD DragAndDrop(IDropTarget* target, IDataObject* data);
