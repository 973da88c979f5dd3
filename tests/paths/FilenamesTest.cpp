#include "paths/Filenames.h"
#include "support/TempDir.h"

#include <doctest.h>

namespace {
struct Case {
    const wchar_t* path;
    const wchar_t* expected;
};
} // namespace

TEST_CASE("GetExtension takes what follows the last dot of the whole path") {
    const Case cases[] = {
        {L"C:\\data\\a.tar.gz", L"gz"},
        {L"C:\\data\\readme", L""},
        {L"C:\\data\\file.", L""},
        {L"C:\\data.old\\readme", L"old\\readme"},
        {L"C:\\data.old\\part", L"old\\part"},
        {L".profile", L"profile"},
        {L"", L""},
        {L".", L""},
        {L"C:\\data\\part1.bin", L"bin"},
    };
    for (const auto& c : cases) {
        CAPTURE(ToUtf8(c.path));
        CHECK(GetExtension(c.path) == c.expected);
    }
}

TEST_CASE("GetDirectory keeps everything before the last backslash") {
    const Case cases[] = {
        {L"C:\\data\\a.bin", L"C:\\data"},
        {L"C:\\a.bin", L"C:"},
        {L"C:\\data\\", L"C:\\data\\"},
        {L"C:\\", L"C:\\"},
        {L"a.bin", L""},
        {L"\\a.bin", L""},
        {L"\\", L""},
        {L"x\\y", L"x"},
        {L"\\\\server\\share\\a.bin", L"\\\\server\\share"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        CAPTURE(ToUtf8(c.path));
        CHECK(GetDirectory(c.path) == c.expected);
    }
}

TEST_CASE("GetDrive finds a drive letter or a share root") {
    const Case cases[] = {
        {L"C:\\data\\sub\\a.bin", L"C:"},
        {L"C:\\a.bin", L"C:"},
        {L"C:\\", L"C:"},
        {L"\\\\server\\share\\dir\\a.bin", L"\\\\server\\share"},
        {L"\\\\server\\share\\a.bin", L"\\\\server\\share"},
        {L"\\\\server\\a.bin", L""},
        {L"dir\\a.bin", L""},
        {L"a.bin", L""},
        {L"", L""},
        // Any character before ":\" counts as a drive letter.
        {L"7:\\x\\y", L"7:"},
    };
    for (const auto& c : cases) {
        CAPTURE(ToUtf8(c.path));
        CHECK(GetDrive(c.path) == c.expected);
    }
}
