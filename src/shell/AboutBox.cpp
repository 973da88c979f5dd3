#include "shell/AboutBox.h"

#include "platform/DialogTemplate.h"
#include "platform/Dpi.h"
#include "platform/Handles.h"
#include "platform/Services.h"
#include "platform/VersionInfo.h"
#include "platform/Window.h"
#include "platform/WindowProc.h"
#include "shell/AppInfo.h"

#include "resource.h"

#include <algorithm>
#include <string>

namespace {

// The box's design, in twips.
constexpr int kClientWidth = 4230, kClientHeight = 2460;
constexpr int kLabelHeight = 195;
constexpr int kLineLeft = 105, kLineRight = 4095, kUpperLineTop = 1890, kLowerLineTop = 1905;

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
        }
        return FALSE;
    }

    BOOL Form_Load() {
        dpi_ = DpiOf(hwnd_);
        const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE));
        const SIZE outer =
            OuterSizeForClient(style, exStyle, false, {Px(kClientWidth), Px(kClientHeight)}, dpi_);
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER);
        CenterOverOwner(hwnd_, GetWindow(hwnd_, GW_OWNER));

        const int iconSize = Px(480);
        icon_.Reset(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP),
                                          IMAGE_ICON, iconSize, iconSize, 0)));
        smallIcon_.Reset(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
        Window image = CreateChild(L"STATIC", L"", SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, IDC_IMAGE1,
                                   Px(120), Px(120), iconSize, iconSize);
        image.Send(STM_SETICON, reinterpret_cast<WPARAM>(icon_.Get()));

        font_ = CreateMessageFont(dpi_);
        // The address is drawn as a link: blue, underlined, in its own font.
        linkFont_.Reset(CreateFontW(-MulDiv(825, dpi_, 7200), 0, 0, 0, FW_NORMAL, FALSE, TRUE,
                                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                    L"MS Sans Serif"));
        for (const auto& label : kLabels)
            CreateChild(L"STATIC", label.text,
                        SS_LEFT | SS_NOPREFIX | (label.id == IDC_WWW ? SS_NOTIFY : 0), label.id,
                        Px(label.left), Px(label.top), 0, Px(kLabelHeight));
        Window ok = CreateChild(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, Px(3045),
                                Px(1995), Px(1095), Px(375));

        const VersionInfo version = ReadVersionInfo(ProgramPath());
        SetDlgItemTextW(hwnd_, IDC_VERSION, VersionLine(version.major, version.minor).c_str());
        SetDlgItemTextW(hwnd_, IDC_DESCRIPTION, version.description.c_str());
        SetDlgItemTextW(hwnd_, IDC_COPYRIGHT, version.copyright.c_str());
        SetDlgItemTextW(hwnd_, IDC_WWW, kWebAddress);
        for (const auto& label : kLabels)
            FitLabel(label.id);
        SetFocus(ok.Handle());
        return FALSE; // the focus is set
    }

    void OnCommand(int id, int code) {
        if (id == IDOK) {
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

    // An etched rule above the button: a grey line over a white one.
    void OnPaint() {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        const struct {
            int top;
            COLORREF colour;
            int width;
        } lines[] = {{kUpperLineTop, RGB(128, 128, 128), 1},
                     {kLowerLineTop, RGB(255, 255, 255), 2}};
        for (const auto& line : lines) {
            PenHandle pen(CreatePen(PS_SOLID, line.width, line.colour));
            SelectObjectScope selected(dc, pen.Get());
            MoveToEx(dc, Px(kLineLeft), Px(line.top), nullptr);
            LineTo(dc, Px(kLineRight), Px(line.top));
        }
        EndPaint(hwnd_, &paint);
    }

    int Px(int twips) const { return TwipsToPixels(twips, dpi_); }

    Window CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, int id, int x,
                       int y, int width, int height) {
        Window child = CreateWindowExW(
            0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        child.SetFont(id == IDC_WWW ? linkFont_.Get() : font_.Get());
        return child;
    }

    // Labels take the width of their text.
    void FitLabel(int id) {
        Window label(GetDlgItem(hwnd_, id));
        const std::wstring text = label.Text();
        WindowDC dc(label.Handle());
        SelectObjectScope font(dc.Get(), reinterpret_cast<HGDIOBJ>(label.Send(WM_GETFONT)));
        SIZE extent{};
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
        RECT r = label.WindowRect();
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        label.Move(r.left, r.top, extent.cx, std::max<int>(extent.cy, r.bottom - r.top));
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
