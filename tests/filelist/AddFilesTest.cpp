#include "filelist/AddFiles.h"
#include "filelist/EditCommands.h"
#include "shell/CommandState.h"
#include "support/MainWindowFixture.h"

#include <cderr.h>
#include <commdlg.h>
#include <doctest.h>

#include "resource.h"

namespace {

const std::wstring kNul(1, L'\0');

constexpr wchar_t kBufferMessage[] = L"The filename buffer is not large enough\r"
                                     L"to hold all the filenames you selected.\r\r"
                                     L"The program attempts to increase the buffer size.\r\r"
                                     L"If this does not solve the problem, you can try \r"
                                     L"to select fewer files at a time or to use drag & drop.";

} // namespace

TEST_CASE("The open dialog's result becomes paths") {
    const struct {
        std::wstring text;
        std::vector<std::wstring> paths;
    } cases[] = {
        {L"C:\\Data\\one.bin", {L"C:\\Data\\one.bin"}},
        {L"C:\\Data" + kNul + L"b.bin" + kNul + L"a.bin" + kNul + L"c d.bin",
         {L"C:\\Data\\b.bin", L"C:\\Data\\a.bin", L"C:\\Data\\c d.bin"}},
        {L"C:\\" + kNul + L"x.bin" + kNul + L"y.bin", {L"C:\\x.bin", L"C:\\y.bin"}},
        {L"\\\\server\\share" + kNul + L"x", {L"\\\\server\\share\\x"}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.text);
        CHECK(ParseDialogResult(c.text) == c.paths);
    }
}

TEST_CASE("FilenameBufSize gives a limit only when the dialog can take it") {
    const struct {
        const wchar_t* text;
        std::optional<int> limit;
    } cases[] = {{L"4096", 4096}, {L" 12 ", 12}, {L"32767", 32767}, {L"1", 1},
                 {L"12.5", 12},   {L"13.5", 14}, {L"abc", {}},      {L"", {}},
                 {L"0", {}},      {L"-5", {}},   {L"32768", {}},    {L"99999999999999999999", {}},
                 {L"4096x", {}}};
    for (const auto& c : cases) {
        CAPTURE(ToUtf8(c.text));
        CHECK(DialogLimitOf(c.text) == c.limit);
    }
}

TEST_CASE("Files chosen in the dialog join the list") {
    MainWindowFixture f;
    const auto b = f.File(L"b.bin", 2), a = f.File(L"a.bin", 1), c = f.File(L"c.bin", 4);
    f.AddByDialog({b, c, a});
    const FileDialogRequest& request = f.services.openRequests.at(0);
    CHECK(request.flags == 0x281204);
    CHECK(request.filter == L"All  files (*.*)|*.*");
    CHECK(request.fileName.empty());
    CHECK(request.defaultExt.empty());
    CHECK(request.maxChars == 4096);
    // An empty list is sorted.
    CHECK(f.Texts() == std::vector<std::wstring>{a, b, c});
    CHECK(f.Status() == L"3 files (7 Bytes)");
    CHECK(f.window.Prefs().strAddDir == f.dir.Path());
    CHECK(IsMenuCommandEnabled(f.window.Menu(), IDM_MERGE));

    // A list with entries keeps the dialog's order at its end; the same file twice
    // stands twice, and the next heading click sorts ascending.
    f.AddByDialog({c, a});
    CHECK(f.Texts() == std::vector<std::wstring>{a, b, c, c, a});
    SortByColumn(f.List(), 1);
    CHECK(f.Texts() == std::vector<std::wstring>{a, a, b, c, c});
    CHECK(f.services.messages.empty());
}

TEST_CASE("The dialog opens where files were last added from") {
    MainWindowFixture f;
    f.Drop({f.File(L"x.bin")});
    f.Command(IDM_ADD); // cancelled, as every dialog below
    // No stored folder: the first entry's folder is taken and kept.
    CHECK(f.services.openRequests.at(0).initialDir == f.dir.Path());
    CHECK(f.window.Prefs().strAddDir == f.dir.Path());

    f.window.Prefs().strAddDir = L"C:\\elsewhere";
    f.Command(IDM_ADD);
    CHECK(f.services.openRequests.at(1).initialDir == L"C:\\elsewhere");
    CHECK(f.window.Prefs().strAddDir == L"C:\\elsewhere"); // a cancel changes nothing
    CHECK(f.Texts().size() == 1);
}

TEST_CASE("A selection too long for the buffer is chosen again with the largest one") {
    const auto tooLong = ScriptedServices::Failed(FNERR_BUFFERTOOSMALL, L"C:\\big");
    const auto picked = ScriptedServices::Chosen(L"C:\\in" + kNul + L"a" + kNul + L"b", L"C:\\in");
    const std::wstring again = L"The following error occured while adding files:\r" +
                               CommonDialogErrorText(FNERR_BUFFERTOOSMALL);
    const struct {
        std::string what;
        FileDialogResult second;
        Texts messages, texts;
        std::wstring addDir;
    } cases[] = {
        {"chosen", picked, {kBufferMessage}, {L"C:\\in\\a", L"C:\\in\\b"}, L"C:\\in"},
        {"cancelled", {}, {kBufferMessage}, {}, L"C:\\start"},
        // Too long even for the largest buffer: reported once more, and no third try.
        {"too long again", tooLong, {kBufferMessage, again}, {}, L"C:\\start"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        MainWindowFixture f;
        f.window.Prefs().strAddDir = L"C:\\start";
        f.services.openResults = {tooLong, c.second};
        f.Command(IDM_ADD);
        CHECK(f.services.Warnings() == c.messages);
        REQUIRE(f.services.openRequests.size() == 2);
        CHECK(f.services.openRequests[1].maxChars == 32767);
        CHECK(f.services.openRequests[1].initialDir == L"C:\\big");
        CHECK(f.Texts() == c.texts);
        CHECK(f.window.Prefs().strAddDir == c.addDir);

        // The raise lasts until the next command, which starts from the preference again.
        f.Command(IDM_ADD);
        CHECK(f.services.openRequests.at(2).maxChars == 4096);
    }
}

TEST_CASE("A failing dialog is reported with its own description") {
    MainWindowFixture f;
    f.services.openResults.push_back(ScriptedServices::Failed(CDERR_DIALOGFAILURE));
    f.Command(IDM_ADD);
    CHECK(f.services.Warnings() == Texts{L"The following error occured while adding files:\r"
                                         L"The dialog box could not be created."});
    CHECK(f.Texts().empty());
    // Every code has words of its own, unknown ones included.
    for (DWORD code : {DWORD{CDERR_STRUCTSIZE}, DWORD{CDERR_MEMALLOCFAILURE},
                       DWORD{FNERR_INVALIDFILENAME}, DWORD{FNERR_SUBCLASSFAILURE}, DWORD{0x7777}})
        CHECK_FALSE(CommonDialogErrorText(code).empty());
}

TEST_CASE("A FilenameBufSize that is not a number keeps the dialog's previous limit") {
    MainWindowFixture f;
    f.window.Prefs().strFilenameBufSize = L"2000";
    f.Command(IDM_ADD);
    f.window.Prefs().strFilenameBufSize = L"plenty";
    f.Command(IDM_ADD);
    CHECK(f.services.openRequests[0].maxChars == 2000);
    CHECK(f.services.openRequests[1].maxChars == 2000);
    CHECK(f.window.Prefs().strFilenameBufSize == L"plenty");
}
