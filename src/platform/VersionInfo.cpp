#include "platform/VersionInfo.h"

#include "platform/FileSystem.h"
#include "platform/SystemCalls.h"

#include <windows.h>

#include <vector>

namespace {

std::wstring QueryText(const std::vector<char>& block, const std::wstring& name) {
    struct Translation {
        WORD language, codePage;
    };
    Translation* translations = nullptr;
    UINT size = 0;
    std::wstring prefix = L"\\StringFileInfo\\040904B0\\";
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                       reinterpret_cast<void**>(&translations), &size) &&
        size >= sizeof(Translation)) {
        wchar_t code[16];
        swprintf(code, 16, L"%04x%04x", translations->language, translations->codePage);
        prefix = std::wstring(L"\\StringFileInfo\\") + code + L"\\";
    }
    wchar_t* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), (prefix + name).c_str(), reinterpret_cast<void**>(&text),
                        &length) ||
        !text)
        return {};
    std::wstring value(text, length);
    value.resize(std::wcslen(value.c_str()));
    return value;
}

} // namespace

VersionInfo ReadVersionInfo(const std::wstring& modulePath) {
    const std::wstring file = SystemPath(modulePath);
    VersionInfo info;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0)
        return info;
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data()))
        return info;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        info.major = HIWORD(fixed->dwFileVersionMS);
        info.minor = LOWORD(fixed->dwFileVersionMS);
        info.revision = LOWORD(fixed->dwFileVersionLS);
    }
    info.description = QueryText(block, L"FileDescription");
    info.copyright = QueryText(block, L"LegalCopyright");
    return info;
}

std::wstring ProgramPath() {
    // A name cut short comes back as long as the room it had.
    return GrowingText(
        [](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
}
