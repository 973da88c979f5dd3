#pragma once
// What a merge that checked its bytes against checksum files tells the user. Pure
// text; the merge computes the values and shows the message.

#include "sets/HashKind.h"

#include <optional>
#include <string>
#include <vector>

// "CRC-32", "SHA-256"...
std::wstring HashName(HashKind kind);

struct Verified {
    std::wstring checksumFile; // full path
    HashKind kind;
    std::optional<std::wstring> part; // the part's path; nothing: the merged file
    std::string expected, computed;   // lower-case hex
};

// The message when every value matched, naming the output and the checksum files;
// information.
std::wstring MatchedMessage(const std::wstring& output, const std::vector<Verified>& checked);

// The message when some value differs, naming each part (or the merged file) that
// does not match, both values and what to do; a warning. Empty when all match.
std::wstring MismatchMessage(const std::wstring& output, const std::vector<Verified>& checked);
