#include "filelist/EditCommands.h"

#include "filelist/FileList.h"
#include "platform/Services.h"

#include <utility>

bool MoveSelectedUp(std::vector<std::wstring>& texts, std::vector<char>& selected) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!selected[i])
            continue;
        if (i == 0)
            return false;
        std::swap(texts[i - 1], texts[i]);
        selected[i - 1] = 1;
        selected[i] = 0;
    }
    return true;
}

bool MoveSelectedDown(std::vector<std::wstring>& texts, std::vector<char>& selected) {
    for (std::size_t i = texts.size(); i-- > 0;) {
        if (!selected[i])
            continue;
        if (i + 1 == texts.size())
            return false;
        std::swap(texts[i], texts[i + 1]);
        selected[i] = 0;
        selected[i + 1] = 1;
    }
    return true;
}

namespace {

using MoveWalk = bool (*)(std::vector<std::wstring>&, std::vector<char>&);

void Move(FileList& list, Services& services, MoveWalk walk) {
    if (list.GetSelectedCount() < 1) {
        services.Beep();
        return;
    }
    std::vector<std::wstring> texts = list.Texts();
    std::vector<char> selected = list.Selection();
    if (walk(texts, selected)) {
        FileList::Batch batch(list);
        list.Rewrite(std::move(texts), selected);
    } else {
        services.Beep();
    }
    SetFocus(list.ListView().Handle());
    list.MarkOrderChanged();
}

} // namespace

void MoveUp(FileList& list, Services& services) {
    Move(list, services, MoveSelectedUp);
}

void MoveDown(FileList& list, Services& services) {
    Move(list, services, MoveSelectedDown);
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
