#include "platform/EventPump.h"

bool PumpPendingEvents(HWND modelessDialog) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (modelessDialog && IsDialogMessageW(modelessDialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}
