#pragma once
// A 32-bit program under WOW64 that names %windir%\System32 is shown
// %windir%\SysWOW64 instead, without a word: a file dropped from there by 64-bit
// Explorer would be another file, or none. The alias %windir%\Sysnative names, for
// such a program, the System32 that the user and every 64-bit program see.

#include <string>

// The path with its System32 named through Sysnative where it lies in
// windowsDirectory\System32 (in any letter case, also in its "\\?\" form); any other
// path as it is.
std::wstring SysnativePath(const std::wstring& path, const std::wstring& windowsDirectory);
