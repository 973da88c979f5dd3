#pragma once
// What looks wrong with a list that is one split set: a part missing, listed twice
// or out of place, the last one forgotten, one of another size. Pure text: the
// file system's facts are gathered by sets/SetCheck.h.

#include "sets/PartNames.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The set every listed path is a part of, in any order, as its lowest-numbered
// listed part; nothing when any entry is not a part of that one set.
std::optional<PartName> ListedSet(const std::vector<std::wstring>& paths);

struct SetFacts {
    std::vector<std::wstring> paths;
    std::vector<double> sizes; // bytes per entry as measured before the merge; -1 unknown
    bool nextPresent = false;  // the part after the highest listed lies beside it
    // The whole file's size as a checksum file beside the set gives it, and that
    // file's name.
    std::optional<double> expectedTotal;
    std::wstring expectedTotalFrom;
};

// How numbers are shown ("1,048,576"); passed in so that this stays pure.
using NumberFormat = std::function<std::wstring(double)>;

// Each finding a paragraph of the question: what is wrong and what to do. Empty when
// the list is not one set, or nothing looks wrong.
std::vector<std::wstring> SetFindings(const SetFacts& facts, const NumberFormat& format);

// The question that lists the findings and asks whether to merge anyway.
std::wstring SetQuestion(const std::wstring& base, const std::vector<std::wstring>& findings);
