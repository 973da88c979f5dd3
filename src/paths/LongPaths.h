#pragma once
// Windows' file functions take a path of at most MAX_PATH characters, 260 with its
// closing NUL, unless the program is long-path aware and the system allows it, or
// the path carries the "\\?\" prefix ("\\?\C:\...", "\\?\UNC\server\share\..."):
// up to about 32,767 characters then. The prefix hands the path to the file system
// as it stands, so "." and ".." are not resolved, "/" is no separator and a
// relative path means nothing; the system's own resolution is itself held to
// MAX_PATH. So a long path is resolved here, by text, before it takes the prefix.

#include <cstddef>
#include <string>

inline constexpr std::size_t kMaxPath = 260;

// Whether a path already names the file the system's own way: "\\?\" or "\\.\".
bool HasLongPathPrefix(const std::wstring& path);

// The text to hand to a file function for a path as the user has it. A short path
// and a prefixed one stay as they are. A long one is made full against the current
// directory, its "." and ".." parts resolved, "/" read as "\", empty parts and the
// trailing dots and blanks that Windows drops dropped; it then takes the prefix, or
// stays without when it has become short. A path without a drive or share to
// start from stays as it is.
std::wstring LongPathForm(const std::wstring& path, const std::wstring& currentDirectory);

// Whether the system, reading the path itself, could drop a dot or blank that ends
// one of its names: "t.bin." would reach "t.bin", a different file.
bool HasNameEndingInDotOrBlank(const std::wstring& path);

// The "\\?\" form of a path, made full and its "." and ".." resolved as LongPathForm
// does, but every name kept exactly as written, so that the file named is the file
// reached. A prefixed path, and one without a drive or share, stay as they are.
std::wstring ExactPathForm(const std::wstring& path, const std::wstring& currentDirectory);

// A prefixed path as it reads without the prefix, for comparing with the user's.
std::wstring WithoutLongPathPrefix(const std::wstring& path);
