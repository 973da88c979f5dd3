#include "merge/Crc32.h"
#include "merge/MergeRig.h"

// The system computes all but the CRC: one long text shows that the pieces reach it whole
// and in order, and a short one of each kind that its value is read back right.
TEST_CASE("Each checksum of known texts, whole and in pieces that cross every kind of border") {
    const std::string million(1000000, 'a');
    const struct {
        HashKind kind;
        std::string input;
        const char* hex;
    } cases[] = {
        {HashKind::Crc32, "", "00000000"},
        {HashKind::Crc32, "abc", "352441c2"},
        {HashKind::Crc32, "123456789", "cbf43926"},
        {HashKind::Crc32, million, "dc25bfbc"},
        {HashKind::Md5, "abc", "900150983cd24fb0d6963f7d28e17f72"},
        {HashKind::Sha1, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {HashKind::Sha256, "abc",
         "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {HashKind::Sha256, million,
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {HashKind::Sha512, "abc",
         "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
         "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
    };
    for (const auto& [kind, input, hex] : cases) {
        INFO("kind " << static_cast<int>(kind) << ", bytes " << input.size());
        CHECK(HexOf(kind, input) == hex);
        CHECK(HexOf(kind, input, {1, 63, 64, 65, 4095, 4097, 65537, 3}) == hex);
        for (const std::size_t cut : {0, 1, 15, 17, 4096, 65536})
            CHECK(HexOf(kind, input, {cut, SIZE_MAX}) == hex);
    }
}

TEST_CASE("Every way of computing the CRC matches it bit by bit at every length and alignment") {
    // The CRC as its definition reads, one bit at a time.
    const auto bitByBit = [](const char* data, std::size_t bytes) {
        std::uint32_t crc = ~0u;
        for (std::size_t i = 0; i < bytes; ++i) {
            crc ^= static_cast<unsigned char>(data[i]);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
        return ~crc;
    };
    const std::string data = Pattern(4096 + 16, 7);
    std::vector<std::size_t> lengths = {1023, 1024, 1025, 4095, 4096};
    for (std::size_t n = 0; n < 300; ++n)
        lengths.push_back(n);
    for (const auto path :
         {Crc32Path::Tables, Crc32Path::CarrylessMultiply, Crc32Path::WideCarrylessMultiply}) {
        CAPTURE(static_cast<int>(path));
        if (!Crc32PathAvailable(path)) {
            WARN_MESSAGE(false, "this processor lacks a path's instructions: not tested");
            continue;
        }
        for (std::size_t offset = 0; offset < 16; ++offset)
            for (const std::size_t n : lengths) {
                INFO("offset " << offset << ", n " << n);
                REQUIRE(Crc32With(path, 0, data.data() + offset, n) ==
                        bitByBit(data.data() + offset, n));
            }
    }
}

TEST_CASE("CRCs of parts combine, at lengths past 4 GiB too") {
    const std::string data = Pattern(70000, 3);
    CHECK(Crc32Combine(Crc32(0, data.data(), 4097), Crc32(0, data.data() + 4097, 65903), 65903) ==
          Crc32(0, data.data(), data.size()));
    // Lengths past 4 GiB: A+(B+C) is (A+B)+C.
    const std::uint64_t lengths[][2] = {
        {1, 1ull << 32}, {(1ull << 32) - 1, (1ull << 32) + 7}, {1ull << 40, 3}};
    for (const auto& [b, c] : lengths)
        CHECK(Crc32Combine(0x12345678, Crc32Combine(0x9abcdef0, 0x0fedcba9, c), b + c) ==
              Crc32Combine(Crc32Combine(0x12345678, 0x9abcdef0, b), 0x0fedcba9, c));
}
