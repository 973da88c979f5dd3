#pragma once
// The checksums that a checksum file beside a split set can name and that a merge
// can compute as it writes.

enum class HashKind { Crc32, Md5, Sha1, Sha256, Sha512 };
