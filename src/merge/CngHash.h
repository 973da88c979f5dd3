#pragma once
// MD5 and the SHA family from the system's CNG (bcrypt.dll).

#include "merge/Checksum.h"

// Null when the system has no provider for the kind (or it is not one of CNG's).
std::unique_ptr<Checksum> MakeCngHash(HashKind kind);

// BCryptHashData takes a ULONG length: a larger buffer goes in calls of this size.
inline constexpr std::size_t kCngLargestPiece = 4 << 20;
