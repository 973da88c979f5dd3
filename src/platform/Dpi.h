#pragma once
// Window layouts are given in twips (1/1440 inch) and placed in device pixels at
// the window's own DPI.

#include <windows.h>

#include "platform/Handles.h"

int DpiOf(HWND hwnd);
int TwipsToPixels(int twips, int dpi);
// The system's message font at the given DPI: the font of dialogs and controls.
FontHandle CreateMessageFont(int dpi);
// A window's outer size for a client area, at the window's DPI.
SIZE OuterSizeForClient(DWORD style, DWORD exStyle, bool hasMenu, SIZE client, int dpi);
