#include "filelist/BlockMove.h"

#include <algorithm>

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
