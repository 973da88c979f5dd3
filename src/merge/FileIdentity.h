#pragma once
// Whether two paths name one file, and how much room replacing a file gives back.

#include <windows.h>

#include <array>
#include <optional>
#include <string>

// A file as the file system knows it, whatever name it is reached by: the volume
// and the file's id on it. Hard links, symbolic links and short names of one file
// give the same identity. The 128-bit id with the 64-bit volume serial where the
// system gives them (ReFS needs them), the older 64-bit index otherwise.
struct FileIdentity {
    ULONGLONG volume = 0;
    std::array<BYTE, 16> id{};
    bool operator==(const FileIdentity&) const = default;
};

// Whether two identities prove one file. Some file systems give every file the
// id 0: such an id proves nothing, and the paths must decide.
bool SameFile(const FileIdentity& a, const FileIdentity& b);

// The identity of an existing file or folder; none when it cannot be opened.
std::optional<FileIdentity> IdentifyFile(const std::wstring& path);

// The full path with "." and ".." resolved and short names of existing folders
// and files made long, for comparing paths whose files may not exist.
std::wstring NormalisePath(const std::wstring& path);

// Tells for one output path which inputs name the same file: the same text; where
// the output exists, the same identity where both files have a known one, the same
// normalised path in any letter case where they do not. An output that does not
// exist is no input. `identify` stands in for IdentifyFile where a file system must
// be played that this one is not.
class SameFileTest {
public:
    using Identify = std::optional<FileIdentity> (*)(const std::wstring& path);
    explicit SameFileTest(std::wstring output, Identify identify = IdentifyFile);
    bool IsOutput(const std::wstring& input) const;
    // The same for an input open as `opened`, whose identity is read from the handle.
    bool IsOutput(const std::wstring& input, HANDLE opened) const;

private:
    bool Decide(const std::wstring& input, const std::optional<FileIdentity>& identity) const;

    Identify identify_;
    std::wstring output_;
    bool outputAbsent_;
    std::wstring normalised_;
    std::optional<FileIdentity> identity_;
};

// The bytes that removing a file's name gives back on its volume: the space the file
// takes there; 0 when it does not exist, keeps its data under another name (a hard
// link) or is a link whose target stays.
double SpaceFreedByReplacing(const std::wstring& path);
