#include "shell/AboutBox.h"

#include "app/AppInfo.h"
#include "platform/DialogTemplate.h"
#include "platform/Dpi.h"
#include "platform/Handles.h"
#include "platform/Services.h"
#include "platform/SystemCalls.h"
#include "platform/VersionInfo.h"
#include "platform/Window.h"
#include "platform/WindowProc.h"

#include "resource.h"

#include <algorithm>
#include <string>

namespace {

// The box's design, in twips.
constexpr int kClientWidth = 4230, kClientHeight = 2460;
constexpr int kLineLeft = 105, kLineRight = 4095, kRuleTop = 1890;
constexpr RECT kImage{120, 120, 120 + 480, 120 + 480};
constexpr RECT kOk{3045, 1995, 3045 + 1095, 1995 + 375};

struct LabelDesign {
    int id;
    int left, top;
    const wchar_t* text;
};

// Texts filled at load are empty here.
constexpr LabelDesign kLabels[] = {
    {IDC_LABEL1, 840, 135, kMainCaption},
    {IDC_VERSION, 840, 375, L""},
    {IDC_DESCRIPTION, 840, 630, L""},
    {IDC_COPYRIGHT, 840, 1050, L""},
    {IDC_LABEL4, 840, 1470, L"Worldwide Web: "},
    {IDC_WWW, 2070, 1455, L""},
};

// The link's font, stored with the design: 8.25 points, underlined.
FontHandle CreateLinkFont(int dpi) {
    return FontHandle(CreateFontW(-MulDiv(825, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
}

// An etched rule across the box: a grey line with a white one right beneath it, 1
// and 2 pixels high at 96 dpi and as much thicker as the DPI is higher. Filled as
// rows rather than drawn with pens, whose thick lines centre on their row and would
// paint the white over the grey.
void DrawEtchedRule(HDC dc, int left, int top, int right, int dpi) {
    const int grey = std::max(1, MulDiv(1, dpi, 96)), white = std::max(2, MulDiv(2, dpi, 96));
    const struct {
        RECT rows;
        COLORREF colour;
    } lines[] = {{{left, top, right, top + grey}, RGB(128, 128, 128)},
                 {{left, top + grey, right, top + grey + white}, RGB(255, 255, 255)}};
    for (const auto& line : lines) {
        BrushHandle brush(CreateSolidBrush(line.colour));
        FillRect(dc, &line.rows, brush.Get());
    }
}

// The box does its own layout at every DPI; the dialog manager's scaling, where the
// system has it, would move the controls a second time.
void KeepDialogManagerOutOfDpiChanges(HWND dialog) {
    using Function = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    if (const auto set = SystemFunction<Function>(L"user32.dll", "SetDialogDpiChangeBehavior"))
        set(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

class AboutBox {
public:
    explicit AboutBox(Services& services) : services_(services) {}

    void Show(HWND owner) {
        const auto words =
            EmptyDialogTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                    WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_CENTER | DS_MODALFRAME,
                                0, L"About Vorbel");
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), AsTemplate(words), owner,
                                Trampoline<AboutBox>::DialogProc, reinterpret_cast<LPARAM>(this));
    }

private:
    friend class Trampoline<AboutBox>;
    void Attach(HWND hwnd) { hwnd_ = hwnd; }

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_INITDIALOG: return Form_Load();
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_CLOSE: EndDialog(hwnd_, IDOK); return TRUE;
        case WM_SETCURSOR: return OnSetCursor(reinterpret_cast<HWND>(wParam));
        case WM_CTLCOLORSTATIC:
            return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_PAINT: OnPaint(); return TRUE;
        case WM_PRINTCLIENT: PaintRule(reinterpret_cast<HDC>(wParam)); return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        }
        return FALSE;
    }

    BOOL Form_Load() {
        SetUpBox();
        return FALSE; // the focus is set
    }

    void SetUpBox() {
        dpi_ = DpiOf(hwnd_);
        KeepDialogManagerOutOfDpiChanges(hwnd_);
        SizeAndCenter();
        const Window ok = CreateControls();
        ShowVersion();
        ApplyDpi();
        SetFocus(ok.Handle());
    }

    void SizeAndCenter() {
        const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE));
        const SIZE outer =
            OuterSizeForClient(style, exStyle, false, {Px(kClientWidth), Px(kClientHeight)}, dpi_);
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER);
        CenterOverOwner(hwnd_, GetWindow(hwnd_, GW_OWNER));
    }

    // Returns the OK button.
    Window CreateControls() {
        CreateChild(L"STATIC", L"", SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, IDC_IMAGE1);
        for (const auto& label : kLabels)
            CreateChild(L"STATIC", label.text,
                        SS_LEFT | SS_NOPREFIX | (label.id == IDC_WWW ? SS_NOTIFY : 0), label.id);
        return CreateChild(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
    }

    void ShowVersion() {
        const VersionInfo version = ReadVersionInfo(ProgramPath());
        SetDlgItemTextW(hwnd_, IDC_VERSION, VersionLine(version.major, version.minor).c_str());
        SetDlgItemTextW(hwnd_, IDC_DESCRIPTION, version.description.c_str());
        SetDlgItemTextW(hwnd_, IDC_COPYRIGHT, version.copyright.c_str());
        SetDlgItemTextW(hwnd_, IDC_WWW, kWebAddress);
    }

    void OnDpiChanged(int dpi, const RECT& suggested) {
        dpi_ = dpi;
        SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        ApplyDpi();
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    // Fonts, icons and places for the box's DPI. Each new font and icon is handed to
    // the controls before the one it replaces is destroyed.
    void ApplyDpi() {
        ApplyFonts();
        ApplyIcons();
        PlaceControls();
    }

    void ApplyFonts() {
        FontHandle font = CreateMessageFont(dpi_), linkFont = CreateLinkFont(dpi_);
        for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            Window(child).SetFont(GetDlgCtrlID(child) == IDC_WWW ? linkFont.Get() : font.Get());
        font_ = std::move(font);
        linkFont_ = std::move(linkFont);
    }

    void ApplyIcons() {
        const RECT image = ToPixels(kImage);
        IconHandle icon = LoadIconOfSize(IDI_APP, image.right - image.left);
        IconHandle smallIcon = LoadIconForDpi(IDI_APP, true, dpi_);
        SendDlgItemMessageW(hwnd_, IDC_IMAGE1, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()),
                            0);
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.Get()));
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
        icon_ = std::move(icon);
        smallIcon_ = std::move(smallIcon);
    }

    void PlaceControls() {
        for (const auto& [id, twips] : {std::pair{IDC_IMAGE1, kImage}, std::pair{IDOK, kOk}}) {
            const RECT r = ToPixels(twips);
            Window(GetDlgItem(hwnd_, id)).Move(r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        int prefixEnd = 0;
        for (const auto& label : kLabels) {
            int left = Px(label.left);
            // The address follows its prefix on one line: where the prefix's text runs
            // past the address's design place, the address moves right behind it.
            if (label.id == IDC_WWW)
                left = std::max(left, prefixEnd);
            const RECT placed = PlaceLabel(label.id, left, Px(label.top));
            if (label.id == IDC_LABEL4)
                prefixEnd = placed.right;
        }
    }

    void OnCommand(int id, int code) {
        if (id == IDOK || id == IDCANCEL) { // Esc closes the box, as OK does
            EndDialog(hwnd_, IDOK);
        } else if ((id == IDC_WWW || id == IDC_IMAGE1) && code == STN_CLICKED) {
            lblWWW_Click();
        }
    }

    void lblWWW_Click() { services_.OpenAddress(hwnd_, Window(GetDlgItem(hwnd_, IDC_WWW)).Text()); }

    BOOL OnSetCursor(HWND over) {
        if (over != GetDlgItem(hwnd_, IDC_WWW) && over != GetDlgItem(hwnd_, IDC_IMAGE1))
            return FALSE;
        SetCursor(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER)));
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }

    INT_PTR OnColorStatic(HDC dc, HWND control) {
        if (control != GetDlgItem(hwnd_, IDC_WWW))
            return FALSE;
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }

    void OnPaint() {
        PAINTSTRUCT paint;
        PaintRule(BeginPaint(hwnd_, &paint));
        EndPaint(hwnd_, &paint);
    }

    void PaintRule(HDC dc) const {
        DrawEtchedRule(dc, Px(kLineLeft), Px(kRuleTop), Px(kLineRight), dpi_);
    }

    int Px(int twips) const { return TwipsToPixels(twips, dpi_); }
    RECT ToPixels(const RECT& twips) const {
        return {Px(twips.left), Px(twips.top), Px(twips.right), Px(twips.bottom)};
    }

    Window CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, int id) {
        return CreateChildControl(hwnd_, className, text, style, id);
    }

    RECT PlaceLabel(int id, int left, int top) {
        const Window label(GetDlgItem(hwnd_, id));
        return ::PlaceLabel(label.Handle(), reinterpret_cast<HFONT>(label.Send(WM_GETFONT)), left,
                            top);
    }

    Services& services_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    IconHandle icon_, smallIcon_;
    FontHandle font_, linkFont_;
};

} // namespace

std::wstring VersionLine(int major, int minor) {
    return L"Version " + std::to_wstring(major) + L"." + std::to_wstring(minor);
}

void ShowAboutBox(HWND owner, Services& services) {
    AboutBox box(services);
    box.Show(owner);
}
