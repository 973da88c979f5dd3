#pragma once
// The carry-less multiply paths of the CRC, each in a file of its own: only those files
// are built for the instructions they need, and they run only where the processor has
// them.

#include <cstddef>
#include <cstdint>

// Whether this build has the paths at all (x86 and x64).
bool Crc32FoldingBuilt();
bool Crc32WideFoldingBuilt();

// Folds the CRC register (not inverted) into whole 16-byte blocks, at least four of
// them (eight for the wide one), and leaves 16 bytes whose CRC from a zero register is
// the CRC of all blocks from the given register. Need PCLMULQDQ and SSE2; the wide one
// VPCLMULQDQ and AVX2, with the system saving the 256-bit registers.
void Crc32FoldBlocks(std::uint32_t reg, const unsigned char* data, std::size_t blocks,
                     unsigned char rest[16]);
void Crc32FoldBlocksWide(std::uint32_t reg, const unsigned char* data, std::size_t blocks,
                         unsigned char rest[16]);

// x^e mod P in the CRC's reflected order. Evaluated by the compiler only: no code of
// it is shared between the specially built files.
consteval std::uint32_t Crc32XPowModP(unsigned e) {
    std::uint32_t r = 0x80000000u; // x^0
    for (; e > 0; --e)
        r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
    return r;
}

// Multiplying a block's first 8 bytes by x^(d+32) and its last 8 by x^(d-32) (mod P)
// moves it d bits further on, into 64-bit halves that fit beside the block there.
// Each is shifted once to the left: the carry-less product of two reflected values
// comes out one bit short.
struct Crc32FoldDistance {
    std::uint64_t low, high;
};
consteval Crc32FoldDistance Crc32Distance(unsigned d) {
    return {std::uint64_t{Crc32XPowModP(d + 32)} << 1, std::uint64_t{Crc32XPowModP(d - 32)} << 1};
}
