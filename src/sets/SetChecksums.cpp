#include "sets/SetChecksums.h"

#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "sets/NameCase.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <unordered_map>

namespace {

// The name a checksum line gives, as a bare file name to compare, or nothing when
// it leads elsewhere. "./" and "*" in front are what the tools write for a file
// beside the list.
std::optional<std::wstring> BareName(std::wstring_view name) {
    if (!name.empty() && name.front() == L'*')
        name.remove_prefix(1);
    if (name.size() > 2 && name[0] == L'.' && (name[1] == L'/' || name[1] == L'\\'))
        name.remove_prefix(2);
    if (name.empty() || name.find_first_of(L"/\\:") != std::wstring_view::npos)
        return std::nullopt;
    return FoldedCase(name);
}

std::wstring FileName(const std::wstring& path) {
    return path.substr(path.rfind(L'\\') + 1);
}

std::wstring CrcFileName(const PartName& set) {
    return set.base + L".crc";
}

std::wstring InFolder(const PartName& set, const std::wstring& name) {
    return set.folder.empty() ? name : set.folder + L'\\' + name;
}

} // namespace

std::string ReadChecksumFile(const std::wstring& path) {
    FileHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size))
        return {};
    const bool cut = static_cast<std::uint64_t>(size.QuadPart) > kMaxChecksumFileBytes;
    std::string bytes(cut ? kMaxChecksumFileBytes : static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &read,
                      nullptr))
            return {};
        if (read == 0)
            break;
        got += read;
    }
    bytes.resize(got);
    if (cut)
        bytes.resize(bytes.rfind('\n') == std::string::npos ? 0 : bytes.rfind('\n') + 1);
    return bytes;
}

std::vector<Expected> FindChecksums(const std::vector<std::wstring>& listedPaths,
                                    const PartName& set) {
    if (set.folder.empty())
        return {};
    std::unordered_map<std::wstring, std::vector<std::size_t>> parts;
    for (std::size_t i = 0; i < listedPaths.size(); ++i)
        parts[FoldedCase(FileName(listedPaths[i]))].push_back(i);
    const std::wstring base = FoldedCase(set.base);

    std::vector<std::wstring> files;
    for (const auto& file : ListFolderFiles(set.folder)) {
        const bool otherCrc =
            SameIgnoringCase(file.name.substr(file.name.rfind(L'.') + 1), L"crc") &&
            !SameIgnoringCase(file.name, CrcFileName(set));
        if (IsChecksumFileName(file.name) && !otherCrc)
            files.push_back(file.name);
    }
    std::sort(files.begin(), files.end());

    std::vector<Expected> expected;
    std::set<std::tuple<std::wstring, HashKind, std::optional<std::size_t>, std::string>> seen;
    const auto keep = [&](const std::wstring& path, const ChecksumEntry& entry,
                          std::optional<std::size_t> part) {
        if (seen.emplace(path, entry.kind, part, entry.expected).second)
            expected.push_back({path, entry.kind, part, entry.expected});
    };
    for (const auto& name : files) {
        const std::wstring path = InFolder(set, name);
        ForEachChecksumEntry(name, ReadChecksumFile(path), [&](ChecksumEntry&& entry) {
            const std::optional<std::wstring> bare = BareName(entry.name);
            if (!bare || entry.expected.empty())
                return;
            if (*bare == base)
                keep(path, entry, std::nullopt);
            if (const auto found = parts.find(*bare); found != parts.end()) {
                for (std::size_t index : found->second)
                    keep(path, entry, index);
            }
        });
    }
    return expected;
}

std::optional<ExpectedSize> SizeFromCrcFile(const PartName& set) {
    const std::wstring name = CrcFileName(set);
    for (const auto& entry : ParseChecksumFile(name, ReadChecksumFile(InFolder(set, name)))) {
        const auto bare = BareName(entry.name);
        if (entry.size && bare && *bare == FoldedCase(set.base))
            return ExpectedSize{static_cast<double>(*entry.size), name};
    }
    return std::nullopt;
}
