#include "shell/Toolbar.h"

#include "platform/Dpi.h"

#include "resource.h"

#include <algorithm>
#include <cwchar>
#include <utility>
#include <iterator>

namespace {

struct ButtonDesign {
    int id; // 0 for a separator
    const wchar_t* caption;
    const wchar_t* key;
    const wchar_t* tooltip;
    int image;
    int menuCommand; // the menu's command that the button runs
};

constexpr ButtonDesign kButtons[] = {
    {IDT_ADD, L"Add", L"add", L"Add files to the list", 0, IDM_ADD},
    {IDT_REMOVE, L"Remove", L"remove", L"Remove files from the list", 1, IDM_REMOVE},
    {0, nullptr, nullptr, nullptr, 0, 0},
    {IDT_UP, L"Up", L"up", L"Move selected files up", 2, IDM_UP},
    {IDT_DOWN, L"Down", L"down", L"Move selected files down", 3, IDM_DOWN},
    {0, nullptr, nullptr, nullptr, 0, 0},
    {IDT_MERGE, L"Merge", L"merge", L"Merge the files", 4, IDM_MERGE},
};

constexpr int kImageWidth = 15, kImageHeight = 16, kImageCount = 5;
constexpr COLORREF kMaskColour = RGB(192, 192, 192);
constexpr int kButtonWidthTwips = 705, kButtonHeightTwips = 540;

SIZE ImageSize(int dpi) {
    return {MulDiv(kImageWidth, dpi, 96), MulDiv(kImageHeight, dpi, 96)};
}

const ButtonDesign* FindById(int id) {
    for (const auto& b : kButtons)
        if (b.id != 0 && b.id == id)
            return &b;
    return nullptr;
}

// The image strip of a resource, stretched to the DPI; silver stays the mask colour
// because the stretch copies pixels without blending.
ImageListHandle LoadImages(int bitmapId, int dpi) {
    const auto [cx, cy] = ImageSize(dpi);
    ImageListHandle list(ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, kImageCount, 0));
    BitmapHandle strip(
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!list || !strip)
        return list;
    WindowDC screen(nullptr);
    BitmapHandle scaled(CreateCompatibleBitmap(screen.Get(), cx * kImageCount, cy));
    {
        MemoryDC from(screen.Get()), to(screen.Get());
        SelectObjectScope fromBitmap(from.Get(), strip.Get());
        SelectObjectScope toBitmap(to.Get(), scaled.Get());
        SetStretchBltMode(to.Get(), COLORONCOLOR);
        StretchBlt(to.Get(), 0, 0, cx * kImageCount, cy, from.Get(), 0, 0,
                   kImageWidth * kImageCount, kImageHeight, SRCCOPY);
    }
    ImageList_AddMasked(list.Get(), scaled.Get(), kMaskColour);
    return list;
}

} // namespace

void ScaleMainToolbar(HWND toolbar, int dpi, ToolbarImages& images) {
    // The toolbar is given the new lists before the old ones are destroyed.
    ToolbarImages scaled{LoadImages(IDB_TOOLBAR_NORMAL, dpi), LoadImages(IDB_TOOLBAR_HOT, dpi)};
    const SIZE image = ImageSize(dpi);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(scaled.normal.Get()));
    SendMessageW(toolbar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(scaled.hot.Get()));
    images = std::move(scaled);
}

void FitMainToolbarButtons(HWND toolbar, int dpi) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(toolbar, WM_GETFONT, 0, 0));
    const auto padding = static_cast<DWORD>(SendMessageW(toolbar, TB_GETPADDING, 0, 0));
    int width = TwipsToPixels(kButtonWidthTwips, dpi);
    int height = TwipsToPixels(kButtonHeightTwips, dpi);
    for (const auto& b : kButtons) {
        if (!b.caption)
            continue;
        const SIZE text = MeasureText(toolbar, font, b.caption);
        width = std::max<int>(width, text.cx + LOWORD(padding));
        height = std::max<int>(height, ImageSize(dpi).cy + text.cy + HIWORD(padding));
    }
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
}

HWND CreateMainToolbar(HWND parent, int dpi, ToolbarImages& images) {
    HWND toolbar = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(IDC_TOOLBAR), GetModuleHandleW(nullptr), nullptr);
    if (!toolbar)
        return nullptr;
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[std::size(kButtons)] = {};
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        const auto& design = kButtons[i];
        buttons[i].idCommand = design.id;
        buttons[i].fsState = TBSTATE_ENABLED;
        if (design.id == 0) {
            buttons[i].fsStyle = BTNS_SEP;
        } else {
            buttons[i].iBitmap = design.image;
            buttons[i].fsStyle = BTNS_BUTTON;
            buttons[i].iString = reinterpret_cast<INT_PTR>(design.caption);
        }
    }
    ScaleMainToolbar(toolbar, dpi, images);
    SendMessageW(toolbar, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    return toolbar;
}

const wchar_t* ToolbarKeyOf(int commandId) {
    const ButtonDesign* b = FindById(commandId);
    return b ? b->key : nullptr;
}

const wchar_t* ToolbarTooltipOf(int commandId) {
    const ButtonDesign* b = FindById(commandId);
    return b ? b->tooltip : nullptr;
}

int MenuCommandOfKey(const wchar_t* key) {
    for (const auto& b : kButtons)
        if (b.key && key && std::wcscmp(b.key, key) == 0)
            return b.menuCommand;
    return 0;
}

void EnableToolbarButtonOf(HWND toolbar, int menuCommand, bool enable) {
    for (const auto& b : kButtons)
        if (b.id != 0 && b.menuCommand == menuCommand)
            SendMessageW(toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(b.id),
                         MAKELPARAM(enable, 0));
}
