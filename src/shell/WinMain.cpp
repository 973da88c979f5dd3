#include <windows.h>

#include "shell/MainWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    if (!MainWindow::Register(instance))
        return 1;
    MainWindow window;
    HWND hwnd = window.Create(instance);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, showCommand);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
