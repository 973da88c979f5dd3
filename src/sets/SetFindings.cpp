#include "sets/SetFindings.h"

#include <algorithm>
#include <map>

namespace {

// A list of names is cut after this many, the rest counted.
constexpr std::size_t kNamesShown = 5;

std::wstring FileName(const std::wstring& path) {
    return path.substr(path.rfind(L'\\') + 1);
}

// "a, b, c" or "a, b, c, d, e and 7 more".
std::wstring NameList(const std::vector<std::wstring>& names, std::uint64_t count,
                      const NumberFormat& format) {
    std::wstring text;
    for (const auto& name : names)
        text += (text.empty() ? L"" : L", ") + name;
    if (count > names.size())
        text += L" and " + format(static_cast<double>(count - names.size())) + L" more";
    return text;
}

struct Listed {
    std::uint64_t number;
    std::wstring name; // as listed
    double size;
};

// The listed parts in number order, each number once, as first listed.
std::vector<Listed> ByNumber(const std::vector<Listed>& listed) {
    std::vector<Listed> sorted = listed;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Listed& a, const Listed& b) { return a.number < b.number; });
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [](const Listed& a, const Listed& b) { return a.number == b.number; }),
                 sorted.end());
    return sorted;
}

std::optional<std::wstring> Missing(const PartName& set, const std::vector<Listed>& parts,
                                    const NumberFormat& format) {
    // Numbering starts at 1: a list that starts later lacks its first parts too. A
    // part 0 is a header that only some splitters write, never missed.
    std::uint64_t expected = std::min<std::uint64_t>(parts.front().number, 1);
    std::uint64_t count = 0;
    std::vector<std::wstring> names;
    for (const auto& part : parts) {
        for (std::uint64_t n = expected; n < part.number && names.size() < kNamesShown; ++n)
            names.push_back(PartFileName(set, n));
        count += part.number - expected;
        expected = part.number + 1;
    }
    if (count == 0)
        return std::nullopt;
    if (count == 1)
        return L"\x2022 " + names.front() +
               L" is missing. Add it to the list; if you do not have it, get it again from "
               L"where the other parts came from.";
    return L"\x2022 " + format(static_cast<double>(count)) + L" parts are missing: " +
           NameList(names, count, format) +
           L". Add them to the list; if you do not have them, get them again from where the "
           L"other parts came from.";
}

std::optional<std::wstring> Repeated(const std::vector<Listed>& listed,
                                     const NumberFormat& format) {
    std::map<std::uint64_t, std::pair<std::wstring, int>> seen;
    for (const auto& part : listed) {
        auto& entry = seen[part.number];
        if (entry.second++ == 0)
            entry.first = part.name;
    }
    std::vector<std::wstring> names;
    std::uint64_t count = 0;
    for (const auto& [number, entry] : seen) {
        if (entry.second > 1 && count++ < kNamesShown)
            names.push_back(entry.first);
    }
    if (count == 0)
        return std::nullopt;
    return L"\x2022 Listed more than once: " + NameList(names, count, format) +
           L". Each part belongs in the list once: select the extra entries and choose "
           L"Actions > Remove Files.";
}

std::optional<std::wstring> OutOfOrder(const std::vector<Listed>& listed) {
    for (std::size_t i = 1; i < listed.size(); ++i) {
        if (listed[i].number < listed[i - 1].number)
            return L"\x2022 The parts are not in number order: " + listed[i - 1].name +
                   L" comes before " + listed[i].name +
                   L". Sort the list with Edit > Sort Files > Ascending.";
    }
    return std::nullopt;
}

std::wstring NextForgotten(const PartName& set, const std::vector<Listed>& parts) {
    return L"\x2022 " + PartFileName(set, parts.back().number + 1) +
           L" is in the same folder but not in the list. It is probably the last part: add it "
           L"to the list.";
}

// A splitter cuts every part but the last to one size. The size most parts share is
// taken as that size, so that one short part is named even when it is the first.
std::optional<std::wstring> WrongSizes(const std::vector<Listed>& parts,
                                       const NumberFormat& format) {
    const std::uint64_t last = parts.back().number;
    std::map<double, std::size_t> counts;
    for (const auto& part : parts) {
        if (part.number != 0 && part.number != last && part.size >= 0)
            ++counts[part.size];
    }
    const Listed* reference = nullptr;
    for (const auto& part : parts) {
        if (part.number == 0 || part.number == last || part.size < 0)
            continue;
        if (!reference || counts[part.size] > counts[reference->size])
            reference = &part;
    }
    if (!reference)
        return std::nullopt;
    std::vector<std::wstring> lines;
    std::size_t count = 0;
    for (const auto& part : parts) {
        if (part.number == 0 || part.size < 0 || part.size == reference->size ||
            (part.number == last && part.size < reference->size))
            continue;
        if (count++ < kNamesShown)
            lines.push_back(L"\x2022 " + part.name + L" has " + format(part.size) +
                            L" bytes, but " + reference->name + L" has " + format(reference->size) +
                            L" bytes.");
    }
    if (count == 0)
        return std::nullopt;
    std::wstring text;
    for (const auto& line : lines)
        text += line + L"\r";
    if (count > lines.size())
        text += L"\x2022 " + format(static_cast<double>(count - lines.size())) +
                L" more parts have another size too.\r";
    return text +
           L"All parts but the last one should be the same size, so a part of another size is "
           L"probably incomplete or damaged: get it again.";
}

std::optional<std::wstring> WrongTotal(const SetFacts& facts, const std::vector<Listed>& listed,
                                       const NumberFormat& format) {
    double total = 0;
    for (const auto& part : listed) {
        if (part.size < 0)
            return std::nullopt;
        total += part.size;
    }
    if (total == *facts.expectedTotal)
        return std::nullopt;
    return L"\x2022 " + facts.expectedTotalFrom + L", which describes the original file, gives " +
           L"its size as " + format(*facts.expectedTotal) + L" bytes, but the parts in the list " +
           L"add up to " + format(total) + L" bytes.";
}

} // namespace

std::optional<PartName> ListedSet(const std::vector<std::wstring>& paths) {
    std::vector<PartName> parts;
    for (const auto& path : paths) {
        auto part = RecognisePart(path);
        if (!part)
            return std::nullopt;
        parts.push_back(std::move(*part));
    }
    if (parts.empty())
        return std::nullopt;
    const auto lowest =
        std::min_element(parts.begin(), parts.end(), [](const PartName& a, const PartName& b) {
            return a.number != b.number ? a.number < b.number : a.width < b.width;
        });
    for (const auto& part : parts) {
        if (!InOneSet(part, *lowest) || !BelongsTo(part, *lowest))
            return std::nullopt;
    }
    return *lowest;
}

std::vector<std::wstring> SetFindings(const SetFacts& facts, const NumberFormat& format) {
    const std::optional<PartName> set = ListedSet(facts.paths);
    if (!set)
        return {};
    std::vector<Listed> listed;
    for (std::size_t i = 0; i < facts.paths.size(); ++i)
        listed.push_back({RecognisePart(facts.paths[i])->number, FileName(facts.paths[i]),
                          i < facts.sizes.size() ? facts.sizes[i] : -1.0});
    const std::vector<Listed> parts = ByNumber(listed);
    std::vector<std::wstring> findings;
    const auto add = [&](std::optional<std::wstring> finding) {
        if (finding)
            findings.push_back(std::move(*finding));
    };
    add(Missing(*set, parts, format));
    add(Repeated(listed, format));
    add(OutOfOrder(listed));
    if (facts.nextPresent)
        findings.push_back(NextForgotten(*set, parts));
    add(WrongSizes(parts, format));
    if (facts.expectedTotal)
        add(WrongTotal(facts, listed, format));
    return findings;
}

std::wstring SetQuestion(const std::wstring& base, const std::vector<std::wstring>& findings) {
    std::wstring text = L"The files in the list are the numbered parts of " + base +
                        L", a file that was cut into pieces. Merging them gives that file back "
                        L"only when every part is listed once, complete and in number order. "
                        L"Something is not right:";
    for (const auto& finding : findings)
        text += L"\r\r" + finding;
    return text + L"\r\rIf you merge anyway, the merged file will probably not work.\r\r"
                  L"Merge anyway?";
}
