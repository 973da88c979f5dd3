#include "platform/HugeFileFunctions.h"

#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/SystemCalls.h"

#include <iterator>

namespace {

// Reads a 32-bit half as the unsigned value the system meant.
double ULongToDouble(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

// The older query by clusters, for systems without the 64-bit one.
double GetFreeSpaceByClusters(const std::wstring& rootPath) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(SystemPath(rootPath).c_str(), &sectorsPerCluster, &bytesPerSector,
                           &freeClusters, &totalClusters))
        return -1;
    return ULongToDouble(static_cast<std::int32_t>(bytesPerSector)) *
           ULongToDouble(static_cast<std::int32_t>(sectorsPerCluster)) *
           ULongToDouble(static_cast<std::int32_t>(freeClusters));
}

} // namespace

double GetHugeFileSize(const std::wstring& path) {
    FileHandle file(CreateFileW(SystemPath(path).c_str(), 0, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return -1;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return -1;
    return SizeFromHalves(static_cast<DWORD>(size.HighPart), size.LowPart);
}

double GetHugeFreeSpace(const std::wstring& rootPath) {
    using FreeSpaceEx = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    const auto freeSpaceEx = SystemFunction<FreeSpaceEx>(L"kernel32.dll", "GetDiskFreeSpaceExW");
    if (!freeSpaceEx)
        return GetFreeSpaceByClusters(rootPath);

    ULARGE_INTEGER available{}, total{}, totalFree{};
    if (!freeSpaceEx(SystemPath(rootPath).c_str(), &available, &total, &totalFree))
        return -1;
    return SizeFromHalves(available.HighPart, available.LowPart);
}

std::wstring GetErrorText(DWORD code) {
    // A message longer than this buffer is not stored at all and reads as unknown.
    wchar_t buffer[256];
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                       buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    if (length == 0)
        return L"Unknown Error.";
    return std::wstring(buffer, length);
}
