#include "paths/LongPaths.h"
#include "paths/Sysnative.h"
#include "support/TempDir.h"

// A long path goes to the file functions in its extended form, resolved first, since
// the prefix turns the system's own resolution off; the rest stays as it is.
TEST_CASE("A path past MAX_PATH, or with a name ending in a dot or blank, takes the \\\\?\\ form") {
    const std::wstring cwd = L"C:\\work";
    const std::wstring deep = std::wstring(140, L'd') + L"\\" + std::wstring(140, L'e');
    const auto fill = [](std::size_t length, const std::wstring& head) {
        return head + std::wstring(length - head.size(), L'f');
    };
    const struct {
        std::string what;
        std::wstring path, form;
    } cases[] = {
        {"a short path", L"C:\\a\\..\\b.bin", L"C:\\a\\..\\b.bin"},
        {"exactly at the limit", fill(259, L"C:\\"), fill(259, L"C:\\")},
        {"just past it", fill(260, L"C:\\"), L"\\\\?\\" + fill(260, L"C:\\")},
        {"a share", L"\\\\server\\share\\" + deep, L"\\\\?\\UNC\\server\\share\\" + deep},
        {"already prefixed", L"\\\\?\\C:\\" + deep + L"\\..\\x",
         L"\\\\?\\C:\\" + deep + L"\\..\\x"},
        {"with . and ..", L"C:\\" + deep + L"\\.\\gone\\..\\x.bin",
         L"\\\\?\\C:\\" + deep + L"\\x.bin"},
        {".. above the root", L"C:\\..\\..\\" + deep, L"\\\\?\\C:\\" + deep},
        {"/ and doubled separators",
         L"C:/" + std::wstring(140, L'd') + L"//" + std::wstring(140, L'e') + L"/x/",
         L"\\\\?\\C:\\" + deep + L"\\x\\"},
        {"a name ending in dots and blanks", L"C:\\" + deep + L"\\x.bin. .",
         L"\\\\?\\C:\\" + deep + L"\\x.bin"},
        {"relative", deep, L"\\\\?\\C:\\work\\" + deep},
        {"from the current drive", L"c:" + deep, L"\\\\?\\C:\\work\\" + deep},
        {"short once resolved", L"C:\\a\\" + deep + L"\\..\\..\\b.bin", L"C:\\a\\b.bin"},
        {"a server without a share", L"\\\\" + std::wstring(300, L's'),
         L"\\\\" + std::wstring(300, L's')},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        CHECK(LongPathForm(c.path, cwd) == c.form);
    }
    // A name that ends in a dot or a blank is kept as written, at any length: the
    // system would drop the dot or blank and reach another file.
    const std::pair<std::wstring, std::wstring> exact[] = {
        {L"C:\\d\\t.bin.", L"\\\\?\\C:\\d\\t.bin."},
        {L"C:\\d\\t.bin ", L"\\\\?\\C:\\d\\t.bin "},
        {L"C:\\d.\\..\\e \\.\\t", L"\\\\?\\C:\\e \\t"},
        {L"C:\\d\\...\\t", L"\\\\?\\C:\\d\\...\\t"},
        {L"\\\\server\\share\\t.", L"\\\\?\\UNC\\server\\share\\t."},
        {L"t.", L"\\\\?\\C:\\work\\t."},
        {L"\\\\?\\C:\\t.", L"\\\\?\\C:\\t."},
    };
    for (const auto& [path, form] : exact) {
        CAPTURE(path);
        CHECK(HasNameEndingInDotOrBlank(path));
        CHECK(ExactPathForm(path, cwd) == form);
    }
    CHECK_FALSE(HasNameEndingInDotOrBlank(L"C:\\d\\..\\.\\t.bin"));
}

TEST_CASE("Under WOW64 a path in System32 is reached through Sysnative") {
    const std::wstring x = L"\\x.dll";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\Windows\\System32" + x, L"C:\\Windows\\Sysnative" + x},
        {L"c:\\WINDOWS\\system32", L"c:\\WINDOWS\\Sysnative"},
        {L"\\\\?\\C:\\Windows\\System32" + x, L"\\\\?\\C:\\Windows\\Sysnative" + x},
        {L"C:/Windows/System32/x.dll", L"C:/Windows/Sysnative/x.dll"},
        {L"C:\\Windows\\System32x" + x, L"C:\\Windows\\System32x" + x},
        {L"C:\\Windows\\SysWOW64" + x, L"C:\\Windows\\SysWOW64" + x},
        {L"D:\\Windows\\System32" + x, L"D:\\Windows\\System32" + x},
    };
    for (const auto& [path, form] : cases) {
        CAPTURE(path);
        CHECK(SysnativePath(path, L"C:\\Windows\\") == form);
        CHECK(SysnativePath(path, L"") == path);
    }
}
