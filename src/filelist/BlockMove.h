#pragma once
// Where the entries go when the selected ones are dragged to a new place.

#include <cstddef>
#include <vector>

// The new order of a list whose selected entries move, as one block in their own
// order, into the gap before entry `gap` of the list as it stands (its size, or
// more, for the end); the other entries keep their order around the block. Entry i
// of the result is the entry that stood at order[i]. One pass over the list,
// however many entries move.
std::vector<std::size_t> BlockMoveOrder(const std::vector<char>& selected, std::size_t gap);
