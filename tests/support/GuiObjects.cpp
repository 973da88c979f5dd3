#include "support/GuiObjects.h"

#include <windows.h>
#include <winternl.h>

#include <doctest.h>

namespace {

// An entry of Wine's GDI handle table, the same on both builds; a deleted object's
// entry has no object address.
struct WineGdiEntry {
    UINT64 object;
    ULONG owner;
    USHORT type;
    USHORT generation;
    UINT64 user;
};
static_assert(sizeof(WineGdiEntry) == 24);
constexpr int kWineGdiEntries = 0x10000;

template <typename Function> Function NtdllFunction(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// Wine's GDI handle table, named in the process environment block; a 32-bit
// program's table is named in the 64-bit block that Wine keeps beside it, found
// through the 64-bit thread block whose address Wine keeps in GdiBatchCount.
const WineGdiEntry* WineGdiTable() {
    using Query = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    PROCESS_BASIC_INFORMATION process{};
    const auto queryProcess = NtdllFunction<Query>("NtQueryInformationProcess");
    if (!queryProcess || queryProcess(GetCurrentProcess(), ProcessBasicInformation, &process,
                                      sizeof(process), nullptr) != 0)
        return nullptr;
    const auto* peb = reinterpret_cast<const BYTE*>(process.PebBaseAddress);
    const auto at = [](const void* base, int offset) {
        return reinterpret_cast<const BYTE*>(base) + offset;
    };
    if (sizeof(void*) == 8)
        return *reinterpret_cast<const WineGdiEntry* const*>(at(peb, 0xf8));
    if (const auto* table = *reinterpret_cast<const WineGdiEntry* const*>(at(peb, 0x94)))
        return table;
    struct {
        LONG exitStatus;
        void* teb;
        void* ids[2];
        ULONG_PTR affinity;
        LONG priority, basePriority;
    } thread{};
    const auto queryThread = NtdllFunction<Query>("NtQueryInformationThread");
    if (!queryThread || queryThread(GetCurrentThread(), 0 /* ThreadBasicInformation */, &thread,
                                    sizeof(thread), nullptr) != 0)
        return nullptr;
    const ULONG teb64 = *reinterpret_cast<const ULONG*>(at(thread.teb, 0xf70));
    if (!teb64)
        return nullptr;
    const UINT64 peb64 = *reinterpret_cast<const UINT64*>(at(reinterpret_cast<void*>(teb64), 0x60));
    if (!peb64 || peb64 >> 32)
        return nullptr;
    const UINT64 table = *reinterpret_cast<const UINT64*>(
        at(reinterpret_cast<void*>(static_cast<UINT_PTR>(peb64)), 0xf8));
    return table >> 32 ? nullptr
                       : reinterpret_cast<const WineGdiEntry*>(static_cast<UINT_PTR>(table));
}

int CountWineGdiObjects() {
    const WineGdiEntry* table = WineGdiTable();
    REQUIRE(table != nullptr);
    int count = 0;
    for (int i = 0; i < kWineGdiEntries; ++i)
        count += table[i].object != 0 && table[i].type != 0;
    return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

} // namespace

GuiObjects CountGuiObjects() {
    SetLastError(ERROR_SUCCESS);
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (gdi != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return {static_cast<int>(gdi),
                static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))};
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
    return {CountWineGdiObjects(), windows};
}
