#pragma once
// What the merge tests share: a real main window with its list and scripted
// services, a progress dialog, inputs of known contents, and faults put into the
// system's reads and writes.

#include "merge/Checksum.h"
#include "merge/CopyLoop.h"
#include "merge/MergeCommand.h"
#include "platform/Handles.h"
#include "platform/PendingError.h"
#include "progress/ProgressDialog.h"
#include "support/Fixture.h"

#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <numeric>

// File contents compared without printing them: a mismatch shows the sizes.
struct Bytes {
    std::string data;
    bool operator==(const Bytes&) const = default;
};
template <> struct doctest::StringMaker<Bytes> {
    static String convert(const Bytes& b) {
        return (std::to_string(b.data.size()) + " bytes").c_str();
    }
};
inline Bytes FileBytes(const std::wstring& path) {
    return {ReadBytes(path)};
}

// The checksum of the data given in pieces of these sizes, over and over.
inline std::string HexOf(HashKind kind, const std::string& data,
                         std::initializer_list<std::size_t> pieces = {SIZE_MAX}) {
    const auto sum = MakeChecksum(kind);
    REQUIRE(sum);
    for (std::size_t at = 0, i = 0; at < data.size(); ++i) {
        const std::size_t piece = std::min(pieces.begin()[i % pieces.size()], data.size() - at);
        sum->Update(data.data() + at, piece);
        at += piece;
    }
    const std::string hex = sum->Hex();
    CHECK(sum->Hex() == hex); // asked again
    return hex;
}

struct Faults {
    DWORD perWrite = MAXDWORD;  // most bytes a write stores
    std::uint64_t room = ~0ull; // bytes the disk takes; the write reaching it fails
    bool tellsStored = true;    // whether that write tells what it stored
    int failingRead = 0;        // the read call that fails, counted from 1
    DWORD error = 0;            // of the failing write or read
    bool slow = false;          // now and then a call slow enough to shrink the chunks
};

inline FileCalls WithFaults(Faults f) {
    auto reads = std::make_shared<int>(0);
    auto stored = std::make_shared<std::uint64_t>(0);
    FileCalls calls;
    calls.read = [=](HANDLE file, void* buffer, DWORD size, DWORD* done) -> BOOL {
        if (++*reads == f.failingRead) {
            SetLastError(f.error);
            return FALSE;
        }
        if (f.slow && *reads % 2 == 0)
            Sleep(40);
        return ReadFile(file, buffer, size, done, nullptr);
    };
    calls.write = [=](HANDLE file, const void* buffer, DWORD size, DWORD* done) -> BOOL {
        const auto fits =
            static_cast<DWORD>(std::min<std::uint64_t>({size, f.perWrite, f.room - *stored}));
        WriteFile(file, buffer, fits, done, nullptr);
        *stored += *done;
        if (fits == size || *stored < f.room)
            return TRUE;
        if (!f.tellsStored)
            *done = 0;
        SetLastError(f.error);
        return FALSE;
    };
    return calls;
}

struct MergeRig : MainWindowFixture {
    ProgressDialog progress;
    std::wstring saveDir;
    PendingError pendingError;
    MergeHost host{Hwnd(), window.Status(), services, progress, saveDir, pendingError};
    // Window events after every block, so that a test knows when a click is handled.
    CopyOptions options{.progressIntervalMs = 0, .calls = {}, .freeSpace = {}};
    std::wstring output = dir / L"out.bin";
    std::vector<std::wstring> inputs;
    std::vector<std::string> contents; // each input's own pattern
    KernelHandle asked{CreateEventW(nullptr, TRUE, FALSE, nullptr)};

    // Inputs in0.bin, in1.bin... of these sizes.
    void Add(const std::vector<std::size_t>& sizes) {
        for (const std::size_t size : sizes) {
            contents.push_back(Pattern(size, static_cast<unsigned>(inputs.size() + 1)));
            inputs.push_back(WriteBytes(dir / (L"in" + std::to_wstring(inputs.size()) + L".bin"),
                                        contents.back()));
        }
    }
    // The program's pace, with chunks small enough that the inputs fill several.
    void Threaded() { options = {.chunk = 4 * kBlockSize, .calls = {}, .freeSpace = {}}; }
    double Total() const { return static_cast<double>(Joined().data.size()); }
    // The first count bytes of the inputs one after the other.
    Bytes Joined(std::size_t count = std::string::npos) const {
        return {std::accumulate(contents.begin(), contents.end(), std::string()).substr(0, count)};
    }
    void CheckUnchanged() const {
        for (std::size_t i = 0; i < inputs.size(); ++i)
            CHECK(FileBytes(inputs[i]) == Bytes{contents[i]});
    }
    // Lists the paths with their summary, as adding files does.
    void Fill(const std::vector<std::wstring>& paths) {
        for (const auto& path : paths)
            List().AddFile(path);
        window.Status().RebuildStatus(List());
    }
    // The whole command on the listed paths, the Save As dialog answered; every message
    // shown. The list stays as it was.
    const auto& MergeAll(const ::Texts& listed, const FileDialogResult& dialog) {
        services.saveResults.push_back(dialog);
        Fill(listed);
        MergeFiles(host, Texts(), options);
        CHECK(Texts() == listed);
        return services.messages;
    }
    const auto& MergeAll() {
        return MergeAll(inputs, ScriptedServices::Chosen(output, dir.Path()));
    }
    // The copy stage alone on the inputs, measured as their contents by default.
    void Merge(std::vector<double> sizes = {}, const Verification& verification = {}) {
        for (std::size_t i = sizes.size(); i < contents.size(); ++i)
            sizes.push_back(static_cast<double>(contents[i].size()));
        Fill(inputs);
        WriteMergedFile(host, inputs, output, sizes, options, verification);
    }
    // The user clicks on the dialog (Cancel, or its close button) while the writer's
    // nth write waits; the writer goes on once the question is up and atQuestion has
    // looked at the window.
    void ClickDuringWrite(int n, UINT click = WM_COMMAND, std::function<void()> atQuestion = {}) {
        auto writes = std::make_shared<int>(0);
        options.calls.write = [=, this, inner = options.calls.write](
                                  HANDLE file, const void* buffer, DWORD size, DWORD* done) {
            if (++*writes == n) {
                PostMessageW(progress.Handle(), click, IDCANCEL, 0);
                WaitForSingleObject(asked.Get(), 5000);
            }
            return inner ? inner(file, buffer, size, done)
                         : WriteFile(file, buffer, size, done, nullptr);
        };
        services.whileMessageShown = [this, atQuestion] {
            if (atQuestion)
                atQuestion();
            SetEvent(asked.Get());
        };
    }
    // The main window is back: enabled, its summary shown, the dialog gone, the list kept.
    void CheckRestored() {
        CHECK(IsWindowEnabled(Hwnd()));
        CHECK(Status() == window.Status().StatusText());
        CHECK_FALSE(progress.IsLoaded());
        CHECK(Texts() == inputs);
    }
    // A merge cut short keeps whole blocks of the inputs, fewer than all; their size.
    std::size_t CheckCutShort() const {
        const std::size_t kept = ReadBytes(output).size();
        CHECK(kept < Total());
        std::size_t into = kept, i = 0; // a whole number of blocks into an input, or its end
        while (i + 1 < contents.size() && into > contents[i].size())
            into -= contents[i++].size();
        CHECK((into % kBlockSize == 0 || into == contents[i].size()));
        CHECK(FileBytes(output) == Joined(kept));
        return kept;
    }
};
