#include "merge/Crc32Folding.h"

// The carry-less multiply two blocks at a time (VPCLMULQDQ on 256-bit registers), which
// about doubles the speed where the processor has it. As in Crc32Clmul.cpp, only
// declarations, compile-time constants and the intrinsics go into this specially built
// file.
#if defined(_M_X64) || defined(_M_IX86) || defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {

constexpr Crc32FoldDistance kEightBlocks = Crc32Distance(8 * 128);
constexpr Crc32FoldDistance kTwoBlocks = Crc32Distance(2 * 128);
constexpr Crc32FoldDistance kOneBlock = Crc32Distance(128);

__m128i Halves(Crc32FoldDistance d) {
    return _mm_set_epi32(static_cast<int>(d.high >> 32), static_cast<int>(d.high),
                         static_cast<int>(d.low >> 32), static_cast<int>(d.low));
}

// The same pair of multipliers for both blocks of a register.
__m256i Constants(Crc32FoldDistance d) {
    const __m128i halves = Halves(d);
    return _mm256_inserti128_si256(_mm256_castsi128_si256(halves), halves, 1);
}

__m256i Fold(__m256i x, __m256i constants, __m256i next) {
    const __m256i low = _mm256_clmulepi64_epi128(x, constants, 0x00);
    const __m256i high = _mm256_clmulepi64_epi128(x, constants, 0x11);
    return _mm256_xor_si256(_mm256_xor_si256(low, high), next);
}

__m128i Fold(__m128i x, __m128i constants, __m128i next) {
    const __m128i low = _mm_clmulepi64_si128(x, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(x, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

__m256i Load(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

} // namespace

bool Crc32WideFoldingBuilt() {
    return true;
}

// Four registers of two blocks each, folded eight blocks on per round; then into one
// register, two blocks on per round; its two blocks into one, and a last block.
void Crc32FoldBlocksWide(std::uint32_t reg, const unsigned char* data, std::size_t blocks,
                         unsigned char rest[16]) {
    __m256i x0 = _mm256_xor_si256(Load(data),
                                  _mm256_castsi128_si256(_mm_cvtsi32_si128(static_cast<int>(reg))));
    __m256i x1 = Load(data + 32);
    __m256i x2 = Load(data + 64);
    __m256i x3 = Load(data + 96);
    data += 128;
    blocks -= 8;
    const __m256i byEight = Constants(kEightBlocks);
    for (; blocks >= 8; blocks -= 8, data += 128) {
        x0 = Fold(x0, byEight, Load(data));
        x1 = Fold(x1, byEight, Load(data + 32));
        x2 = Fold(x2, byEight, Load(data + 64));
        x3 = Fold(x3, byEight, Load(data + 96));
    }
    const __m256i byTwo = Constants(kTwoBlocks);
    __m256i x = Fold(Fold(Fold(x0, byTwo, x1), byTwo, x2), byTwo, x3);
    for (; blocks >= 2; blocks -= 2, data += 32)
        x = Fold(x, byTwo, Load(data));
    const __m128i byOne = Halves(kOneBlock);
    __m128i last = Fold(_mm256_castsi256_si128(x), byOne, _mm256_extracti128_si256(x, 1));
    if (blocks > 0)
        last = Fold(last, byOne, _mm_loadu_si128(reinterpret_cast<const __m128i*>(data)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(rest), last);
}

#else

bool Crc32WideFoldingBuilt() {
    return false;
}

void Crc32FoldBlocksWide(std::uint32_t, const unsigned char*, std::size_t, unsigned char*) {}

#endif
