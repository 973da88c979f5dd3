#include "merge/HugeFileFunctions.h"
#include "platform/Handles.h"
#include "support/TempDir.h"

#include <doctest.h>

TEST_CASE("ULongToDouble reads every bit pattern as its unsigned value") {
    const struct {
        std::int32_t in;
        double out;
    } cases[] = {
        {0, 0.0},
        {2147483647, 2147483647.0},
        {-2147483647 - 1, 2147483648.0},
        {-1, 4294967295.0},
    };
    for (const auto& c : cases) {
        CAPTURE(c.in);
        CHECK(ULongToDouble(c.in) == c.out);
    }
}

TEST_CASE("GetHugeFileSize measures files and refuses what is not one") {
    TempDir dir;
    const auto empty = WriteBytes(dir / L"empty.bin", "");
    const auto small = WriteBytes(dir / L"small.bin", std::string(4097, 'x'));
    CreateDirectoryW((dir / L"folder").c_str(), nullptr);

    CHECK(GetHugeFileSize(empty) == 0.0);
    CHECK(GetHugeFileSize(small) == 4097.0);
    CHECK(GetHugeFileSize(dir / L"folder") == -1.0);
    CHECK(GetHugeFileSize(dir / L"missing.bin") == -1.0);
    CHECK(GetHugeFileSize(L"") == -1.0);
    CHECK(GetHugeFileSize(dir / L"bad<name>?.bin") == -1.0);
}

TEST_CASE("GetHugeFileSize measures a file that another handle is writing") {
    TempDir dir;
    const auto path = dir / L"busy.bin";
    FileHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    REQUIRE(writer.Valid());
    DWORD written = 0;
    REQUIRE(WriteFile(writer.Get(), "12345", 5, &written, nullptr));
    CHECK(GetHugeFileSize(path) == 5.0);
}

TEST_CASE("GetHugeFileSize is exact beyond 4 GiB") {
    TempDir dir;
    const struct {
        const wchar_t* name;
        std::int64_t size;
    } cases[] = {
        {L"exactly4g.bin", 4294967296LL},  // high half 1, low half 0
        {L"five.bin", 5368709120LL},       // high half 1, low half 1,073,741,824
        {L"odd.bin", 4294967296LL + 4097}, // low half not block aligned
        {L"under4g.bin", 4294967295LL},    // low half all ones
        {L"over2g.bin", 2147483648LL},     // low half with its top bit set
    };
    for (const auto& c : cases) {
        CAPTURE(ToUtf8(c.name));
        const auto path = dir / c.name;
        REQUIRE(MakeSparseFile(path, c.size));
        CHECK(GetHugeFileSize(path) == static_cast<double>(c.size));
        DeleteFileW(path.c_str());
    }
}

TEST_CASE("GetHugeFileSize handles names outside any single code page") {
    TempDir dir;
    // Greek and CJK letters together fit no ANSI code page.
    const auto path = WriteBytes(dir / L"\u03b1\u03b2\u03b3-\u65e5\u672c\u8a9e.bin", "abc");
    CHECK(GetHugeFileSize(path) == 3.0);
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
    REQUIRE(known.size() > 2);
    CHECK(known.substr(known.size() - 2) == L"\r\n");
    CHECK(GetErrorText(0x2A5F0001) == L"Unknown Error.");
}
