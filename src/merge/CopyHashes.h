#pragma once
// The checksums a merge computes of its parts and of its whole output as the bytes
// go by, on one pass: each part's CRC-32, where one is asked for, also gives the
// output's by combining, so that CRC is never computed twice.

#include "merge/Checksum.h"
#include "sets/HashKind.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct HashPlan {
    std::vector<std::vector<HashKind>> parts; // for each input, the kinds to compute
    std::vector<HashKind> whole;              // for the output
    bool Empty() const;
    bool OnlyCrc32() const; // nothing but CRC-32s, fast enough to compute as the bytes are read
};

// Lower-case hex in the plan's places; empty where the system could not compute one.
struct HashResults {
    std::vector<std::vector<std::string>> parts;
    std::vector<std::string> whole;
};

class CopyHashes {
public:
    CopyHashes(const HashPlan& plan, std::size_t inputs);
    // The next bytes of an input, in order: inputs one after the other, as merged.
    void Add(std::size_t input, const void* data, std::size_t bytes);
    HashResults Results();

private:
    struct Part {
        std::uint32_t crc = 0;
        std::uint64_t bytes = 0;
        std::vector<std::unique_ptr<Checksum>> others; // in the plan's order; null: no CRC
    };
    const HashPlan& plan_;
    bool crcs_; // every part's CRC-32 is kept
    std::vector<Part> parts_;
    std::vector<std::unique_ptr<Checksum>> whole_; // null for CRC-32, combined from the parts
};
