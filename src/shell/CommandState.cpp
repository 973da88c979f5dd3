#include "shell/CommandState.h"

#include "shell/Toolbar.h"

#include "resource.h"

namespace {

// The menu item and the toolbar button that run the command.
void EnableCommand(HMENU menu, HWND toolbar, UINT id, bool enable) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    EnableToolbarButtonOf(toolbar, static_cast<int>(id), enable);
}

// The "Sort Files" submenu has no command of its own; it is the item whose popup
// holds the ascending sort.
void EnableSortSubmenu(HMENU menu, bool enable) {
    HMENU parent = nullptr;
    int position = 0;
    if (FindMenuItemHolding(menu, IDM_SORT_FILES_ASC, &parent, &position))
        EnableMenuItem(parent, static_cast<UINT>(position),
                       MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
}

} // namespace

bool FindMenuItemHolding(HMENU menu, UINT commandId, HMENU* parent, int* position) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub)
            continue;
        if (FindMenuItemHolding(sub, commandId, parent, position))
            return true;
        // The lookup by command searches nested popups too, so the deepest one
        // holding the command answers first, above.
        if (GetMenuState(sub, commandId, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
            *parent = menu;
            *position = i;
            return true;
        }
    }
    return false;
}

bool IsMenuCommandEnabled(HMENU menu, UINT commandId) {
    const UINT state = GetMenuState(menu, commandId, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void EnableCommandsFor(HMENU menu, HWND toolbar, int entryCount) {
    const bool two = entryCount >= 2;
    for (const UINT id : {IDM_MERGE, IDM_UP, IDM_DOWN})
        EnableCommand(menu, toolbar, id, two);
    EnableSortSubmenu(menu, two);

    const bool one = entryCount >= 1;
    for (const UINT id : {IDM_SELECT_ALL, IDM_INVERT_SELECTION, IDM_REMOVE})
        EnableCommand(menu, toolbar, id, one);
}
