#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "shell/MainWindow.h"

// The test process stands in for the program: OLE for drag and drop, the common
// controls, and the main window's class.
int main(int argc, char** argv) {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                                        ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    MainWindow::Register(GetModuleHandleW(nullptr));
    const int result = doctest::Context(argc, argv).run();
    OleUninitialize();
    return result;
}
