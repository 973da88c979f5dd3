#pragma once
// The ordered list of input files. The entries live in one vector behind an
// owner-data list view, which shows them and keeps their selected flags and the
// focus mark; nothing else holds a copy. Indexes are 0-based.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/Window.h"

enum class SortOrder { Ascending = 0, Descending = 1 };

class FileList {
public:
    // Takes over an owner-data report list view.
    void Attach(HWND listView);
    Window ListView() const { return listView_; }

    int Count() const { return static_cast<int>(texts_.size()); }
    const std::wstring& Text(int index) const { return texts_[static_cast<std::size_t>(index)]; }
    const std::vector<std::wstring>& Texts() const { return texts_; }
    // Appends an entry as it is: no check for duplicates or for the file's existence.
    void AddFile(const std::wstring& path);

    bool IsSelected(int index) const;
    void SetSelected(int index, bool selected);
    int GetSelectedCount() const;
    std::vector<char> Selection() const;
    // Sets every entry's selected flag; the focus mark, the shift-click anchor and
    // the rows in view stay where they are.
    void SetSelection(const std::vector<char>& selected);
    int FocusIndex() const; // -1 when no entry holds the focus mark
    // Gives an entry the focus mark, which selects it too.
    void MakeCurrent(int index);
    void EnsureVisible(int index);

    // Puts the entries in a new order, entry i the one that stood at order[i], each
    // with its selected flag (`selected`, as read before); the focus mark and the
    // shift-click anchor keep their places.
    void Rearrange(const std::vector<std::size_t>& order, const std::vector<char>& selected);
    // Takes the selected entries out of the list.
    void RemoveSelected();
    // Moves the selected entries as one block into the gap before entry `gap` (Count()
    // for the end), in their order and still selected; the focus mark goes with its
    // entry. False when nothing changed place.
    bool MoveSelectedTo(int gap);

    // One reordering by path, selected flags moving with their entries.
    void SortFiles(SortOrder order);
    SortOrder RememberedOrder() const { return order_; }
    // After a change of order other than a sort: the next heading click sorts ascending.
    void MarkOrderChanged() { order_ = SortOrder::Descending; }

    // The list view asks for an entry's text.
    void OnGetDispInfo(NMLVDISPINFOW& info) const;

    // Holds the list view's redraw while a batch of changes runs.
    // The count reaches the list view once, when the batch ends.
    class Batch {
    public:
        explicit Batch(FileList& list);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        FileList& list_;
    };

private:
    // Where a block move took the focus mark, the shift-click anchor and the
    // selected block; -1 for none.
    struct Moved {
        bool changed = false;
        int focus = -1, anchor = -1, blockStart = -1, blockSize = 0;
    };
    // Puts the texts in the order given; the view's flags are not yet touched.
    Moved Reorder(const std::vector<std::size_t>& order, const std::vector<char>& selected);
    void ShowMoved(const Moved& moved);
    // Gives every entry its selected flag, and the focus mark and the shift-click
    // anchor to the entries given (-1 for none), in one sweep whatever the flags were;
    // the rows in view stay where they are.
    void Restate(const std::vector<char>& selected, int focus, int anchor);
    int SelectionMark() const;
    void SetState(int index, UINT state, UINT mask);
    void SyncCount();

    Window listView_;
    std::vector<std::wstring> texts_;
    SortOrder order_ = SortOrder::Ascending;
    int batchDepth_ = 0;
};
