#include "progress/ProgressDialog.h"

#include "platform/Dpi.h"
#include "platform/Services.h"
#include "platform/Window.h"
#include "progress/FitStatusLine.h"

#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr wchar_t kClassName[] = L"VorbelMergeProgress";
constexpr wchar_t kDesignCaption[] = L"Processing...";
constexpr wchar_t kCancelQuestion[] = L"Do you really want to cancel the process?";

// A fixed dialog frame without minimize and maximize boxes. Being owned, it gets no
// taskbar entry.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The layout, in twips.
constexpr int kClientWidth = 4830;
constexpr int kClientHeight = 1110;
constexpr int kMargin = 120;
constexpr int kStatus1Top = 120;
constexpr int kStatus2Top = 360;
constexpr RECT kBar{120, 690, 120 + 3375, 690 + 255};
constexpr RECT kCancel{3640, 645, 3640 + 1065, 645 + 345};

// The bar shows hundredths of a percent, so a long merge still visibly moves.
constexpr int kBarScale = 100;
// Asks the dialog to show the bar's latest value.
constexpr UINT kShowValue = WM_APP + 1;

bool RegisterProgressClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kClassName, &existing))
        return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}

RECT ToPixels(const RECT& twips, int dpi) {
    return {TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
            TwipsToPixels(twips.right, dpi), TwipsToPixels(twips.bottom, dpi)};
}

SIZE OuterSize(int dpi) {
    return OuterSizeForClient(kStyle, kExStyle, false,
                              {TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi)},
                              dpi);
}

} // namespace

ProgressDialog::~ProgressDialog() {
    Unload();
}

bool ProgressDialog::Load(HWND owner, Services& services) {
    Unload();
    services_ = &services;
    if (!CreateFrame(owner))
        return false;
    CreateControls();
    FitToOwnMonitor();
    Layout();
    CenterOverOwner(window_.Get(), owner);
    Form_Load();
    return true;
}

bool ProgressDialog::CreateFrame(HWND owner) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterProgressClass(instance, Trampoline<ProgressDialog>::WindowProc))
        return false;

    dpi_ = DpiOf(owner);
    const SIZE outer = OuterSize(dpi_);
    CreateWindowExW(kExStyle, kClassName, kDesignCaption, kStyle, 0, 0, outer.cx, outer.cy, owner,
                    nullptr, instance, this);
    if (!window_)
        return false;
    // A dialog frame has no use for Size, Minimize or Maximize.
    if (HMENU menu = GetSystemMenu(window_.Get(), FALSE)) {
        for (UINT command : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE})
            DeleteMenu(menu, command, MF_BYCOMMAND);
    }
    return true;
}

// The owner's DPI was a guess: the window's own monitor decides.
void ProgressDialog::FitToOwnMonitor() {
    if (const int dpi = DpiOf(window_.Get()); dpi != dpi_) {
        dpi_ = dpi;
        const SIZE size = OuterSize(dpi_);
        SetWindowPos(window_.Get(), nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ProgressDialog::Show() {
    if (window_)
        ShowWindow(window_.Get(), SW_SHOW);
}

void ProgressDialog::Unload() {
    window_.Reset();
    showValuePosted_ = false;
    status1_ = status2_ = bar_ = cancel_ = nullptr;
}

void ProgressDialog::SetCaption(const std::wstring& text) {
    Window(window_.Get()).SetText(text);
}

std::wstring ProgressDialog::Status1() const {
    return Window(status1_).Text();
}

std::wstring ProgressDialog::Status2() const {
    return Window(status2_).Text();
}

void ProgressDialog::SetValue(float percent) {
    value_ = percent;
    // Moving the bar repaints it at once, which can cost more than many blocks of a
    // merge; showing the latest value when the window events next run makes a burst
    // of moves cost one repaint.
    if (bar_ && !showValuePosted_)
        showValuePosted_ = PostMessageW(window_.Get(), kShowValue, 0, 0) != FALSE;
}

void ProgressDialog::ShowValue() {
    showValuePosted_ = false;
    const float shown = value_ > 0.0f ? std::min(value_, 100.0f) : 0.0f;
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(std::lround(shown * kBarScale)), 0);
}

void ProgressDialog::AskToCancel() {
    if (!services_)
        return;
    // The watcher hears the question close on every way out, so that a copy it
    // holds meanwhile is never left held.
    class Asking {
    public:
        explicit Asking(ProgressWatcher* watcher) : watcher_(watcher) {
            if (watcher_)
                watcher_->QuestionOpened();
        }
        ~Asking() {
            if (watcher_)
                watcher_->QuestionClosed();
        }
        Asking(const Asking&) = delete;
        Asking& operator=(const Asking&) = delete;

    private:
        ProgressWatcher* watcher_;
    } asking(watcher_);
    if (services_->ShowMessage(window_.Get(), kCancelQuestion, kQuestionBox) == IDYES)
        bCancelFlag = true;
}

void ProgressDialog::ResetDisplay() {
    SetStatus1(L"");
    SetStatus2(L"");
    SendMessageW(bar_, PBM_SETRANGE32, 0, 100 * kBarScale);
    value_ = 0.0f;
    ShowValue();
    bCancelFlag = false;
}

void ProgressDialog::Form_QueryUnload() {
    // Only the program closes the dialog; the user's way to stop is the question.
    butCancel_Click();
}

void ProgressDialog::OnEnding() {
    if (watcher_)
        watcher_->Ending();
}

void ProgressDialog::FitStatusLabel(HWND label, const std::wstring& text) {
    if (!label)
        return;
    const RECT client = Window(window_.Get()).ClientRect();
    const int available = client.right - client.left - TwipsToPixels(2 * kMargin, dpi_);
    const std::wstring fitted = FitStatusLine(text, available, [&](const std::wstring& candidate) {
        return TextWidth(label, candidate);
    });
    SetWindowTextW(label, fitted.c_str());
    // The label sizes itself to its text, in width and in the font's line height; a
    // text that could not be shortened enough runs past the dialog's edge and is
    // clipped there.
    const SIZE size = MeasureText(label, font_.Get(), fitted);
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ProgressDialog::TextWidth(HWND label, const std::wstring& text) const {
    return MeasureText(label, font_.Get(), text).cx;
}

void ProgressDialog::CreateControls() {
    const HWND hwnd = window_.Get();
    // Created in their tab order: the output line first.
    constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    status2_ = CreateChildControl(hwnd, L"STATIC", L"", kLabel, IDC_STATUS2);
    status1_ = CreateChildControl(hwnd, L"STATIC", L"", kLabel, IDC_STATUS1);
    bar_ = CreateChildControl(hwnd, PROGRESS_CLASSW, L"", PBS_SMOOTH, IDC_PROGRESSBAR);
    cancel_ =
        CreateChildControl(hwnd, L"BUTTON", L"Cancel", WS_TABSTOP | BS_DEFPUSHBUTTON, IDCANCEL);
}

void ProgressDialog::Layout() {
    // The old font is deleted only once no control uses it any more.
    FontHandle font = CreateMessageFont(dpi_);
    for (HWND control : {status1_, status2_, bar_, cancel_})
        Window(control).SetFont(font.Get());
    font_ = std::move(font);
    const int left = TwipsToPixels(kMargin, dpi_);
    for (const auto& [label, top] :
         {std::pair{status1_, kStatus1Top}, std::pair{status2_, kStatus2Top}})
        PlaceLabel(label, font_.Get(), left, TwipsToPixels(top, dpi_));
    for (const auto& [control, twips] : {std::pair{bar_, kBar}, std::pair{cancel_, kCancel}}) {
        const RECT r = ToPixels(twips, dpi_);
        Window(control).Move(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
}

void ProgressDialog::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(window_.Get(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    // The same texts may no longer fit at the new size.
    SetStatus1(Status1());
    SetStatus2(Status2());
}

bool ProgressDialog::OnCommand(WPARAM wParam) {
    // IDOK comes from Enter, IDCANCEL from Esc and from the button itself.
    const int id = LOWORD(wParam);
    if ((id != IDOK && id != IDCANCEL) || HIWORD(wParam) != BN_CLICKED)
        return false;
    butCancel_Click();
    return true;
}

void ProgressDialog::Attach(HWND hwnd) {
    // The window is the dialog's own until it is gone; then there is nothing to destroy.
    if (hwnd)
        window_ = WindowHandle(hwnd);
    else
        window_.Release();
}

LRESULT ProgressDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = window_.Get();
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam))
            return 0;
        break;
    case DM_GETDEFID: return MAKELRESULT(IDCANCEL, DC_HASDEFID);
    case kShowValue: ShowValue(); return 0;
    case WM_CLOSE: Form_QueryUnload(); return 0;
    case WM_QUERYENDSESSION: Form_QueryUnload(); return FALSE;
    case WM_ENDSESSION:
        if (wParam)
            OnEnding();
        return 0;
    case WM_DESTROY: OnEnding(); break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && cancel_)
            SetFocus(cancel_);
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
