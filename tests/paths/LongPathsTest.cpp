#include "paths/LongPaths.h"
#include "paths/Sysnative.h"
#include "support/TempDir.h"

#include <doctest.h>

// A long path goes to the file functions in its extended form, resolved first, since
// the prefix turns the system's own resolution off; the rest stays as it is.
TEST_CASE("A path longer than MAX_PATH takes the \\\\?\\ form, resolved") {
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
    CHECK(WithoutLongPathPrefix(L"\\\\?\\UNC\\server\\share\\x") == L"\\\\server\\share\\x");
    CHECK(WithoutLongPathPrefix(L"\\\\?\\C:\\x") == L"C:\\x");
    CHECK(WithoutLongPathPrefix(L"C:\\x") == L"C:\\x");
}

// A name from a drop or a dialog exists as written; the system would drop the dot or
// blank that ends it and reach another file.
TEST_CASE("A name ending in a dot or a blank takes the \\\\?\\ form, kept as written") {
    const struct {
        std::wstring path;
        bool needed;
        std::wstring form;
    } cases[] = {
        {L"C:\\d\\t.bin.", true, L"\\\\?\\C:\\d\\t.bin."},
        {L"C:\\d\\t.bin ", true, L"\\\\?\\C:\\d\\t.bin "},
        {L"C:\\d.\\..\\e \\.\\t", true, L"\\\\?\\C:\\e \\t"},
        {L"C:\\d\\...\\t", true, L"\\\\?\\C:\\d\\...\\t"},
        {L"\\\\server\\share\\t.", true, L"\\\\?\\UNC\\server\\share\\t."},
        {L"t.", true, L"\\\\?\\C:\\work\\t."},
        {L"\\\\?\\C:\\t.", true, L"\\\\?\\C:\\t."},
        {L"C:\\d\\..\\.\\t.bin", false, L"\\\\?\\C:\\t.bin"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.path);
        CHECK(HasNameEndingInDotOrBlank(c.path) == c.needed);
        CHECK(ExactPathForm(c.path, L"C:\\work") == c.form);
    }
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
