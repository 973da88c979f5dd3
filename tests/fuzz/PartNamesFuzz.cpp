// Hostile names: each line a path, recognised, checked as one set and described.
#include "sets/ChecksumFile.h"
#include "sets/SetFindings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = DecodeUtf8({reinterpret_cast<const char*>(data), size});
    SetFacts facts;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        facts.paths.push_back(text.substr(start, end - start));
        facts.sizes.push_back(static_cast<double>(end - start) - (start % 3 == 0 ? 1 : 0));
        start = end + 1;
    }
    for (const auto& path : facts.paths) {
        const auto part = RecognisePart(path);
        if (!part)
            continue;
        // A part's own number gives back its own name.
        const auto again = RecognisePart(PartPath(*part, part->number));
        if (!again || again->number != part->number || !InOneSet(*part, *again) ||
            path.substr(path.size() - PartFileName(*part, part->number).size()) !=
                PartFileName(*part, part->number))
            std::abort();
        const auto first = RecognisePart(facts.paths.front());
        if (first && InOneSet(*first, *part) != InOneSet(*part, *first))
            std::abort();
    }
    facts.nextPresent = size % 2 == 1;
    if (size % 3 == 0) {
        facts.expectedTotal = static_cast<double>(size);
        facts.expectedTotalFrom = L"x.crc";
    }
    const auto findings = SetFindings(facts, [](double v) { return std::to_wstring(v); });
    if (const auto set = ListedSet(facts.paths))
        SetQuestion(set->base, findings);
    else if (!findings.empty())
        std::abort();
    return 0;
}
