#include "filelist/FileList.h"

#include "filelist/BlockMove.h"
#include "filelist/NaturalOrder.h"

#include <algorithm>

void FileList::Attach(HWND listView) {
    listView_ = listView;
}

void FileList::AddFile(const std::wstring& path) {
    texts_.push_back(path);
    if (batchDepth_ == 0)
        SyncCount();
}

void FileList::SyncCount() {
    listView_.Send(LVM_SETITEMCOUNT, texts_.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    InvalidateRect(listView_.Handle(), nullptr, FALSE);
}

void FileList::SetState(int index, UINT state, UINT mask) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    listView_.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool FileList::IsSelected(int index) const {
    return listView_.Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) != 0;
}

void FileList::SetSelected(int index, bool selected) {
    SetState(index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

int FileList::GetSelectedCount() const {
    return static_cast<int>(listView_.Send(LVM_GETSELECTEDCOUNT));
}

std::vector<char> FileList::Selection() const {
    std::vector<char> selected(texts_.size(), 0);
    int index = -1;
    while ((index = static_cast<int>(
                listView_.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED))) >= 0 &&
           index < Count())
        selected[static_cast<std::size_t>(index)] = 1;
    return selected;
}

void FileList::SetSelection(const std::vector<char>& selected) {
    const std::vector<char> now = Selection();
    for (std::size_t i = 0; i < selected.size() && i < now.size(); ++i)
        if ((selected[i] != 0) != (now[i] != 0))
            SetSelected(static_cast<int>(i), selected[i] != 0);
}

int FileList::FocusIndex() const {
    return static_cast<int>(listView_.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void FileList::MakeCurrent(int index) {
    SetState(index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

void FileList::EnsureVisible(int index) {
    listView_.Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void FileList::Rewrite(std::vector<std::wstring> texts, const std::vector<char>& selected) {
    texts_ = std::move(texts);
    SetSelection(selected);
    InvalidateRect(listView_.Handle(), nullptr, FALSE);
}

void FileList::RemoveSelected() {
    const std::vector<char> selected = Selection();
    const int focus = FocusIndex();
    int firstRemoved = -1;
    std::vector<std::wstring> kept;
    kept.reserve(texts_.size());
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        if (selected[i]) {
            if (firstRemoved < 0)
                firstRemoved = static_cast<int>(i);
        } else {
            kept.push_back(std::move(texts_[i]));
        }
    }
    if (firstRemoved < 0)
        return;
    SetState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    texts_ = std::move(kept);
    SyncCount();
    // The focus mark goes to the entry that moved into the first gap.
    if (focus >= 0 && Count() > 0)
        SetState(std::min(firstRemoved, Count() - 1), LVIS_FOCUSED, LVIS_FOCUSED);
}

bool FileList::MoveSelectedTo(int gap) {
    const std::vector<char> selected = Selection();
    const Moved moved =
        Reorder(BlockMoveOrder(selected, static_cast<std::size_t>(std::max(gap, 0))), selected);
    if (!moved.changed)
        return false;
    ShowMoved(moved);
    return true;
}

FileList::Moved FileList::Reorder(const std::vector<std::size_t>& order,
                                  const std::vector<char>& selected) {
    const auto focus = static_cast<std::size_t>(FocusIndex());
    const auto anchor = static_cast<std::size_t>(listView_.Send(LVM_GETSELECTIONMARK));
    std::vector<std::wstring> texts;
    texts.reserve(order.size());
    Moved moved;
    for (std::size_t to = 0; to < order.size(); ++to) {
        const std::size_t from = order[to];
        moved.changed |= from != to;
        if (from == focus)
            moved.focus = static_cast<int>(to);
        if (from == anchor)
            moved.anchor = static_cast<int>(to);
        if (selected[from] && moved.blockSize++ == 0)
            moved.blockStart = static_cast<int>(to);
        texts.push_back(std::move(texts_[from]));
    }
    texts_ = std::move(texts);
    return moved;
}

void FileList::ShowMoved(const Moved& moved) {
    // The moved entries stand together now. Clearing every flag at once and setting
    // the block's is much cheaper than changing the flags that differ one by one:
    // Wine's list view searches all its selected ranges for each change.
    SetState(-1, 0, LVIS_SELECTED);
    for (int i = moved.blockStart; i < moved.blockStart + moved.blockSize; ++i)
        SetSelected(i, true);
    if (moved.focus >= 0)
        SetState(moved.focus, LVIS_FOCUSED, LVIS_FOCUSED);
    // The shift-click anchor goes with its entry too, so a later range starts there.
    if (moved.anchor >= 0)
        listView_.Send(LVM_SETSELECTIONMARK, 0, moved.anchor);
    InvalidateRect(listView_.Handle(), nullptr, FALSE);
}

void FileList::SortFiles(SortOrder order) {
    order_ = order;
    std::vector<std::size_t> positions = NaturalSortOrder(texts_);
    if (order == SortOrder::Descending)
        std::reverse(positions.begin(), positions.end());
    const std::vector<char> selected = Selection();
    std::vector<std::wstring> texts;
    std::vector<char> newSelected;
    texts.reserve(texts_.size());
    newSelected.reserve(texts_.size());
    for (std::size_t from : positions) {
        texts.push_back(std::move(texts_[from]));
        newSelected.push_back(selected[from]);
    }
    Rewrite(std::move(texts), newSelected);
}

void FileList::OnGetDispInfo(NMLVDISPINFOW& info) const {
    if (!(info.item.mask & LVIF_TEXT) || info.item.iItem < 0 || info.item.iItem >= Count())
        return;
    // The list view reads the text straight from the entry.
    info.item.pszText = const_cast<wchar_t*>(Text(info.item.iItem).c_str());
}

FileList::Batch::Batch(FileList& list) : list_(list) {
    if (list_.batchDepth_++ == 0)
        list_.listView_.Send(WM_SETREDRAW, FALSE);
}

FileList::Batch::~Batch() {
    if (--list_.batchDepth_ == 0) {
        list_.SyncCount();
        list_.listView_.Send(WM_SETREDRAW, TRUE);
        InvalidateRect(list_.listView_.Handle(), nullptr, TRUE);
    }
}
