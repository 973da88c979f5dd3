#include "sets/PartNames.h"
#include "support/TempDir.h"

namespace {

// "folder|base|marker|number|width", or "-" for no part.
std::wstring Described(const std::wstring& path) {
    const auto p = RecognisePart(path);
    return p ? p->folder + L"|" + p->base + L"|" + p->marker + L"|" + std::to_wstring(p->number) +
                   L"|" + std::to_wstring(p->width)
             : L"-";
}

} // namespace

TEST_CASE("A part name gives its folder, base, style, number and width, or is no part") {
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd');
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\v\\holiday.mkv.001", L"C:\\v|holiday.mkv|.|1|3"},
        {L"C:\\v\\holiday.mkv.1000", L"C:\\v|holiday.mkv|.|1000|4"},
        {L"C:\\v\\file.10", L"C:\\v|file|.|10|2"},
        {L"C:\\v\\backup.part12", L"C:\\v|backup|.part|12|2"},
        {L"C:\\v\\backup.PART03", L"C:\\v|backup|.PART|3|2"},
        {L"C:\\my files\\a b.c d.tar.000", L"C:\\my files|a b.c d.tar|.|0|3"},
        {L"C:\\v\\x.part.7", L"C:\\v|x.part|.|7|1"},
        {L"D:\\Фото\\отпуск.mkv.002", L"D:\\Фото|отпуск.mkv|.|2|3"},
        {deep + L"\\big.iso.042", deep + L"|big.iso|.|42|3"},
        {L"\\\\?\\C:\\v\\z.7z.999999999999999999", L"\\\\?\\C:\\v|z.7z|.|999999999999999999|18"},
        {L"x.5", L"|x|.|5|1"},
    };
    for (const auto& [path, described] : cases)
        CHECK(Described(path) == described);
    const std::wstring noParts[] = {
        // Each part of these is an archive of its own: never a set.
        L"C:\\v\\x.part1.rar", L"C:\\v\\x.r00", L"C:\\v\\x.z01",
        // No base, no digits, or more digits than any splitter writes.
        L"C:\\v\\.001", L"C:\\v\\.part2", L"C:\\v\\...001", L"C:\\v\\001", L"C:\\v\\x.001 ",
        L"C:\\v\\x.001\\", L"", L"C:\\v\\x.0000000000000000001",
        L"x.part" + std::wstring(5000, L'9'),
        L"C:\\v\\x.١٢", // digits of another script
    };
    for (const auto& path : noParts)
        CHECK(Described(path) == L"-");
}
