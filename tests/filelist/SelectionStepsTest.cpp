#include "filelist/SelectionSteps.h"
#include "support/TempDir.h"

TEST_CASE("Either way of setting many flags leaves exactly the entries wanted selected") {
    // An x for a selected entry; the steps start from a list with nothing selected.
    for (const std::string pattern : {"", ".", "x", "xx", "x.", ".x", "xx.", ".xx", "x.x", "xx.xx",
                                      "xxxxx", "..x..", "x..xx", ".xxx.x.xx.", "x.xx..xxx.x"}) {
        CAPTURE(pattern);
        std::vector<char> wanted;
        for (char c : pattern)
            wanted.push_back(c == 'x');
        for (const SelectionSteps& steps : {SelectEach(wanted), CutFromAll(wanted)}) {
            std::vector<char> flags(wanted.size(), steps.selectAll);
            for (int i : steps.clear)
                flags.at(static_cast<std::size_t>(i)) = 0;
            for (int i : steps.select)
                flags.at(static_cast<std::size_t>(i)) = 1;
            CHECK(flags == wanted);
        }
    }
}
