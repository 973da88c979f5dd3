#pragma once

#include <windows.h>

#include <string>

// A failure of the window system or a dialog that a command does not stop for: it
// is noted here and looked at only at the command's fixed check points.
struct PendingError {
    DWORD number = 0;
    std::wstring description;

    bool Holds() const { return number != 0; }
    void Clear() { *this = {}; }
    void Record(DWORD errorNumber, std::wstring text) {
        number = errorNumber;
        description = std::move(text);
    }
};
