#pragma once
// The main window's toolbar: five buttons, each known by its key text, and two
// separators without one.

#include <windows.h>

#include "platform/Handles.h"

struct ToolbarImages {
    ImageListHandle normal; // grey
    ImageListHandle hot;    // coloured, under the mouse pointer
};

// The buttons take their size from FitMainToolbarButtons, once the toolbar has its
// font.
HWND CreateMainToolbar(HWND parent, int dpi, ToolbarImages& images);
// Rebuilds the images for a new DPI.
void ScaleMainToolbar(HWND toolbar, int dpi, ToolbarImages& images);

// The design's button size, or more where the captions in the toolbar's present
// font need it, so that no caption is cut. The one place that sizes the buttons.
void FitMainToolbarButtons(HWND toolbar, int dpi);

// The key of a toolbar button's command id, or nullptr for none.
const wchar_t* ToolbarKeyOf(int commandId);
// The tooltip of a toolbar button's command id, or nullptr.
const wchar_t* ToolbarTooltipOf(int commandId);
// The menu command a key's button runs, 0 when no button has the key.
int MenuCommandOfKey(const wchar_t* key);
// Enables or disables the button that runs a menu command, where there is one.
void EnableToolbarButtonOf(HWND toolbar, int menuCommand, bool enable);
