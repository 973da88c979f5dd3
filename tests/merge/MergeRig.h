#pragma once
// What the merge tests share: a stand-in main window with its list, the scripted
// services, the real progress dialog with a watch on its bar, and input files.

#include "merge/MergeCommand.h"
#include "platform/PendingError.h"
#include "progress/ProgressDialog.h"
#include "support/HarnessWindow.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

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
    return {ReadWholeFile(path)};
}

// Input files, each with its own pattern.
struct Inputs {
    std::wstring folder;
    std::vector<std::wstring> paths;
    std::vector<std::string> contents;

    void Add(const TempDir& dir, std::size_t size) {
        folder = dir.Path();
        contents.push_back(Pattern(size, static_cast<unsigned>(paths.size() + 1)));
        paths.push_back(
            WriteBytes(dir / (L"in" + std::to_wstring(paths.size()) + L".bin"), contents.back()));
    }
    void Repeat(std::size_t index) {
        paths.push_back(paths[index]);
        contents.push_back(contents[index]);
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
        for (std::size_t i = 0; i < paths.size(); ++i)
            CHECK(FileBytes(paths[i]) == Bytes{contents[i]});
    }
};

struct MergeRig {
    HarnessWindow window;
    ScriptedServices services;
    ProgressDialog progress;
    std::wstring saveDir;
    PendingError pendingError;
    MergeHost host{window.Handle(), window.list, services, progress, saveDir, pendingError};
    // Window events after every block, so that a test knows when a click is handled.
    CopyOptions options = [] {
        CopyOptions o;
        o.pumpIntervalMs = 0;
        return o;
    }();
    std::wstring output; // out.bin beside the inputs unless set
    std::vector<std::wstring> listed;

    // Lists the inputs and runs the copy stage on them.
    void Merge(const Inputs& inputs, double total) {
        listed = inputs.paths;
        window.Fill(listed);
        if (output.empty())
            output = inputs.folder + L"\\out.bin";
        WriteMergedFile(host, inputs.paths, output, total, options);
    }

    // The main window is back as it was: enabled, the summary shown, the dialog gone
    // and the list unchanged.
    void CheckRestored() const {
        CHECK(IsWindowEnabled(window.Handle()));
        CHECK(window.StatusBarText() == window.list.StatusText());
        CHECK_FALSE(progress.IsLoaded());
        CHECK(window.list.Texts() == listed);
    }

    // The positions the bar is moved to once the dialog's first events have run, and
    // a hook run after each move.
    std::vector<LRESULT> barPositions;
    std::function<void()> onBarMove;
    void WatchBar() {
        window.onAppMessage = [this](UINT, WPARAM, LPARAM) {
            SetWindowSubclass(GetDlgItem(progress.Handle(), IDC_PROGRESSBAR), BarProc, 1,
                              reinterpret_cast<DWORD_PTR>(this));
        };
        PostMessageW(window.Handle(), WM_APP, 0, 0);
    }

    // Clicks Cancel as the user does: the click waits for the next window events.
    void PostCancelClick() const {
        PostMessageW(progress.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(progress.Handle(), IDCANCEL)));
    }

private:
    static LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR data) {
        if (message == PBM_SETPOS) {
            auto* rig = reinterpret_cast<MergeRig*>(data);
            rig->barPositions.push_back(static_cast<LRESULT>(wParam));
            if (rig->onBarMove)
                rig->onBarMove();
        }
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
};
