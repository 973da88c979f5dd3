#include "platform/FileSystem.h"

#include "paths/LongPaths.h"
#include "paths/Sysnative.h"
#include "platform/Handles.h"
#include "platform/SystemCalls.h"

namespace {

// Windows file names cannot hold wildcards, but a lookup would expand them and
// find some other file; such a path names nothing. A "\\?\" prefix is not one.
bool HasWildcard(const std::wstring& path) {
    const std::size_t start = path.rfind(L"\\\\?\\", 0) == 0 ? 4 : 0;
    return path.find_first_of(L"*?", start) != std::wstring::npos;
}

// The Windows folder where the system redirects this program's System32 (a 32-bit
// program on 64-bit Windows); empty where it redirects nothing.
const std::wstring& RedirectedWindowsDirectory() {
    static const std::wstring folder = [] {
        BOOL wow64 = FALSE;
        if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64)
            return std::wstring();
        return GrowingText(
            [](wchar_t* buffer, DWORD size) { return GetSystemWindowsDirectoryW(buffer, size); });
    }();
    return folder;
}

} // namespace

double SizeFromHalves(DWORD high, DWORD low) {
    constexpr double kTwoTo32 = 4294967296.0;
    return static_cast<double>(high) * kTwoTo32 + low;
}

std::wstring CurrentDirectory() {
    return GrowingText(
        [](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
}

std::wstring SystemPath(const std::wstring& path) {
    std::wstring form = path;
    // A name from a drop or a dialog exists as it is written: the system, reading the
    // path itself, would drop a dot or blank that ends it and reach another file.
    if (!HasLongPathPrefix(path) && HasNameEndingInDotOrBlank(path))
        form = ExactPathForm(path, CurrentDirectory());
    else if (path.size() >= kMaxPath)
        form = LongPathForm(path, CurrentDirectory());
    const std::wstring& windows = RedirectedWindowsDirectory();
    return windows.empty() ? form : SysnativePath(form, windows);
}

Lookup LookUpFile(const std::wstring& path, double* size) {
    if (path.empty() || HasWildcard(path))
        return Lookup::NotFound;
    // Asks for the one entry by name: a search by pattern would read the whole
    // folder on some file systems, once per listed file.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data)) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY: return Lookup::NotFound;
        default: return Lookup::Failed;
        }
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return Lookup::NotFound;
    if (size)
        *size = SizeFromHalves(data.nFileSizeHigh, data.nFileSizeLow);
    return Lookup::Found;
}

std::vector<FolderFile> ListFolderFiles(const std::wstring& folder) {
    std::vector<FolderFile> files;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileExW(SystemPath(folder + L"\\*.*").c_str(), FindExInfoBasic, &data,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find)
        return files;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(
                {data.cFileName, SizeFromHalves(data.nFileSizeHigh, data.nFileSizeLow)});
    } while (FindNextFileW(find.Get(), &data));
    return files;
}
