#pragma once
// File-system lookups by directory entry. They accept hidden and system files and
// never count a folder as a file.

#include <windows.h>

#include <string>
#include <vector>

// The text to hand to a file function for a path as the user has it: a path
// longer than MAX_PATH in its "\\?\" form, resolved against the current directory
// (paths/LongPaths.h), so that it works whatever the system's long-path setting; a
// path with a name that ends in a dot or a blank in its exact "\\?\" form; under
// WOW64, System32 through Sysnative (paths/Sysnative.h). Every call of a file
// function goes through it; what the user sees never does.
std::wstring SystemPath(const std::wstring& path);

// The process's current directory.
std::wstring CurrentDirectory();

// A size the system gives in two 32-bit halves, exact up to 2^53 bytes.
double SizeFromHalves(DWORD high, DWORD low);

enum class Lookup {
    Found,    // a file of exactly that name
    NotFound, // no such file, or a folder
    Failed,   // the lookup itself failed (drive not ready, share unreachable...)
};

// When a file is found and size is given, it receives the file's size in bytes.
Lookup LookUpFile(const std::wstring& path, double* size = nullptr);
inline bool IsFilePresent(const std::wstring& path) {
    return LookUpFile(path) == Lookup::Found;
}
struct FolderFile {
    std::wstring name;
    double size; // bytes
};
// The files directly in a folder, in the file system's order; folders are left
// out. Empty when the folder cannot be listed.
std::vector<FolderFile> ListFolderFiles(const std::wstring& folder);
