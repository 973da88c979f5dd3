#pragma once
// The main window's toolbar: five buttons, each known by its key text, and two
// separators without one.

#include <windows.h>

#include "platform/Handles.h"

struct ToolbarImages {
    ImageListHandle normal; // grey
    ImageListHandle hot;    // coloured, under the mouse pointer
};

HWND CreateMainToolbar(HWND parent, int dpi, ToolbarImages& images);
// Rebuilds the images and button size for a new DPI.
void ScaleMainToolbar(HWND toolbar, int dpi, ToolbarImages& images);

// The design's button size, or more where the captions in the toolbar's present
// font need it, so that no caption is cut.
void FitMainToolbarButtons(HWND toolbar, int dpi);

// The key of a toolbar button's command id, or nullptr for none.
const wchar_t* ToolbarKeyOf(int commandId);
// The tooltip of a toolbar button's command id, or nullptr.
const wchar_t* ToolbarTooltipOf(int commandId);
void EnableToolbarKey(HWND toolbar, const wchar_t* key, bool enable);
bool IsToolbarKeyEnabled(HWND toolbar, const wchar_t* key);
// The command id of a key, 0 when no button has it.
int ToolbarCommandOf(const wchar_t* key);
