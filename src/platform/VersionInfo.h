#pragma once

#include <string>

// What the version resource of a program file says about it.
struct VersionInfo {
    int major = 0, minor = 0, revision = 0;
    std::wstring description;
    std::wstring copyright;
};

VersionInfo ReadVersionInfo(const std::wstring& modulePath);
// The full path of the running program file.
std::wstring ProgramPath();
