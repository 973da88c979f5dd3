#pragma once

#include <string>
#include <vector>

// "3 files (1,234,567 Bytes)".
std::wstring BuildStatusSummary(int count, double totalBytes);

// Sum of the sizes of the files paths[begin] to paths[end - 1] as they are on disk
// now: a missing file counts 0, one that cannot be opened -1.
double SizeOfFiles(const std::vector<std::wstring>& paths, std::size_t begin, std::size_t end);
