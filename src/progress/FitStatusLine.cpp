#include "progress/FitStatusLine.h"

std::wstring FitStatusLine(std::wstring text, int available,
                           const std::function<int(const std::wstring&)>& measure) {
    // Each pass removes one backslash, so this ends.
    while (measure(text) > available) {
        const auto first = text.find(L'\\');
        if (first == std::wstring::npos)
            break;
        const auto second = text.find(L'\\', first + 1);
        if (second == std::wstring::npos)
            break;
        // The second backslash goes too: the dots run straight into the next name.
        text.replace(first + 1, second - first, L"...");
    }
    return text;
}
