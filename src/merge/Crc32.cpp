#include "merge/Crc32.h"

#include "merge/Crc32Folding.h"
#include "platform/SystemCalls.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(_M_X64) || defined(_M_IX86) || defined(__x86_64__) || defined(__i386__)
#include <intrin.h>
#endif

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u; // reflected

// Table k gives the register's change for a byte followed by k zero bytes, so that
// sixteen bytes take sixteen independent look-ups instead of a chain of sixteen.
using Tables = std::array<std::array<std::uint32_t, 256>, 16>;
constexpr Tables MakeTables() {
    Tables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
        t[0][i] = c;
    }
    for (std::size_t k = 1; k < t.size(); ++k)
        for (std::size_t i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}
constexpr Tables kTables = MakeTables();

static_assert(std::endian::native == std::endian::little, "words are read little-endian");

std::uint32_t Word(const unsigned char* p) {
    std::uint32_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

std::uint32_t Lookup(std::uint32_t w, std::size_t table) {
    return kTables[table][w & 0xFF] ^ kTables[table - 1][(w >> 8) & 0xFF] ^
           kTables[table - 2][(w >> 16) & 0xFF] ^ kTables[table - 3][w >> 24];
}

// The register runs uninverted here; the callers invert at both ends.
std::uint32_t TablesRaw(std::uint32_t reg, const unsigned char* p, std::size_t bytes) {
    for (; bytes >= 16; bytes -= 16, p += 16)
        reg = Lookup(Word(p) ^ reg, 15) ^ Lookup(Word(p + 4), 11) ^ Lookup(Word(p + 8), 7) ^
              Lookup(Word(p + 12), 3);
    for (; bytes > 0; --bytes, ++p)
        reg = (reg >> 8) ^ kTables[0][(reg ^ *p) & 0xFF];
    return reg;
}

struct FoldingPaths {
    bool narrow = false;
    bool wide = false;
};

// What the processor has; for 256-bit registers also whether the system saves them
// when it switches threads (it says so from Windows 7 SP1 on).
FoldingPaths ProcessorPaths() {
    FoldingPaths paths;
#if defined(_M_X64) || defined(_M_IX86) || defined(__x86_64__) || defined(__i386__)
    int info[4] = {};
    __cpuid(info, 0);
    const int highest = info[0];
    if (highest < 1)
        return paths;
    __cpuid(info, 1);
    const bool sse2 = (info[3] >> 26) & 1;
    const bool pclmulqdq = (info[2] >> 1) & 1;
    const bool avx = (info[2] >> 28) & 1;
    paths.narrow = Crc32FoldingBuilt() && sse2 && pclmulqdq;
    if (highest < 7 || !paths.narrow || !avx)
        return paths;
    __cpuidex(info, 7, 0);
    const bool avx2 = (info[1] >> 5) & 1;
    const bool vpclmulqdq = (info[2] >> 10) & 1;
    const auto enabledStates =
        SystemFunction<DWORD64(WINAPI*)()>(L"kernel32.dll", "GetEnabledXStateFeatures");
    paths.wide = Crc32WideFoldingBuilt() && avx2 && vpclmulqdq && enabledStates &&
                 (enabledStates() & XSTATE_MASK_AVX) != 0;
#endif
    return paths;
}

std::uint32_t FoldingRaw(bool wide, std::uint32_t reg, const unsigned char* p, std::size_t bytes) {
    if (bytes < (wide ? 128u : 64u))
        return TablesRaw(reg, p, bytes);
    unsigned char rest[16];
    const std::size_t blocks = bytes / 16;
    (wide ? Crc32FoldBlocksWide : Crc32FoldBlocks)(reg, p, blocks, rest);
    reg = TablesRaw(0, rest, sizeof rest);
    return TablesRaw(reg, p + blocks * 16, bytes % 16);
}

// (a * b) mod P, both in the reflected order, where bit 31 is x^0.
std::uint32_t MultiplyModP(std::uint32_t a, std::uint32_t b) {
    std::uint32_t product = 0;
    for (std::uint32_t bit = 0x80000000u; bit != 0; bit >>= 1) {
        if (a & bit)
            product ^= b;
        b = (b & 1) ? (b >> 1) ^ kPolynomial : b >> 1;
    }
    return product;
}

// x^(8n) mod P: what n zero bytes do to a register, by squaring.
std::uint32_t ZeroBytesOperator(std::uint64_t n) {
    std::uint32_t result = 0x80000000u; // x^0
    std::uint32_t square = 0x00800000u; // x^8
    for (; n > 0; n >>= 1) {
        if (n & 1)
            result = MultiplyModP(square, result);
        square = MultiplyModP(square, square);
    }
    return result;
}

} // namespace

bool Crc32PathAvailable(Crc32Path path) {
    static const FoldingPaths available = ProcessorPaths();
    switch (path) {
    case Crc32Path::Tables: return true;
    case Crc32Path::CarrylessMultiply: return available.narrow;
    case Crc32Path::WideCarrylessMultiply: return available.wide;
    }
    return false;
}

std::uint32_t Crc32With(Crc32Path path, std::uint32_t crc, const void* data, std::size_t bytes) {
    const auto* p = static_cast<const unsigned char*>(data);
    if (path == Crc32Path::Tables || !Crc32PathAvailable(path))
        return ~TablesRaw(~crc, p, bytes);
    return ~FoldingRaw(path == Crc32Path::WideCarrylessMultiply, ~crc, p, bytes);
}

std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t bytes) {
    static const Crc32Path fastest =
        Crc32PathAvailable(Crc32Path::WideCarrylessMultiply) ? Crc32Path::WideCarrylessMultiply
        : Crc32PathAvailable(Crc32Path::CarrylessMultiply)   ? Crc32Path::CarrylessMultiply
                                                             : Crc32Path::Tables;
    return Crc32With(fastest, crc, data, bytes);
}

// The inversions at both ends cancel out between the two CRCs, so only the first
// one's register has to be moved past the second's length.
std::uint32_t Crc32Combine(std::uint32_t first, std::uint32_t second, std::uint64_t secondBytes) {
    return MultiplyModP(ZeroBytesOperator(secondBytes), first) ^ second;
}

std::string Crc32Hex(std::uint32_t crc) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex(8, '0');
    for (int i = 7; i >= 0; --i, crc >>= 4)
        hex[static_cast<std::size_t>(i)] = kDigits[crc & 0xF];
    return hex;
}
