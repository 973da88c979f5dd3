#include "merge/OutputFile.h"
#include "support/TempDir.h"

#include <doctest.h>

namespace {

// CreateFileW as Windows answers it: a file made over an existing hidden or system
// file without those attributes is refused. Wine allows it.
HANDLE CreateAsWindows(const wchar_t* path, DWORD access, DWORD share, DWORD disposition,
                       DWORD attributes) {
    const DWORD existing = GetFileAttributesW(path);
    if (existing != INVALID_FILE_ATTRIBUTES && disposition == CREATE_ALWAYS &&
        (existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) & ~attributes)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(path, access, share, nullptr, disposition, attributes, nullptr);
}

} // namespace

TEST_CASE("The output takes an older file's place by name, or leaves it as it was") {
    const std::pair<DWORD, DWORD> cases[] = {
        // The older file's attributes (0: none there; ~0: held open by another program
        // without sharing its deletion), the error.
        {0, 0},
        {FILE_ATTRIBUTE_NORMAL, 0},
        {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 0},
        {FILE_ATTRIBUTE_READONLY, ERROR_ACCESS_DENIED},
        {~0u, ERROR_SHARING_VIOLATION},
    };
    for (const auto& [attributes, expected] : cases) {
        CAPTURE(attributes);
        TempDir dir;
        const auto path = dir / L"out.bin";
        FileHandle holder;
        if (attributes) {
            WriteBytes(path, "older");
            if (attributes == ~0u)
                holder.Reset(CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         0, nullptr));
            else
                SetFileAttributesW(path.c_str(), attributes);
        }
        DWORD error = 0;
        FileHandle output = CreateOutputFile(path, error, CreateAsWindows);
        CHECK(error == expected);
        CHECK(output.Valid() == (expected == 0));
        output.Reset();
        holder.Reset();
        const DWORD now = GetFileAttributesW(path.c_str());
        CHECK((now & FILE_ATTRIBUTE_READONLY) ==
              (expected == ERROR_ACCESS_DENIED ? FILE_ATTRIBUTE_READONLY : 0u));
        CHECK((now & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0);
        CHECK(ReadBytes(path) == (expected ? "older" : ""));
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}
