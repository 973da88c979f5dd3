#pragma once
// Window layouts are given in twips (1/1440 inch) and placed in device pixels at
// the window's own DPI.

#include <windows.h>

#include "platform/Handles.h"

#include <string>

int DpiOf(HWND hwnd);
int TwipsToPixels(int twips, int dpi);
// The system's message font at the given DPI: the font of dialogs and controls.
FontHandle CreateMessageFont(int dpi);
// A window's outer size for a client area, at the window's DPI.
SIZE OuterSizeForClient(DWORD style, DWORD exStyle, bool hasMenu, SIZE client, int dpi);
// A system metric (SM_CXSMICON...) as the system gives it for a DPI.
int SystemMetricForDpi(int index, int dpi);
// An icon from the program's resources at a size in pixels, owned by the caller.
IconHandle LoadIconOfSize(int resourceId, int size);
// The same at the system's small or large icon size for a DPI.
IconHandle LoadIconForDpi(int resourceId, bool small, int dpi);

// A text's width and the font's line height, in pixels, as a control draws it.
SIZE MeasureText(HWND control, HFONT font, const std::wstring& text);
// Moves a label and gives it the width of its text and the height of its font's
// line, so that no descender is cut off whatever the system's font; returns where
// it stands.
RECT PlaceLabel(HWND label, HFONT font, int left, int top);
