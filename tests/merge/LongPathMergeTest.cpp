#include "app/FormatNumber.h"
#include "merge/MergeRig.h"
#include "paths/Filenames.h"
#include "platform/HugeFileFunctions.h"

#include <cwchar>

namespace {

// Windows' answer to a path of MAX_PATH characters or more without the "\\?\" prefix,
// where the system's long-path setting is off: ERROR_FILENAME_EXCED_RANGE. Wine takes
// such paths, so while an object of this class lives, the two file functions that
// every file the merge reads, writes, measures or finds passes through give Windows'
// answer: this executable's imports of them lead to stand-ins.
class LongPathsRefused {
public:
    LongPathsRefused() {
        createFile = Patch("CreateFileW", &CreateFileAsWindows);
        getAttributes = Patch("GetFileAttributesExW", &GetAttributesAsWindows);
    }
    ~LongPathsRefused() {
        for (const auto& [slot, original] : patches_)
            Store(slot, original);
    }

private:
    static inline decltype(&CreateFileW) createFile;
    static inline decltype(&GetFileAttributesExW) getAttributes;

    static bool Refused(const wchar_t* path) {
        if (!path || std::wcsncmp(path, L"\\\\?\\", 4) == 0 || std::wcslen(path) < MAX_PATH)
            return false;
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return true;
    }
    static HANDLE WINAPI CreateFileAsWindows(LPCWSTR path, DWORD access, DWORD share,
                                             LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                             DWORD flags, HANDLE from) {
        return Refused(path) ? INVALID_HANDLE_VALUE
                             : createFile(path, access, share, security, disposition, flags, from);
    }
    static BOOL WINAPI GetAttributesAsWindows(LPCWSTR path, GET_FILEEX_INFO_LEVELS level,
                                              LPVOID data) {
        return !Refused(path) && getAttributes(path, level, data);
    }
    // Points this executable's imports of a kernel32 function at a replacement; the
    // system's own back.
    template <typename F> F Patch(const char* function, F replacement) {
        const auto original =
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), function));
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
            base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        const std::size_t before = patches_.size();
        for (; module->Name; ++module)
            for (auto* slot = reinterpret_cast<void**>(base + module->FirstThunk); *slot; ++slot)
                if (*slot == original) {
                    patches_.push_back({slot, original});
                    Store(slot, reinterpret_cast<void*>(replacement));
                }
        REQUIRE_MESSAGE(patches_.size() > before, "not imported: " << function);
        return reinterpret_cast<F>(original);
    }
    static void Store(void** slot, void* address) {
        DWORD protection = 0;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        *slot = address;
        VirtualProtect(slot, sizeof *slot, protection, &protection);
    }
    std::vector<std::pair<void**, void*>> patches_;
};

std::wstring Prefixed(const std::wstring& path) {
    return L"\\\\?\\" + path;
}

// Nested folders under base whose path runs to about `length` characters, named in
// Greek and CJK letters and made through the "\\?\" form; the TempDir removes them.
std::wstring DeepFolder(std::wstring path, std::size_t length) {
    static int folders = 0;
    const std::wstring tag = std::to_wstring(++folders) + L".";
    for (int level = 0; path.size() < length; ++level) {
        path += L"\\Φωτογραφίες-写真-" + tag + std::to_wstring(level) + L"-" +
                std::wstring(std::min<std::size_t>(40, length - path.size()), L'ω');
        REQUIRE(CreateDirectoryW(Prefixed(path).c_str(), nullptr));
    }
    return path;
}

} // namespace

// A name that ends in a dot or a blank exists as it is written; the system, reading
// such a path itself, would reach the file without the dot or blank.
TEST_CASE("Files 300 to 1,000 characters deep, or named with a dot or blank at the end, merge; "
          "messages show the paths as listed") {
    MergeRig rig;
    const std::wstring deepest = DeepFolder(rig.dir.Path(), 960);
    const Texts inputs{DeepFolder(rig.dir.Path(), 290) + L"\\μέρος-一.bin",
                       DeepFolder(rig.dir.Path(), 640) + L"\\μέρος-二.bin",
                       deepest + L"\\μέρος-三.bin"};
    const std::string bytes[] = {Pattern(5000, 1), Pattern(70000, 2), Pattern(3, 3)};
    for (std::size_t i = 0; i < 3; ++i)
        WriteBytes(Prefixed(inputs[i]), bytes[i]);
    const std::wstring output = deepest + L"\\合併-όλα.bin", plain = rig.dir / L"t.bin";
    REQUIRE((inputs[0].size() >= 300 && output.size() <= 1000));
    WriteBytes(plain, "what the other names are not");
    const Texts odd{rig.dir / L"t.bin.", rig.dir / L"t.bin "};
    WriteBytes(Prefixed(odd[0]), "dot");
    WriteBytes(Prefixed(odd[1]), "blank");

    const LongPathsRefused asWindows;
    WIN32_FILE_ATTRIBUTE_DATA data;
    REQUIRE_FALSE(GetFileAttributesExW(inputs[0].c_str(), GetFileExInfoStandard, &data));
    rig.Fill(inputs);
    rig.Drop(odd);
    CHECK(rig.Status() == L"5 files (" + FormatNumber(75011) + L" Bytes)");
    const auto mergeInto = [&](const std::wstring& chosen) {
        rig.services.messages.clear();
        rig.services.saveResults.push_back(ScriptedServices::Chosen(chosen, GetDirectory(chosen)));
        MergeFiles(rig.host, rig.Texts(), rig.options);
        return rig.services.Warnings();
    };
    for (const auto& chosen : {plain, output}) { // the plain name is none of the inputs
        CHECK(mergeInto(chosen).empty());
        CHECK(FileBytes(Prefixed(chosen)) == Bytes{bytes[0] + bytes[1] + bytes[2] + "dotblank"});
    }
    CHECK(rig.saveDir == deepest); // where the next Save As starts

    // Every message names a file as the list holds it.
    CHECK(mergeInto(inputs[1]) == Texts{L"You cannot use the same file for input and output.\r\r"
                                        L"Check your filenames and try again."});
    DeleteFileW(Prefixed(inputs[2]).c_str());
    CHECK(mergeInto(output) ==
          Texts{L"Cannot find the file " + inputs[2] + L".\r\rCheck the filename and try again."});
}
