#pragma once
// The output of a merge takes the place of an older file of its name by name: the
// older file is renamed aside, a new file is made under the name, and only then is
// the older one deleted. It is never opened and cut in place, and it survives every
// failure to make its successor.

#include <windows.h>

#include <functional>
#include <string>

#include "platform/Handles.h"

// CreateFileW as the output is made with it; tests play Windows' answers through
// it where Wine's differ. Empty: CreateFileW itself.
using CreateFileCall = std::function<HANDLE(const wchar_t* path, DWORD access, DWORD share,
                                            DWORD disposition, DWORD attributes)>;

// Makes the output at path, empty, for writing, in place of an older file of that
// name, if there is one. Invalid, with error set to the system's reason, when that
// fails; the older file is then where and as it was.
FileHandle CreateOutputFile(const std::wstring& path, DWORD& error,
                            const CreateFileCall& create = {});
