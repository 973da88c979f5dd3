#pragma once
// CRC-32 as zlib and SFV files compute it (reflected polynomial 0xEDB88320, all ones
// in and out): the CRC of "123456789" is 0xCBF43926.

#include <cstddef>
#include <cstdint>
#include <string>

// The CRC of the bytes given so far, followed by these: start from 0, the CRC of
// nothing, and pass each result back in with the next piece.
std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t bytes);

// The CRC of A followed by B, from the CRC of each and the length of B alone.
std::uint32_t Crc32Combine(std::uint32_t first, std::uint32_t second, std::uint64_t secondBytes);

// Eight lower-case hex digits, the way checksum files write it.
std::string Crc32Hex(std::uint32_t crc);

// The ways the CRC is computed; Crc32 takes the fastest the processor has.
enum class Crc32Path { Tables, CarrylessMultiply, WideCarrylessMultiply };
bool Crc32PathAvailable(Crc32Path path);
std::uint32_t Crc32With(Crc32Path path, std::uint32_t crc, const void* data, std::size_t bytes);
