#include "merge/HugeFileFunctions.h"
#include "platform/Handles.h"
#include "support/TempDir.h"

#include <doctest.h>

TEST_CASE("ULongToDouble reads every bit pattern as its unsigned value") {
    const std::pair<std::int32_t, double> cases[] = {
        {0, 0.0}, {2147483647, 2147483647.0}, {-2147483647 - 1, 2147483648.0}, {-1, 4294967295.0}};
    for (const auto& [in, out] : cases) {
        CAPTURE(in);
        CHECK(ULongToDouble(in) == out);
    }
}

TEST_CASE("GetHugeFileSize measures files exactly and refuses what is not one") {
    TempDir dir;
    // Sparse files from 2 GiB on try each half of the size: the low half with its top
    // bit set, all ones, zero, or not block aligned.
    const std::pair<std::wstring, std::int64_t> sizes[] = {
        {L"empty.bin", 0},
        {L"small.bin", 4097},
        {L"\u03b1\u03b2\u03b3-\u65e5\u672c\u8a9e.bin", 3}, // in no single ANSI code page
        {L"over2g.bin", 2147483648LL},
        {L"under4g.bin", 4294967295LL},
        {L"exactly4g.bin", 4294967296LL},
        {L"odd.bin", 4294967296LL + 4097},
        {L"five.bin", 5368709120LL},
    };
    for (const auto& [name, size] : sizes) {
        CAPTURE(name);
        if (size < 100000)
            WriteBytes(dir / name, std::string(static_cast<std::size_t>(size), 'x'));
        else
            REQUIRE(MakeSparseFile(dir / name, size));
        CHECK(GetHugeFileSize(dir / name) == static_cast<double>(size));
    }

    // Another handle writing the file does not keep it from being measured.
    FileHandle writer(CreateFileW((dir / L"small.bin").c_str(), GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    REQUIRE(writer.Valid());
    CHECK(GetHugeFileSize(dir / L"small.bin") == 4097.0);

    CreateDirectoryW((dir / L"folder").c_str(), nullptr);
    for (const std::wstring& path :
         {dir / L"folder", dir / L"missing.bin", std::wstring(), dir / L"bad<name>?.bin"})
        CHECK(GetHugeFileSize(path) == -1.0);
}

TEST_CASE("GetHugeFreeSpace answers for a real root and -1 for none") {
    TempDir dir;
    const std::wstring root = dir.Path().substr(0, 3); // "C:\"
    CHECK(GetHugeFreeSpace(root) > 0.0);
    CHECK(GetFreeSpaceByClusters(root) > 0.0);

    std::wstring unused;
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'Z'; letter >= L'D' && unused.empty(); --letter)
        if (!(drives & (1u << (letter - L'A'))))
            unused = std::wstring(1, letter) + L":\\";
    REQUIRE(!unused.empty());
    CHECK(GetHugeFreeSpace(unused) == -1.0);
    CHECK(GetFreeSpaceByClusters(unused) == -1.0);
}

TEST_CASE("GetErrorText gives the system's text or says it has none") {
    const std::wstring known = GetErrorText(ERROR_FILE_NOT_FOUND);
    CHECK(known != L"Unknown Error.");
    CHECK(known.ends_with(L"\r\n"));
    CHECK(GetErrorText(0x2A5F0001) == L"Unknown Error.");
}
