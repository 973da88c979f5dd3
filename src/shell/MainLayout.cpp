// How the main window keeps its controls in place as it is resized.

#include "shell/MainWindow.h"

#include "platform/Dpi.h"

#include <algorithm>

namespace {

// The smallest outer size the window may take, in twips.
constexpr int kMinimumWidth = 3200, kMinimumHeight = 2400;

int HeightOf(const Window& window) {
    const RECT rect = window.WindowRect();
    return rect.bottom - rect.top;
}

} // namespace

SIZE MainWindow::MinimumOuterSize() const {
    return {TwipsToPixels(kMinimumWidth, dpi_), TwipsToPixels(kMinimumHeight, dpi_)};
}

void MainWindow::OnGetMinMaxInfo(MINMAXINFO& info) const {
    const SIZE minimum = MinimumOuterSize();
    info.ptMinTrackSize = {minimum.cx, minimum.cy};
}

void MainWindow::Form_Resize(UINT sizeType) {
    FitToSize(sizeType);
}

void MainWindow::FitToSize(UINT sizeType) {
    if (sizeType == SIZE_MINIMIZED || IsIconic(hwnd_))
        return;
    // The bars dock themselves to their edges when told of the new size.
    toolbar_.Send(TB_AUTOSIZE);
    statusBar_.Send(WM_SIZE);

    const RECT outer = Window(hwnd_).WindowRect();
    const SIZE minimum = MinimumOuterSize();
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    if (sizeType != SIZE_MAXIMIZED && (width < minimum.cx || height < minimum.cy)) {
        // Raises WM_SIZE again, which lays the controls out at the corrected size.
        SetWindowPos(hwnd_, nullptr, 0, 0, std::max(width, static_cast<int>(minimum.cx)),
                     std::max(height, static_cast<int>(minimum.cy)),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    ArrangeControls();
}

void MainWindow::ArrangeControls() {
    if (IsIconic(hwnd_))
        return;
    const RECT client = Window(hwnd_).ClientRect();
    const int toolbarHeight = HeightOf(toolbar_);
    const int left = client.left, top = client.top + toolbarHeight;
    const int width = client.right - client.left;
    // Under unusual system metrics the bars can leave no room; the list then shrinks
    // to nothing rather than to a negative height.
    const int height = std::max(0, static_cast<int>(client.bottom - client.top) - toolbarHeight -
                                       HeightOf(statusBar_));

    const RECT now = listView_.WindowRect();
    if (now.right - now.left != width || scaledGap_) {
        // The column keeps its distance from the list's right edge, whatever the user
        // has dragged it to.
        const int gap = scaledGap_.value_or(ColumnGap());
        listView_.Send(LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(std::max(0, width - gap), 0));
        scaledGap_.reset();
    }
    listView_.Move(left, top, width, height);
}

int MainWindow::ColumnGap() const {
    const RECT list = listView_.WindowRect();
    return (list.right - list.left) - static_cast<int>(listView_.Send(LVM_GETCOLUMNWIDTH, 0));
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    // The gap scales once, here; the layout must not measure it again from a list
    // that still has the old DPI's width. A gap taken before an earlier change that
    // no layout has used yet is scaled on.
    scaledGap_ = MulDiv(scaledGap_.value_or(ColumnGap()), dpi, dpi_);
    dpi_ = dpi;
    ScaleMainToolbar(toolbar_.Handle(), dpi_, toolbarImages_);
    ApplyFonts();
    ApplyIcons();
    statusBar_.Send(WM_SIZE); // its height follows its new font
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Laid out anew even where the suggested size is the present one.
    if (scaledGap_)
        Form_Resize(IsZoomed(hwnd_) ? SIZE_MAXIMIZED : SIZE_RESTORED);
}
