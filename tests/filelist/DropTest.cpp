#include "filelist/DropTarget.h"
#include "support/DataObjects.h"
#include "support/MainWindowFixture.h"

#include <doctest.h>

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

TEST_CASE("Only the shell's file lists may be dropped") {
    MainWindowFixture f;
    auto text = MakeTextData(L"C:\\not\\a\\file.txt");
    CHECK(DragAndDrop(f.window.DropTarget(), text.Get()) == DROPEFFECT_NONE);
    CHECK(f.Texts().empty());

    auto files = MakeFileListData({f.File(L"x.bin")});
    // The drop copies: a source that allows only moving gets none.
    CHECK(FileDropEffect(files.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE) == DROPEFFECT_COPY);
    CHECK(FileDropEffect(files.Get(), DROPEFFECT_MOVE) == DROPEFFECT_NONE);
    CHECK(DragAndDrop(f.window.DropTarget(), files.Get()) == DROPEFFECT_COPY);
    CHECK(f.Texts().size() == 1);
}
