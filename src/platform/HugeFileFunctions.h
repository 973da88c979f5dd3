#pragma once
// File and disk sizes as doubles, exact up to 2^53 bytes, so that files and
// drives beyond 2 GB and 4 GB are measured right. -1 means the size could not be
// found; callers add it into totals as a number.

#include <windows.h>

#include <cstdint>
#include <string>

// Size of a file, or -1 when it cannot be opened for a query. Needs no read or
// write rights, so a file that another program is writing can still be measured.
double GetHugeFileSize(const std::wstring& path);

// Bytes the calling user may still write on the drive of rootPath ("C:\",
// "\\server\share\"), or -1 when the query fails.
double GetHugeFreeSpace(const std::wstring& rootPath);

// The system's message for an error code, or "Unknown Error.". The system's own
// trailing line break is kept.
std::wstring GetErrorText(DWORD code);
