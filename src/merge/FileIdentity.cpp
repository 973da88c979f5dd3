#include "merge/FileIdentity.h"

#include "paths/LongPaths.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/SystemCalls.h"

#include <algorithm>
#include <cstring>

namespace {

// Opens any file or folder only to look at it: no data rights, so neither sharing
// nor a lock of another program stands in the way.
FileHandle OpenForQuery(const std::wstring& path, DWORD flags = 0) {
    return FileHandle(CreateFileW(SystemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
}

std::optional<FileIdentity> IdentityOf(HANDLE file) {
    FileIdentity identity;
    FILE_ID_INFO idInfo{};
    if (GetFileInformationByHandleEx(file, FileIdInfo, &idInfo, sizeof idInfo)) {
        identity.volume = idInfo.VolumeSerialNumber;
        std::memcpy(identity.id.data(), idInfo.FileId.Identifier, identity.id.size());
        return identity;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info))
        return std::nullopt;
    identity.volume = info.dwVolumeSerialNumber;
    const ULONGLONG index = static_cast<ULONGLONG>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    std::memcpy(identity.id.data(), &index, sizeof index);
    return identity;
}

std::wstring FullPath(const std::wstring& path) {
    // The system resolves no more than MAX_PATH characters, and drops a dot or blank
    // that ends a name: such paths are resolved by text.
    if (path.size() >= kMaxPath || HasNameEndingInDotOrBlank(path))
        return WithoutLongPathPrefix(SystemPath(path));
    return GrowingText([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
}

std::wstring LongPath(const std::wstring& path) {
    const std::wstring asked = SystemPath(path);
    return WithoutLongPathPrefix(GrowingText([&](wchar_t* buffer, DWORD size) {
        return GetLongPathNameW(asked.c_str(), buffer, size);
    }));
}

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    return a == b && std::any_of(a.id.begin(), a.id.end(), [](BYTE byte) { return byte != 0; });
}

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

namespace {

bool IsAbsent(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data))
        return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool Known(const std::optional<FileIdentity>& identity) {
    return identity && SameFile(*identity, *identity);
}

} // namespace

SameFileTest::SameFileTest(std::wstring output, Identify identify)
    : identify_(identify), output_(std::move(output)), outputAbsent_(IsAbsent(output_)) {
    if (!outputAbsent_) {
        normalised_ = NormalisePath(output_);
        identity_ = identify_(output_);
    }
}

bool SameFileTest::IsOutput(const std::wstring& input) const {
    return IsOutput(input, INVALID_HANDLE_VALUE);
}

bool SameFileTest::IsOutput(const std::wstring& input, HANDLE opened) const {
    if (input == output_)
        return true;
    if (outputAbsent_)
        return false;
    const bool fromHandle = opened != INVALID_HANDLE_VALUE && opened && identify_ == IdentifyFile;
    return Decide(input, fromHandle ? IdentityOf(opened) : identify_(input));
}

bool SameFileTest::Decide(const std::wstring& input,
                          const std::optional<FileIdentity>& identity) const {
    // Identities settle it where the file system gives them; the names, whose
    // normalising asks the system about every folder on the way, only where not.
    if (Known(identity_) && Known(identity))
        return SameFile(*identity, *identity_);
    return EqualIgnoringCase(NormalisePath(input), normalised_);
}

double SpaceFreedByReplacing(const std::wstring& path) {
    // The name itself, not what a link points to: that stays. The file lies in the
    // output's folder, so on the volume whose free space was asked for.
    const FileHandle file = OpenForQuery(path, FILE_FLAG_OPEN_REPARSE_POINT);
    if (!file)
        return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        info.nNumberOfLinks != 1)
        return 0;
    // What the file takes on the disk: a sparse file gives back less than its size.
    FILE_STANDARD_INFO standard{};
    if (!GetFileInformationByHandleEx(file.Get(), FileStandardInfo, &standard, sizeof standard))
        return 0;
    return static_cast<double>(standard.AllocationSize.QuadPart);
}
