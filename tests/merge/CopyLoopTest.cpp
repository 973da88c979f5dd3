#include "merge/HugeFileFunctions.h"
#include "merge/MergeRig.h"
#include "platform/Handles.h"

#include <algorithm>
#include <memory>

namespace {

constexpr std::size_t kBlock = 4096;

// Faults put into the system's reads and writes.
struct Faults {
    DWORD perWrite = MAXDWORD;  // most bytes a write stores
    std::uint64_t room = ~0ull; // bytes the disk takes; the write reaching it fails
    bool tellsStored = true;    // whether that write tells what it stored
    int failingRead = 0;        // the read call that fails, counted from 1
    DWORD error = 0;            // of the failing write or read
    bool slow = false;          // now and then a call slow enough to shrink the chunks
};

FileCalls WithFaults(Faults f) {
    struct Counts {
        int reads = 0, writes = 0;
        std::uint64_t stored = 0;
    };
    auto n = std::make_shared<Counts>();
    FileCalls calls;
    calls.read = [=](HANDLE file, void* buffer, DWORD size, DWORD* done) -> BOOL {
        if (++n->reads == f.failingRead) {
            SetLastError(f.error);
            return FALSE;
        }
        if (f.slow && n->reads % 2 == 0)
            Sleep(40);
        return ReadFile(file, buffer, size, done, nullptr);
    };
    calls.write = [=](HANDLE file, const void* buffer, DWORD size, DWORD* done) -> BOOL {
        if (f.slow && ++n->writes % 3 == 0)
            Sleep(40);
        const auto fits =
            static_cast<DWORD>(std::min<std::uint64_t>({size, f.perWrite, f.room - n->stored}));
        WriteFile(file, buffer, fits, done, nullptr);
        n->stored += *done;
        if (fits == size || n->stored < f.room)
            return TRUE;
        if (!f.tellsStored)
            *done = 0;
        SetLastError(f.error);
        return FALSE;
    };
    return calls;
}

} // namespace

TEST_CASE("The output is the inputs one after the other, byte for byte") {
    const std::vector<std::vector<std::size_t>> sizeSets = {
        {0, 0}, {1, 4095}, {4096, 4097}, {0, 8193, 0, 1}, {200000, 123457, 65536}};
    const struct {
        std::string what;
        DWORD chunk;
        ULONGLONG interval; // 0: the blocks handed to the window one by one
        Faults faults;
    } ways[] = {
        {"single blocks", 4096, 0, {}},
        {"small chunks", 12288, 0, {}},
        {"the program's chunks", 1 << 20, 0, {}},
        {"the program's pace", 1 << 20, 15, {}},
        {"short writes", 65536, 15, {.perWrite = 1000}},
        {"slow calls", 16384, 15, {.slow = true}},
    };
    for (const auto& sizes : sizeSets) {
        for (const auto& way : ways) {
            CAPTURE(way.what);
            CAPTURE(sizes.back());
            MergeRig rig;
            for (auto size : sizes)
                rig.Add(size);
            rig.inputs.push_back(rig.inputs[0]); // a file listed twice is copied twice
            rig.contents.push_back(rig.contents[0]);
            rig.options.chunk = way.chunk;
            rig.options.progressIntervalMs = way.interval;
            rig.options.calls = WithFaults(way.faults);
            rig.Merge(rig.Total());
            CHECK(FileBytes(rig.output) == rig.Joined());
            CHECK(rig.services.messages.empty());
            rig.CheckRestored();
            rig.CheckUnchanged();
        }
    }
}

TEST_CASE("An input beyond 4 GiB is copied exactly past the 4 GiB mark") {
    const std::int64_t size = 4294967296LL + 8193, past = 4294967296LL + 4096;
    MergeRig rig;
    rig.inputs = {WriteBytes(rig.dir / L"head.bin", "HEAD"), rig.dir / L"big.bin",
                  WriteBytes(rig.dir / L"tail.bin", "TAIL!")};
    REQUIRE(MakeSparseFile(
        rig.inputs[1], size,
        {{4294967296LL - 5, "before-4GiB"}, {past, "after-4GiB"}, {size - 7, "the-end"}}));
    rig.options.progressIntervalMs = 15;
    rig.Merge(9 + static_cast<double>(size));
    CHECK(rig.services.messages.empty());
    CHECK(GetHugeFileSize(rig.output) == 9.0 + static_cast<double>(size));
    CHECK(ReadBytes(rig.output, 0, 6) == std::string("HEAD\0\0", 6));
    CHECK(ReadBytes(rig.output, 4 + 4294967296LL - 5, 11) == "before-4GiB");
    CHECK(ReadBytes(rig.output, 4 + past, 10) == "after-4GiB");
    CHECK(ReadBytes(rig.output, 4 + size - 7) == "the-endTAIL!");
}

TEST_CASE("The bar moves fewer than 100 times and stays within 100 when inputs grew") {
    for (double measured : {1000000.0, 1000.0, 0.0, -1.0}) {
        CAPTURE(measured);
        MergeRig rig;
        for (auto size : {400000u, 350000u, 250000u})
            rig.Add(size);
        rig.Merge(measured);
        const auto& moves = rig.barPositions;
        REQUIRE(moves.size() >= 2);
        CHECK(std::is_sorted(moves.begin(), moves.end()));
        CHECK(moves.back() <= 10000);
        if (measured == 1000000.0) {
            CHECK(moves.size() < 100);
            CHECK(moves[0] == 123); // 12,288 bytes: 1.2288 %
            CHECK(moves[1] == 205); // past the next threshold, 20,002, at 20,480 bytes
        } else {
            CHECK(rig.progress.Value() == 100.0f);
        }
    }
}

TEST_CASE("A failure names the input it concerns; the output keeps the whole blocks before it") {
    const std::size_t first = 10000, inSecond = first + 3 * kBlock + 123;
    const std::wstring open = L"Cannot open the file ";
    const std::wstring read = L"An error occured while reading the file ";
    const std::wstring write = L"An error occured while writing the file ";
    // Each fails with the case's error; a mute write does not tell what it stored.
    const Faults none, badRead{.failingRead = 7}, full{.room = inSecond},
        mute{.room = inSecond, .tellsStored = false}, fullEarly{.room = first - 5},
        storesNothing{.perWrite = 0};
    const struct {
        std::string what;
        DWORD chunk;
        Faults faults;
        std::wstring message; // its first words; the input, "." and the system's text follow
        int input;
        DWORD error;
        std::size_t kept;
    } cases[] = {
        {"deleted after the checks", 65536, none, open, 1, ERROR_FILE_NOT_FOUND, first},
        {"held open for writing", 65536, none, open, 1, ERROR_SHARING_VIOLATION, first},
        {"a read fails", 4096, badRead, read, 1, ERROR_CRC, first + 2 * kBlock},
        {"disk full, the write tells", 65536, full, write, 1, ERROR_DISK_FULL, first + 3 * kBlock},
        {"disk full, block write mute", 4096, mute, write, 1, ERROR_DISK_FULL, first + 3 * kBlock},
        {"disk full, chunk write mute", 65536, mute, write, 1, ERROR_DISK_FULL, first},
        {"disk full in a short last block", 65536, fullEarly, write, 0, ERROR_HANDLE_DISK_FULL,
         2 * kBlock},
        {"a write stores nothing", 65536, storesNothing, write, 0, ERROR_WRITE_FAULT, 0},
    };
    for (const auto& c : cases) {
        for (ULONGLONG interval : {0, 15}) {
            CAPTURE(c.what);
            CAPTURE(interval);
            MergeRig rig;
            rig.options.progressIntervalMs = interval;
            rig.Add(first);
            rig.Add(50000);
            const std::wstring& troubled = rig.inputs[c.input];
            FileHandle writer;
            if (c.error == ERROR_FILE_NOT_FOUND)
                REQUIRE(DeleteFileW(troubled.c_str()));
            if (c.error == ERROR_SHARING_VIOLATION)
                writer.Reset(CreateFileW(troubled.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
            Faults faults = c.faults;
            faults.error = c.error;
            rig.options.chunk = c.chunk;
            rig.options.calls = WithFaults(faults);
            rig.Merge(rig.Total());
            CHECK(FileBytes(rig.output) == rig.Joined(c.kept));
            CHECK(rig.services.Warnings() ==
                  Texts{c.message + troubled + L".\r" + GetErrorText(c.error) +
                        L"\r\rCheck the file and try again."});
            rig.CheckRestored();
        }
    }
}

TEST_CASE("A confirmed cancel lets one more block through and leaves whole blocks") {
    // Under 100 blocks in all, every block moves the bar; every move clicks Cancel,
    // and the k-th question is answered Yes.
    const std::size_t blocks[] = {4096, 4096, 4096, 100, 4096, 4096, 4096};
    const struct {
        int k;
        std::size_t kept; // blocks
    } cases[] = {
        {1, 2}, // inside the first input
        {3, 4}, // its last, short block is the one more
        {4, 5}, // after its end: the next input's first block
        {7, 7}, // after the last block nothing is left to stop
    };
    for (const auto& c : cases) {
        CAPTURE(c.k);
        MergeRig rig;
        rig.Add(3 * kBlock + 100);
        rig.Add(3 * kBlock);
        rig.onBarMove = [&] { // as the user clicks: handled in the next window events
            PostMessageW(rig.progress.Handle(), WM_COMMAND, IDCANCEL, 0);
        };
        rig.services.answers.assign(c.k - 1, IDNO);
        rig.services.answers.push_back(IDYES);
        rig.Merge(rig.Total());
        REQUIRE(rig.services.messages.size() == static_cast<std::size_t>(c.k));
        for (const auto& m : rig.services.messages)
            CHECK(m.text == L"Do you really want to cancel the process?");
        CHECK(FileBytes(rig.output) ==
              rig.Joined(std::accumulate(blocks, blocks + c.kept, std::size_t{0})));
        rig.CheckRestored();
        rig.CheckUnchanged();
    }
}

TEST_CASE("An output that cannot be created is reported before anything else changes") {
    MergeRig rig;
    rig.Add(100);
    rig.Add(200);
    const auto old = WriteBytes(rig.dir / L"old.bin", "the older output");
    FileHandle holder(
        CreateFileW(old.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const std::pair<std::wstring, DWORD> cases[] = {
        {rig.dir / L"no such folder\\out.bin", ERROR_PATH_NOT_FOUND},
        {old, ERROR_SHARING_VIOLATION}, // open elsewhere, nothing shared
    };
    rig.Fill(rig.inputs);
    for (const auto& [output, error] : cases) {
        CAPTURE(output);
        rig.services.messages.clear();
        rig.window.Status().SetStatusText(L"untouched");
        WriteMergedFile(rig.host, rig.inputs, output, 300, rig.options);
        CHECK(rig.services.Warnings() ==
              Texts{L"Cannot open the file " + output + L".\r" + GetErrorText(error) +
                    L"\r\rMake sure that the file is writable and try again."});
        CHECK(rig.Status() == L"untouched");
        CHECK(IsWindowEnabled(rig.Hwnd()));
    }
    holder.Reset();
    CHECK(ReadBytes(old) == "the older output");
}

TEST_CASE("A pending error stops the merge with the support message") {
    const std::wstring support =
        L"\r\rContact the technical support at https://vorbel.example/ to get help.";
    for (bool beforeTheCopy : {true, false}) {
        CAPTURE(beforeTheCopy);
        MergeRig rig;
        rig.Add(3 * kBlock);
        rig.Add(100);
        if (beforeTheCopy)
            rig.pendingError.Record(1, L"The window system failed.");
        else // in the window events after the first block
            rig.onBarMove = [&] { rig.pendingError.Record(2, L"A control failed."); };
        rig.Merge(rig.Total());
        const std::wstring shown =
            beforeTheCopy ? L"The following error occured while initializing the merge process:\r"
                            L"The window system failed."
                          : L"The following error occured while processing the file " +
                                rig.inputs[0] + L":\rA control failed.";
        CHECK(rig.services.Warnings() == Texts{shown + support});
        // An error in the events after a block is seen after the next one.
        CHECK(FileBytes(rig.output) == rig.Joined(beforeTheCopy ? 0 : 2 * kBlock));
        rig.CheckRestored();
    }
}
