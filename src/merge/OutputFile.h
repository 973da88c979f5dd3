#pragma once
// The output of a merge takes the place of an older file of its name by name: the
// older file's name is removed and a new file made under it, never the older file
// opened and cut in place.

#include <windows.h>

#include <functional>
#include <string>

#include "platform/Handles.h"

// CreateFileW as the output is made with it; tests play Windows' answers through
// it where Wine's differ. Empty: CreateFileW itself.
using CreateFileCall = std::function<HANDLE(const wchar_t* path, DWORD access, DWORD share,
                                            DWORD disposition, DWORD attributes)>;

// Removes the name of an older file at path, if there is one, and makes the output
// there, empty, for writing. Invalid, with error set to the system's reason, when
// either step fails; a failed removal leaves everything as it was.
FileHandle CreateOutputFile(const std::wstring& path, DWORD& error,
                            const CreateFileCall& create = {});
