#include "filelist/NaturalOrder.h"

#include <windows.h>

#include <algorithm>
#include <numeric>

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// The text as a key whose plain order by code unit is the natural order. Letters are
// upper case by the system's invariant table, the same on every release; a run of
// digits becomes '0', the number of its digits past leading zeros, then those
// digits. A run so meets any other character as a digit does, and another run by
// its value. (No character folds to a digit or from one.)
std::wstring NaturalKey(const std::wstring& text) {
    std::wstring key;
    key.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i;
        if (!IsDigit(text[i])) {
            while (end < text.size() && !IsDigit(text[end]))
                ++end;
            const std::size_t at = key.size();
            key.append(text, i, end - i);
            CharUpperBuffW(key.data() + at, static_cast<DWORD>(end - i));
        } else {
            while (end < text.size() && IsDigit(text[end]))
                ++end;
            while (i + 1 < end && text[i] == L'0')
                ++i;
            key += L'0';
            key += static_cast<wchar_t>(end - i);
            key.append(text, i, end - i);
        }
        i = end;
    }
    return key;
}

// How many code units every key begins with alike.
std::size_t SharedStart(const std::vector<std::wstring>& keys) {
    if (keys.empty())
        return 0;
    std::size_t shared = keys.front().size();
    for (const auto& key : keys) {
        shared = std::min(shared, key.size());
        shared = static_cast<std::size_t>(
            std::mismatch(key.begin(), key.begin() + static_cast<std::ptrdiff_t>(shared),
                          keys.front().begin())
                .first -
            key.begin());
    }
    return shared;
}

} // namespace

std::vector<std::size_t> NaturalSortOrder(const std::vector<std::wstring>& texts) {
    std::vector<std::wstring> keys;
    keys.reserve(texts.size());
    for (const auto& text : texts)
        keys.push_back(NaturalKey(text));
    // The paths of one list mostly share their folder: what all keys share decides
    // nothing, and every comparison starts past it.
    const std::size_t shared = SharedStart(keys);
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        if (const int c =
                keys[x].compare(shared, std::wstring::npos, keys[y], shared, std::wstring::npos))
            return c < 0;
        return texts[x].compare(texts[y]) < 0;
    });
    return order;
}
