#include "sets/SetFindings.h"
#include "support/TempDir.h"

#include <doctest.h>

namespace {

std::wstring Plain(double value) {
    return std::to_wstring(static_cast<long long>(value));
}

SetFacts Listed(const std::vector<std::pair<std::wstring, double>>& parts) {
    SetFacts facts;
    for (const auto& [name, size] : parts) {
        facts.paths.push_back(L"C:\\v\\" + name);
        facts.sizes.push_back(size);
    }
    return facts;
}

const std::wstring kGetAgain = L"Add it to the list; if you do not have it, get it again from "
                               L"where the other parts came from.";
const std::wstring kSameSize = L"All parts but the last one should be the same size, so a part "
                               L"of another size is probably incomplete or damaged: get it again.";

} // namespace

TEST_CASE("A listed set is checked for missing, repeated, misplaced, forgotten and odd parts") {
    const struct {
        SetFacts facts;
        std::vector<std::wstring> findings;
    } cases[] = {
        {Listed({{L"h.001", 10}, {L"h.002", 10}, {L"h.003", 4}}), {}},
        {Listed({{L"h.000", 1}, {L"h.001", 10}, {L"h.002", 10}}), {}}, // a header part
        {Listed({{L"h.001", 10}, {L"other.bin", 5}}), {}},             // no set: no question
        {Listed({{L"h.001", 10}, {L"h.002", 10}, {L"h.004", 4}}),
         {L"\x2022 h.003 is missing. " + kGetAgain}},
        {Listed({{L"h.002", 10}, {L"h.003", 4}}), {L"\x2022 h.001 is missing. " + kGetAgain}},
        {Listed({{L"f.8", 10}, {L"f.9", 10}, {L"f.10", 4}}),
         {L"\x2022 7 parts are missing: f.1, f.2, f.3, f.4, f.5 and 2 more. Add them to the list; "
          L"if you do not have them, get them again from where the other parts came from."}},
        {Listed({{L"h.001", 10}, {L"h.002", 10}, {L"h.002", 10}, {L"h.003", 4}}),
         {L"\x2022 Listed more than once: h.002. Each part belongs in the list once: select the "
          L"extra entries and choose Actions > Remove Files."}},
        {Listed({{L"b.part2", 10}, {L"b.part1", 10}, {L"b.part3", 4}}),
         {L"\x2022 The parts are not in number order: b.part2 comes before b.part1. Sort the "
          L"list with Edit > Sort Files > Ascending."}},
        {Listed({{L"h.001", 10}, {L"h.002", 7}, {L"h.003", 10}, {L"h.004", 4}}),
         {L"\x2022 h.002 has 7 bytes, but h.001 has 10 bytes.\r" + kSameSize}},
        // The size most parts share is the measure, even when the first part is short.
        {Listed({{L"h.001", 5}, {L"h.002", 10}, {L"h.003", 10}, {L"h.004", 12}}),
         {L"\x2022 h.001 has 5 bytes, but h.002 has 10 bytes.\r\x2022 h.004 has 12 bytes, but "
          L"h.002 has 10 bytes.\r" +
          kSameSize}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.facts.paths.front());
        CHECK(SetFindings(c.facts, Plain) == c.findings);
    }
}

TEST_CASE("The question names the last part forgotten and a size the checksum file disagrees "
          "with, and asks whether to merge anyway") {
    SetFacts facts = Listed({{L"movie.mkv.001", 10}, {L"movie.mkv.002", 10}});
    facts.nextPresent = true;
    facts.expectedTotal = 24;
    facts.expectedTotalFrom = L"movie.mkv.crc";
    CHECK(SetQuestion(L"movie.mkv", SetFindings(facts, Plain)) ==
          L"The files in the list are the numbered parts of movie.mkv, a file that was cut into "
          L"pieces. Merging them gives that file back only when every part is listed once, "
          L"complete and in number order. Something is not right:\r\r"
          L"\x2022 movie.mkv.003 is in the same folder but not in the list. It is probably the "
          L"last part: add it to the list.\r\r"
          L"\x2022 movie.mkv.crc, which describes the original file, gives its size as 24 bytes, "
          L"but the parts in the list add up to 20 bytes.\r\r"
          L"If you merge anyway, the merged file will probably not work.\r\rMerge anyway?");
}
