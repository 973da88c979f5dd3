#include "sets/SetListing.h"

#include "platform/FileSystem.h"
#include "sets/NameCase.h"
#include "sets/PartNames.h"

#include <algorithm>

namespace {

struct Found {
    std::uint64_t number;
    ListedPart part;
};

} // namespace

std::vector<ListedPart> FollowingParts(const std::wstring& path) {
    const std::optional<PartName> start = RecognisePart(path);
    if (!start || start->folder.empty())
        return {};
    const std::wstring startName = path.substr(path.rfind(L'\\') + 1);
    bool startListed = false;
    std::vector<Found> following;
    for (auto& file : ListFolderFiles(start->folder)) {
        if (SameIgnoringCase(file.name, startName)) {
            startListed = true;
            continue;
        }
        std::optional<PartName> part = RecognisePart(file.name);
        if (!part || part->number == 0)
            continue;
        part->folder = start->folder;
        if (!InOneSet(*part, *start))
            continue;
        if (part->number < start->number)
            return {}; // not the set's first part
        if (part->number > start->number && BelongsTo(*part, *start))
            following.push_back(
                {part->number, {start->folder + L'\\' + std::move(file.name), file.size}});
    }
    if (!startListed)
        return {};
    std::sort(following.begin(), following.end(), [](const Found& a, const Found& b) {
        return a.number != b.number ? a.number < b.number : a.part.path < b.part.path;
    });
    std::vector<ListedPart> parts;
    parts.reserve(following.size());
    for (auto& found : following)
        parts.push_back(std::move(found.part));
    return parts;
}
