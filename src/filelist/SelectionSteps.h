#pragma once
// The changes that give a list view with nothing selected the selected flags wanted,
// in an order its selection bookkeeping takes cheaply.
//
// Wine's list view keeps the selected entries as a sorted array of ranges. Selecting
// an entry beside a range walks the whole array, and so does clearing the last entry
// of a range of several; setting the flags of half of 100,000 entries one by one, in
// runs of a few, takes seconds. Cheap are: selecting an entry with no selected
// neighbour, clearing one in the lowest ranges but not at the end of a range of
// several, and selecting every entry at once.

#include <vector>

struct SelectionSteps {
    bool selectAll = false;  // first: every entry selected at once
    std::vector<int> clear;  // then these cleared, in turn
    std::vector<int> select; // then these selected, in turn
};

// Every selected entry in turn, from the first: cheap while few have selected
// neighbours.
SelectionSteps SelectEach(const std::vector<char>& selected);
// Everything selected, then the runs of several cut out of it from the end of the list
// back, each gap cleared from its first entry, so that every change falls on the
// lowest ranges; the single entries selected last.
SelectionSteps CutFromAll(const std::vector<char>& selected);
// The cheaper of the two under Wine.
SelectionSteps StepsToSelect(const std::vector<char>& selected);
