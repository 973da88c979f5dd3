#include "filelist/NaturalOrder.h"
#include "support/Fixture.h"

TEST_CASE("Paths sort by the value of their numbers and regardless of letter case") {
    // In natural order, one to a line; equal-looking texts by their exact characters.
    const Texts sorted = Words(LR"(C:\d
C:\d9\a
C:\d10\a
C:\d\x
C:\d\x.bin
C:\d\x0
C:\d\x00
C:\d\x2a
C:\d\X2b
C:\d\x2B
C:\d\x2b
C:\d\x5
C:\d\x007
C:\d\x7
c:\D\X7
C:\d\x10
C:\d\x99999999999999999999
C:\d\x100000000000000000000
C:\d\x_)");
    std::vector<std::wstring> shuffled; // by a stride prime to the count
    for (std::size_t i = 0; i < sorted.size(); ++i)
        shuffled.push_back(sorted[(i * 7) % sorted.size()]);
    std::vector<std::wstring> result;
    for (std::size_t from : NaturalSortOrder(shuffled))
        result.push_back(shuffled[from]);
    CHECK(result == sorted);
}
