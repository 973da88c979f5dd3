#include "support/TempDir.h"

#include "platform/Handles.h"

#include <winioctl.h>

#include <algorithm>
#include <atomic>

namespace {

// Walks the tree through the "\\?\" form itself: the shell's delete cannot reach past
// 260 characters and, under Wine, then deletes entries of the current folder instead.
// Links are removed, never followed.
void RemoveTree(const std::wstring& path) {
    const std::wstring full = path.rfind(L"\\\\?\\", 0) == 0 ? path : L"\\\\?\\" + path;
    WIN32_FIND_DATAW entry;
    const FindHandle find(FindFirstFileW((full + L"\\*").c_str(), &entry));
    if (find.Valid()) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = full + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            const DWORD kind = entry.dwFileAttributes;
            if (!(kind & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(child.c_str());
            else if (kind & FILE_ATTRIBUTE_REPARSE_POINT)
                RemoveDirectoryW(child.c_str());
            else
                RemoveTree(child);
        } while (FindNextFileW(find.Get(), &entry));
    }
    RemoveDirectoryW(full.c_str());
}

FileHandle OpenAt(const std::wstring& path, DWORD access, DWORD disposition, std::int64_t offset) {
    FileHandle file(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    REQUIRE(file.Valid());
    REQUIRE(SetFilePointerEx(file.Get(), LARGE_INTEGER{.QuadPart = offset}, nullptr, FILE_BEGIN));
    return file;
}

void WriteAt(const std::wstring& path, DWORD disposition, std::int64_t offset,
             const std::string& bytes) {
    DWORD written = 0;
    REQUIRE(WriteFile(OpenAt(path, GENERIC_WRITE, disposition, offset).Get(), bytes.data(),
                      static_cast<DWORD>(bytes.size()), &written, nullptr));
    REQUIRE(written == bytes.size());
}

} // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::wstring base(GetTempPathW(0, nullptr), L'\0');
    base.resize(GetTempPathW(static_cast<DWORD>(base.size()), base.data()));
    path_ = base + L"vmtest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++);
    RemoveTree(path_); // left over from an earlier process of the same id
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

std::wstring WriteBytes(const std::wstring& path, const std::string& bytes) {
    WriteAt(path, CREATE_ALWAYS, 0, bytes);
    return path;
}

bool MakeSparseFile(const std::wstring& path, std::int64_t size,
                    const std::vector<std::pair<std::int64_t, std::string>>& marks) {
    FileHandle file = OpenAt(path, GENERIC_WRITE, CREATE_ALWAYS, size);
    DWORD ignored = 0;
    DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    if (!SetEndOfFile(file.Get()))
        return false;
    for (const auto& [offset, text] : marks)
        WriteAt(path, OPEN_EXISTING, offset, text);
    return true;
}

std::string ReadBytes(const std::wstring& path, std::int64_t offset, std::size_t count) {
    FileHandle file = OpenAt(path, GENERIC_READ, OPEN_EXISTING, offset);
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (bytes.size() < count &&
           ReadFile(file.Get(), buffer,
                    static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, count - bytes.size())),
                    &got, nullptr) &&
           got > 0)
        bytes.append(buffer, got);
    return bytes;
}

std::string Pattern(std::size_t n, unsigned seed) {
    std::string bytes(n, '\0');
    unsigned x = seed * 2654435761u + 1;
    for (auto& b : bytes)
        b = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
    return bytes;
}

std::string ToUtf8(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                   out.data(), static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}
