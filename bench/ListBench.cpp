// Prints how long the file list takes for its everyday work at growing sizes:
// appending entries, summing them for the status bar, sorting, dropping a whole
// folder and dropping every file of it one by one; then every edit command, from
// the menu as a click sends it, on half of the entries selected in several ways.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "filelist/EditCommands.h"
#include "platform/EventPump.h"
#include "platform/Handles.h"
#include "platform/Services.h"
#include "resource.h"
#include "shell/MainWindow.h"
#include "support/DataObjects.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resource.h"

namespace {

// Answers nothing and shows nothing: the benchmark drives no dialog.
class QuietServices : public Services {
public:
    int ShowMessage(HWND, const std::wstring&, UINT) override { return IDOK; }
    void Beep() override {}
    FileDialogResult ShowOpenDialog(HWND, const FileDialogRequest&) override { return {}; }
    FileDialogResult ShowSaveDialog(HWND, const FileDialogRequest&) override { return {}; }
    bool StartProcess(const std::wstring&) override { return false; }
    void OpenAddress(HWND, const std::wstring&) override {}
    std::wstring ReadSetting(const std::wstring&, const std::wstring&,
                             const std::wstring& fallback) override {
        return fallback;
    }
    void WriteSetting(const std::wstring&, const std::wstring&, const std::wstring&) override {}
    std::unique_ptr<TaskbarProgress> OpenTaskbarProgress(HWND) override { return nullptr; }
};

double Seconds(const char* what, const std::function<void()>& work) {
    std::fprintf(stderr, "%s...\n", what);
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::wstring BenchFolder(int count) {
    std::wstring base(GetTempPathW(0, nullptr), L'\0');
    base.resize(GetTempPathW(static_cast<DWORD>(base.size()), base.data()));
    return base + L"vmbench-" + std::to_wstring(count);
}

// The files part0.bin to part<count-1>.bin. Wine reads a whole folder for every
// file made in it, so scripts/bench-list.sh makes them from the Linux side first;
// true when they had to be made here.
bool MakeFolder(const std::wstring& folder, int count) {
    const std::wstring last = folder + L"\\part" + std::to_wstring(count - 1) + L".bin";
    if (GetFileAttributesW(last.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        const std::wstring path = folder + L"\\part" + std::to_wstring(i) + L".bin";
        FileHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return true;
}

void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (find) {
        do {
            DeleteFileW((folder + L"\\" + data.cFileName).c_str());
        } while (FindNextFileW(find.Get(), &data));
    }
    find.Reset();
    RemoveDirectoryW(folder.c_str());
}

// Half of the entries selected, neither end among them (so that Up and Down move).
struct Pattern {
    const char* name;
    bool (*selects)(int index);
};
const Pattern kPatterns[] = {
    {"runs of 3", [](int i) { return (i / 3) % 2 == 1; }}, // as a user might pick them
    {"every other", [](int i) { return i % 2 == 1; }},     // the most runs there can be
    // No order to it, as after a sort.
    {"scattered", [](int i) { return ((static_cast<unsigned>(i) * 2654435761u) >> 16) % 2 == 1; }},
};

std::vector<char> Selected(const Pattern& pattern, int count) {
    std::vector<char> selected(static_cast<std::size_t>(count));
    for (int i = 1; i + 1 < count; ++i)
        selected[static_cast<std::size_t>(i)] = pattern.selects(i);
    return selected;
}

struct EditCommand {
    const char* name;
    std::function<void(MainWindow&)> run;
};

void MenuCommand(MainWindow& window, int id) {
    SendMessageW(window.Handle(), WM_COMMAND, id, 0);
}

std::vector<EditCommand> EditCommands(Services& services) {
    return {
        {"Move Up", [](MainWindow& w) { MenuCommand(w, IDM_UP); }},
        {"Move Down", [](MainWindow& w) { MenuCommand(w, IDM_DOWN); }},
        {"Remove (list only)", [&services](MainWindow& w) { RemoveFiles(w.List(), services); }},
        {"Remove (+ status bar)", [](MainWindow& w) { MenuCommand(w, IDM_REMOVE); }},
        {"Select All", [](MainWindow& w) { MenuCommand(w, IDM_SELECT_ALL); }},
        {"Invert Selection", [](MainWindow& w) { MenuCommand(w, IDM_INVERT_SELECTION); }},
        {"heading click",
         [](MainWindow& w) {
             NMLISTVIEW click{};
             click.hdr = {w.List().ListView().Handle(), IDC_FILELIST, LVN_COLUMNCLICK};
             click.iItem = -1;
             SendMessageW(w.Handle(), WM_NOTIFY, IDC_FILELIST, reinterpret_cast<LPARAM>(&click));
         }},
        {"Sort Ascending", [](MainWindow& w) { MenuCommand(w, IDM_SORT_FILES_ASC); }},
        {"Sort Descending", [](MainWindow& w) { MenuCommand(w, IDM_SORT_FILES_DESC); }},
        {"drag to the top", [](MainWindow& w) { DragSelectedTo(w.List(), 0); }},
    };
}

// One command on a shown window of these entries, with this selection and the focus
// mark on the last selected entry, until the window has drawn it; the best of three.
double TimeEditCommand(Services& services, const std::vector<std::wstring>& paths,
                       const std::vector<char>& selected, const EditCommand& command) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        MainWindow window(services, L"");
        window.Create(GetModuleHandleW(nullptr));
        ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
        FileList& list = window.List();
        {
            FileList::Batch batch(list);
            for (const auto& path : paths)
                list.AddFile(path);
        }
        list.SetSelection(selected);
        const auto last = std::find(selected.rbegin(), selected.rend(), 1);
        if (last != selected.rend())
            list.MakeCurrent(static_cast<int>(selected.rend() - last) - 1);
        PumpPendingEvents();
        const auto start = std::chrono::steady_clock::now();
        command.run(window);
        UpdateWindow(window.Handle());
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void PrintEditCommands(Services& services, const std::vector<std::wstring>& paths) {
    std::printf("\nEdit commands at %zu entries, seconds, best of three; half of the entries "
                "selected:\n%-22s",
                paths.size(), "");
    for (const Pattern& pattern : kPatterns)
        std::printf(" %12s", pattern.name);
    std::printf("\n");
    for (const EditCommand& command : EditCommands(services)) {
        std::string row;
        for (const Pattern& pattern : kPatterns) {
            std::fprintf(stderr, "%s, %s...\n", command.name, pattern.name);
            const double seconds = TimeEditCommand(
                services, paths, Selected(pattern, static_cast<int>(paths.size())), command);
            char cell[32];
            std::snprintf(cell, sizeof cell, " %11.3fs", seconds);
            row += cell;
        }
        std::printf("%-22s%s\n", command.name, row.c_str());
    }
}

// Names in a scrambled order, so the sort has work to do.
std::vector<std::wstring> ScrambledPaths(const std::wstring& folder, int count) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back(folder + L"\\part" + std::to_wstring((i * 7919) % count) + L".bin");
    return paths;
}

// Adding the first of 10,000 parts of a split set through the open dialog brings the
// whole set: listed, sorted and summed. The parts are made from the Linux side by
// scripts/bench-list.sh.
void PrintSetFigure() {
    constexpr int kParts = 10000;
    const std::wstring folder = BenchFolder(kParts) + L"-set";
    const std::wstring first = folder + L"\\set.bin.00001";
    if (GetFileAttributesW(first.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("set: no parts in %ls (scripts/bench-list.sh makes them)\n", folder.c_str());
        return;
    }
    class FirstPartChosen : public QuietServices {
    public:
        explicit FirstPartChosen(std::wstring path) : path_(std::move(path)) {}
        FileDialogResult ShowOpenDialog(HWND, const FileDialogRequest&) override {
            FileDialogResult result;
            result.outcome = FileDialogResult::Outcome::Chosen;
            result.text = path_;
            return result;
        }

    private:
        std::wstring path_;
    } services(first);
    MainWindow window(services, L"");
    window.Create(GetModuleHandleW(nullptr));
    const double seconds =
        Seconds("set", [&] { SendMessageW(window.Handle(), WM_COMMAND, IDM_ADD, 0); });
    std::printf("set of %d parts, the first one added: %d entries in %.3fs\n", kParts,
                window.List().Count(), seconds);
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    MainWindow::Register(GetModuleHandleW(nullptr));
    QuietServices services;

    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {1000, 10000, 100000};
    std::vector<std::wstring> madeHere;
    for (int count : counts)
        if (MakeFolder(BenchFolder(count), count))
            madeHere.push_back(BenchFolder(count));

    std::printf("%9s %10s %10s %10s %12s %11s\n", "entries", "append", "summary", "sort",
                "drop folder", "drop files");
    for (int count : counts) {
        const std::wstring folder = BenchFolder(count);
        const std::vector<std::wstring> paths = ScrambledPaths(folder, count);

        MainWindow window(services, L"");
        window.Create(GetModuleHandleW(nullptr));
        FileList& list = window.List();
        const double append = Seconds("append", [&] {
            FileList::Batch batch(list);
            for (const auto& path : paths)
                list.AddFile(path);
        });
        const double summary = Seconds("summary", [&] { window.Status().RebuildStatus(list); });
        const double sort = Seconds("sort", [&] { list.SortFiles(SortOrder::Ascending); });

        MainWindow dropWindow(services, L"");
        dropWindow.Create(GetModuleHandleW(nullptr));
        auto data = MakeFileListData({folder});
        const double drop =
            Seconds("drop", [&] { DragAndDrop(dropWindow.DropTarget(), data.Get()); });

        // Listed, summed and enabled, as the one folder above, but path by path.
        MainWindow filesWindow(services, L"");
        filesWindow.Create(GetModuleHandleW(nullptr));
        auto files = MakeFileListData(paths);
        const double dropFiles =
            Seconds("drop files", [&] { DragAndDrop(filesWindow.DropTarget(), files.Get()); });
        std::printf("%9d %9.3fs %9.3fs %9.3fs %11.3fs %10.3fs\n", count, append, summary, sort,
                    drop, dropFiles);
        std::fflush(stdout);
    }
    for (int count : counts)
        PrintEditCommands(services, ScrambledPaths(BenchFolder(count), count));
    for (const auto& folder : madeHere)
        RemoveFolder(folder);
    PrintSetFigure();
    OleUninitialize();
    return 0;
}
