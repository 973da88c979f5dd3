#include "app/FormatNumber.h"
#include "merge/FileIdentity.h"
#include "merge/HugeFileFunctions.h"
#include "merge/MergeRig.h"
#include "paths/Filenames.h"
#include "platform/FileSystem.h"

#include <cderr.h>
#include <commdlg.h>

#include <cmath>
#include <cwctype>

namespace {

// Runs the merge command on a list of the given paths; returns the warnings shown,
// having checked that the list is as it was.
Texts MergeCommand(MergeRig& rig, const Texts& listed, const FileDialogResult& dialog) {
    rig.services.saveResults.push_back(dialog);
    rig.Fill(listed);
    MergeFiles(rig.host, rig.Texts(), rig.options);
    CHECK(rig.Texts() == listed);
    return rig.services.Warnings();
}

} // namespace

TEST_CASE("Too few entries give message A, a missing one message B, before any dialog") {
    TempDir dir;
    const auto one = WriteBytes(dir / L"one.bin", "1");
    const auto folder = dir / L"folder.bin";
    CreateDirectoryW(folder.c_str(), nullptr);
    const auto missing = [](const std::wstring& path) {
        return L"Cannot find the file " + path + L".\r\rCheck the filename and try again.";
    };
    const std::wstring tooFew = L"Merging requires at least two files.\r\r"
                                L"Add the files you want to merge to the list\rand try again.";
    const std::pair<Texts, std::wstring> cases[] = {
        {{}, tooFew},
        {{one}, tooFew},
        {{one, dir / L"gone.bin", dir / L"gone too.bin"}, missing(dir / L"gone.bin")},
        {{one, folder}, missing(folder)},
    };
    for (const auto& [listed, message] : cases) {
        CAPTURE(listed.size());
        MergeRig rig;
        CHECK(MergeCommand(rig, listed, {}) == Texts{message});
        CHECK(rig.services.saveRequests.empty());
        CHECK(rig.saveDir.empty());
    }
}

TEST_CASE("The Save As dialog is proposed from the first entry and the save folder") {
    TempDir dir;
    CreateDirectoryW((dir / L"data.old").c_str(), nullptr);
    CreateDirectoryW((dir / L"out").c_str(), nullptr);
    const auto second = WriteBytes(dir / L"second.bin", "2");
    const auto output = dir / L"out\\merged.bin";
    const struct {
        std::wstring first;
        std::wstring fileName;
        std::wstring extension; // in the filter, and the default
        std::wstring saveDir;   // before the command
        FileDialogResult chosen;
        std::wstring saveDirAfter; // empty: the first entry's folder
    } cases[] = {
        {L"part1.bin", L"merge.bin", L"bin", L"", {}, L""},
        {L"part", L"merge.", L"", L"D:\\earlier", {}, L"D:\\earlier"},
        {L"data.old\\part", L"merge.old\\part", L"old\\part", L"D:\\earlier",
         ScriptedServices::Chosen(output, dir / L"out"), dir / L"out"},
        // Without a folder from the dialog, the chosen file's own: never the
        // process's current folder.
        {L"part1.bin", L"merge.bin", L"bin", L"", ScriptedServices::Chosen(output), dir / L"out"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.first);
        const auto first = WriteBytes(dir / c.first, "1");
        MergeRig rig;
        rig.saveDir = c.saveDir;
        CHECK(MergeCommand(rig, {first, second}, c.chosen).empty());
        const FileDialogRequest& request = rig.services.saveRequests.at(0);
        CHECK(request.flags == (OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY));
        CHECK(request.fileName == c.fileName);
        CHECK(request.filter == c.extension + L" files (*." + c.extension + L")|*." + c.extension +
                                    L"|All  files (*.*)|*.*");
        CHECK(request.defaultExt == c.extension);
        CHECK(request.initialDir == (c.saveDir.empty() ? GetDirectory(first) : c.saveDir));
        CHECK(rig.saveDir == (c.saveDirAfter.empty() ? GetDirectory(first) : c.saveDirAfter));
        DeleteFileW(output.c_str());
    }
}

TEST_CASE("An output that is an input under another name gives message C and is untouched") {
    MergeRig files; // holds the inputs; each name is tried on a rig of its own
    const TempDir& dir = files.dir;
    CreateDirectoryW((dir / L"sub").c_str(), nullptr);
    files.Add(5000);
    files.Add(300);
    const std::wstring& input = files.inputs[1];
    const auto hardLink = dir / L"hard link.bin";
    REQUIRE(CreateHardLinkW(hardLink.c_str(), input.c_str(), nullptr));

    std::vector<std::pair<std::string, std::wstring>> outputs = {
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
    // Where the system follows symbolic links (Wine 8 does not), a link to an input
    // is that input.
    const auto symbolicLink = dir / L"symbolic link.bin";
    if (CreateSymbolicLinkW(symbolicLink.c_str(), input.c_str(), 0) &&
        IdentifyFile(symbolicLink) == IdentifyFile(input))
        outputs.push_back({"a symbolic link", symbolicLink});

    for (const auto& [what, output] : outputs) {
        CAPTURE(what);
        MergeRig rig;
        CHECK(MergeCommand(rig, files.inputs, ScriptedServices::Chosen(output, dir.Path())) ==
              Texts{L"You cannot use the same file for input and output.\r\r"
                    L"Check your filenames and try again."});
        files.CheckUnchanged();
    }

    // A file beside them is no input, whatever its name looks like: the merge
    // replaces it.
    const auto other = WriteBytes(dir / L"in1.bin.bak", std::string(200000, 'o'));
    CHECK(MergeCommand(files, files.inputs, ScriptedServices::Chosen(other, dir.Path())).empty());
    CHECK(FileBytes(other) == files.Joined());
    files.CheckRestored();
}

TEST_CASE("A drive without room gives message D and the older output stays") {
    MergeRig rig;
    const auto small = WriteBytes(rig.dir / L"small.bin", "12345");
    const std::int64_t hugeSize = 8LL << 40; // more than any test disk, taking no room
    const auto huge = rig.dir / L"huge.bin";
    REQUIRE(MakeSparseFile(huge, hugeSize));
    const auto output = WriteBytes(rig.dir / L"merged.bin", "the older output");

    const Texts messages = MergeCommand(rig, {small, huge}, ScriptedServices::Chosen(output));
    const double freeNow = GetHugeFreeSpace(GetDrive(output) + L"\\");
    REQUIRE(messages.size() == 1);
    const std::wstring head = L"Not enough space available on drive " + GetDrive(output) + L"\r" +
                              FormatNumber(5.0 + static_cast<double>(hugeSize)) +
                              L" Bytes needed\r";
    const std::wstring tail =
        L" Bytes free\r\rDelete unused files or choose another drive and try again.";
    REQUIRE(messages[0].starts_with(head));
    REQUIRE(messages[0].ends_with(tail));
    // The drive's free space, formatted, as far as other programs let it stay put.
    const std::wstring shown =
        messages[0].substr(head.size(), messages[0].size() - head.size() - tail.size());
    std::wstring digits = shown;
    std::erase_if(digits, [](wchar_t ch) { return !std::iswdigit(ch); });
    REQUIRE_FALSE(digits.empty());
    CHECK(shown == FormatNumber(std::stod(digits)));
    CHECK(std::abs(std::stod(digits) - freeNow) < 256.0 * 1024 * 1024);
    CHECK(ReadBytes(output) == "the older output");
}

TEST_CASE("Replacing a file gives back the room it takes on its own volume only") {
    TempDir dir;
    const auto file = WriteBytes(dir / L"old.bin", std::string(100000, 'x'));
    const auto sparse = dir / L"sparse.bin";
    REQUIRE(MakeSparseFile(sparse, 1LL << 40));
    const std::wstring root = GetDrive(file) + L"\\";
    CHECK(SpaceFreedByReplacing(file, root) >= 100000.0);
    CHECK(SpaceFreedByReplacing(sparse, root) < 1e9);
    CHECK(SpaceFreedByReplacing(dir / L"missing.bin", root) == 0.0);
    // Removing one name of a file with two frees nothing.
    REQUIRE(CreateHardLinkW((dir / L"link.bin").c_str(), file.c_str(), nullptr));
    CHECK(SpaceFreedByReplacing(file, root) == 0.0);
    CHECK(SpaceFreedByReplacing(file, L"Z:\\") == 0.0); // Wine's other volume, or none
}

TEST_CASE("A failed Save As dialog is reported and no file is written") {
    MergeRig rig;
    rig.saveDir = rig.dir.Path();
    rig.Add(2);
    rig.Add(3);
    CHECK(MergeCommand(rig, rig.inputs, ScriptedServices::Failed(FNERR_BUFFERTOOSMALL)) ==
          Texts{L"The following error occured while initializing the merge process:\r"
                L"The Save As dialog failed with error 0x3003.\r\r"
                L"Contact the technical support at https://vorbel.example/ to get help."});
    std::wstring current(GetCurrentDirectoryW(0, nullptr), L'\0');
    current.resize(GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));
    CHECK_FALSE(IsFilePresent(current + L"\\merge.bin"));
    CHECK(rig.saveDir == rig.dir.Path());
}

TEST_CASE("Only a known file id proves two names one file") {
    FileIdentity known{0x43, {7}}, other = known, elsewhere = known;
    other.id[0] = 8;
    elsewhere.volume = 0x44;
    const FileIdentity unknown{0x43, {}}; // what some file systems give every file
    CHECK(SameFile(known, known));
    CHECK_FALSE(SameFile(known, other));
    CHECK_FALSE(SameFile(known, elsewhere));
    CHECK_FALSE(SameFile(unknown, unknown));
}

TEST_CASE("An older output loses its name only, and only once the copy starts") {
    const std::wstring denied = L"Cannot open the file %.\r" + GetErrorText(ERROR_ACCESS_DENIED) +
                                L"\r\rMake sure that the file is writable and try again.";
    const struct {
        std::string what;
        bool hardLinked; // to a file outside the list, which keeps its bytes
        DWORD attributes;
        bool replaced;
    } cases[] = {
        {"hard-linked to another file", true, FILE_ATTRIBUTE_NORMAL, true},
        {"read-only", false, FILE_ATTRIBUTE_READONLY, false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        MergeRig rig;
        rig.Add(5000);
        rig.Add(300);
        const auto other = WriteBytes(rig.dir / L"other.bin", "the other name's bytes");
        if (c.hardLinked)
            REQUIRE(CreateHardLinkW(rig.output.c_str(), other.c_str(), nullptr));
        else
            WriteBytes(rig.output, "the older output");
        const std::string older = ReadBytes(rig.output);
        SetFileAttributesW(rig.output.c_str(), c.attributes);

        const Texts shown =
            MergeCommand(rig, rig.inputs, ScriptedServices::Chosen(rig.output, rig.dir.Path()));
        SetFileAttributesW(rig.output.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (c.replaced) {
            CHECK(shown.empty());
            CHECK(FileBytes(rig.output) == rig.Joined());
        } else {
            std::wstring message = denied;
            message.replace(message.find(L'%'), 1, rig.output);
            CHECK(shown == Texts{message});
            CHECK(ReadBytes(rig.output) == older);
        }
        CHECK(ReadBytes(other) == "the other name's bytes");
        rig.CheckUnchanged();
    }
}

TEST_CASE("An older output's room counts as free where removing its name frees it") {
    const struct {
        std::string what;
        std::size_t older; // bytes of an older output; 0: none
        bool hardLinked;   // its data stays under another name
        double shortBy;    // how far the drive's own free space falls short of the total
        bool goesAhead;
    } cases[] = {
        {"exactly the room needed", 0, false, 0, true},
        {"a byte short, nothing to replace", 0, false, 1, false},
        {"a byte short, an older output to replace", 100000, false, 1, true},
        {"a byte short, an older output with another name", 100000, true, 1, false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        MergeRig rig;
        rig.Add(5000);
        rig.Add(300);
        if (c.older) {
            const auto older = WriteBytes(rig.dir / L"older.bin", std::string(c.older, 'o'));
            REQUIRE(c.hardLinked ? CreateHardLinkW(rig.output.c_str(), older.c_str(), nullptr)
                                 : MoveFileW(older.c_str(), rig.output.c_str()));
        }
        rig.options.freeSpace = [&](const std::wstring&) { return rig.Total() - c.shortBy; };
        const Texts shown =
            MergeCommand(rig, rig.inputs, ScriptedServices::Chosen(rig.output, rig.dir.Path()));
        if (c.goesAhead) {
            CHECK(shown.empty());
            CHECK(FileBytes(rig.output) == rig.Joined());
        } else {
            REQUIRE(shown.size() == 1);
            CHECK(shown[0].starts_with(L"Not enough space available on drive "));
            CHECK(IsFilePresent(rig.output) == (c.older > 0));
        }
    }
}

TEST_CASE("An input that cannot be opened when the copy reaches it stops the merge there") {
    MergeRig rig;
    rig.Add(5000);
    rig.Add(300);
    rig.Add(700);
    // Present and measured, but held open by another program that shares nothing.
    FileHandle holder(
        CreateFileW(rig.inputs[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    REQUIRE(holder.Valid());
    CHECK(MergeCommand(rig, rig.inputs, ScriptedServices::Chosen(rig.output, rig.dir.Path())) ==
          Texts{L"Cannot open the file " + rig.inputs[1] + L".\r" +
                GetErrorText(ERROR_SHARING_VIOLATION) + L"\r\rCheck the file and try again."});
    CHECK(FileBytes(rig.output) == rig.Joined(5000)); // the input after it is not copied either
    holder.Reset();
    rig.CheckUnchanged();
}
