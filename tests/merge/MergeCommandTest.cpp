#include "app/FormatNumber.h"
#include "merge/FileIdentity.h"
#include "merge/MergeRig.h"
#include "paths/Filenames.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/HugeFileFunctions.h"

#include <cderr.h>

TEST_CASE("Too few entries, or a missing one, are told before any dialog; the "
          "dialog proposes the extension of the first entry's name, or a split set's original") {
    const struct {
        std::wstring listed, missing, proposal, extension; // no proposal: no dialog
        FileDialogResult dialog = {};                      // cancelled
    } cases[] = {
        {L"one.bin", L"", L"", L""}, // too few
        {L"one.bin gone.bin gone2.bin", L"gone.bin", L"", L""},
        {L"one.bin folder.bin", L"folder.bin", L"", L""},
        {L"one.bin one.bin", L"", L"merge.bin", L"bin"},
        {L"one.bin one.bin", L"", L"merge.bin", L"bin",
         ScriptedServices::Failed(FNERR_BUFFERTOOSMALL)},
        {L"a.tar.gz one.bin", L"", L"merge.gz", L"gz"},
        {L"xaa one.bin", L"", L"merge.", L""},
        {L"my.dir\\partA one.bin", L"", L"merge.", L""}, // a folder's dot starts no extension
        {L"holiday.mkv.001 holiday.mkv.002", L"", L"holiday.mkv", L"mkv"},
        {L"holiday.mkv.001 my.dir\\holiday.mkv.002", L"", L"merge.001", L"001"}, // two folders
        {L"backup.part1 backup.part2", L"", L"backup", L""},
    };
    for (const auto& c : cases) {
        CAPTURE(c.listed);
        MergeRig rig;
        for (const wchar_t* folder : {L"my.dir", L"folder.bin"})
            CreateDirectoryW((rig.dir / folder).c_str(), nullptr);
        for (const auto& name : Words(L"one.bin a.tar.gz xaa my.dir\\partA holiday.mkv.001 "
                                      L"holiday.mkv.002 my.dir\\holiday.mkv.002 backup.part1 "
                                      L"backup.part2"))
            rig.File(name, 1);
        rig.MergeAll(rig.Paths(c.listed), c.dialog);
        const Texts shown = rig.services.Warnings();
        if (c.dialog.error)
            CHECK(shown == Texts{L"The following error occured while initializing the merge "
                                 L"process:\rThe Save As dialog failed with error 0x3003.\r\r"
                                 L"Contact the technical support at https://vorbel.example/ to "
                                 L"get help."});
        else if (!c.missing.empty())
            CHECK(shown == Texts{L"Cannot find the file " + rig.dir / c.missing +
                                 L".\r\rCheck the filename and try again."});
        else if (c.proposal.empty())
            CHECK(shown == Texts{L"Merging requires at least two files.\r\rAdd the files you "
                                 L"want to merge to the list\rand try again."});
        else
            CHECK(shown.empty());
        CHECK(rig.services.saveRequests.size() == (c.proposal.empty() ? 0u : 1u));
        CHECK_FALSE(IsFilePresent(rig.dir / c.proposal)); // a failed dialog writes nothing
        for (const auto& request : rig.services.saveRequests) {
            CHECK(rig.saveDir == GetDirectory(rig.Paths(c.listed).front())); // where it started
            CHECK(request.fileName == c.proposal);
            CHECK(request.defaultExt == c.extension);
            CHECK(request.filter == c.extension + L" files (*." + c.extension + L")|*." +
                                        c.extension + L"|All  files (*.*)|*.*");
        }
    }
}

// Creating the output would destroy such an input. Where no file id is known, the
// names decide, never a guess of one file.
TEST_CASE("An output that is an input under another name is refused and left untouched") {
    CHECK_FALSE(SameFile({0x43, {7}}, {0x44, {7}})); // one id on two volumes
    MergeRig files; // holds the inputs; the command runs on a rig of its own
    const TempDir& dir = files.dir;
    CreateDirectoryW((dir / L"sub").c_str(), nullptr);
    files.Add({5000, 300});
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
    // A file system that gives every file the id 0, and one whose files cannot be opened.
    const SameFileTest::Identify zeroOrNoId[] = {
        [](const std::wstring&) -> std::optional<FileIdentity> {
            return FileIdentity{0x43, {}};
        },
        [](const std::wstring&) -> std::optional<FileIdentity> { return std::nullopt; }};
    for (const auto& [output, byName] : cases) {
        CAPTURE(output);
        CHECK(SameFileTest(output).IsOutput(input) == (byName || output == hardLink));
        for (const auto identify : zeroOrNoId)
            CHECK(SameFileTest(output, identify).IsOutput(input) == byName);
    }
    MergeRig rig;
    rig.MergeAll(files.inputs, ScriptedServices::Chosen(hardLink, dir.Path()));
    CHECK(rig.services.Warnings() == Texts{L"You cannot use the same file for input and output.\r\r"
                                           L"Check your filenames and try again."});
    files.CheckUnchanged();
}

// A user may write where the output goes but not list the drive's root; a quota or a
// mounted folder is measured only there.
TEST_CASE("Room is asked where the output goes, then at its drive's root; an older output's "
          "room counts where removing its name frees it") {
    const struct {
        double folderFree, rootFree; // -1: the system gives no answer
        std::size_t older;           // bytes of an older output; 0: none
        bool hardLinked;             // its data stays under another name
        bool goesAhead;
    } cases[] = {
        {5300, -1, 0, false, true}, // exactly the room needed
        {-1, 5300, 0, false, true},     {5299, 1e12, 0, false, false},  {-1, -1, 0, false, false},
        {5299, 0, 100000, false, true}, {5299, 0, 100000, true, false},
    };
    for (const auto& c : cases) {
        INFO("free in the folder " << c.folderFree << ", older output " << c.older);
        MergeRig rig;
        rig.Add({5000, 300});
        if (c.older) {
            const auto older = WriteBytes(rig.dir / L"older.bin", std::string(c.older, 'o'));
            REQUIRE(c.hardLinked ? CreateHardLinkW(rig.output.c_str(), older.c_str(), nullptr)
                                 : MoveFileW(older.c_str(), rig.output.c_str()));
        }
        const std::wstring folder = rig.dir.Path() + L"\\", root = GetDrive(rig.output) + L"\\";
        Texts asked;
        rig.options.freeSpace = [&](const std::wstring& path) {
            asked.push_back(path);
            return path == folder ? c.folderFree : c.rootFree;
        };
        rig.MergeAll();
        const Texts shown = rig.services.Warnings();
        CHECK(asked == (c.folderFree < 0 ? Texts{folder, root} : Texts{folder}));
        if (c.goesAhead) {
            CHECK(shown.empty());
            CHECK(FileBytes(rig.output) == rig.Joined());
        } else {
            CHECK(shown == Texts{L"Not enough space available on drive " + GetDrive(rig.output) +
                                 L"\r" + FormatNumber(5300) + L" Bytes needed\r" +
                                 FormatNumber(c.folderFree < 0 ? c.rootFree : c.folderFree) +
                                 L" Bytes free\r\rDelete unused files or choose another drive "
                                 L"and try again."});
            CHECK(IsFilePresent(rig.output) == (c.older > 0));
        }
    }
}

TEST_CASE("An input that vanishes, is locked or changes size after it was measured is named; "
          "the older output stays unless the copy ran, and so it does after a cancel") {
    for (const std::string what : {"vanished", "locked", "cancelled", "grown", "emptied"}) {
        CAPTURE(what);
        MergeRig rig;
        rig.Add({5000, 300, 70});
        WriteBytes(rig.output, "older");
        const std::wstring& troubled = rig.inputs[1];
        FileHandle writer; // another program's, sharing no writes
        DWORD error = ERROR_SHARING_VIOLATION;
        const std::size_t now = what == "grown" ? 8000 : 0;
        if (what == "vanished") {
            rig.services.whileDialogOpen = [&] { DeleteFileW(troubled.c_str()); };
            error = ERROR_FILE_NOT_FOUND;
        } else if (what == "locked") {
            writer.Reset(CreateFileW(troubled.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
        } else if (what == "cancelled") {
            rig.options.calls.open = [&](const wchar_t* path) {
                if (path == troubled) {
                    PostMessageW(rig.progress.Handle(), WM_COMMAND, IDCANCEL, 0);
                    WaitForSingleObject(rig.asked.Get(), 5000);
                }
                return OpenInput({}, path);
            };
            rig.services.whileMessageShown = [&] { SetEvent(rig.asked.Get()); };
            rig.services.answers = {IDYES};
        } else {
            // Emptied while the next grows by as much: the total alone would not show it.
            rig.services.whileDialogOpen = [&] {
                for (std::size_t i = 1; i < (what == "grown" ? 2u : 3u); ++i)
                    WriteBytes(rig.inputs[i], rig.contents[i] = Pattern(i == 1 ? now : 370, 9));
            };
        }
        const bool copied = what == "grown" || what == "emptied";
        REQUIRE(rig.MergeAll().size() == 1);
        CHECK(rig.services.messages[0].text ==
              (what == "cancelled" ? L"Do you really want to cancel the process?"
               : copied ? L"These files changed size after they were checked:\r" + troubled +
                              L": 300 Bytes then, " + FormatNumber(static_cast<double>(now)) +
                              L" Bytes when merged\r" +
                              (what == "emptied"
                                   ? rig.inputs[2] + L": 70 Bytes then, 370 Bytes when merged\r"
                                   : L"") +
                              L"\rThe output holds what the files held while "
                              L"they were read. Merge again once they have stopped changing if "
                              L"you need them whole."
                        : L"Cannot open the file " + troubled + L".\r" + GetErrorText(error) +
                              L"\r\rCheck the file and try again."));
        CHECK(FileBytes(rig.output) == (copied ? rig.Joined() : Bytes{"older"}));
        CHECK(rig.Status() ==
              L"3 files (" + FormatNumber(what == "grown" ? 13070 : 5370) + L" Bytes)");
        rig.CheckRestored();
    }
}

// Before the Save As dialog, a list that is one split set is checked; where it looks
// broken the user is asked, No being the default.
TEST_CASE("A split set is checked for missing, repeated, misplaced, forgotten and odd parts and "
          "questioned before the dialog: No ends, Yes merges") {
    const std::wstring getAgain = L"Add it to the list; if you do not have it, get it again from "
                                  L"where the other parts came from.",
                       sameSize = L"\rAll parts but the last one should be the same size, so a "
                                  L"part of another size is probably incomplete or damaged: get "
                                  L"it again.";
    const struct {
        std::wstring listed, beside; // names and sizes of the parts; files beside them
        std::wstring findings;       // none: no question
        int answer = IDNO;
    } cases[] = {
        {L"h.001:10 h.002:10 h.003:4", L"", L""},
        {L"h.000:1 h.001:10 h.002:10", L"", L""}, // a header part
        {L"h.001:10 other.bin:5", L"", L""},      // no set
        {L"h.001:10 h.002:10 h.004:4", L"", L"\x2022 h.003 is missing. " + getAgain},
        {L"h.001:10 h.002:10 h.004:4", L"", L"\x2022 h.003 is missing. " + getAgain, IDYES},
        {L"h.002:10 h.003:4", L"", L"\x2022 h.001 is missing. " + getAgain},
        {L"f.8:10 f.9:10 f.10:4", L"",
         L"\x2022 7 parts are missing: f.1, f.2, f.3, f.4, f.5 and 2 more. Add them to the list; "
         L"if you do not have them, get them again from where the other parts came from."},
        {L"h.001:10 h.002:10 h.002:10 h.003:4", L"",
         L"\x2022 Listed more than once: h.002. Each part belongs in the list once: select the "
         L"extra entries and choose Actions > Remove Files."},
        {L"b.part2:10 b.part1:10 b.part3:4", L"",
         L"\x2022 The parts are not in number order: b.part2 comes before b.part1. Sort the list "
         L"with Edit > Sort Files > Ascending."},
        {L"h.001:10 h.002:7 h.003:10 h.004:4", L"",
         L"\x2022 h.002 has 7 bytes, but h.001 has 10 bytes." + sameSize},
        // The size most parts share is the measure, even when the first part is short.
        {L"h.001:5 h.002:10 h.003:10 h.004:12", L"",
         L"\x2022 h.001 has 5 bytes, but h.002 has 10 bytes.\r\x2022 h.004 has 12 bytes, but "
         L"h.002 has 10 bytes." +
             sameSize},
        {L"movie.mkv.001:10 movie.mkv.002:10", L"movie.mkv.003 movie.mkv.crc",
         L"\x2022 movie.mkv.003 is in the same folder but not in the list. It is probably the "
         L"last part: add it to the list.\r\r\x2022 movie.mkv.crc, which describes the original "
         L"file, gives its size as 24 bytes, but the parts in the list add up to 20 bytes."},
    };
    for (const auto& c : cases) {
        CAPTURE(c.listed);
        MergeRig rig;
        for (const auto& part : Words(c.listed)) {
            const std::wstring name = part.substr(0, part.find(L':'));
            rig.contents.emplace_back(std::stoul(part.substr(name.size() + 1)), 'x');
            rig.inputs.push_back(WriteBytes(rig.dir / name, rig.contents.back()));
        }
        for (const auto& name : Words(c.beside))
            WriteBytes(rig.dir / name, "filename=movie.mkv\nsize=24\ncrc32=1\n");
        rig.services.answers = {c.answer};
        const auto& shown = rig.MergeAll();
        const bool merged = c.findings.empty() || c.answer == IDYES;
        REQUIRE(shown.size() == (c.findings.empty() ? 0u : 1u));
        for (const auto& question : shown) {
            const std::wstring first = rig.inputs[0].substr(rig.dir.Path().size() + 1);
            CHECK(question.type == (MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
            CHECK(question.text ==
                  L"The files in the list are the numbered parts of " +
                      first.substr(0, first.rfind(L'.')) +
                      L", a file that was cut into pieces. Merging them gives that file back only "
                      L"when every part is listed once, complete and in number order. Something "
                      L"is not right:\r\r" +
                      c.findings +
                      L"\r\rIf you merge anyway, the merged file will probably not work.\r\r"
                      L"Merge anyway?");
        }
        CHECK(rig.services.saveRequests.size() == (merged ? 1u : 0u));
        REQUIRE(IsFilePresent(rig.output) == merged);
        CHECK((!merged || FileBytes(rig.output) == rig.Joined()));
        rig.CheckRestored();
    }
}
