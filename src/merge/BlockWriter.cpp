#include "merge/BlockWriter.h"

#include <algorithm>

bool BlockWriter::Append(const char* chunk, DWORD size) {
    DWORD stored = 0;
    while (stored < size) {
        DWORD done = 0;
        const BOOL ok = Write(chunk + stored, size - stored, &done);
        if (!ok)
            error_ = GetLastError();
        done = std::min(done, size - stored);
        stored += done;
        written_ += done;
        if (ok && done > 0)
            continue;
        // A write that reports success but stores nothing would never finish.
        if (ok)
            error_ = ERROR_WRITE_FAULT;
        CutBack(stored % kBlockSize);
        return false;
    }
    return true;
}

BOOL BlockWriter::Write(const char* buffer, DWORD size, DWORD* done) {
    return calls_.write ? calls_.write(output_, buffer, size, done)
                        : WriteFile(output_, buffer, size, done, nullptr);
}

void BlockWriter::CutBack(DWORD partialBlock) {
    // Cutting the file at the last whole block also drops whatever a failed call
    // may have stored without saying so.
    written_ -= partialBlock;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(written_);
    if (SetFilePointerEx(output_, end, nullptr, FILE_BEGIN))
        SetEndOfFile(output_);
}
