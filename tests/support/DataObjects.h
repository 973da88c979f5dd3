#pragma once
// Data objects as a drag source hands them out: the shell's file list, or text.

#include <windows.h>
#include <ole2.h>

#include <array>
#include <string>
#include <vector>

#include "platform/ComPtr.h"

ComPtr<IDataObject> MakeFileListData(const std::vector<std::wstring>& paths);
ComPtr<IDataObject> MakeTextData(const std::wstring& text);

// The effects a target answered as data entered it, moved over it and was dropped.
using Effects = std::array<DWORD, 3>;

// Drags data over a target and drops it, as the shell would, from a source that
// allows the given effects.
Effects DragAndDrop(IDropTarget* target, IDataObject* data,
                    DWORD offered = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
