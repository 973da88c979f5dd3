#pragma once
// File names compared the way Windows' file systems compare them: without regard
// to letter case. Pure text, so that the set recognition builds anywhere.

#include <string>
#include <string_view>

// The upper-case form of a name, for comparing and hashing. Covers the letters of
// the Latin, Greek, Cyrillic and Armenian scripts and the full-width Latin ones;
// every other character stands for itself.
std::wstring FoldedCase(std::wstring_view text);

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b);
