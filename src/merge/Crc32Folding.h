#pragma once
// The carry-less multiply path of the CRC, in a file of its own: only that file is
// built for the instructions it needs, and it runs only where the processor has them.

#include <cstddef>
#include <cstdint>

// Whether this build can fold at all (x86 and x64).
bool Crc32FoldingBuilt();

// Folds the CRC register (not inverted) into whole 16-byte blocks, at least four of
// them, and leaves 16 bytes whose CRC from a zero register is the CRC of all blocks
// from the given register. Needs PCLMULQDQ and SSE2.
void Crc32FoldBlocks(std::uint32_t reg, const unsigned char* data, std::size_t blocks,
                     unsigned char rest[16]);
