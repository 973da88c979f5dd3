#pragma once

#include <windows.h>

// The program's main window.
class MainWindow {
public:
    static bool Register(HINSTANCE instance);
    HWND Create(HINSTANCE instance);

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};
