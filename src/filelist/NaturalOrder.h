#pragma once
// The order in which paths are sorted: runs of digits compare by their value and
// everything else without regard to letter case, so "part2" comes before "part10".
// Equal-looking texts fall back to their exact characters, so the order is total.

#include <string>
#include <vector>

// The positions of texts in ascending natural order; a stable sort.
std::vector<std::size_t> NaturalSortOrder(const std::vector<std::wstring>& texts);
