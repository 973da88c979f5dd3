#pragma once

#include <windows.h>

#include <string>

class Services;

// Shows the About box modally over the owner and returns when it is closed.
void ShowAboutBox(HWND owner, Services& services);

// "Version 1.3": major and minor number, no revision, no leading zeros.
std::wstring VersionLine(int major, int minor);
