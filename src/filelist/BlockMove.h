#pragma once
// Where the entries go when the selected ones move: dragged to a gap, or one step
// up or down. Entry i of a new order is the entry that stood at order[i]; each is
// found in one pass over the list, however many entries move.

#include <cstddef>
#include <optional>
#include <vector>

// The selected entries move, as one block in their own order, into the gap before
// entry `gap` of the list as it stands (its size, or more, for the end); the other
// entries keep their order around the block.
std::vector<std::size_t> BlockMoveOrder(const std::vector<char>& selected, std::size_t gap);

enum class Step { Up, Down };

// Every run of neighbouring selected entries moves one place up (down) as a block,
// and the entry that stood beside it passes to its other side. Nothing, for a move
// refused as a whole, when a selected entry already stands at that end.
std::optional<std::vector<std::size_t>> StepMoveOrder(const std::vector<char>& selected, Step step);
