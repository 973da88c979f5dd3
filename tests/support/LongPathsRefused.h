#pragma once
// Windows' answer to a path longer than MAX_PATH without the "\\?\" prefix, where the
// system's long-path setting is off: the file function fails with
// ERROR_FILENAME_EXCED_RANGE. Wine takes such paths, so while an object of this
// class lives the file functions this executable imports give Windows' answer; the
// program's own code, linked into the test executable, then meets it wherever it
// hands a path to the system.

#include <windows.h>

#include <vector>

class LongPathsRefused {
public:
    LongPathsRefused();
    ~LongPathsRefused();
    LongPathsRefused(const LongPathsRefused&) = delete;
    LongPathsRefused& operator=(const LongPathsRefused&) = delete;

private:
    struct Patch {
        void** slot;
        void* original;
    };
    std::vector<Patch> patches_;
};
