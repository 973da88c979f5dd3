#include "merge/MergeRig.h"
#include "merge/Crc32.h"
#include "merge/Verification.h"
#include "platform/HugeFileFunctions.h"

TEST_CASE("The output is the inputs one after the other, byte for byte") {
    const std::vector<std::vector<std::size_t>> sizeSets = {
        {0, 0}, {1, 4095}, {4096, 4097, 0}, {200000, 123457}};
    const struct {
        DWORD chunk;
        ULONGLONG interval; // 0: the blocks handed to the window one by one
        Faults faults;
    } ways[] = {{4096, 0, {}},
                {1 << 20, 15, {}},
                {65536, 15, {.perWrite = 1000}}, // short writes
                {16384, 15, {.slow = true}}};
    for (const auto& sizes : sizeSets) {
        for (const auto& way : ways) {
            INFO("chunk " << way.chunk << ", last size " << sizes.back());
            MergeRig rig;
            rig.Add(sizes);
            rig.inputs.push_back(rig.inputs[0]); // a file listed twice is copied twice
            rig.contents.push_back(rig.contents[0]);
            rig.options.chunk = way.chunk;
            rig.options.progressIntervalMs = way.interval;
            rig.options.calls = WithFaults(way.faults);
            rig.Merge();
            CHECK(FileBytes(rig.output) == rig.Joined());
            CHECK(rig.services.messages.empty());
            rig.CheckRestored();
            rig.CheckUnchanged();
        }
    }
}

// Verified with it: the CRC-32 of an output past 4 GiB, as a .crc beside a set would ask.
TEST_CASE("An input beyond 4 GiB is copied exactly past the 4 GiB mark, and its CRC with it") {
    const std::int64_t size = 4294967296LL + 8193, past = 4294967296LL + 4096;
    MergeRig rig;
    rig.inputs = {WriteBytes(rig.dir / L"head.bin", "HEAD"), rig.dir / L"big.bin",
                  WriteBytes(rig.dir / L"tail.bin", "TAIL!")};
    REQUIRE(MakeSparseFile(rig.inputs[1], size, {{past, "after-4GiB"}, {size - 7, "the-end"}}));
    // The marks, the zeros between them a MiB at a time.
    const std::string mib(1 << 20, '\0');
    std::uint32_t crc = Crc32(0, "HEAD", 4);
    for (const auto& [zeros, text] : {std::pair<std::int64_t, std::string>{past, "after-4GiB"},
                                      {size - 7 - past - 10, "the-end"},
                                      {0, "TAIL!"}}) {
        for (std::int64_t left = zeros; left > 0; left -= 1 << 20)
            crc = Crc32(crc, mib.data(),
                        static_cast<std::size_t>(std::min<std::int64_t>(left, 1 << 20)));
        crc = Crc32(crc, text.data(), text.size());
    }
    rig.options.progressIntervalMs = 15;
    rig.Merge({4, static_cast<double>(size), 5},
              {{{rig.dir / L"big.crc", HashKind::Crc32, std::nullopt, Crc32Hex(crc)}},
               {{{}, {}, {}}, {HashKind::Crc32}},
               {0}});
    REQUIRE(rig.services.messages.size() == 1);
    CHECK(rig.services.messages[0].text.starts_with(L"The merged file came out right:"));
    CHECK(GetHugeFileSize(rig.output) == 9.0 + static_cast<double>(size));
    CHECK(ReadBytes(rig.output, 4 + size - 7) == "the-endTAIL!");
}

TEST_CASE("A failure names the input it concerns; the output keeps the whole blocks before it") {
    const std::size_t first = 10000, inSecond = first + 3 * kBlockSize + 123;
    const std::wstring open = L"Cannot open the file ";
    const std::wstring read = L"An error occured while reading the file ";
    const std::wstring write = L"An error occured while writing the file ";
    // Each fails with the case's error; a mute write does not tell what it stored.
    const Faults none, badRead{.failingRead = 7}, full{.room = inSecond},
        mute{.room = inSecond, .tellsStored = false}, fullEarly{.room = first - 5},
        storesNothing{.perWrite = 0};
    const struct {
        DWORD chunk;
        Faults faults;
        std::wstring message; // its first words; the input, "." and the system's text follow
        int input;
        DWORD error;
        std::size_t kept;
    } cases[] = {
        {65536, none, open, 1, ERROR_FILE_NOT_FOUND, first}, // deleted after the checks
        {65536, none, open, 1, ERROR_SHARING_VIOLATION, first},
        {4096, badRead, read, 1, ERROR_CRC, first + 2 * kBlockSize},
        {65536, {.failingRead = 3}, read, 1, ERROR_CRC, first}, // the first input shares its chunk
        {65536, full, write, 1, ERROR_DISK_FULL, first + 3 * kBlockSize},
        {4096, mute, write, 1, ERROR_DISK_FULL, first + 3 * kBlockSize},
        {65536, mute, write, 1, ERROR_DISK_FULL, first},
        {65536, fullEarly, write, 0, ERROR_HANDLE_DISK_FULL, 2 * kBlockSize}, // a short last block
        {65536, storesNothing, write, 0, ERROR_WRITE_FAULT, 0},
    };
    for (const auto& c : cases) {
        for (ULONGLONG interval : {0, 15}) {
            INFO("error " << c.error << ", chunk " << c.chunk << ", interval " << interval);
            MergeRig rig;
            rig.options.progressIntervalMs = interval;
            rig.Add({first, 50000});
            const std::wstring& troubled = rig.inputs[c.input];
            FileHandle writer; // another program's, sharing no writes
            if (c.error == ERROR_FILE_NOT_FOUND)
                REQUIRE(DeleteFileW(troubled.c_str()));
            if (c.error == ERROR_SHARING_VIOLATION)
                writer.Reset(CreateFileW(troubled.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
            Faults faults = c.faults;
            faults.error = c.error;
            rig.options.chunk = c.chunk;
            rig.options.calls = WithFaults(faults);
            rig.Merge();
            CHECK(FileBytes(rig.output) == rig.Joined(c.kept));
            CHECK(rig.services.Warnings() ==
                  Texts{c.message + troubled + L".\r" + GetErrorText(c.error) +
                        L"\r\rCheck the file and try again."});
            rig.CheckRestored();
        }
    }
}
