#pragma once

#include <windows.h>

// Enables the commands that need entries by the number of entries: merging, moving
// and sorting need two, selecting and removing one. The only place that enables or
// disables a command.
void EnableCommandsFor(HMENU menu, HWND toolbar, int entryCount);

// The submenu item that holds a command, found by walking the menu tree.
bool FindMenuItemHolding(HMENU menu, UINT commandId, HMENU* parent, int* position);
bool IsMenuCommandEnabled(HMENU menu, UINT commandId);
