#pragma once
// The output as the copy writes it: chunks of whole blocks appended one after the
// other. A write that stores fewer bytes than asked for goes on with the rest; one
// that stores nothing fails. After a failure the file is cut back to the last whole
// block it is known to hold, so a stopped merge never leaves part of a block.

#include "merge/CopyOptions.h"

#include <cstdint>

class BlockWriter {
public:
    BlockWriter(HANDLE output, const FileCalls& calls) : output_(output), calls_(calls) {}

    // The chunk's blocks start at multiples of 4096 from its start; only its last
    // block may be shorter.
    bool Append(const char* chunk, DWORD size);
    // The system's error code for the failure.
    DWORD Error() const { return error_; }

private:
    BOOL Write(const char* buffer, DWORD size, DWORD* done);
    void CutBack(DWORD partialBlock);

    HANDLE output_;
    const FileCalls& calls_;
    std::uint64_t written_ = 0;
    DWORD error_ = 0;
};
