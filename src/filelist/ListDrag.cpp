#include "filelist/ListDrag.h"

#include "filelist/FileList.h"
#include "platform/Dpi.h"

#include <windowsx.h>

#include <algorithm>

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT kScrollIntervalMs = 60;

// The gap nearest to a height in the list: rows are height apart from the first
// shown one down, and a pointer over a row's upper half means the gap above it.
int GapAtY(int y, int firstTop, int height, int top, int count) {
    if (height <= 0)
        return 0;
    const int rows = (std::max(y - firstTop, 0) + height / 2) / height;
    return std::clamp(top + rows, 0, count);
}

} // namespace

ListDrag::~ListDrag() {
    Cancel();
}

LRESULT CALLBACK ListDrag::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR self) {
    auto* drag = reinterpret_cast<ListDrag*>(self);
    try {
        if (message == WM_NCDESTROY)
            drag->Cancel();
        else if (drag->active_ && drag->HandleMessage(message, wParam, lParam))
            return 0;
    } catch (...) {
        drag->Cancel(); // nothing may unwind through the system's frames
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

bool ListDrag::Begin(int item) {
    if (active_ || !listView_ || item < 0 || item >= list_.Count() || !list_.IsSelected(item))
        return false;
    // The list view's messages come here only while a drag runs: under Wine every
    // message to a subclassed window costs a look-up in the server.
    if (!SetWindowSubclass(listView_.Handle(), SubclassProc, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(this)))
        return false;
    active_ = true;
    SetCapture(listView_.Handle());
    SetTimer(listView_.Handle(), kScrollTimer, kScrollIntervalMs, nullptr);
    return true;
}

void ListDrag::Cancel() {
    if (!active_)
        return;
    // Cleared first: giving up the capture comes back here as WM_CAPTURECHANGED.
    active_ = false;
    ShowMark(-1);
    KillTimer(listView_.Handle(), kScrollTimer);
    if (GetCapture() == listView_.Handle())
        ReleaseCapture();
    RemoveWindowSubclass(listView_.Handle(), SubclassProc, kSubclassId);
}

bool ListDrag::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_MOUSEMOVE: OnMouseMove(point); return true;
    case WM_LBUTTONUP: OnButtonUp(point); return true;
    case WM_RBUTTONDOWN:
    case WM_CANCELMODE: Cancel(); return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != listView_.Handle())
            Cancel();
        return false;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            Cancel();
        return true;
    case WM_CHAR: return true; // no key moves the focus or the selection under the drag
    case WM_TIMER:
        if (wParam != kScrollTimer)
            return false;
        OnScrollTimer();
        return true;
    }
    // Other buttons, the wheel and everything else go on to the list view.
    return message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK;
}

void ListDrag::OnMouseMove(POINT point) {
    last_ = point;
    const int gap = GapAt(point);
    ShowMark(gap);
    // Outside the list, releasing the button drops nothing; the pointer says so.
    SetCursor(LoadCursorW(nullptr, gap >= 0 ? IDC_ARROW : IDC_NO));
}

void ListDrag::OnButtonUp(POINT point) {
    const int gap = GapAt(point);
    Cancel();
    if (gap >= 0)
        onDrop_(gap);
}

void ListDrag::OnScrollTimer() {
    const Rows rows = RowsNow();
    if (!PtInRect(&rows.client, last_))
        return;
    int direction = 0;
    if (last_.y < rows.firstTop + rows.height)
        direction = -1;
    else if (last_.y >= rows.client.bottom - rows.height)
        direction = 1;
    if (direction == 0)
        return;
    listView_.Send(LVM_SCROLL, 0, direction * rows.height);
    // The old mark scrolled away with the rows: the whole list is drawn afresh.
    InvalidateRect(listView_.Handle(), nullptr, TRUE);
    ShowMark(GapAt(last_));
}

void ListDrag::ShowMark(int gap) {
    if (gap == markGap_)
        return;
    // Erased too: the list view paints no background beside its rows by itself.
    for (const int at : {markGap_, gap}) {
        if (at < 0)
            continue;
        RECT area = MarkArea(at);
        InvalidateRect(listView_.Handle(), &area, TRUE);
    }
    markGap_ = gap;
}

int ListDrag::MarkThickness() const {
    return std::max(2, MulDiv(2, DpiOf(listView_.Handle()), 96));
}

RECT ListDrag::MarkArea(int gap) const {
    const Rows rows = RowsNow();
    const int y = rows.firstTop + (gap - rows.top) * rows.height;
    const int reach = 2 * MarkThickness(); // the ticks at the ends
    return {rows.client.left, y - reach, rows.client.right, y + reach};
}

ListDrag::Rows ListDrag::RowsNow() const {
    Rows rows{static_cast<int>(listView_.Send(LVM_GETTOPINDEX)), 0, 0, listView_.ClientRect()};
    RECT item{};
    item.left = LVIR_BOUNDS;
    if (listView_.Send(LVM_GETITEMRECT, static_cast<WPARAM>(rows.top),
                       reinterpret_cast<LPARAM>(&item))) {
        rows.firstTop = item.top;
        rows.height = item.bottom - item.top;
    }
    return rows;
}

int ListDrag::GapAt(POINT point) const {
    const Rows rows = RowsNow();
    if (!PtInRect(&rows.client, point))
        return -1;
    return GapAtY(point.y, rows.firstTop, rows.height, rows.top, list_.Count());
}

LRESULT ListDrag::OnCustomDraw(const NMLVCUSTOMDRAW& draw) const {
    if (markGap_ < 0)
        return CDRF_DODEFAULT;
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYPOSTPAINT;
    if (draw.nmcd.dwDrawStage != CDDS_POSTPAINT)
        return CDRF_DODEFAULT;
    // The list view's own insertion mark is for its icon views only: report view
    // draws none, so the line is drawn here, across the rows, with a tick at each end.
    const RECT area = MarkArea(markGap_);
    const int thickness = MarkThickness(), y = (area.top + area.bottom) / 2;
    const int tick = 3 * thickness / 2;
    const RECT parts[] = {
        {area.left, y - thickness / 2, area.right, y - thickness / 2 + thickness},
        {area.left, y - tick, area.left + thickness, y + tick},
        {area.right - thickness, y - tick, area.right, y + tick},
    };
    for (const RECT& part : parts)
        FillRect(draw.nmcd.hdc, &part, GetSysColorBrush(COLOR_WINDOWTEXT));
    return CDRF_DODEFAULT;
}
