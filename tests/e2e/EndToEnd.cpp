// The real program, started as a separate process and driven through its real
// windows and dialogs.

#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest.h>

#include "e2e/Driver.h"
#include "shell/RegistryNames.h"
#include "support/TempDir.h"

#include "resource.h"

namespace {

std::wstring ReadPreference(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value);
    const std::wstring key = kSettingsKey + L"\\" + kPreferencesSection;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

void ForgetPreferences() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey.c_str());
}

} // namespace

TEST_CASE("Exit writes the preferences the session set") {
    ForgetPreferences();
    TempDir dir;
    const auto file = WriteBytes(dir / L"one.bin", "1");
    ProgramProcess program;
    REQUIRE(program.Main());
    REQUIRE(program.AddThroughDialog(file));
    program.Command(IDM_EXIT);
    REQUIRE(program.WaitForExit());
    CHECK(ReadPreference(kAddDirValue) == dir.Path());
    CHECK(ReadPreference(kSaveDirValue).empty());
    CHECK(ReadPreference(kFilenameBufSizeValue) == L"4096");
}

TEST_CASE("Closing the window stores the preferences as Exit does") {
    ForgetPreferences();
    ProgramProcess program;
    REQUIRE(program.Main());
    PostMessageW(program.Main(), WM_CLOSE, 0, 0);
    REQUIRE(program.WaitForExit());
    CHECK(ReadPreference(kAddDirValue).empty());
    CHECK(ReadPreference(kFilenameBufSizeValue) == L"4096");
}
