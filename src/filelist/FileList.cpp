#include "filelist/FileList.h"

#include "filelist/BlockMove.h"
#include "filelist/NaturalOrder.h"
#include "filelist/SelectionSteps.h"

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
    Restate(selected, FocusIndex(), SelectionMark());
}

int FileList::SelectionMark() const {
    return static_cast<int>(listView_.Send(LVM_GETSELECTIONMARK));
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

void FileList::Restate(const std::vector<char>& selected, int focus, int anchor) {
    Batch batch(*this);
    const int top = static_cast<int>(listView_.Send(LVM_GETTOPINDEX));
    const int left = GetScrollPos(listView_.Handle(), SB_HORZ);
    // Taking the entries out clears every flag at once; cleared one by one, Wine's
    // list view shifts its whole array of selected ranges for each range it drops.
    listView_.Send(LVM_DELETEALLITEMS);
    listView_.Send(LVM_SETITEMCOUNT, texts_.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    const SelectionSteps steps = StepsToSelect(selected);
    if (steps.selectAll)
        SetState(-1, LVIS_SELECTED, LVIS_SELECTED);
    for (const int i : steps.clear)
        SetSelected(i, false);
    for (const int i : steps.select)
        SetSelected(i, true);
    if (focus >= 0)
        SetState(focus, LVIS_FOCUSED, LVIS_FOCUSED);
    listView_.Send(LVM_SETSELECTIONMARK, 0, anchor);
    // Emptied, the list may have scrolled to its start, and the focus mark may have
    // brought its entry into view: the rows go back to where they were.
    const int topNow = static_cast<int>(listView_.Send(LVM_GETTOPINDEX));
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (topNow != top && listView_.Send(LVM_GETITEMRECT, static_cast<WPARAM>(topNow),
                                        reinterpret_cast<LPARAM>(&row)))
        listView_.Send(LVM_SCROLL, 0, (top - topNow) * (row.bottom - row.top));
    const int leftNow = GetScrollPos(listView_.Handle(), SB_HORZ);
    if (leftNow != left)
        listView_.Send(LVM_SCROLL, static_cast<WPARAM>(left - leftNow), 0);
}

void FileList::Rearrange(const std::vector<std::size_t>& order, const std::vector<char>& selected) {
    std::vector<char> moved(order.size());
    for (std::size_t to = 0; to < order.size(); ++to)
        moved[to] = selected[order[to]];
    Reorder(order, selected);
    if (moved != selected)
        Restate(moved, FocusIndex(), SelectionMark());
    else
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
    const int anchor = SelectionMark();
    texts_ = std::move(kept);
    Restate(std::vector<char>(texts_.size(), 0), -1, anchor < Count() ? anchor : -1);
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
    const auto anchor = static_cast<std::size_t>(SelectionMark());
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
    // The moved entries stand together now; the focus mark and the anchor are
    // set afresh from where they were.
    std::vector<char> block(texts_.size(), 0);
    if (moved.blockSize > 0)
        std::fill_n(block.begin() + moved.blockStart, moved.blockSize, 1);
    Restate(block, FocusIndex(), SelectionMark());
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
    Rearrange(positions, Selection());
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
