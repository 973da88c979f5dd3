#pragma once

#include <functional>
#include <string>

// Shortens a status line that is wider than the room it has by cutting folder
// names out of the path it shows, leftmost first: "into C:\Data\Video\clip.avi"
// becomes "into C:\...Video\clip.avi", then "into C:\...clip.avi". Everything up
// to the first backslash and the name after the last one are always kept; a text
// that still does not fit when one backslash is left stays as it is.
// measure gives a text's width in the same unit as available.
std::wstring FitStatusLine(std::wstring text, int available,
                           const std::function<int(const std::wstring&)>& measure);
