// Prints how long the file list takes for its everyday work at growing sizes:
// appending entries, summing them for the status bar, sorting, dropping a whole
// folder, dropping every file of it one by one, and moving, dragging and removing
// half of the entries.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "filelist/EditCommands.h"
#include "platform/Handles.h"
#include "platform/Services.h"
#include "resource.h"
#include "shell/MainWindow.h"
#include "support/DataObjects.h"

#include <chrono>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

void SelectHalf(FileList& list) {
    std::vector<char> selected(static_cast<std::size_t>(list.Count()));
    for (std::size_t i = 0; i < selected.size(); ++i)
        selected[i] = (i / 3) % 2; // runs of three, as a user might pick them
    list.SetSelection(selected);
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

    std::printf("%9s %10s %10s %10s %12s %11s %10s %10s %10s %10s\n", "entries", "append",
                "summary", "sort", "drop folder", "drop files", "move up", "move down", "drag",
                "remove");
    std::vector<int> counts{1000, 10000, 100000};
    if (argc > 1)
        counts.assign(1, std::atoi(argv[1]));
    for (int count : counts) {
        const std::wstring folder = BenchFolder(count);
        const bool made = MakeFolder(folder, count);
        // Names in a scrambled order, so the sort has work to do.
        std::vector<std::wstring> paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(folder + L"\\part" + std::to_wstring((i * 7919) % count) + L".bin");

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

        SelectHalf(list);
        const double up = Seconds("up", [&] { MoveUp(list, services); });
        const double down = Seconds("down", [&] { MoveDown(list, services); });
        // The selected half dragged to the top, as one block.
        const double drag = Seconds("drag", [&] { DragSelectedTo(list, 0); });
        SelectHalf(list);
        const double remove = Seconds("remove", [&] { RemoveFiles(list, services); });
        std::printf("%9d %9.3fs %9.3fs %9.3fs %11.3fs %10.3fs %9.3fs %9.3fs %9.3fs %9.3fs\n", count,
                    append, summary, sort, drop, dropFiles, up, down, drag, remove);
        std::fflush(stdout);
        if (made)
            RemoveFolder(folder);
    }
    PrintSetFigure();
    OleUninitialize();
    return 0;
}
