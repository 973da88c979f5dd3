#include "support/LongPathsRefused.h"

#include <doctest.h>

#include <cstring>
#include <cwchar>

namespace {

// The system's own functions, reached past the replaced imports.
decltype(&CreateFileW) systemCreateFile;
decltype(&GetFileAttributesExW) systemGetFileAttributesEx;
decltype(&FindFirstFileExW) systemFindFirstFileEx;
decltype(&DeleteFileW) systemDeleteFile;
decltype(&GetLongPathNameW) systemGetLongPathName;

bool Refused(const wchar_t* path) {
    if (!path || std::wcsncmp(path, L"\\\\?\\", 4) == 0 || std::wcslen(path) < MAX_PATH)
        return false;
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return true;
}

HANDLE WINAPI CreateFileAsWindows(LPCWSTR path, DWORD access, DWORD share,
                                  LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                  HANDLE templateFile) {
    return Refused(path)
               ? INVALID_HANDLE_VALUE
               : systemCreateFile(path, access, share, security, disposition, flags, templateFile);
}

BOOL WINAPI GetFileAttributesExAsWindows(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID data) {
    return !Refused(path) && systemGetFileAttributesEx(path, level, data);
}

HANDLE WINAPI FindFirstFileExAsWindows(LPCWSTR pattern, FINDEX_INFO_LEVELS level, LPVOID data,
                                       FINDEX_SEARCH_OPS search, LPVOID filter, DWORD flags) {
    return Refused(pattern) ? INVALID_HANDLE_VALUE
                            : systemFindFirstFileEx(pattern, level, data, search, filter, flags);
}

BOOL WINAPI DeleteFileAsWindows(LPCWSTR path) {
    return !Refused(path) && systemDeleteFile(path);
}

DWORD WINAPI GetLongPathNameAsWindows(LPCWSTR path, LPWSTR buffer, DWORD size) {
    return Refused(path) ? 0 : systemGetLongPathName(path, buffer, size);
}

// Where this executable keeps the address it calls for a function it imports by name.
void** ImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name; ++module) {
        if (_stricmp(reinterpret_cast<const char*>(base + module->Name), dll) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
            base + (module->OriginalFirstThunk ? module->OriginalFirstThunk : module->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void Store(void** slot, void* address) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = address;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

} // namespace

LongPathsRefused::LongPathsRefused() {
    const struct {
        const char* name;
        void* replacement;
        void** system;
    } functions[] = {
        {"CreateFileW", reinterpret_cast<void*>(CreateFileAsWindows),
         reinterpret_cast<void**>(&systemCreateFile)},
        {"GetFileAttributesExW", reinterpret_cast<void*>(GetFileAttributesExAsWindows),
         reinterpret_cast<void**>(&systemGetFileAttributesEx)},
        {"FindFirstFileExW", reinterpret_cast<void*>(FindFirstFileExAsWindows),
         reinterpret_cast<void**>(&systemFindFirstFileEx)},
        {"DeleteFileW", reinterpret_cast<void*>(DeleteFileAsWindows),
         reinterpret_cast<void**>(&systemDeleteFile)},
        {"GetLongPathNameW", reinterpret_cast<void*>(GetLongPathNameAsWindows),
         reinterpret_cast<void**>(&systemGetLongPathName)},
    };
    for (const auto& f : functions) {
        void** slot = ImportSlot("kernel32.dll", f.name);
        REQUIRE_MESSAGE(slot, f.name);
        *f.system = *slot;
        patches_.push_back({slot, *slot});
        Store(slot, f.replacement);
    }
}

LongPathsRefused::~LongPathsRefused() {
    for (const Patch& patch : patches_)
        Store(patch.slot, patch.original);
}
