#pragma once
// Pieces of a path, taken apart by text alone: "\" is the only separator, and
// nothing here looks at the file system.

#include <string>

// The characters after the last "." of the whole path (folders included), or empty.
std::wstring GetExtension(const std::wstring& path);

// Everything before the last "\", the whole path when it ends with "\", or empty
// when there is no "\" past the first character.
std::wstring GetDirectory(const std::wstring& path);

// A folder as a path of its own: a drive's "X:" becomes its root "X:\".
std::wstring FolderPath(std::wstring folder);

// The drive of the path's folder: "X:" or "\\server\share", or empty.
std::wstring GetDrive(const std::wstring& path);
