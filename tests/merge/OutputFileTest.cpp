#include "merge/OutputFile.h"
#include "support/TempDir.h"

#include <doctest.h>

namespace {

// CreateFileW as Windows answers it: a file made over an existing hidden or system
// file without those attributes is refused. Wine allows it.
HANDLE CreateAsWindows(const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                       DWORD attributes) {
    const DWORD existing = GetFileAttributesW(path);
    const bool overwrites = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if (existing != INVALID_FILE_ATTRIBUTES && overwrites &&
        (existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) & ~attributes)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(path, access, share, nullptr, disposition, attributes, nullptr);
}

} // namespace

TEST_CASE("The output takes an older file's place by name, or leaves it as it was") {
    const struct {
        std::string what;
        DWORD attributes; // of the older file; 0: none there
        bool heldOpen;    // by another program, without sharing its deletion
        DWORD error;
    } cases[] = {
        {"no older file", 0, false, 0},
        {"a plain one", FILE_ATTRIBUTE_NORMAL, false, 0},
        {"a hidden one", FILE_ATTRIBUTE_HIDDEN, false, 0},
        {"a system one", FILE_ATTRIBUTE_SYSTEM, false, 0},
        {"a read-only one", FILE_ATTRIBUTE_READONLY, false, ERROR_ACCESS_DENIED},
        {"one open elsewhere", FILE_ATTRIBUTE_NORMAL, true, ERROR_SHARING_VIOLATION},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        TempDir dir;
        const auto path = dir / L"out.bin";
        if (c.attributes) {
            WriteBytes(path, "older");
            SetFileAttributesW(path.c_str(), c.attributes);
        }
        FileHandle holder;
        if (c.heldOpen)
            holder.Reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD error = 0;
        FileHandle output = CreateOutputFile(path, error, CreateAsWindows);
        CHECK(error == c.error);
        CHECK(output.Valid() == (c.error == 0));
        output.Reset();
        holder.Reset();
        constexpr DWORD kept =
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
        CHECK((GetFileAttributesW(path.c_str()) & kept) == (c.error ? c.attributes & kept : 0));
        CHECK(ReadBytes(path) == (c.error ? "older" : ""));
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}
