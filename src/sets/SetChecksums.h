#pragma once
// The checksum files beside a split set, and what they say its listed parts and the
// merged file must hash to.

#include <windows.h>

#include "sets/ChecksumFile.h"
#include "sets/PartNames.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A checksum file is read this far at most; the rest is ignored.
inline constexpr std::size_t kMaxChecksumFileBytes = 4u << 20;

// The information icon for good news.
inline constexpr UINT kVerifiedBox = MB_OK | MB_ICONINFORMATION;

struct Expected {
    std::wstring checksumFile; // full path
    HashKind kind;
    std::optional<std::size_t> part; // index into the listed paths; nothing: the merged file
    std::string hex;                 // lower case
};

// What the checksum files beside the set (<base>.crc, *.sfv, *.md5, *.sha1, *.sha256,
// *.sha512, *SUMS) say of the set's base name (the merged file) and of the listed
// parts, from one listing of the folder. A name in them only ever selects among
// these, letter case ignored: it never opens another path. A file that cannot be
// read or names none of them adds nothing.
std::vector<Expected> FindChecksums(const std::vector<std::wstring>& listedPaths,
                                    const PartName& set);

// The merged file's size as the set's <base>.crc gives it, and that file's name.
struct ExpectedSize {
    double bytes;
    std::wstring from;
};
std::optional<ExpectedSize> SizeFromCrcFile(const PartName& set);

// Up to kMaxChecksumFileBytes from a file's start; when it holds more, the last line,
// cut, is dropped too. Empty when the file cannot be read.
std::string ReadChecksumFile(const std::wstring& path);
