#pragma once
// What the merge tests share: a real main window with its list and scripted
// services, a progress dialog with a watch on its bar, and input files of known
// contents.

#include "merge/CopyLoop.h"
#include "merge/MergeCommand.h"
#include "platform/PendingError.h"
#include "progress/ProgressDialog.h"
#include "support/MainWindowFixture.h"

#include "resource.h"

#include <commctrl.h>
#include <doctest.h>

#include <functional>
#include <numeric>
#include <string>
#include <vector>

// File contents compared without printing them: a mismatch shows sizes and hashes.
struct Bytes {
    std::string data;
    bool operator==(const Bytes&) const = default;
};
template <> struct doctest::StringMaker<Bytes> {
    static String convert(const Bytes& value) {
        std::uint64_t hash = 14695981039346656037ull;
        for (unsigned char c : value.data)
            hash = (hash ^ c) * 1099511628211ull;
        return (std::to_string(value.data.size()) + " bytes, hash " + std::to_string(hash)).c_str();
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

    // The inputs, each with a pattern of its own.
    std::vector<std::wstring> inputs;
    std::vector<std::string> contents;
    void Add(std::size_t size) {
        contents.push_back(Pattern(size, static_cast<unsigned>(inputs.size() + 1)));
        inputs.push_back(
            WriteBytes(dir / (L"in" + std::to_wstring(inputs.size()) + L".bin"), contents.back()));
    }
    double Total() const {
        return std::accumulate(contents.begin(), contents.end(), 0.0,
                               [](double sum, const auto& c) { return sum + c.size(); });
    }
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
    // Lists the inputs and runs the copy stage on them.
    void Merge(double total) {
        Fill(inputs);
        WriteMergedFile(host, inputs, output, total, options);
    }

    // The main window is back as it was: enabled, the summary shown, the dialog gone
    // and the list unchanged.
    void CheckRestored() {
        CHECK(IsWindowEnabled(Hwnd()));
        CHECK(Status() == window.Status().StatusText());
        CHECK_FALSE(progress.IsLoaded());
        CHECK(Texts() == inputs);
    }

    // The positions the bar is moved to after the reset as the dialog loads, and a
    // hook run after each move.
    std::vector<WPARAM> barPositions;
    std::function<void()> onBarMove;
    MessageSpy barSpy{PBM_SETPOS, [this](WPARAM position) {
                          if (position == 0)
                              return;
                          barPositions.push_back(position);
                          if (onBarMove)
                              onBarMove();
                      }};
};
