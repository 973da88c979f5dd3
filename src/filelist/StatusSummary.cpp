#include "filelist/StatusSummary.h"

#include <windows.h>

#include <cmath>

namespace {

std::wstring LocaleText(LCTYPE type) {
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text.data(), length);
    text.resize(static_cast<std::size_t>(length - 1));
    return text;
}

// "3;0" -> 3, "3;2;0" -> 32, "3" -> 30: the grouping as NUMBERFMTW wants it.
UINT GroupingValue(const std::wstring& grouping) {
    UINT value = 0;
    for (wchar_t c : grouping)
        if (c >= L'0' && c <= L'9')
            value = value * 10 + static_cast<UINT>(c - L'0');
    const bool repeats =
        grouping.size() >= 2 && grouping.compare(grouping.size() - 2, 2, L";0") == 0;
    return repeats ? value / 10 : value * 10;
}

} // namespace

std::wstring FormatNumber(double value) {
    const std::wstring digits = std::to_wstring(std::llround(value));
    std::wstring decimal = LocaleText(LOCALE_SDECIMAL);
    std::wstring thousand = LocaleText(LOCALE_STHOUSAND);
    NUMBERFMTW format{};
    format.NumDigits = 0;
    format.LeadingZero = 1; // or zero itself comes out empty
    format.Grouping = GroupingValue(LocaleText(LOCALE_SGROUPING));
    format.lpDecimalSep = decimal.data();
    format.lpThousandSep = thousand.data();
    format.NegativeOrder = 1; // "-1"
    const int length =
        GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), &format, nullptr, 0);
    if (length <= 0)
        return digits;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), &format, text.data(), length);
    text.resize(static_cast<std::size_t>(length - 1));
    return text;
}

std::wstring BuildStatusSummary(int count, double totalBytes) {
    return std::to_wstring(count) + L" files (" + FormatNumber(totalBytes) + L" Bytes)";
}
