#include "filelist/BlockMove.h"

#include <algorithm>
#include <numeric>

std::vector<std::size_t> BlockMoveOrder(const std::vector<char>& selected, std::size_t gap) {
    const std::size_t count = selected.size();
    gap = std::min(gap, count);
    std::vector<std::size_t> order;
    order.reserve(count);
    for (std::size_t i = 0; i < gap; ++i)
        if (!selected[i])
            order.push_back(i);
    for (std::size_t i = 0; i < count; ++i)
        if (selected[i])
            order.push_back(i);
    for (std::size_t i = gap; i < count; ++i)
        if (!selected[i])
            order.push_back(i);
    return order;
}

std::optional<std::vector<std::size_t>> StepMoveOrder(const std::vector<char>& selected,
                                                      Step step) {
    const std::size_t count = selected.size();
    if (count > 0 && selected[step == Step::Up ? 0 : count - 1])
        return std::nullopt;
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    for (std::size_t start = 0; start < count;) {
        if (!selected[start]) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < count && selected[end])
            ++end;
        // The run [start, end) and the unselected entry beside it trade places.
        if (step == Step::Up) {
            std::iota(order.begin() + static_cast<std::ptrdiff_t>(start - 1),
                      order.begin() + static_cast<std::ptrdiff_t>(end - 1), start);
            order[end - 1] = start - 1;
        } else {
            order[start] = end;
            std::iota(order.begin() + static_cast<std::ptrdiff_t>(start + 1),
                      order.begin() + static_cast<std::ptrdiff_t>(end + 1), start);
        }
        start = end;
    }
    return order;
}
