#include "filelist/DropTarget.h"
#include "support/Fixture.h"

#include <shlobj.h>

TEST_CASE("A drop answers a copy or nothing, whatever the source offers") {
    // A source told that its files were moved deletes them.
    constexpr DWORD C = DROPEFFECT_COPY, M = DROPEFFECT_MOVE, L = DROPEFFECT_LINK;
    MainWindowFixture f;
    const auto files = MakeFileListData({f.File(L"x.bin")}), text = MakeTextData(L"C:\\x.txt");
    const std::pair<DWORD, DWORD> cases[] = {
        {C | M | L, C}, {C | M, C}, {C, C}, {M | L, 0}, {0, 0}};
    for (const auto& [offered, answer] : cases) {
        CAPTURE(offered);
        CHECK(DragAndDrop(f.window.DropTarget(), text.Get(), offered) == Effects{0, 0, 0});
        CHECK(DragAndDrop(f.window.DropTarget(), files.Get(), offered) ==
              Effects{answer, answer, answer});
    }
    CHECK(f.Texts().size() == 3u); // one entry for each copy
}

TEST_CASE("A dropped file list is read within its block") {
    using namespace std::string_literals;
    // A DROPFILES block: the header pointing past it by padding, then the list.
    const auto block = [](const std::string& list, bool wide, DWORD padding = 0) {
        const DROPFILES header{static_cast<DWORD>(sizeof(DROPFILES) + padding), {}, FALSE, wide};
        return std::string(reinterpret_cast<const char*>(&header), sizeof header) +
               std::string(padding, '\0') + list;
    };
    const auto wide = [](const std::wstring& text) {
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    };
    const std::string ab = wide(L"C:\\a\0D:\\b c\0\0"s);
    const Texts both{L"C:\\a", L"D:\\b c"}, a{L"C:\\a"};
    const std::pair<std::string, Texts> cases[] = {
        {block(ab, true), both},
        {block("C:\\a\0D:\\b c\0\0"s, false), both},            // ANSI
        {block(ab, true, 1), both},                             // at an odd offset
        {block(wide(L"C:\\a\0D:\\b"s), true), a},               // the last path cut off
        {block(ab.substr(0, 11), true), a},                     // an odd byte at the end
        {block(ab, true, 4096).substr(0, 100), {}},             // the list past the block
        {block(ab, true).substr(0, sizeof(DROPFILES) - 1), {}}, // the header cut short
    };
    for (const auto& [bytes, paths] : cases) {
        CAPTURE(bytes.size());
        CHECK(DropFilesPaths(bytes.data(), bytes.size()) == paths);
    }
}
