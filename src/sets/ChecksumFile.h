#pragma once
// Checksum files as they travel with split sets and downloads, read from their bytes
// alone: <base>.crc, .sfv, .md5, .sha1, .sha256, .sha512 and *SUMS lists. They come
// from anywhere, so nothing in them is trusted: a line that does not parse is
// skipped, and names are only text here (sets/SetChecksums.h decides what they may
// select). Pure text, no file system.

#include "sets/HashKind.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ChecksumEntry {
    std::wstring name; // as written, decoded from UTF-8
    HashKind kind;
    std::string expected; // lower-case hex; empty where a .crc gives only a size
    std::optional<std::uint64_t> size;
};

// Longer lines are no checksum line of a file name: they are ignored.
inline constexpr std::size_t kMaxChecksumLine = 4096;

// Whether a file's name makes it a checksum file this parser reads.
bool IsChecksumFileName(std::wstring_view fileName);

// The entries of a checksum file in file order; the format is chosen by its name.
std::vector<ChecksumEntry> ParseChecksumFile(std::wstring_view fileName, std::string_view bytes);
// The same, handing over one entry at a time.
void ForEachChecksumEntry(std::wstring_view fileName, std::string_view bytes,
                          const std::function<void(ChecksumEntry&&)>& take);

// UTF-8 as wide text; a byte that is not part of a valid sequence reads as U+FFFD.
std::wstring DecodeUtf8(std::string_view bytes);
