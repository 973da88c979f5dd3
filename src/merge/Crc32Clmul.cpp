#include "merge/Crc32Folding.h"

// Only declarations, compile-time constants and the intrinsics here: this file is
// compiled for PCLMULQDQ, and an inline function of a shared header built here could be
// the copy the rest of the program links to.
#if defined(_M_X64) || defined(_M_IX86) || defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#include <wmmintrin.h>

namespace {

constexpr Crc32FoldDistance kFourBlocks = Crc32Distance(4 * 128);
constexpr Crc32FoldDistance kOneBlock = Crc32Distance(128);

__m128i Constants(Crc32FoldDistance d) {
    return _mm_set_epi32(static_cast<int>(d.high >> 32), static_cast<int>(d.high),
                         static_cast<int>(d.low >> 32), static_cast<int>(d.low));
}

__m128i Fold(__m128i x, __m128i constants, __m128i next) {
    const __m128i low = _mm_clmulepi64_si128(x, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(x, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

__m128i Load(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

} // namespace

bool Crc32FoldingBuilt() {
    return true;
}

// Four blocks at a time keep four independent multiplications in flight; the four
// are then folded into one, and further blocks one by one.
void Crc32FoldBlocks(std::uint32_t reg, const unsigned char* data, std::size_t blocks,
                     unsigned char rest[16]) {
    __m128i x0 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i x1 = Load(data + 16);
    __m128i x2 = Load(data + 32);
    __m128i x3 = Load(data + 48);
    data += 64;
    blocks -= 4;
    const __m128i byFour = Constants(kFourBlocks);
    for (; blocks >= 4; blocks -= 4, data += 64) {
        x0 = Fold(x0, byFour, Load(data));
        x1 = Fold(x1, byFour, Load(data + 16));
        x2 = Fold(x2, byFour, Load(data + 32));
        x3 = Fold(x3, byFour, Load(data + 48));
    }
    const __m128i byOne = Constants(kOneBlock);
    __m128i x = Fold(Fold(Fold(x0, byOne, x1), byOne, x2), byOne, x3);
    for (; blocks > 0; --blocks, data += 16)
        x = Fold(x, byOne, Load(data));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(rest), x);
}

#else

bool Crc32FoldingBuilt() {
    return false;
}

void Crc32FoldBlocks(std::uint32_t, const unsigned char*, std::size_t, unsigned char*) {}

#endif
