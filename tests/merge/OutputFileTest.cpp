#include "merge/OutputFile.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "support/TempDir.h"

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

HANDLE RefusedCreate(const wchar_t*, DWORD, DWORD, DWORD, DWORD) {
    SetLastError(ERROR_NETWORK_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

} // namespace

TEST_CASE("The output takes an older file's place by name, or leaves it as it was") {
    constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    constexpr DWORD kAllSharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const struct {
        // The older file's attributes (0: none there); the sharing of another program
        // that holds it open (0: nobody); the error expected.
        DWORD attributes, heldSharing, error;
        bool refused; // the system refuses to make the new file
    } cases[] = {
        {0, 0, 0, false},
        {FILE_ATTRIBUTE_NORMAL, 0, 0, false},
        {kHiddenSystem, 0, 0, false},
        {FILE_ATTRIBUTE_READONLY, 0, ERROR_ACCESS_DENIED, false},
        {FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE, ERROR_SHARING_VIOLATION, false},
        // A scanner or an indexer: the older file goes once it lets go.
        {FILE_ATTRIBUTE_NORMAL, kAllSharing, 0, false},
        {kHiddenSystem, 0, ERROR_NETWORK_ACCESS_DENIED, true},
        {FILE_ATTRIBUTE_NORMAL, kAllSharing, ERROR_NETWORK_ACCESS_DENIED, true},
    };
    for (const auto& c : cases) {
        INFO("attributes " << c.attributes << ", held with sharing " << c.heldSharing);
        TempDir dir;
        const auto path = dir / L"out.bin";
        FileHandle holder;
        if (c.attributes) {
            WriteBytes(path, "older");
            SetFileAttributesW(path.c_str(), c.attributes);
        }
        if (c.heldSharing)
            holder.Reset(CreateFileW(path.c_str(), GENERIC_READ, c.heldSharing, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
        DWORD error = 0;
        FileHandle output =
            CreateOutputFile(path, error, c.refused ? RefusedCreate : CreateAsWindows);
        CHECK(error == c.error);
        CHECK(output.Valid() == (c.error == 0));
        output.Reset();
        holder.Reset();
        const DWORD now = GetFileAttributesW(path.c_str());
        // A file kept is kept as it was, attributes and all; a new one has none of them.
        CHECK((now & (FILE_ATTRIBUTE_READONLY | kHiddenSystem)) ==
              (c.error && c.attributes ? c.attributes & ~FILE_ATTRIBUTE_NORMAL : 0u));
        CHECK(ReadBytes(path) == (c.error && c.attributes ? "older" : ""));
        CHECK(static_cast<int>(ListFolderFiles(dir.Path()).size()) ==
              (c.attributes || c.error == 0 ? 1 : 0)); // nothing left aside
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}
