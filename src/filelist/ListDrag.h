#pragma once
// Dragging the selected entries to a new place in the list. The list view tells of
// a drag that starts on an entry (LVN_BEGINDRAG); from then on the list view holds
// the mouse, a line between two entries shows where the block will land, and the
// list scrolls while the pointer stays near its top or bottom edge. Releasing the
// button over the list drops the block there; releasing it elsewhere, Esc, the
// right button, a command or a lost capture end the drag with nothing moved.

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "platform/Window.h"

class FileList;

class ListDrag {
public:
    // Moves the selected entries into a gap: 0 before the first entry, the count
    // after the last.
    using DropHandler = std::function<void(int gap)>;

    ListDrag(FileList& list, DropHandler onDrop) : list_(list), onDrop_(std::move(onDrop)) {}
    ~ListDrag();
    ListDrag(const ListDrag&) = delete;
    ListDrag& operator=(const ListDrag&) = delete;

    void Attach(HWND listView) { listView_ = listView; }

    // A drag that starts on an entry; only a selected one starts it.
    bool Begin(int item);
    void Cancel();
    bool Active() const { return active_; }
    // The gap the insertion mark stands in; -1 while none is shown.
    int MarkGap() const { return markGap_; }

    // The list view's custom draw: the insertion mark goes over the entries.
    LRESULT OnCustomDraw(const NMLVCUSTOMDRAW& draw) const;

    // The timer that scrolls the list near its edges.
    static constexpr UINT_PTR kScrollTimer = 0x564D;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    // True when the drag took the message.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouseMove(POINT point);
    void OnButtonUp(POINT point);
    void OnScrollTimer();
    void ShowMark(int gap);

    // The rows as the list shows them now.
    struct Rows {
        int top;      // index of the first row shown
        int firstTop; // its top edge, below the heading
        int height;   // of one row
        RECT client;
    };
    Rows RowsNow() const;
    int MarkThickness() const;
    // Where the mark of a gap is drawn, ticks included.
    RECT MarkArea(int gap) const;
    int GapAt(POINT point) const; // -1 outside the list

    FileList& list_;
    DropHandler onDrop_;
    Window listView_;
    bool active_ = false;
    int markGap_ = -1;
    POINT last_{};
};
