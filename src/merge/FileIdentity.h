#pragma once
// Whether two paths name one file, and how much room replacing a file gives back.

#include <windows.h>

#include <optional>
#include <string>

// A file as the file system knows it, whatever name it is reached by: the volume
// and the file's index on it. Hard links, symbolic links and short names of one
// file give the same identity.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of an existing file or folder; none when it cannot be opened.
std::optional<FileIdentity> IdentifyFile(const std::wstring& path);

// The full path with "." and ".." resolved and short names of existing folders
// and files made long, for comparing paths whose files may not exist.
std::wstring NormalisePath(const std::wstring& path);

// Tells for one output path which inputs name the same file: the same text, the
// same normalised path in any letter case, or, where both exist, the same identity.
class SameFileTest {
public:
    explicit SameFileTest(std::wstring output);
    bool IsOutput(const std::wstring& input) const;

private:
    std::wstring output_;
    std::wstring normalised_;
    std::optional<FileIdentity> identity_;
};

// The bytes that replacing an existing file gives back on the volume of root (a
// drive's root such as "C:\"): the space the file takes there, 0 when it does not
// exist or lies on another volume.
double SpaceFreedByReplacing(const std::wstring& path, const std::wstring& root);
