#include "paths/Sysnative.h"

#include <cwctype>

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// One character against another as the file system compares names: letter case
// and the kind of separator do not matter.
bool SameCharacter(wchar_t a, wchar_t b) {
    return (IsSeparator(a) && IsSeparator(b)) || std::towupper(a) == std::towupper(b);
}

} // namespace

std::wstring SysnativePath(const std::wstring& path, const std::wstring& windowsDirectory) {
    std::wstring windows = windowsDirectory;
    while (!windows.empty() && IsSeparator(windows.back()))
        windows.pop_back();
    if (windows.empty())
        return path;
    const std::wstring system32 = windows + L"\\System32";
    const std::size_t start = path.rfind(L"\\\\?\\", 0) == 0 ? 4 : 0;
    const std::size_t end = start + system32.size();
    if (path.size() < end || (path.size() > end && !IsSeparator(path[end])))
        return path;
    for (std::size_t i = 0; i < system32.size(); ++i)
        if (!SameCharacter(path[start + i], system32[i]))
            return path;
    return path.substr(0, start + windows.size() + 1) + L"Sysnative" + path.substr(end);
}
