#include "merge/FileIdentity.h"

#include "platform/Handles.h"

namespace {

// Opens any file or folder only to look at it: no data rights, so neither sharing
// nor a lock of another program stands in the way.
FileHandle OpenForQuery(const std::wstring& path) {
    return FileHandle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::optional<FileIdentity> IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info))
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

template <typename Call> std::wstring GrowingCall(Call call) {
    std::wstring text(260, L'\0');
    for (;;) {
        const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0)
            return {};
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length);
    }
}

std::wstring FullPath(const std::wstring& path) {
    return GrowingCall([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
}

std::wstring LongPath(const std::wstring& path) {
    return GrowingCall(
        [&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(path.c_str(), buffer, size); });
}

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

std::optional<FileIdentity> IdentifyFile(const std::wstring& path) {
    const FileHandle file = OpenForQuery(path);
    if (!file)
        return std::nullopt;
    return IdentityOf(file.Get());
}

std::wstring NormalisePath(const std::wstring& path) {
    std::wstring full = FullPath(path);
    if (full.empty())
        return path;
    if (std::wstring whole = LongPath(full); !whole.empty())
        return whole;
    // A file that does not exist yet: its folder may still have a short name.
    const auto slash = full.rfind(L'\\');
    if (slash == std::wstring::npos || slash == 0)
        return full;
    const std::wstring folder = LongPath(full.substr(0, slash + 1));
    if (folder.empty())
        return full;
    return (folder.back() == L'\\' ? folder : folder + L'\\') + full.substr(slash + 1);
}

SameFileTest::SameFileTest(std::wstring output)
    : output_(std::move(output)), normalised_(NormalisePath(output_)),
      identity_(IdentifyFile(output_)) {}

bool SameFileTest::IsOutput(const std::wstring& input) const {
    if (input == output_ || EqualIgnoringCase(NormalisePath(input), normalised_))
        return true;
    if (!identity_)
        return false;
    const auto identity = IdentifyFile(input);
    return identity && *identity == *identity_;
}

double SpaceFreedByReplacing(const std::wstring& path, const std::wstring& root) {
    const FileHandle file = OpenForQuery(path);
    if (!file)
        return 0;
    const auto identity = IdentityOf(file.Get());
    DWORD rootVolume = 0;
    if (!identity ||
        !GetVolumeInformationW(root.c_str(), nullptr, 0, &rootVolume, nullptr, nullptr, nullptr,
                               0) ||
        identity->volume != rootVolume)
        return 0;
    // What the file takes on the disk: a sparse file gives back less than its size.
    FILE_STANDARD_INFO info{};
    if (!GetFileInformationByHandleEx(file.Get(), FileStandardInfo, &info, sizeof(info)) ||
        info.Directory)
        return 0;
    return static_cast<double>(info.AllocationSize.QuadPart);
}
