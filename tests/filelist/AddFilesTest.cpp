#include "filelist/AddFiles.h"
#include "support/Fixture.h"

#include <cderr.h>

#include <optional>

#include "resource.h"

TEST_CASE("A selection too long for the buffer is chosen again with the largest one, once") {
    MainWindowFixture f;
    const auto tooLong = ScriptedServices::Failed(FNERR_BUFFERTOOSMALL, L"C:\\big");
    f.services.openResults = {tooLong, tooLong};
    f.Command(IDM_ADD);
    CHECK(f.services.Warnings() == Texts{L"The filename buffer is not large enough\r"
                                         L"to hold all the filenames you selected.\r\r"
                                         L"The program attempts to increase the buffer size.\r\r"
                                         L"If this does not solve the problem, you can try \r"
                                         L"to select fewer files at a time or to use drag & drop.",
                                         L"The following error occured while adding files:\r" +
                                             CommonDialogErrorText(FNERR_BUFFERTOOSMALL)});
    REQUIRE(f.services.openRequests.size() == 2);
    CHECK(f.services.openRequests[1].maxChars == 32767);
    CHECK(f.services.openRequests[1].initialDir == L"C:\\big");
    // The raise lasts until the next command, which starts from the preference again.
    f.Command(IDM_ADD);
    CHECK(f.services.openRequests.at(2).maxChars == 4096);
}

TEST_CASE("The open dialog's result becomes paths") {
    const std::wstring nul(1, L'\0');
    const std::pair<std::wstring, Texts> cases[] = {
        {L"C:\\Data\\one.bin", {L"C:\\Data\\one.bin"}},
        {L"C:\\Data" + nul + L"b.bin" + nul + L"c d.bin",
         {L"C:\\Data\\b.bin", L"C:\\Data\\c d.bin"}},
        {L"C:\\" + nul + L"x.bin" + nul + L"y.bin", {L"C:\\x.bin", L"C:\\y.bin"}},
        {L"\\\\server\\share" + nul + L"x", {L"\\\\server\\share\\x"}},
    };
    for (const auto& [text, paths] : cases)
        CHECK(ParseDialogResult(text) == paths);
}

// The limit comes from the user's settings store, whatever text it holds.
TEST_CASE("FilenameBufSize gives a limit only when the dialog can take it") {
    const std::pair<const wchar_t*, std::optional<int>> cases[] = {
        {L"4096", 4096}, {L" 12 ", 12},  {L"32767", 32767}, {L"12.5", 12},
        {L"13.5", 14},   {L"abc", {}},   {L"", {}},         {L"0", {}},
        {L"-5", {}},     {L"32768", {}}, {L"4096x", {}},    {L"1e99", {}}};
    CHECK_FALSE(DialogLimitOf(L"99999999999999999999"));
    for (const auto& [text, limit] : cases) {
        CAPTURE(ToUtf8(text));
        CHECK(DialogLimitOf(text) == limit);
    }
}
