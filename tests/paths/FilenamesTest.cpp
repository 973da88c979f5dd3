#include "paths/Filenames.h"
#include "support/TempDir.h"

// The extension is what follows the last dot of the whole path, the directory what
// comes before the last backslash, the drive a letter (any character before ":\")
// or a share's root.
TEST_CASE("A path splits into extension, directory and drive") {
    const struct {
        std::wstring path, extension, directory, drive;
    } cases[] = {
        {L"C:\\data\\part1.bin", L"bin", L"C:\\data", L"C:"},
        {L"C:\\data\\a.tar.gz", L"gz", L"C:\\data", L"C:"},
        {L"C:\\data\\file.", L"", L"C:\\data", L"C:"},
        {L"C:\\data.old\\part", L"old\\part", L"C:\\data.old", L"C:"},
        {L"C:\\a.bin", L"bin", L"C:", L"C:"},
        {L"C:\\data\\", L"", L"C:\\data\\", L"C:"},
        {L"C:\\", L"", L"C:\\", L"C:"},
        {L"\\\\server\\share\\dir\\a.bin", L"bin", L"\\\\server\\share\\dir", L"\\\\server\\share"},
        {L"\\\\server\\a.bin", L"bin", L"\\\\server", L""},
        {L"a.bin", L"bin", L"", L""},
        {L"\\a.bin", L"bin", L"", L""},
        {L".profile", L"profile", L"", L""},
        {L"", L"", L"", L""},
    };
    for (const auto& c : cases) {
        CAPTURE(c.path);
        CHECK(GetExtension(c.path) == c.extension);
        CHECK(GetDirectory(c.path) == c.directory);
        CHECK(GetDrive(c.path) == c.drive);
    }
}
