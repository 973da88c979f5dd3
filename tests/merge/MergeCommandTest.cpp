#include "filelist/StatusSummary.h"
#include "merge/FileIdentity.h"
#include "merge/HugeFileFunctions.h"
#include "merge/MergeRig.h"
#include "paths/Filenames.h"
#include "platform/FileSystem.h"

#include <commdlg.h>
#include <cderr.h>

#include <cmath>

namespace {

constexpr wchar_t kMessageA[] = L"Merging requires at least two files.\r\r"
                                L"Add the files you want to merge to the list\r"
                                L"and try again.";
constexpr wchar_t kMessageC[] = L"You cannot use the same file for input and output.\r\r"
                                L"Check your filenames and try again.";

// Runs the merge command on a list of the given paths and returns its messages.
std::vector<std::wstring> Merge(MergeRig& rig, const std::vector<std::wstring>& listed) {
    rig.window.Fill(listed);
    MergeFiles(rig.host, rig.options);
    CHECK(rig.window.list.Texts() == listed);
    std::vector<std::wstring> texts;
    for (const auto& m : rig.services.messages) {
        CHECK(m.type == (MB_OK | MB_ICONEXCLAMATION));
        texts.push_back(m.text);
    }
    return texts;
}

} // namespace

TEST_CASE("Fewer than two entries give message A and nothing else") {
    TempDir dir;
    const auto one = WriteBytes(dir / L"one.bin", "1");
    for (const auto& listed : {std::vector<std::wstring>{}, std::vector<std::wstring>{one}}) {
        MergeRig rig;
        CHECK(Merge(rig, listed) == std::vector<std::wstring>{kMessageA});
        CHECK(rig.services.saveRequests.empty());
        CHECK(rig.saveDir.empty());
    }
}

TEST_CASE("A listed file that is gone gives message B for the first such entry") {
    TempDir dir;
    const auto present = WriteBytes(dir / L"present.bin", "1");
    const auto gone = dir / L"gone.bin";
    const auto folder = dir / L"folder.bin";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const auto& missing : {gone, folder}) {
        CAPTURE(ToUtf8(missing));
        MergeRig rig;
        CHECK(Merge(rig, {present, missing, dir / L"also gone.bin"}) ==
              std::vector<std::wstring>{L"Cannot find the file " + missing +
                                        L".\r\rCheck the filename and try again."});
        CHECK(rig.services.saveRequests.empty());
    }
}

TEST_CASE("The Save As dialog is proposed from the first entry") {
    TempDir dir;
    CreateDirectoryW((dir / L"data.old").c_str(), nullptr);
    const auto second = WriteBytes(dir / L"second.bin", "2");
    const struct {
        const wchar_t* first;
        const wchar_t* fileName;
        const wchar_t* filter;
        const wchar_t* defaultExt;
    } cases[] = {
        {L"part1.bin", L"merge.bin", L"bin files (*.bin)|*.bin|All  files (*.*)|*.*", L"bin"},
        {L"part", L"merge.", L" files (*.)|*.|All  files (*.*)|*.*", L""},
        {L"data.old\\part", L"merge.old\\part",
         L"old\\part files (*.old\\part)|*.old\\part|All  files (*.*)|*.*", L"old\\part"},
    };
    for (const auto& c : cases) {
        CAPTURE(ToUtf8(c.first));
        const auto first = WriteBytes(dir / c.first, "1");
        MergeRig rig;
        CHECK(Merge(rig, {first, second}).empty());
        REQUIRE(rig.services.saveRequests.size() == 1);
        const FileDialogRequest& request = rig.services.saveRequests[0];
        CHECK(request.flags == (OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY));
        CHECK(request.fileName == c.fileName);
        CHECK(request.filter == c.filter);
        CHECK(request.defaultExt == c.defaultExt);
        // Never saved before: the dialog opens in the first entry's folder, which
        // stays the save folder even though the dialog was cancelled.
        CHECK(request.initialDir == GetDirectory(first));
        CHECK(rig.saveDir == GetDirectory(first));
    }
}

TEST_CASE("The save folder is kept on cancel and becomes the chosen file's folder") {
    TempDir dir;
    CreateDirectoryW((dir / L"out").c_str(), nullptr);
    const auto a = WriteBytes(dir / L"a.bin", "aa");
    const auto b = WriteBytes(dir / L"b.bin", "bbb");
    const auto output = dir / L"out\\merged.bin";
    const struct {
        const char* what;
        FileDialogResult result;
        std::wstring saveDirAfter;
    } cases[] = {
        {"cancelled", ScriptedServices::Cancelled(), L"D:\\earlier"},
        {"chosen", ScriptedServices::Chosen(output, dir / L"out"), dir / L"out"},
        {"chosen, the dialog naming no folder", ScriptedServices::Chosen(output), dir / L"out"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        MergeRig rig;
        rig.saveDir = L"D:\\earlier";
        rig.services.saveResults.push_back(c.result);
        CHECK(Merge(rig, {a, b}).empty());
        CHECK(rig.services.saveRequests.at(0).initialDir == L"D:\\earlier");
        CHECK(rig.saveDir == c.saveDirAfter);
        DeleteFileW(output.c_str());
    }
}

TEST_CASE("A merge replaces an older output with the inputs joined") {
    TempDir dir;
    Inputs inputs;
    inputs.Add(dir, 70000);
    inputs.Add(dir, 0);
    inputs.Add(dir, 4097);
    const auto output = WriteBytes(dir / L"merged.bin", std::string(200000, 'o'));
    MergeRig rig;
    rig.services.saveResults.push_back(ScriptedServices::Chosen(output, dir.Path()));
    CHECK(Merge(rig, inputs.paths).empty());
    CHECK(FileBytes(output) == inputs.Joined());
    rig.CheckRestored(inputs.paths);
    inputs.CheckUnchanged();
}

TEST_CASE("An output that is an input under another name gives message C and is untouched") {
    TempDir dir;
    CreateDirectoryW((dir / L"sub").c_str(), nullptr);
    Inputs inputs;
    inputs.Add(dir, 5000);
    inputs.Add(dir, 300);
    const std::wstring& input = inputs.paths[1];
    const auto hardLink = dir / L"hard link.bin";
    REQUIRE(CreateHardLinkW(hardLink.c_str(), input.c_str(), nullptr));

    std::vector<std::pair<const char*, std::wstring>> outputs = {
        {"the same text", input},
        {"another letter case", dir / L"IN1.BIN"},
        {"a detour through ..", dir / L"sub\\..\\in1.bin"},
        {"a . part", dir / L".\\in1.bin"},
        {"a hard link", hardLink},
    };
    std::wstring shortName(MAX_PATH + 1, L'\0');
    shortName.resize(
        GetShortPathNameW(input.c_str(), shortName.data(), static_cast<DWORD>(shortName.size())));
    if (!shortName.empty() && shortName != input)
        outputs.push_back({"a short name", shortName});
    // Where the system follows symbolic links, a link to an input is that input.
    const auto symbolicLink = dir / L"symbolic link.bin";
    if (CreateSymbolicLinkW(symbolicLink.c_str(), input.c_str(), 0) &&
        IdentifyFile(symbolicLink) == IdentifyFile(input))
        outputs.push_back({"a symbolic link", symbolicLink});

    for (const auto& [what, output] : outputs) {
        CAPTURE(what);
        MergeRig rig;
        rig.services.saveResults.push_back(ScriptedServices::Chosen(output, dir.Path()));
        CHECK(Merge(rig, inputs.paths) == std::vector<std::wstring>{kMessageC});
        inputs.CheckUnchanged();
    }

    // A file beside them is no input, whatever its name looks like.
    MergeRig rig;
    const auto other = dir / L"in1.bin.bak";
    rig.services.saveResults.push_back(ScriptedServices::Chosen(other, dir.Path()));
    CHECK(Merge(rig, inputs.paths).empty());
    CHECK(FileBytes(other) == inputs.Joined());
}

TEST_CASE("A drive without room gives message D and the older output stays") {
    TempDir dir;
    const auto small = WriteBytes(dir / L"small.bin", "12345");
    // More than any test machine's disk holds, taking no room itself.
    const std::int64_t hugeSize = 8LL << 40;
    const auto huge = dir / L"huge.bin";
    REQUIRE(MakeSparseFile(huge, hugeSize));
    const auto output = WriteBytes(dir / L"merged.bin", "the older output");

    MergeRig rig;
    rig.services.saveResults.push_back(ScriptedServices::Chosen(output, dir.Path()));
    const auto messages = Merge(rig, {small, huge});
    const double freeAfter = GetHugeFreeSpace(GetDrive(output) + L"\\");
    REQUIRE(messages.size() == 1);
    const std::wstring head = L"Not enough space available on drive " + GetDrive(output) + L"\r" +
                              FormatNumber(5.0 + static_cast<double>(hugeSize)) +
                              L" Bytes needed\r";
    const std::wstring tail =
        L" Bytes free\r\rDelete unused files or choose another drive and try again.";
    const std::wstring& text = messages[0];
    REQUIRE(text.size() > head.size() + tail.size());
    CHECK(text.substr(0, head.size()) == head);
    CHECK(text.substr(text.size() - tail.size()) == tail);
    // The drive's free space, as other programs leave it, formatted.
    const std::wstring shown = text.substr(head.size(), text.size() - head.size() - tail.size());
    std::wstring digits;
    for (wchar_t ch : shown)
        if (ch >= L'0' && ch <= L'9')
            digits += ch;
    REQUIRE_FALSE(digits.empty());
    const double free = std::stod(digits);
    CHECK(shown == FormatNumber(free));
    CHECK(std::abs(free - freeAfter) < 256.0 * 1024 * 1024);
    CHECK(ReadWholeFile(output) == "the older output");
}

TEST_CASE("Replacing a file gives back the room it takes on its own volume only") {
    TempDir dir;
    const auto file = WriteBytes(dir / L"old.bin", std::string(100000, 'x'));
    const std::wstring root = GetDrive(file) + L"\\";
    CHECK(SpaceFreedByReplacing(file, root) >= 100000.0);
    CHECK(SpaceFreedByReplacing(dir / L"missing.bin", root) == 0.0);
    const auto sparse = dir / L"sparse.bin";
    REQUIRE(MakeSparseFile(sparse, 1LL << 40));
    CHECK(SpaceFreedByReplacing(sparse, root) < 1e9);
    // Another volume: Wine's Z: drive, or none at all.
    CHECK(SpaceFreedByReplacing(file, L"Z:\\") == 0.0);
}

TEST_CASE("A failed Save As dialog is reported and no file is written") {
    TempDir dir;
    const auto a = WriteBytes(dir / L"a.bin", "aa");
    const auto b = WriteBytes(dir / L"b.bin", "bbb");
    MergeRig rig;
    rig.saveDir = dir.Path();
    rig.services.saveResults.push_back(ScriptedServices::Failed(FNERR_BUFFERTOOSMALL));
    CHECK(Merge(rig, {a, b}) ==
          std::vector<std::wstring>{
              L"The following error occured while initializing the merge process:\r"
              L"The Save As dialog failed with error 0x3003.\r\r"
              L"Contact the technical support at https://www.vorbel.example/merge/ to get help."});
    std::wstring current(GetCurrentDirectoryW(0, nullptr), L'\0');
    current.resize(GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));
    CHECK_FALSE(IsFilePresent(current + L"\\merge.bin"));
    CHECK(rig.saveDir == dir.Path());
}
