#pragma once

#include <windows.h>

// Lets the window events that are waiting now run, once, and returns. Keys for a
// modeless dialog go through its dialog manager, so Enter and Esc press its buttons.
// A quit request met on the way is put back for the main loop, and the answer is
// false then.
bool PumpPendingEvents(HWND modelessDialog = nullptr);
