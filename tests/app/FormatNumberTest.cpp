#include "app/FormatNumber.h"
#include "support/TempDir.h"

// The locale gives the separator; the groups are thousands in every locale.
TEST_CASE("Numbers show rounded, grouped in thousands with the locale's separator") {
    const struct {
        double value;
        const wchar_t *locale, *shown;
    } cases[] = {{0, L"en-US", L"0"},
                 {999.5, L"en-US", L"1,000"},
                 {1018, L"en-US", L"1,018"},
                 {6442450962.0, L"en-US", L"6,442,450,962"},
                 {1234567, L"de-DE", L"1.234.567"},
                 {1234567, L"en-IN", L"1,234,567"}};
    for (const auto& c : cases)
        CHECK(FormatNumber(c.value, c.locale) == c.shown);
    CHECK(FormatErrorCode(0x3003) + FormatErrorCode(5) == L"0x30030x0005");
}
