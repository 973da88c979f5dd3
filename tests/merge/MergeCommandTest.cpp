#include "app/FormatNumber.h"
#include "merge/FileIdentity.h"
#include "merge/MergeRig.h"
#include "paths/Filenames.h"
#include "platform/FileSystem.h"
#include "platform/HugeFileFunctions.h"

#include <cderr.h>
#include <commdlg.h>

TEST_CASE("Too few entries give message A, a missing one message B, before any dialog; the "
          "dialog proposes the extension of the first entry's name") {
    TempDir dir;
    CreateDirectoryW((dir / L"my.dir").c_str(), nullptr);
    const auto one = WriteBytes(dir / L"one.bin", "1"), folder = dir / L"folder.bin";
    CreateDirectoryW(folder.c_str(), nullptr);
    const auto missing = [](const std::wstring& path) {
        return L"Cannot find the file " + path + L".\r\rCheck the filename and try again.";
    };
    const std::wstring tooFew = L"Merging requires at least two files.\r\r"
                                L"Add the files you want to merge to the list\rand try again.";
    const struct {
        Texts listed;
        std::wstring message, proposal; // no proposal: no dialog
    } cases[] = {
        {{one}, tooFew, L""},
        {{one, dir / L"gone.bin", dir / L"gone too.bin"}, missing(dir / L"gone.bin"), L""},
        {{one, folder}, missing(folder), L""},
        {{one, one}, L"", L"merge.bin"},
        {{WriteBytes(dir / L"a.tar.gz", "2"), one}, L"", L"merge.gz"},
        {{WriteBytes(dir / L"xaa", "3"), one}, L"", L"merge."},
        // The dot in a folder's name starts no extension.
        {{WriteBytes(dir / L"my.dir\\partA", "4"), one}, L"", L"merge."},
    };
    for (const auto& [listed, message, proposal] : cases) {
        MergeRig rig;
        CHECK(rig.MergeCommand(listed, {}) == (message.empty() ? Texts{} : Texts{message}));
        CHECK(rig.services.saveRequests.size() == (proposal.empty() ? 0u : 1u));
        for (const auto& request : rig.services.saveRequests)
            CHECK((request.fileName == proposal && L"merge." + request.defaultExt == proposal));
    }
}

// Such a name exists as it is written; the system, reading it itself, would reach
// the file without the dot or blank.
TEST_CASE("A name that ends in a dot or a blank is measured and merged as written") {
    for (const wchar_t* name : {L"t.bin.", L"t.bin "}) {
        MergeRig rig;
        const auto plain = WriteBytes(rig.dir / L"t.bin", std::string(16, 'p')),
                   named = rig.dir / name;
        const std::string bytes = ReadBytes(WriteBytes(L"\\\\?\\" + named, Pattern(30, 1)));
        rig.Drop({named, named});
        CHECK(rig.Texts() == Texts{named, named});
        CHECK(rig.Status() == L"2 files (60 Bytes)");
        rig.services.saveResults.push_back(ScriptedServices::Chosen(plain));
        MergeFiles(rig.host, rig.Texts(), rig.options);
        CHECK(rig.services.messages.empty()); // not taken for the output
        CHECK(ReadBytes(plain) == bytes + bytes);
    }
}

namespace {

// A file system that gives every file the id 0, and one whose files cannot be opened.
std::optional<FileIdentity> ZeroId(const std::wstring&) {
    return FileIdentity{0x43, {}};
}
std::optional<FileIdentity> NoId(const std::wstring&) {
    return std::nullopt;
}

} // namespace

// Creating the output would destroy such an input. Where no file id is known, the
// names decide, never a guess of one file.
TEST_CASE("An output that is an input under another name gives message C and is untouched") {
    const FileIdentity known{0x43, {7}}, elsewhere{0x44, {7}}; // one id on two volumes
    CHECK_FALSE(SameFile(known, elsewhere));
    MergeRig files; // holds the inputs; the command runs on a rig of its own
    const TempDir& dir = files.dir;
    CreateDirectoryW((dir / L"sub").c_str(), nullptr);
    files.Add(5000);
    files.Add(300);
    const std::wstring& input = files.inputs[1];
    const auto hardLink = dir / L"hard link.bin";
    REQUIRE(CreateHardLinkW(hardLink.c_str(), input.c_str(), nullptr));
    std::wstring shortName(MAX_PATH + 1, L'\0');
    shortName.resize(
        GetShortPathNameW(input.c_str(), shortName.data(), static_cast<DWORD>(shortName.size())));
    WriteBytes(L"\\\\?\\" + dir / L"in1.bin.", "other");
    const std::pair<std::wstring, bool> cases[] = {
        // The output, and whether its name alone tells the input's file.
        {input, true},
        {dir / L"IN1.BIN", true},
        {dir / L"sub\\..\\in1.bin", true},
        {dir / L".\\in1.bin", true},
        {shortName.empty() ? input : shortName, true},
        {hardLink, false},
        {WriteBytes(dir / L"other.bin", "in"), false},
        {dir / L"in1.bin.", false},
    };
    for (const auto& [output, byName] : cases) {
        CAPTURE(output);
        CHECK(SameFileTest(output).IsOutput(input) == (byName || output == hardLink));
        for (const auto identify : {ZeroId, NoId})
            CHECK(SameFileTest(output, identify).IsOutput(input) == byName);
    }
    MergeRig rig;
    CHECK(rig.MergeCommand(files.inputs, ScriptedServices::Chosen(hardLink, dir.Path())) ==
          Texts{L"You cannot use the same file for input and output.\r\r"
                L"Check your filenames and try again."});
    files.CheckUnchanged();
}

TEST_CASE("An older output's room counts as free where removing its name frees it") {
    const struct {
        std::size_t older; // bytes of an older output; 0: none
        bool hardLinked;   // its data stays under another name
        double shortBy;    // how far the drive's own free space falls short of the total
        bool goesAhead;
    } cases[] = {
        {0, false, 0, true}, // exactly the room needed
        {0, false, 1, false},
        {100000, false, 1, true},
        {100000, true, 1, false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.older);
        CAPTURE(c.shortBy);
        MergeRig rig;
        rig.Add(5000);
        rig.Add(300);
        if (c.older) {
            const auto older = WriteBytes(rig.dir / L"older.bin", std::string(c.older, 'o'));
            REQUIRE(c.hardLinked ? CreateHardLinkW(rig.output.c_str(), older.c_str(), nullptr)
                                 : MoveFileW(older.c_str(), rig.output.c_str()));
        }
        rig.options.freeSpace = [&](const std::wstring&) { return rig.Total() - c.shortBy; };
        const Texts shown = rig.MergeInputs();
        if (c.goesAhead) {
            CHECK(shown.empty());
            CHECK(FileBytes(rig.output) == rig.Joined());
        } else {
            CHECK(shown ==
                  Texts{L"Not enough space available on drive " + GetDrive(rig.output) + L"\r" +
                        FormatNumber(5300) + L" Bytes needed\r" + FormatNumber(5299) +
                        L" Bytes free\r\rDelete unused files or choose another drive "
                        L"and try again."});
            CHECK(IsFilePresent(rig.output) == (c.older > 0));
        }
    }
}

TEST_CASE("A failed Save As dialog is reported and no file is written") {
    MergeRig rig;
    rig.saveDir = rig.dir.Path();
    rig.Add(2);
    rig.Add(3);
    CHECK(rig.MergeCommand(rig.inputs, ScriptedServices::Failed(FNERR_BUFFERTOOSMALL)) ==
          Texts{L"The following error occured while initializing the merge process:\r"
                L"The Save As dialog failed with error 0x3003.\r\r"
                L"Contact the technical support at https://vorbel.example/ to get help."});
    CHECK_FALSE(IsFilePresent(L"merge.bin")); // in the current folder
    CHECK(rig.saveDir == rig.dir.Path());
}
