#include "filelist/NaturalOrder.h"

#include <windows.h>

#include <algorithm>
#include <numeric>

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Upper case by the system's invariant table, the same on every release.
std::wstring Folded(const std::wstring& text) {
    std::wstring folded = text;
    if (!folded.empty())
        CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    return folded;
}

// Compares two case-folded texts; digits by value, the rest by code unit.
int CompareFolded(const std::wstring& a, const std::wstring& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t endA = i, endB = j;
            while (endA < a.size() && IsDigit(a[endA]))
                ++endA;
            while (endB < b.size() && IsDigit(b[endB]))
                ++endB;
            std::size_t startA = i, startB = j; // past leading zeros
            while (startA + 1 < endA && a[startA] == L'0')
                ++startA;
            while (startB + 1 < endB && b[startB] == L'0')
                ++startB;
            const std::size_t lengthA = endA - startA, lengthB = endB - startB;
            if (lengthA != lengthB)
                return lengthA < lengthB ? -1 : 1;
            const int c = a.compare(startA, lengthA, b, startB, lengthB);
            if (c != 0)
                return c;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace

std::vector<std::size_t> NaturalSortOrder(const std::vector<std::wstring>& texts) {
    std::vector<std::wstring> folded;
    folded.reserve(texts.size());
    for (const auto& text : texts)
        folded.push_back(Folded(text));
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        if (const int c = CompareFolded(folded[x], folded[y]))
            return c < 0;
        return texts[x].compare(texts[y]) < 0;
    });
    return order;
}
