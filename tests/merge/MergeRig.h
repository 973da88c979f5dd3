#pragma once
// What the merge tests share: a stand-in main window with its list, the scripted
// services, the real progress dialog, and a watch on the dialog's bar.

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
#include <string>
#include <vector>

struct MergeRig {
    HarnessWindow window;
    ScriptedServices services;
    ProgressDialog progress;
    std::wstring saveDir;
    PendingError pendingError;
    MergeHost host{window.Handle(), window.list, services, progress, saveDir, pendingError};
    // Window events after every block, so a test knows when a click is handled.
    CopyOptions options = [] {
        CopyOptions o;
        o.pumpIntervalMs = 0;
        return o;
    }();

    // Positions the bar was moved to, and a hook run after each move; both start
    // when the dialog's first window events run.
    std::vector<LRESULT> barPositions;
    std::function<void()> onBarMove;

    void WatchBar() {
        window.onAppMessage = [this](UINT, WPARAM, LPARAM) {
            SetWindowSubclass(GetDlgItem(progress.Handle(), IDC_PROGRESSBAR), BarProc, 1,
                              reinterpret_cast<DWORD_PTR>(this));
        };
        PostMessageW(window.Handle(), WM_APP, 0, 0);
    }

    // Clicks Cancel the way the user does: the click waits for the next window events.
    void PostCancelClick() const {
        const HWND button = GetDlgItem(progress.Handle(), IDCANCEL);
        PostMessageW(progress.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }

    // The main window is back as it was: enabled, the summary shown, the dialog gone,
    // and the list as it was filled.
    void CheckRestored(const std::vector<std::wstring>& listed) const {
        CHECK(IsWindowEnabled(window.Handle()));
        CHECK(window.StatusBarText() == window.list.StatusText());
        CHECK_FALSE(progress.IsLoaded());
        CHECK(window.list.Texts() == listed);
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

// File contents compared without printing them: a mismatch shows sizes and hashes.
struct Bytes {
    std::string data;
    bool operator==(const Bytes&) const = default;
};

namespace doctest {
template <> struct StringMaker<Bytes> {
    static String convert(const Bytes& value) {
        std::uint64_t hash = 14695981039346656037ull;
        for (unsigned char c : value.data)
            hash = (hash ^ c) * 1099511628211ull;
        return (std::to_string(value.data.size()) + " bytes, hash " + std::to_string(hash)).c_str();
    }
};
} // namespace doctest

inline Bytes FileBytes(const std::wstring& path) {
    return {ReadWholeFile(path)};
}

// Input files of a test, written with distinct patterns.
struct Inputs {
    std::vector<std::wstring> paths;
    std::vector<std::string> contents;

    void Add(const TempDir& dir, std::size_t size) {
        const auto name = L"in" + std::to_wstring(paths.size()) + L".bin";
        contents.push_back(Pattern(size, static_cast<unsigned>(paths.size() + 1)));
        paths.push_back(WriteBytes(dir / name, contents.back()));
    }
    // The first count bytes of the inputs joined.
    Bytes Joined(std::size_t count = std::string::npos) const {
        std::string all;
        for (const auto& c : contents)
            all += c;
        return {all.substr(0, count)};
    }
    // No input was changed by what the test did.
    void CheckUnchanged() const {
        for (std::size_t i = 0; i < paths.size(); ++i)
            CHECK(FileBytes(paths[i]) == Bytes{contents[i]});
    }
};
