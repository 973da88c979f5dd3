#include "sets/NameCase.h"

namespace {

// In runs where upper and lower case alternate, the upper case is at the even or
// the odd code point.
char32_t UpperInPairs(char32_t c, bool upperIsEven) {
    return (c % 2 == 0) == upperIsEven ? c : c - 1;
}

char32_t Upper(char32_t c) {
    if (c < 0x80)
        return c >= U'a' && c <= U'z' ? c - 0x20 : c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A))
        return c - 0x20;
    if (c >= 0x100 && c <= 0x137)
        return UpperInPairs(c, true);
    if (c >= 0x139 && c <= 0x148)
        return UpperInPairs(c, false);
    if (c >= 0x14A && c <= 0x177)
        return UpperInPairs(c, true);
    if (c >= 0x179 && c <= 0x17E)
        return UpperInPairs(c, false);
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF))
        return UpperInPairs(c, true);
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    if (c >= 0x561 && c <= 0x586)
        return c - 0x30;
    switch (c) {
    case 0xFF: return 0x178;
    case 0x3C2: return 0x3A3; // final sigma
    case 0x3AC: return 0x386;
    case 0x3AD: return 0x388;
    case 0x3AE: return 0x389;
    case 0x3AF: return 0x38A;
    case 0x3CC: return 0x38C;
    case 0x3CD: return 0x38E;
    case 0x3CE: return 0x38F;
    }
    return c;
}

} // namespace

std::wstring FoldedCase(std::wstring_view text) {
    std::wstring folded(text);
    for (auto& c : folded)
        c = static_cast<wchar_t>(Upper(static_cast<char32_t>(c)));
    return folded;
}

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(static_cast<char32_t>(a[i])) != Upper(static_cast<char32_t>(b[i])))
            return false;
    }
    return true;
}
