#pragma once
// What the merge tests share: a real main window with its list and scripted
// services, a progress dialog, and inputs of known contents.

#include "merge/CopyLoop.h"
#include "merge/MergeCommand.h"
#include "platform/PendingError.h"
#include "progress/ProgressDialog.h"
#include "support/Fixture.h"

#include "resource.h"

#include <commctrl.h>
#include <doctest.h>

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

    void Add(std::size_t size) {
        contents.push_back(Pattern(size, static_cast<unsigned>(inputs.size() + 1)));
        inputs.push_back(
            WriteBytes(dir / (L"in" + std::to_wstring(inputs.size()) + L".bin"), contents.back()));
    }
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
    // The whole command on the listed paths; the warnings shown, the list as it was.
    ::Texts MergeCommand(const ::Texts& listed, const FileDialogResult& dialog) {
        services.saveResults.push_back(dialog);
        Fill(listed);
        MergeFiles(host, Texts(), options);
        CHECK(Texts() == listed);
        return services.Warnings();
    }
    ::Texts MergeInputs() {
        return MergeCommand(inputs, ScriptedServices::Chosen(output, dir.Path()));
    }
    // The copy stage alone on the inputs, measured as their contents by default.
    void Merge(std::vector<double> sizes = {}) {
        for (std::size_t i = sizes.size(); i < contents.size(); ++i)
            sizes.push_back(static_cast<double>(contents[i].size()));
        Fill(inputs);
        WriteMergedFile(host, inputs, output, sizes, options);
    }
    // The main window is back: enabled, its summary shown, the dialog gone, the list kept.
    void CheckRestored() {
        CHECK(IsWindowEnabled(Hwnd()));
        CHECK(Status() == window.Status().StatusText());
        CHECK_FALSE(progress.IsLoaded());
        CHECK(Texts() == inputs);
    }
};
