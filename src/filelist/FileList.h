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
    // Takes over an owner-data report list view and the status bar that shows the
    // summary.
    void Attach(HWND listView, HWND statusBar);
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
    // Sets every entry's selected flag, touching only those that change.
    void SetSelection(const std::vector<char>& selected);
    int FocusIndex() const; // -1 when no entry holds the focus mark
    // Gives an entry the focus mark, which selects it too.
    void MakeCurrent(int index);
    void EnsureVisible(int index);

    // Puts new texts in the entries' places with their new selected flags; the
    // count stays and the focus mark keeps its place.
    void Rewrite(std::vector<std::wstring> texts, const std::vector<char>& selected);
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

    // Sum of the listed files' sizes as they are on disk now: a missing file counts
    // 0, one that cannot be opened -1.
    double GetTotalSize() const;

    // The stored summary: shown again after a merge.
    const std::wstring& StatusText() const { return statusText_; }
    // Builds the summary (empty for an empty list), stores it and shows it.
    void RebuildStatus() { RebuildStatus(Count(), 0.0); }
    // The same where the entries from `measuredFrom` on were just appended by a
    // caller that measured them as it found them, `measured` bytes in all.
    void RebuildStatus(int measuredFrom, double measured);
    // Shows a text in the status bar, writing it only when it differs.
    void SetStatusText(const std::wstring& text);
    std::wstring ShownStatusText() const;

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
    double SizeOf(std::size_t begin, std::size_t end) const;
    void SetState(int index, UINT state, UINT mask);
    void SyncCount();

    Window listView_;
    Window statusBar_;
    std::vector<std::wstring> texts_;
    SortOrder order_ = SortOrder::Ascending;
    std::wstring statusText_;
    int batchDepth_ = 0;
};
