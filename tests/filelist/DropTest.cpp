#include "filelist/DropTarget.h"
#include "support/DataObjects.h"
#include "support/MainWindowFixture.h"

#include <shlobj.h>

#include <doctest.h>

#include <cstddef>
#include <cstring>

TEST_CASE("Dropped files and folders join the list in the drag source's order") {
    MainWindowFixture f;
    const auto first = f.File(L"first.bin", 1);
    f.Drop({first});

    // A folder gives the files directly in it, hidden and system ones too, but not
    // its subfolders or what they hold.
    const std::wstring folder = f.dir / L"folder";
    CreateDirectoryW(folder.c_str(), nullptr);
    const auto hidden = WriteBytes(folder + L"\\thumbs.db", "hh");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const auto inside = WriteBytes(folder + L"\\inside.bin", "iii");
    CreateDirectoryW((folder + L"\\sub").c_str(), nullptr);
    WriteBytes(folder + L"\\sub\\deeper.bin", "dddd");
    const auto z = f.File(L"z.bin", 5), a = f.File(L"a.bin", 6);

    f.Drop({z, folder, f.dir / L"vanished.bin", a});
    const auto texts = f.Texts();
    REQUIRE(texts.size() == 5);
    CHECK(texts[0] == first);
    CHECK(texts[1] == z);
    // The folder's files in the file system's order, joined with one backslash.
    std::vector<std::wstring> fromFolder{texts[2], texts[3]};
    std::sort(fromFolder.begin(), fromFolder.end());
    CHECK(fromFolder == std::vector<std::wstring>{inside, hidden});
    CHECK(texts[4] == a);
    CHECK(f.Status() == L"5 files (17 Bytes)");

    // The focus mark on the last entry, which is not selected.
    CHECK(f.List().FocusIndex() == 4);
    CHECK_FALSE(f.List().IsSelected(4));
    CHECK(f.List().RememberedOrder() == SortOrder::Descending);
}

TEST_CASE("A drop onto an empty list is sorted; an empty folder adds nothing") {
    MainWindowFixture f;
    const std::wstring empty = f.dir / L"empty";
    CreateDirectoryW(empty.c_str(), nullptr);
    f.Drop({empty});
    CHECK(f.Texts().empty());
    CHECK(f.Status().empty());

    const auto b = f.File(L"b.bin"), a = f.File(L"a.bin"), c = f.File(L"c.bin");
    f.Drop({b, c, a});
    CHECK(f.Texts() == std::vector<std::wstring>{a, b, c});
    CHECK(f.List().RememberedOrder() == SortOrder::Ascending);
    CHECK(f.Status() == L"3 files (0 Bytes)");
}

TEST_CASE("A drop answers a copy or nothing, whatever the source offers") {
    // A source told that its files were moved deletes them.
    constexpr DWORD C = DROPEFFECT_COPY, M = DROPEFFECT_MOVE, L = DROPEFFECT_LINK;
    const std::pair<DWORD, DWORD> cases[] = {{C | M | L, C}, {C | M, C}, {C | L, C}, {C, C},
                                             {M | L, 0},     {M, 0},     {L, 0},     {0, 0}};
    for (const auto& [offered, answer] : cases) {
        CAPTURE(offered);
        MainWindowFixture f;
        auto text = MakeTextData(L"C:\\not\\a\\file.txt");
        CHECK(DragAndDrop(f.window.DropTarget(), text.Get(), offered) == Effects{0, 0, 0});
        auto files = MakeFileListData({f.File(L"x.bin")});
        CHECK(DragAndDrop(f.window.DropTarget(), files.Get(), offered) ==
              Effects{answer, answer, answer});
        CHECK(f.Texts().size() == (answer ? 1u : 0u));
    }
}

namespace {

// A DROPFILES block: the header, the padding, then the list as wide or ANSI text.
std::string DropFiles(const std::string& list, bool wide, std::size_t padding = 0) {
    DROPFILES header{};
    header.pFiles = static_cast<DWORD>(sizeof header + padding);
    header.fWide = wide;
    return std::string(reinterpret_cast<const char*>(&header), sizeof header) +
           std::string(padding, '\0') + list;
}

// The same block with its header pointing elsewhere.
std::string PointingAt(std::string block, DWORD offset) {
    std::memcpy(block.data() + offsetof(DROPFILES, pFiles), &offset, sizeof offset);
    return block;
}

std::string Wide(const std::wstring& text) {
    return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)};
}

} // namespace

TEST_CASE("A dropped file list is read within its block") {
    using namespace std::string_literals;
    using Paths = std::vector<std::wstring>;
    const std::string ab = Wide(L"C:\\a\0D:\\b c\0\0"s);
    const struct {
        std::string what;
        std::string block;
        Paths paths;
    } cases[] = {
        {"wide", DropFiles(ab, true), {L"C:\\a", L"D:\\b c"}},
        {"ANSI", DropFiles("C:\\a\0D:\\b c\0\0"s, false), {L"C:\\a", L"D:\\b c"}},
        {"wide at an odd offset", DropFiles(ab, true, 1), {L"C:\\a", L"D:\\b c"}},
        {"no paths", DropFiles(Wide(L"\0\0"s), true), {}},
        {"the last path cut off", DropFiles(Wide(L"C:\\a\0D:\\b"s), true), {L"C:\\a"}},
        {"no closing empty path", DropFiles(Wide(L"C:\\a\0"s), true), {L"C:\\a"}},
        {"an odd byte at the end", DropFiles(ab.substr(0, 11), true), {L"C:\\a"}},
        {"the list past the block", PointingAt(DropFiles(ab, true), 4096), {}},
        {"the header cut short", DropFiles(ab, true).substr(0, sizeof(DROPFILES) - 1), {}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        CHECK(DropFilesPaths(c.block.data(), c.block.size()) == c.paths);
    }
}
