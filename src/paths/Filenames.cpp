#include "paths/Filenames.h"

std::wstring GetExtension(const std::wstring& path) {
    const auto dot = path.rfind(L'.');
    if (dot == std::wstring::npos || dot + 1 >= path.size())
        return {};
    return path.substr(dot + 1);
}

std::wstring GetDirectory(const std::wstring& path) {
    const auto slash = path.rfind(L'\\');
    // A lone leading "\" names the current drive's root, not a folder we can keep.
    if (slash == std::wstring::npos || slash == 0)
        return {};
    if (slash + 1 == path.size())
        return path;
    return path.substr(0, slash);
}

std::wstring GetDrive(const std::wstring& path) {
    std::wstring dir = GetDirectory(path);
    if (dir.empty() || dir.back() != L'\\')
        dir += L'\\';
    if (dir.size() < 3)
        return {};
    if (dir[1] == L':' && dir[2] == L'\\')
        return dir.substr(0, 2);
    if (dir[0] == L'\\' && dir[1] == L'\\') {
        const auto serverEnd = dir.find(L'\\', 2);
        if (serverEnd == std::wstring::npos)
            return {};
        const auto shareEnd = dir.find(L'\\', serverEnd + 1);
        if (shareEnd == std::wstring::npos)
            return {};
        return dir.substr(0, shareEnd);
    }
    return {};
}

std::wstring FolderPath(std::wstring folder) {
    if (folder.size() == 2 && folder[1] == L':')
        folder += L'\\';
    return folder;
}
