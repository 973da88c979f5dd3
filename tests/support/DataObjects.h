#pragma once
// Data objects as a drag source hands them out: the shell's file list, or text.

#include "platform/ComPtr.h"

#include <windows.h>
#include <ole2.h>

#include <array>
#include <string>
#include <vector>

ComPtr<IDataObject> MakeFileListData(const std::vector<std::wstring>& paths);
ComPtr<IDataObject> MakeTextData(const std::wstring& text);
// The effects a target answered as data entered it, moved over it and was dropped.
using Effects = std::array<DWORD, 3>;
Effects DragAndDrop(IDropTarget* target, IDataObject* data,
                    DWORD offered = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
