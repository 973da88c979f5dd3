#pragma once

#include <windows.h>

#include <string>

class Services;

// The folder of the program file: no trailing backslash, except at a drive's root.
std::wstring ProgramDirectory();

// Opens help.txt beside the program in the text viewer, or says where it was
// expected.
void ShowHelp(HWND owner, Services& services, const std::wstring& programDirectory);
