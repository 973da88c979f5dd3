#include "filelist/SelectionSteps.h"

#include <doctest.h>

#include <string>
#include <vector>

namespace {

// Flags as a text, an x for a selected entry.
std::vector<char> Flags(const std::string& text) {
    std::vector<char> flags;
    for (char c : text)
        flags.push_back(c == 'x');
    return flags;
}

// What the steps leave selected in a list with nothing selected before.
std::string Applied(const SelectionSteps& steps, std::size_t count) {
    std::string flags(count, steps.selectAll ? 'x' : '.');
    for (int i : steps.clear)
        flags.at(static_cast<std::size_t>(i)) = '.';
    for (int i : steps.select)
        flags.at(static_cast<std::size_t>(i)) = 'x';
    return flags;
}

} // namespace

TEST_CASE("Either way of setting many flags leaves exactly the entries wanted selected") {
    const std::string patterns[] = {"",      ".",     "x",     "xx",         "x.",
                                    ".x",    "xx.",   ".xx",   "x.x",        "xx.xx",
                                    "xxxxx", "..x..", "x..xx", ".xxx.x.xx.", "x.xx..xxx.x"};
    for (const std::string& pattern : patterns) {
        CAPTURE(pattern);
        CHECK(Applied(SelectEach(Flags(pattern)), pattern.size()) == pattern);
        CHECK(Applied(CutFromAll(Flags(pattern)), pattern.size()) == pattern);
    }
}
