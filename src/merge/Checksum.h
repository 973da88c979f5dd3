#pragma once
// A checksum computed piece by piece as the bytes go by, of any kind a checksum file
// can name.

#include "sets/HashKind.h"

#include <cstddef>
#include <memory>
#include <string>

class Checksum {
public:
    virtual ~Checksum() = default;
    // The pieces are taken in order, each of any length.
    virtual void Update(const void* data, std::size_t bytes) = 0;
    // The lower-case hex of the checksum of all bytes given, once they are all in;
    // asked again, the same. Empty when the system failed to compute it.
    virtual std::string Hex() = 0;
};

// Null when the system cannot give the algorithm.
std::unique_ptr<Checksum> MakeChecksum(HashKind kind);
