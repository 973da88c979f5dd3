#include "shell/MainWindow.h"

#include "app/AppInfo.h"
#include "platform/Dpi.h"
#include "platform/Services.h"
#include "shell/CommandState.h"

#include "resource.h"

namespace {

constexpr wchar_t kClassName[] = L"VorbelMergeMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;

// The design of the window, in twips.
constexpr int kClientWidth = 6285, kClientHeight = 4110;
constexpr int kListLeft = 120, kListTop = 840, kListWidth = 3855, kListHeight = 2295;
// The column stops this far short of the list's right edge.
constexpr int kColumnGap = 25;

} // namespace

MainWindow::MainWindow(Services& services, std::wstring programDirectory)
    : services_(services), programDirectory_(std::move(programDirectory)) {}

MainWindow::~MainWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool MainWindow::Register(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Trampoline<MainWindow>::WindowProc;
    wc.hInstance = instance;
    // Shared, never destroyed; each window sets icons of its own DPI's sizes.
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND MainWindow::Create(HINSTANCE instance) {
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    // A first guess at the system's DPI; the load sizes the window for its own monitor.
    const int dpi = DpiOf(nullptr);
    const SIZE outer = OuterSizeForClient(
        kStyle, 0, true, {TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi)},
        dpi);
    return CreateWindowExW(0, kClassName, kMainCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           outer.cx, outer.cy, nullptr,
                           LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINMENU)), instance, this);
}

void MainWindow::FitClientToDesign() {
    const SIZE wanted{TwipsToPixels(kClientWidth, dpi_), TwipsToPixels(kClientHeight, dpi_)};
    SIZE outer = OuterSizeForClient(kStyle, 0, true, wanted, dpi_);
    // The menu bar may take another height than the system's metrics say (a wider
    // font wraps it): the client area is measured and the difference made up.
    for (int pass = 0; pass < 2; ++pass) {
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT client = Window(hwnd_).ClientRect();
        const SIZE missing{wanted.cx - client.right, wanted.cy - client.bottom};
        if (missing.cx == 0 && missing.cy == 0)
            break;
        outer = {outer.cx + missing.cx, outer.cy + missing.cy};
    }
}

bool MainWindow::TranslateShortcut(MSG& msg) const {
    return hwnd_ && accelerators_ && TranslateAcceleratorW(hwnd_, accelerators_, &msg);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return Form_Load() ? 0 : -1;
    case WM_SIZE: Form_Resize(static_cast<UINT>(wParam)); return 0;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETFOCUS: SetFocus(listView_.Handle()); return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_CLOSE: OnClose(); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: OnEndSession(wParam != FALSE); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool MainWindow::Form_Load() {
    return SetUpWindow();
}

bool MainWindow::SetUpWindow() {
    dpi_ = DpiOf(hwnd_);
    if (!CreateControls())
        return false;
    ApplyFonts();
    ApplyIcons();
    prefs_ = LoadPreferences(services_);
    AddFilesColumn();
    AttachList();
    UpdateControls();
    FitClientToDesign();
    return true;
}

bool MainWindow::CreateControls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    toolbar_ = CreateMainToolbar(hwnd_, dpi_, toolbarImages_);
    statusBar_ =
        CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                        0, 0, hwnd_, reinterpret_cast<HMENU>(IDC_STATUSBAR), instance, nullptr);
    listView_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                    LVS_SHOWSELALWAYS,
                                TwipsToPixels(kListLeft, dpi_), TwipsToPixels(kListTop, dpi_),
                                TwipsToPixels(kListWidth, dpi_), TwipsToPixels(kListHeight, dpi_),
                                hwnd_, reinterpret_cast<HMENU>(IDC_FILELIST), instance, nullptr);
    if (!toolbar_ || !statusBar_ || !listView_)
        return false;
    statusBar_.Send(SB_SIMPLE, TRUE);
    listView_.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
    return true;
}

void MainWindow::AddFilesColumn() {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(L"Files");
    // Measured inside the list's border, so the column does not run under it.
    column.cx = listView_.ClientRect().right - TwipsToPixels(kColumnGap, dpi_);
    listView_.Send(LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

// The list view shows the list's entries, takes drags of them and drops of files.
void MainWindow::AttachList() {
    list_.Attach(listView_.Handle());
    status_.Attach(statusBar_.Handle(), list_);
    listDrag_.Attach(listView_.Handle());
    dropTarget_ = ComPtr<FileDropTarget>::Attach(new FileDropTarget(
        [this](const std::vector<std::wstring>& paths) { return lvwFiles_OLEDragDrop(paths); },
        [this] { return !busy_; }));
    RegisterDragDrop(listView_.Handle(), dropTarget_.Get());
}

void MainWindow::Form_Unload() {
    SavePreferences(services_, prefs_);
}

void MainWindow::OnEndSession(bool ending) {
    // The process ends after this without a WM_DESTROY.
    if (ending)
        Form_Unload();
}

void MainWindow::OnDestroy() {
    RevokeDragDrop(listView_.Handle());
    Form_Unload();
    PostQuitMessage(0);
}

// Each new font and icon is handed to the window before the one it replaces is
// destroyed: a control must never hold a deleted font.
void MainWindow::ApplyFonts() {
    FontHandle font = CreateMessageFont(dpi_);
    for (const Window& control : {toolbar_, listView_, statusBar_})
        control.SetFont(font.Get());
    font_ = std::move(font);
    FitMainToolbarButtons(toolbar_.Handle(), dpi_);
}

void MainWindow::ApplyIcons() {
    IconHandle icon = LoadIconForDpi(IDI_APP, false, dpi_);
    IconHandle smallIcon = LoadIconForDpi(IDI_APP, true, dpi_);
    Window(hwnd_).Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.Get()));
    Window(hwnd_).Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
    icon_ = std::move(icon);
    smallIcon_ = std::move(smallIcon);
}

void MainWindow::UpdateControls() {
    EnableCommandsFor(Menu(), toolbar_.Handle(), list_.Count());
}

void MainWindow::ExitProgram() {
    OnClose();
}

void MainWindow::OnClose() {
    if (busy_)
        closePending_ = true; // the running command closes the window when it ends
    else
        DestroyWindow(hwnd_);
}
