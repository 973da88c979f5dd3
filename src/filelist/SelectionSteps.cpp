#include "filelist/SelectionSteps.h"

#include <cstddef>

namespace {

struct Run {
    int start, end; // [start, end)
    int Size() const { return end - start; }
};

std::vector<Run> RunsOf(const std::vector<char>& selected) {
    std::vector<Run> runs;
    const int count = static_cast<int>(selected.size());
    for (int i = 0; i < count;) {
        if (!selected[static_cast<std::size_t>(i)]) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < count && selected[static_cast<std::size_t>(i)])
            ++i;
        runs.push_back({start, i});
    }
    return runs;
}

// One change sent to Wine's list view costs about as much as a walk over this many
// ranges (measured at 100,000 entries).
constexpr double kRangesPerChange = 500;

SelectionSteps CutRunsFromAll(const std::vector<Run>& runs, int count) {
    SelectionSteps steps;
    steps.selectAll = true;
    int top = count;
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        if (run->Size() < 2)
            continue;
        for (int i = run->end; i < top; ++i)
            steps.clear.push_back(i);
        top = run->start;
    }
    for (int i = 0; i < top; ++i)
        steps.clear.push_back(i);
    for (const Run& run : runs)
        if (run.Size() == 1)
            steps.select.push_back(run.start);
    return steps;
}

} // namespace

SelectionSteps SelectEach(const std::vector<char>& selected) {
    SelectionSteps steps;
    for (std::size_t i = 0; i < selected.size(); ++i)
        if (selected[i])
            steps.select.push_back(static_cast<int>(i));
    return steps;
}

SelectionSteps CutFromAll(const std::vector<char>& selected) {
    return CutRunsFromAll(RunsOf(selected), static_cast<int>(selected.size()));
}

SelectionSteps StepsToSelect(const std::vector<char>& selected) {
    // Selected one by one, every entry after the first of its run walks the ranges
    // made so far; cut out, every unselected entry is one more change.
    const std::vector<Run> runs = RunsOf(selected);
    double walked = 0, changes = static_cast<double>(selected.size());
    for (std::size_t k = 0; k < runs.size(); ++k) {
        walked += static_cast<double>(k + 1) * (runs[k].Size() - 1);
        changes -= runs[k].Size();
    }
    return walked <= kRangesPerChange * changes
               ? SelectEach(selected)
               : CutRunsFromAll(runs, static_cast<int>(selected.size()));
}
