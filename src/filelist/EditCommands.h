#pragma once
// The commands that edit the list once files are in it: remove, move, sort by the
// column heading, select all and invert the selection.

class FileList;
class Services;

// False, having beeped, when no entry is selected.
bool RemoveFiles(FileList& list, Services& services);
// Every selected entry one place up (down), runs of neighbours as a block, each
// selected flag with its entry; the focus mark keeps its place. Beeps, having moved
// nothing, when a selected entry already stands at that end.
void MoveUp(FileList& list, Services& services);
void MoveDown(FileList& list, Services& services);
// The selected entries dragged into a gap of the list (0 before the first entry,
// the count after the last): they land there as one block.
void DragSelectedTo(FileList& list, int gap);
void SelectAll(FileList& list);
void InvertSelection(FileList& list);
// Sorts by a column, numbered from 1, the other way than last time.
void SortByColumn(FileList& list, int column);
