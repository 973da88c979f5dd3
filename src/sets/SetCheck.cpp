#include "sets/SetCheck.h"

#include "app/FormatNumber.h"
#include "platform/FileSystem.h"
#include "sets/SetChecksums.h"

#include <algorithm>

std::optional<SetFacts> GatherSetFacts(const std::vector<std::wstring>& paths,
                                       const std::vector<double>& sizes) {
    const std::optional<PartName> set = ListedSet(paths);
    if (!set)
        return std::nullopt;
    std::uint64_t highest = 0;
    for (const auto& path : paths)
        highest = std::max(highest, RecognisePart(path)->number);
    SetFacts facts;
    facts.paths = paths;
    facts.sizes = sizes;
    facts.nextPresent = IsFilePresent(PartPath(*set, highest + 1));
    if (const auto size = SizeFromCrcFile(*set)) {
        facts.expectedTotal = size->bytes;
        facts.expectedTotalFrom = size->from;
    }
    return facts;
}

std::wstring SetCheckQuestion(const std::vector<std::wstring>& paths,
                              const std::vector<double>& sizes) {
    const std::optional<SetFacts> facts = GatherSetFacts(paths, sizes);
    if (!facts)
        return {};
    const std::vector<std::wstring> findings =
        SetFindings(*facts, [](double value) { return FormatNumber(value); });
    return findings.empty() ? std::wstring() : SetQuestion(ListedSet(paths)->base, findings);
}
