#include "merge/HugeFileFunctions.h"
#include "merge/MergeRig.h"
#include "platform/Handles.h"

#include <algorithm>
#include <memory>

namespace {

constexpr std::size_t kBlock = 4096;

std::wstring CheckAgain() {
    return L"\r\rCheck the file and try again.";
}

double TotalOf(const Inputs& inputs) {
    double total = 0;
    for (const auto& c : inputs.contents)
        total += static_cast<double>(c.size());
    return total;
}

// Writes bytes at an offset of an existing file, which may lie past 4 GiB.
void WriteAt(const std::wstring& path, std::int64_t offset, const std::string& bytes) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    REQUIRE(file.Valid());
    LARGE_INTEGER at;
    at.QuadPart = offset;
    REQUIRE(SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN));
    DWORD written = 0;
    REQUIRE(
        WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

std::string ReadAt(const std::wstring& path, std::int64_t offset, std::size_t size) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    REQUIRE(file.Valid());
    LARGE_INTEGER at;
    at.QuadPart = offset;
    REQUIRE(SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN));
    std::string bytes(size, '\0');
    DWORD got = 0;
    REQUIRE(ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(size), &got, nullptr));
    bytes.resize(got);
    return bytes;
}

// The system's write with a limit on what the disk takes: the call that reaches it
// stores what still fits and fails, as a full disk does, telling how much it stored
// or not.
FileCalls DiskFullAfter(std::uint64_t limit, DWORD error, bool tellsStored) {
    auto stored = std::make_shared<std::uint64_t>(0);
    FileCalls calls;
    calls.write = [=](HANDLE file, const void* buffer, DWORD size, DWORD* done) -> BOOL {
        const DWORD fits = static_cast<DWORD>(std::min<std::uint64_t>(size, limit - *stored));
        WriteFile(file, buffer, fits, done, nullptr);
        *stored += *done;
        if (fits == size)
            return TRUE;
        if (!tellsStored)
            *done = 0;
        SetLastError(error);
        return FALSE;
    };
    return calls;
}

} // namespace

TEST_CASE("The output is the inputs one after the other, byte for byte") {
    const std::vector<std::vector<std::size_t>> sizeSets = {
        {0, 0}, {1, 4095}, {4096, 4097}, {0, 8193, 0, 1}, {200000, 123457, 65536},
    };
    // Single blocks, small chunks, and the program's own sizes.
    const std::pair<DWORD, DWORD> chunkings[] = {{4096, 4096}, {8192, 12288}, {65536, 1 << 20}};
    for (const auto& sizes : sizeSets) {
        for (const auto& [minChunk, maxChunk] : chunkings) {
            CAPTURE(sizes.size());
            CAPTURE(sizes[1]);
            CAPTURE(minChunk);
            TempDir dir;
            Inputs inputs;
            for (auto size : sizes)
                inputs.Add(dir, size);
            MergeRig rig;
            rig.window.Fill(inputs.paths);
            rig.options.minChunk = minChunk;
            rig.options.maxChunk = maxChunk;
            const auto out = dir / L"out.bin";
            WriteMergedFile(rig.host, inputs.paths, out, TotalOf(inputs), rig.options);
            CHECK(FileBytes(out) == inputs.Joined());
            CHECK(rig.services.messages.empty());
            rig.CheckRestored(inputs.paths);
            inputs.CheckUnchanged();
        }
    }
}

TEST_CASE("Calls of the system slow enough to shrink the chunks lose no byte") {
    TempDir dir;
    Inputs inputs;
    inputs.Add(dir, 300000);
    inputs.Add(dir, 2500000);
    MergeRig rig;
    rig.window.Fill(inputs.paths);
    rig.options.minChunk = 16384;
    // Every other call takes longer than a call may, so the chunk size swings both
    // ways, between a read and the use of what it read too.
    auto calls = std::make_shared<int>(0);
    rig.options.calls.read = [=](HANDLE file, void* buffer, DWORD size, DWORD* done) {
        if (++*calls % 2 == 0)
            Sleep(40);
        return ReadFile(file, buffer, size, done, nullptr);
    };
    rig.options.calls.write = [=](HANDLE file, const void* buffer, DWORD size, DWORD* done) {
        if (++*calls % 3 == 0)
            Sleep(40);
        return WriteFile(file, buffer, size, done, nullptr);
    };
    WriteMergedFile(rig.host, inputs.paths, dir / L"out.bin", TotalOf(inputs), rig.options);
    CHECK(FileBytes(dir / L"out.bin") == inputs.Joined());
    CHECK(rig.services.messages.empty());
}

TEST_CASE("A file listed twice is copied at both places") {
    TempDir dir;
    Inputs inputs;
    inputs.Add(dir, 5000);
    inputs.Add(dir, 3);
    inputs.paths.push_back(inputs.paths[0]);
    inputs.contents.push_back(inputs.contents[0]);
    MergeRig rig;
    rig.window.Fill(inputs.paths);
    WriteMergedFile(rig.host, inputs.paths, dir / L"out.bin", TotalOf(inputs), rig.options);
    CHECK(FileBytes(dir / L"out.bin") == inputs.Joined());
}

TEST_CASE("An input beyond 4 GiB is copied exactly past the 4 GiB mark") {
    TempDir dir;
    const std::int64_t size = 4294967296LL + 8193;
    const auto big = dir / L"big.bin";
    REQUIRE(MakeSparseFile(big, size));
    // Marks on both sides of 4 GiB and at the very end; the rest reads as zeros.
    const std::string before = "before-4GiB", after = "after-4GiB", last = "the-end";
    WriteAt(big, 4294967296LL - 5, before);
    WriteAt(big, 4294967296LL + 4096, after);
    WriteAt(big, size - 7, last);
    const auto head = WriteBytes(dir / L"head.bin", "HEAD");
    const auto tail = WriteBytes(dir / L"tail.bin", "TAIL!");

    MergeRig rig;
    const std::vector<std::wstring> paths = {head, big, tail};
    rig.window.Fill(paths);
    rig.options.pumpIntervalMs = 15;
    const auto out = dir / L"out.bin";
    WriteMergedFile(rig.host, paths, out, GetHugeFileSize(head) + size + GetHugeFileSize(tail),
                    rig.options);
    CHECK(rig.services.messages.empty());
    CHECK(GetHugeFileSize(out) == static_cast<double>(4 + size + 5));
    CHECK(ReadAt(out, 0, 6) == std::string("HEAD\0\0", 6));
    CHECK(ReadAt(out, 4 + 4294967296LL - 5, before.size()) == before);
    CHECK(ReadAt(out, 4 + 4294967296LL + 4096, after.size()) == after);
    CHECK(ReadAt(out, 4 + size - 7, 12) == last + "TAIL!");
}

TEST_CASE("The bar moves past each hundredth of the total, fewer than 100 times") {
    TempDir dir;
    Inputs inputs;
    for (auto size : {400000u, 350000u, 250000u})
        inputs.Add(dir, size);
    REQUIRE(TotalOf(inputs) == 1000000.0);
    MergeRig rig;
    rig.window.Fill(inputs.paths);
    rig.WatchBar();
    WriteMergedFile(rig.host, inputs.paths, dir / L"out.bin", 1000000.0, rig.options);
    const auto& moves = rig.barPositions;
    REQUIRE(moves.size() >= 2);
    CHECK(moves.size() < 100);
    CHECK(moves[0] == 123); // 12,288 bytes: 1.2288 %
    CHECK(moves[1] == 205); // the next threshold, 20,002, passed at 20,480 bytes
    CHECK(std::is_sorted(moves.begin(), moves.end()));
    CHECK(moves.back() <= 10000);
}

TEST_CASE("The bar stays within 100 when the inputs grew after they were measured") {
    TempDir dir;
    Inputs inputs;
    inputs.Add(dir, 50000);
    inputs.Add(dir, 50000);
    for (double measured : {1000.0, 0.0, -1.0}) {
        CAPTURE(measured);
        MergeRig rig;
        rig.window.Fill(inputs.paths);
        rig.WatchBar();
        WriteMergedFile(rig.host, inputs.paths, dir / L"out.bin", measured, rig.options);
        CHECK(FileBytes(dir / L"out.bin") == inputs.Joined());
        REQUIRE_FALSE(rig.barPositions.empty());
        CHECK(*std::max_element(rig.barPositions.begin(), rig.barPositions.end()) == 10000);
        CHECK(rig.progress.Value() == 100.0f);
    }
}

TEST_CASE("An input that cannot be opened is named; the inputs before it are complete") {
    enum class Trouble { Deleted, OpenForWriting };
    for (auto trouble : {Trouble::Deleted, Trouble::OpenForWriting}) {
        CAPTURE(static_cast<int>(trouble));
        TempDir dir;
        Inputs inputs;
        inputs.Add(dir, 9000);
        inputs.Add(dir, 4096);
        inputs.Add(dir, 100);
        const auto& troubled = inputs.paths[1];
        FileHandle writer;
        DWORD expectedError = 0;
        if (trouble == Trouble::Deleted) {
            REQUIRE(DeleteFileW(troubled.c_str()));
            expectedError = ERROR_FILE_NOT_FOUND;
        } else {
            writer.Reset(CreateFileW(troubled.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            REQUIRE(writer.Valid());
            expectedError = ERROR_SHARING_VIOLATION;
        }
        MergeRig rig;
        rig.window.Fill(inputs.paths);
        WriteMergedFile(rig.host, inputs.paths, dir / L"out.bin", 13196, rig.options);
        REQUIRE(rig.services.messages.size() == 1);
        CHECK(rig.services.messages[0].text == L"Cannot open the file " + troubled + L".\r" +
                                                   GetErrorText(expectedError) + CheckAgain());
        CHECK(rig.services.messages[0].type == (MB_OK | MB_ICONEXCLAMATION));
        CHECK(FileBytes(dir / L"out.bin") == Bytes{inputs.contents[0]});
        rig.CheckRestored(inputs.paths);
    }
}

TEST_CASE("A confirmed cancel stops after one more block and leaves whole blocks") {
    // Every block moves the bar here (the total is under 100 blocks), and every move
    // clicks Cancel; the k-th question is answered Yes.
    const std::vector<std::size_t> blocks = {4096, 4096, 4096, 100, 4096, 4096, 4096};
    const struct {
        int k;
        std::size_t kept; // blocks in the output
    } cases[] = {
        {1, 2}, // within the first input
        {3, 4}, // its last, short block is the one more
        {4, 5}, // after the first input's end: the next input's first block
        {7, 7}, // after the last block: nothing is left to stop
    };
    for (const auto& c : cases) {
        CAPTURE(c.k);
        TempDir dir;
        Inputs inputs;
        inputs.Add(dir, 3 * kBlock + 100);
        inputs.Add(dir, 3 * kBlock);
        MergeRig rig;
        rig.window.Fill(inputs.paths);
        rig.WatchBar();
        rig.onBarMove = [&] { rig.PostCancelClick(); };
        int questions = 0;
        rig.services.onMessage = [&](const std::wstring&, UINT) {
            return ++questions == c.k ? IDYES : IDNO;
        };
        WriteMergedFile(rig.host, inputs.paths, dir / L"out.bin", TotalOf(inputs), rig.options);

        std::size_t kept = 0;
        for (std::size_t i = 0; i < c.kept; ++i)
            kept += blocks[i];
        CHECK(FileBytes(dir / L"out.bin") == inputs.Joined(kept));
        CHECK(questions == c.k);
        for (const auto& m : rig.services.messages)
            CHECK(m.text == L"Do you really want to cancel the process?");
        rig.CheckRestored(inputs.paths);
        inputs.CheckUnchanged();
    }
}

TEST_CASE("A failed or short write is reported with the input's name, never left short") {
    const std::size_t first = 10000, second = 50000;
    const std::size_t inSecond = first + 3 * kBlock + 123;
    const struct {
        std::string what;
        std::function<FileCalls()> calls;
        std::size_t keptBySingleBlocks; // bytes the output holds, with 4 KiB chunks
        std::size_t keptByChunks;       // and with 64 KiB chunks
        int failedInput;                // the input named, -1 for none
        DWORD error;
    } cases[] = {
        {"every write stores at most 1000 bytes",
         [] {
             FileCalls calls;
             calls.write = [](HANDLE file, const void* buffer, DWORD size, DWORD* done) {
                 return WriteFile(file, buffer, std::min<DWORD>(size, 1000), done, nullptr);
             };
             return calls;
         },
         first + second, first + second, -1, 0},
        {"the disk fills up in the second input, the write telling what it stored",
         [=] { return DiskFullAfter(inSecond, ERROR_DISK_FULL, true); }, first + 3 * kBlock,
         first + 3 * kBlock, 1, ERROR_DISK_FULL},
        {"the disk fills up in the second input, the write not telling",
         [=] { return DiskFullAfter(inSecond, ERROR_DISK_FULL, false); }, first + 3 * kBlock, first,
         1, ERROR_DISK_FULL},
        {"the disk fills up in the first input's last, short block",
         [=] { return DiskFullAfter(first - 5, ERROR_HANDLE_DISK_FULL, true); }, 2 * kBlock,
         2 * kBlock, 0, ERROR_HANDLE_DISK_FULL},
        {"a write reports success but stores nothing",
         [] {
             FileCalls calls;
             calls.write = [](HANDLE, const void*, DWORD, DWORD* done) {
                 *done = 0;
                 return TRUE;
             };
             return calls;
         },
         0, 0, 0, ERROR_WRITE_FAULT},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        for (DWORD chunk : {4096u, 65536u}) {
            CAPTURE(chunk);
            TempDir dir;
            Inputs inputs;
            inputs.Add(dir, first);
            inputs.Add(dir, second);
            MergeRig rig;
            rig.window.Fill(inputs.paths);
            rig.options.minChunk = rig.options.maxChunk = chunk;
            rig.options.calls = c.calls();
            WriteMergedFile(rig.host, inputs.paths, dir / L"out.bin", TotalOf(inputs), rig.options);
            const std::size_t kept = chunk == 4096 ? c.keptBySingleBlocks : c.keptByChunks;
            CHECK(FileBytes(dir / L"out.bin") == inputs.Joined(kept));
            if (c.failedInput < 0) {
                CHECK(rig.services.messages.empty());
            } else {
                REQUIRE(rig.services.messages.size() == 1);
                CHECK(rig.services.messages[0].text == L"An error occured while writing the file " +
                                                           inputs.paths[c.failedInput] + L".\r" +
                                                           GetErrorText(c.error) + CheckAgain());
            }
            rig.CheckRestored(inputs.paths);
        }
    }
}

TEST_CASE("A failed read is reported after the blocks read before it are written") {
    TempDir dir;
    Inputs inputs;
    inputs.Add(dir, 6000);
    inputs.Add(dir, 5 * kBlock);
    MergeRig rig;
    rig.window.Fill(inputs.paths);
    rig.options.minChunk = rig.options.maxChunk = 4096;
    // The first input takes three reads (two blocks and its end); the second input's
    // third read fails.
    int reads = 0;
    rig.options.calls.read = [&](HANDLE file, void* buffer, DWORD size, DWORD* done) -> BOOL {
        if (++reads == 6) {
            SetLastError(ERROR_CRC);
            return FALSE;
        }
        return ReadFile(file, buffer, size, done, nullptr);
    };
    WriteMergedFile(rig.host, inputs.paths, dir / L"out.bin", TotalOf(inputs), rig.options);
    REQUIRE(rig.services.messages.size() == 1);
    CHECK(rig.services.messages[0].text == L"An error occured while reading the file " +
                                               inputs.paths[1] + L".\r" + GetErrorText(ERROR_CRC) +
                                               CheckAgain());
    CHECK(FileBytes(dir / L"out.bin") == inputs.Joined(6000 + 2 * kBlock));
    rig.CheckRestored(inputs.paths);
}

TEST_CASE("An output that cannot be created is reported before anything else changes") {
    TempDir dir;
    Inputs inputs;
    inputs.Add(dir, 100);
    inputs.Add(dir, 200);
    const auto old = WriteBytes(dir / L"old.bin", "the older output");
    // Another program has the older output open and shares nothing.
    FileHandle holder(CreateFileW(old.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    REQUIRE(holder.Valid());
    const struct {
        std::wstring output;
        DWORD error;
    } cases[] = {
        {dir / L"no such folder\\out.bin", ERROR_PATH_NOT_FOUND},
        {old, ERROR_SHARING_VIOLATION},
    };
    for (const auto& c : cases) {
        CAPTURE(ToUtf8(c.output));
        MergeRig rig;
        rig.window.Fill(inputs.paths);
        rig.window.list.SetStatusText(L"untouched");
        WriteMergedFile(rig.host, inputs.paths, c.output, 300, rig.options);
        REQUIRE(rig.services.messages.size() == 1);
        CHECK(rig.services.messages[0].text ==
              L"Cannot open the file " + c.output + L".\r" + GetErrorText(c.error) +
                  L"\r\rMake sure that the file is writable and try again.");
        CHECK(rig.window.StatusBarText() == L"untouched");
        CHECK(IsWindowEnabled(rig.window.Handle()));
    }
    holder.Reset();
    CHECK(ReadWholeFile(old) == "the older output");
}

TEST_CASE("A pending error stops the merge with the support message") {
    const std::wstring support =
        L"\r\rContact the technical support at https://www.vorbel.example/merge/ to get help.";
    TempDir dir;
    Inputs inputs;
    inputs.Add(dir, 3 * kBlock);
    inputs.Add(dir, 100);

    SUBCASE("noted before the copy starts") {
        MergeRig rig;
        rig.window.Fill(inputs.paths);
        rig.pendingError.Record(1, L"The window system failed.");
        WriteMergedFile(rig.host, inputs.paths, dir / L"out.bin", TotalOf(inputs), rig.options);
        REQUIRE(rig.services.messages.size() == 1);
        CHECK(rig.services.messages[0].text ==
              L"The following error occured while initializing the merge process:\r"
              L"The window system failed." +
                  support);
        CHECK(ReadWholeFile(dir / L"out.bin").empty());
        rig.CheckRestored(inputs.paths);
    }
    SUBCASE("noted while a block is copied") {
        MergeRig rig;
        rig.window.Fill(inputs.paths);
        rig.WatchBar();
        rig.onBarMove = [&] { rig.pendingError.Record(2, L"A control failed."); };
        WriteMergedFile(rig.host, inputs.paths, dir / L"out.bin", TotalOf(inputs), rig.options);
        REQUIRE(rig.services.messages.size() == 1);
        CHECK(rig.services.messages[0].text ==
              L"The following error occured while processing the file " + inputs.paths[0] +
                  L":\rA control failed." + support);
        CHECK(FileBytes(dir / L"out.bin") == inputs.Joined(kBlock));
        rig.CheckRestored(inputs.paths);
    }
}
