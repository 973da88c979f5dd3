#include "filelist/EditCommands.h"

#include "filelist/BlockMove.h"
#include "filelist/FileList.h"
#include "platform/Services.h"

#include <vector>

namespace {

void Move(FileList& list, Services& services, Step step) {
    if (list.GetSelectedCount() < 1) {
        services.Beep();
        return;
    }
    const std::vector<char> selected = list.Selection();
    if (const auto order = StepMoveOrder(selected, step)) {
        FileList::Batch batch(list);
        list.Rearrange(*order, selected);
    } else {
        services.Beep();
    }
    SetFocus(list.ListView().Handle());
    list.MarkOrderChanged();
}

} // namespace

void MoveUp(FileList& list, Services& services) {
    Move(list, services, Step::Up);
}

void MoveDown(FileList& list, Services& services) {
    Move(list, services, Step::Down);
}

void DragSelectedTo(FileList& list, int gap) {
    {
        FileList::Batch batch(list);
        list.MoveSelectedTo(gap);
    }
    // As after Up and Down, also where the block landed in its own place.
    list.MarkOrderChanged();
}

bool RemoveFiles(FileList& list, Services& services) {
    if (list.GetSelectedCount() < 1) {
        services.Beep();
        return false;
    }
    {
        FileList::Batch batch(list);
        list.RemoveSelected();
    }
    list.MarkOrderChanged();
    return true;
}

void SelectAll(FileList& list) {
    if (list.Count() == 0)
        return;
    FileList::Batch batch(list);
    list.SetSelection(std::vector<char>(static_cast<std::size_t>(list.Count()), 1));
    list.MakeCurrent(list.Count() - 1);
}

void InvertSelection(FileList& list) {
    std::vector<char> selected = list.Selection();
    int lastNewlySelected = -1;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        selected[i] = !selected[i];
        if (selected[i])
            lastNewlySelected = static_cast<int>(i);
    }
    FileList::Batch batch(list);
    list.SetSelection(selected);
    if (lastNewlySelected >= 0)
        list.MakeCurrent(lastNewlySelected);
}

void SortByColumn(FileList& list, int column) {
    if (column != 1)
        return;
    list.SortFiles(list.RememberedOrder() == SortOrder::Ascending ? SortOrder::Descending
                                                                  : SortOrder::Ascending);
}
