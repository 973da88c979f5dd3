#include "app/FormatNumber.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <iterator>

namespace {

std::wstring LocaleText(const wchar_t* locale, LCTYPE type) {
    const int length = GetLocaleInfoEx(locale, type, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    GetLocaleInfoEx(locale, type, text.data(), length);
    text.resize(static_cast<std::size_t>(length - 1));
    return text;
}

} // namespace

std::wstring FormatNumber(double value, const wchar_t* locale) {
    const std::wstring digits = std::to_wstring(std::llround(value));
    std::wstring decimal = LocaleText(locale, LOCALE_SDECIMAL);
    std::wstring thousand = LocaleText(locale, LOCALE_STHOUSAND);
    NUMBERFMTW format{};
    format.NumDigits = 0;
    format.LeadingZero = 1; // or zero itself comes out empty
    // Thousands, always: the locale gives the separator, not the size of the groups.
    format.Grouping = 3;
    format.lpDecimalSep = decimal.data();
    format.lpThousandSep = thousand.data();
    format.NegativeOrder = 1; // "-1"
    const int length = GetNumberFormatEx(locale, 0, digits.c_str(), &format, nullptr, 0);
    if (length <= 0)
        return digits;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    GetNumberFormatEx(locale, 0, digits.c_str(), &format, text.data(), length);
    text.resize(static_cast<std::size_t>(length - 1));
    return text;
}

std::wstring FormatErrorCode(unsigned long code) {
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"0x%04lX", code);
    return text;
}
