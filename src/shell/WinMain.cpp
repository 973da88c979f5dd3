#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/AppInfo.h"
#include "platform/Win32Services.h"
#include "shell/Help.h"
#include "shell/MainWindow.h"
#include "shell/RegistryNames.h"

namespace {

// Drag and drop needs OLE on this thread for the program's whole run.
class OleSession {
public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (ok_)
            OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool ok_;
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    OleSession ole;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                                        ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!MainWindow::Register(instance))
        return 1;

    Win32Services services(kAppTitle, kSettingsKey);
    MainWindow window(services, ProgramDirectory());
    HWND hwnd = window.Create(instance);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);

    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.TranslateShortcut(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
