// Measures the merge against a plain copy loop over the same files, its memory, and
// how soon a click on Cancel is answered. Not a test: it prints figures.
//
//   bench_merge make FOLDER COUNT MIB   writes COUNT input files of MIB MiB each
//   bench_merge run FOLDER [ROUNDS]     merges them and prints the figures
//
// The files are made by a separate run so that making them does not count towards
// the memory of the run that merges them.

#include "app/AppInfo.h"
#include "filelist/FileList.h"
#include "merge/CopyLoop.h"
#include "merge/InputCheck.h"
#include "merge/MergeCommand.h"
#include "merge/OutputFile.h"
#include "platform/Handles.h"
#include "platform/PendingError.h"
#include "platform/Win32Services.h"
#include "progress/ProgressDialog.h"
#include "shell/MainWindow.h"
#include "shell/StatusBar.h"

#include <windows.h>

#include "resource.h"
#include <commctrl.h>
#include <ole2.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double MiB(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
    return folder.ends_with(L'\\') ? folder + name : folder + L'\\' + name;
}

std::vector<std::wstring> InputPaths(const std::wstring& folder) {
    std::vector<std::wstring> paths;
    for (int i = 0;; ++i) {
        const std::wstring path = InFolder(folder, L"part" + std::to_wstring(i) + L".bin");
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return paths;
        paths.push_back(path);
    }
}

// The files of a folder in name order, such as split's numbered pieces.
std::vector<std::wstring> FolderInputs(const std::wstring& folder) {
    std::vector<std::wstring> paths;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(InFolder(folder, L"*.bin").c_str(), &data));
    for (bool more = find.Valid(); more; more = FindNextFileW(find.Get(), &data))
        paths.push_back(InFolder(folder, data.cFileName));
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::uint64_t SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<double> SizesOf(const std::vector<std::wstring>& paths) {
    std::vector<double> sizes;
    for (const auto& path : paths)
        sizes.push_back(static_cast<double>(SizeOf(path)));
    return sizes;
}

int Make(const std::wstring& folder, int count, int mib) {
    CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<char> chunk(1 << 20);
    unsigned x = 12345;
    for (auto& b : chunk) {
        x = x * 1103515245u + 12345u;
        b = static_cast<char>(x >> 16);
    }
    for (int i = 0; i < count; ++i) {
        const std::wstring path = InFolder(folder, L"part" + std::to_wstring(i) + L".bin");
        FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            std::fprintf(stderr, "cannot create %ls\n", path.c_str());
            return 1;
        }
        for (int m = 0; m < mib; ++m) {
            chunk[0] = static_cast<char>(m); // no two MiB alike
            DWORD written = 0;
            if (!WriteFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &written,
                           nullptr))
                return 1;
        }
    }
    return 0;
}

// Reads every file once so that both copies start from a warm cache.
void Warm(const std::vector<std::wstring>& paths) {
    std::vector<char> buffer(64 * 1024);
    for (const auto& path : paths) {
        FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD got = 0;
        while (
            file &&
            ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
            got > 0) {
        }
    }
}

// The yardstick: what the system gives a straight 1 MiB copy loop, nothing else.
double PlainCopy(const std::vector<std::wstring>& inputs, const std::wstring& output) {
    std::vector<char> buffer(1 << 20);
    const auto start = Clock::now();
    FileHandle out(CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    for (const auto& path : inputs) {
        FileHandle in(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD got = 0, written = 0;
        while (
            ReadFile(in.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
            got > 0)
            WriteFile(out.Get(), buffer.data(), got, &written, nullptr);
    }
    out.Reset();
    return Seconds(start);
}

// Answers the cancel question No, or Yes once told to stop, noting when it was
// asked; any other message is a failure of the run.
class BenchServices : public Win32Services {
public:
    BenchServices() : Win32Services(kAppTitle, L"Software\\VorbelMergeBench") {}
    int ShowMessage(HWND, const std::wstring& text, UINT type) override {
        if ((type & MB_TYPEMASK) != MB_YESNO) {
            std::fprintf(stderr, "unexpected message: %ls\n", text.c_str());
            ++failures;
            return IDOK;
        }
        asked = Clock::now().time_since_epoch().count();
        ++questions;
        return stopping ? IDYES : IDNO;
    }
    // The Save As dialog answers at once with the chosen output, and notes when.
    FileDialogResult ShowSaveDialog(HWND, const FileDialogRequest&) override {
        dialogGone = Clock::now();
        return {FileDialogResult::Outcome::Chosen, chosenOutput, {}};
    }
    std::wstring chosenOutput;
    Clock::time_point dialogGone;
    std::atomic<int> questions{0};
    std::atomic<Clock::rep> asked{0};
    std::atomic<bool> stopping{false};
    int failures = 0;
};

// A main window as the merge needs it: a list view with the files and a status bar.
struct MainStandIn {
    WindowHandle window;
    FileList list;
    StatusBar status;
    MainStandIn() {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"VorbelMergeBenchMain";
        RegisterClassExW(&wc);
        window.Reset(CreateWindowExW(0, wc.lpszClassName, kMainCaption, WS_OVERLAPPEDWINDOW, 100,
                                     100, 640, 480, nullptr, nullptr, wc.hInstance, nullptr));
        const HWND listView = CreateWindowExW(
            0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0, 600,
            400, window.Get(), nullptr, wc.hInstance, nullptr);
        const HWND statusBar =
            CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                            window.Get(), nullptr, wc.hInstance, nullptr);
        SendMessageW(statusBar, SB_SIMPLE, TRUE, 0);
        list.Attach(listView);
        status.Attach(statusBar, list);
        ShowWindow(window.Get(), SW_SHOW);
    }
};

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

// Clicks Cancel from another thread at spread-out moments of the merges that run
// meanwhile, as a user would, and notes how long each click waited for its
// question. The last click's question may be answered Yes, to stop the merge.
class Clicker {
public:
    Clicker(BenchServices& services, int clicks, bool yesAtLast)
        : services_(services), clicks_(clicks), yesAtLast_(yesAtLast) {
        thread_ = std::thread([this] { Run(); });
    }
    ~Clicker() {
        stop_ = true;
        thread_.join();
    }
    bool Done() const { return done_; }
    // Once done.
    const std::vector<double>& Waits() const { return waits_; } // ms
    Clock::time_point LastAsked() const {
        return Clock::time_point(Clock::duration(services_.asked.load()));
    }

private:
    void Run() {
        for (int i = 0; !stop_ && static_cast<int>(waits_.size()) < clicks_; ++i) {
            HWND dialog = nullptr;
            while (!stop_ && !(dialog = FindWindowW(L"VorbelMergeProgress", nullptr)))
                Sleep(1);
            Sleep(37 + 13 * (i % 5));
            services_.stopping = yesAtLast_ && static_cast<int>(waits_.size()) == clicks_ - 1;
            const int before = services_.questions;
            const auto posted = Clock::now();
            if (!PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                              reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL))))
                continue; // that merge had ended
            while (!stop_ && services_.questions == before && IsWindow(dialog))
                Sleep(1);
            if (services_.questions != before)
                waits_.push_back(
                    std::chrono::duration<double, std::milli>(LastAsked() - posted).count());
        }
        done_ = true;
    }

    BenchServices& services_;
    int clicks_;
    bool yesAtLast_;
    std::vector<double> waits_;
    std::atomic<bool> stop_{false}, done_{false};
    std::thread thread_;
};

void PrintWaits(const char* what, const std::vector<double>& waits) {
    if (waits.empty())
        return;
    double sum = 0;
    for (double w : waits)
        sum += w;
    std::printf("%s: mean %.1f ms, max %.1f ms over %zu clicks\n", what,
                sum / static_cast<double>(waits.size()),
                *std::max_element(waits.begin(), waits.end()), waits.size());
}

int Run(const std::wstring& folder, int rounds) {
    const std::vector<std::wstring> inputs = InputPaths(folder);
    if (inputs.empty()) {
        std::fprintf(stderr, "no input files in %ls: run 'make' first\n", folder.c_str());
        return 1;
    }
    const std::vector<double> sizes = SizesOf(inputs);
    const double total = TotalOf(sizes);
    const std::wstring output = InFolder(folder, L"merged.out");

    MainStandIn main;
    for (const auto& path : inputs)
        main.list.AddFile(path);
    main.status.RebuildStatus(main.list);
    BenchServices services;
    ProgressDialog progress;
    std::wstring saveDir;
    PendingError pendingError;
    MergeHost host{main.window.Get(), main.status, services, progress, saveDir, pendingError};

    Warm(inputs);
    // Let the window settle before taking the idle figure.
    for (int i = 0; i < 10; ++i) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(10);
    }
    const PROCESS_MEMORY_COUNTERS idle = Memory();

    // Merges that compute a checksum of the whole output as they write it, as a
    // verified merge of a split set does.
    const auto verifying = [](HashKind kind) {
        Verification verification;
        verification.plan.whole = {kind};
        return verification;
    };
    const Verification none, crc = verifying(HashKind::Crc32), sha = verifying(HashKind::Sha256);

    // The first merge alone, so that its peak memory is not mixed with the plain loop's:
    // one that computes a checksum too, which needs all that any merge needs.
    std::vector<double> merges, crcMerges, shaMerges, plains;
    const auto merge = [&](const Verification& verification, std::vector<double>& times) {
        DeleteFileW(output.c_str());
        const auto start = Clock::now();
        WriteMergedFile(host, inputs, output, sizes, {}, verification);
        times.push_back(Seconds(start));
        return SizeOf(output) == static_cast<std::uint64_t>(total);
    };
    if (!merge(crc, crcMerges)) {
        std::fprintf(stderr, "the merge did not write %.0f bytes\n", total);
        return 1;
    }
    const PROCESS_MEMORY_COUNTERS afterMerge = Memory();

    // Then the copies in turns, so that none has the quieter disk.
    for (int round = 0; round < rounds; ++round) {
        DeleteFileW(output.c_str());
        plains.push_back(PlainCopy(inputs, output));
        if (!merge(none, merges) || !merge(crc, crcMerges) || !merge(sha, shaMerges))
            return 1;
    }

    // Clicks answered No while merges run.
    std::vector<double> waits;
    {
        Clicker clicker(services, 20, false);
        for (int i = 0; i < 100 && !clicker.Done(); ++i) {
            DeleteFileW(output.c_str());
            WriteMergedFile(host, inputs, output, sizes, {}, crc);
        }
        waits = clicker.Waits();
    }

    // An output that takes 50 ms for every write: clicks answered No, then a Yes.
    std::vector<double> slowWaits;
    double stopMs = 0;
    {
        CopyOptions slow;
        slow.calls.write = [](HANDLE file, const void* buffer, DWORD size, DWORD* done) {
            Sleep(50);
            return WriteFile(file, buffer, size, done, nullptr);
        };
        DeleteFileW(output.c_str());
        Clicker clicker(services, 10, true);
        WriteMergedFile(host, inputs, output, sizes, slow);
        stopMs =
            std::chrono::duration<double, std::milli>(Clock::now() - clicker.LastAsked()).count();
        slowWaits = clicker.Waits();
    }
    DeleteFileW(output.c_str());

    const double mergeBest = *std::min_element(merges.begin(), merges.end());
    const double plainBest = *std::min_element(plains.begin(), plains.end());
    std::printf("inputs: %zu files, %.0f MiB in all\n", inputs.size(), total / (1 << 20));
    std::printf("merge (WriteMergedFile, progress dialog): %8.1f MB/s (best of %zu)\n",
                total / mergeBest / 1e6, merges.size());
    std::printf("plain 1 MiB ReadFile/WriteFile loop:      %8.1f MB/s (best of %d)\n",
                total / plainBest / 1e6, rounds);
    std::printf("ratio merge / plain: %.2f\n", plainBest / mergeBest);
    const double crcBest = *std::min_element(crcMerges.begin(), crcMerges.end());
    const double shaBest = *std::min_element(shaMerges.begin(), shaMerges.end());
    std::printf("merge computing the CRC-32 of its output:  %8.1f MB/s, %.2f of the merge\n",
                total / crcBest / 1e6, mergeBest / crcBest);
    std::printf("merge computing the SHA-256 of its output: %8.1f MB/s, %.2f of the merge\n",
                total / shaBest / 1e6, mergeBest / shaBest);
    std::printf("working set: idle %.1f MiB, peak %.1f MiB after a merge computing a CRC-32 "
                "(+%.1f MiB)\n",
                MiB(idle.WorkingSetSize), MiB(afterMerge.PeakWorkingSetSize),
                MiB(afterMerge.PeakWorkingSetSize) - MiB(idle.WorkingSetSize));
    PrintWaits("cancel click to question, merges computing a CRC-32", waits);
    PrintWaits("slow output (50 ms a write): cancel click to question", slowWaits);
    std::printf("slow output: merge ended %.1f ms after the Yes\n", stopMs);
    return services.failures == 0 ? 0 : 1;
}

// Many small inputs: where the time of a merge goes after the Save As dialog (the
// checks of every input, making the output, the copy), and the whole command
// against the plain loop, best of the rounds in turns.
int Many(const std::wstring& folder, int rounds) {
    const std::vector<std::wstring> inputs = FolderInputs(folder);
    if (inputs.size() < 2) {
        std::fprintf(stderr, "no input files in %ls\n", folder.c_str());
        return 1;
    }
    const std::vector<double> sizes = SizesOf(inputs);
    const double total = TotalOf(sizes);
    const std::wstring output = InFolder(folder, L"merged.out");
    MainStandIn main;
    BenchServices services;
    services.chosenOutput = output;
    ProgressDialog progress;
    std::wstring saveDir;
    PendingError pendingError;
    MergeHost host{main.window.Get(), main.status, services, progress, saveDir, pendingError};
    Warm(inputs);

    std::vector<double> checks, creates, copies, wholes, plains;
    for (int round = 0; round < rounds; ++round) {
        DeleteFileW(output.c_str());
        plains.push_back(PlainCopy(inputs, output));
        DeleteFileW(output.c_str());
        auto start = Clock::now();
        {
            InputCheck check(inputs, output, {});
            check.Start();
            WaitForSingleObject(check.Wake(), INFINITE);
        }
        checks.push_back(Seconds(start));
        start = Clock::now();
        DWORD error = 0;
        CreateOutputFile(output, error);
        creates.push_back(Seconds(start));
        DeleteFileW(output.c_str());
        start = Clock::now();
        WriteMergedFile(host, inputs, output, sizes);
        copies.push_back(Seconds(start));
        DeleteFileW(output.c_str());
        MergeFiles(host, inputs);
        wholes.push_back(Seconds(services.dialogGone));
        if (SizeOf(output) != static_cast<std::uint64_t>(total)) {
            std::fprintf(stderr, "the merge did not write %.0f bytes\n", total);
            return 1;
        }
    }
    // Clicks answered No while the inputs are checked and then copied.
    std::vector<double> waits;
    {
        DeleteFileW(output.c_str());
        Clicker clicker(services, 10, false);
        MergeFiles(host, inputs);
        waits = clicker.Waits();
    }
    DeleteFileW(output.c_str());
    const auto best = [](const std::vector<double>& times) {
        return *std::min_element(times.begin(), times.end());
    };
    std::printf("inputs: %zu files, %.1f MiB in all; best of %d rounds in turns\n", inputs.size(),
                total / (1 << 20), rounds);
    std::printf("  the checks of every input:         %7.3f s\n", best(checks));
    std::printf("  making the output:                 %7.3f s\n", best(creates));
    std::printf("  the copy (WriteMergedFile):        %7.3f s\n", best(copies));
    std::printf("merge, from the Save As dialog's end: %7.3f s\n", best(wholes));
    std::printf("plain 1 MiB ReadFile/WriteFile loop:  %7.3f s\n", best(plains));
    std::printf("ratio merge / plain: %.2f\n", best(plains) / best(wholes));
    PrintWaits("cancel click to question, during the checks and the copy", waits);
    return services.failures == 0 ? 0 : 1;
}

// The real main window with many entries, merged through its Merge As command: a
// probe on another thread sends the window a message every few ms and times each
// answer, from the click to the end of the merge. The longest wait is the longest
// the window went without handling its messages.
int Probe(const std::wstring& folder) {
    const std::vector<std::wstring> inputs = FolderInputs(folder);
    if (inputs.size() < 2) {
        std::fprintf(stderr, "no input files in %ls\n", folder.c_str());
        return 1;
    }
    const std::wstring output = InFolder(folder, L"merged.out");
    DeleteFileW(output.c_str());
    MainWindow::Register(GetModuleHandleW(nullptr));
    BenchServices services;
    services.chosenOutput = output;
    MainWindow window(services, folder);
    const HWND hwnd = window.Create(GetModuleHandleW(nullptr));
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, SW_SHOW);
    for (const auto& path : inputs)
        window.List().AddFile(path);
    window.Status().RebuildStatus(window.List());
    Warm(inputs);

    std::atomic<bool> merging{true};
    std::vector<double> waits; // ms
    std::thread probe([&] {
        while (merging) {
            const auto sent = Clock::now();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
            waits.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
            Sleep(5);
        }
    });
    const auto start = Clock::now();
    SendMessageW(hwnd, WM_COMMAND, IDM_MERGE, 0);
    const double seconds = Seconds(start);
    merging = false;
    probe.join();
    DestroyWindow(hwnd);
    const bool whole = SizeOf(output) > 0;
    DeleteFileW(output.c_str());
    std::sort(waits.begin(), waits.end());
    std::printf("inputs: %zu entries; Merge As to the merge's end: %.2f s\n", inputs.size(),
                seconds);
    std::printf("the window's answers to %zu probes: median %.1f ms, longest %.1f ms\n",
                waits.size(), waits[waits.size() / 2], waits.back());
    return whole && services.failures == 0 ? 0 : 1;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    // As the program: a single-threaded apartment, where the taskbar list lives.
    OleInitialize(nullptr);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"make" && argc == 5)
        return Make(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
    if (command == L"probe" && argc >= 3)
        return Probe(argv[2]);
    if (command == L"many" && argc >= 3)
        return Many(argv[2], argc > 3 ? std::max(1, _wtoi(argv[3])) : 5);
    if (command == L"run" && argc >= 3)
        return Run(argv[2], argc > 3 ? std::max(1, _wtoi(argv[3])) : 3);
    std::fprintf(stderr, "usage: bench_merge make FOLDER COUNT MIB | run FOLDER [ROUNDS] | many "
                         "FOLDER [ROUNDS] | probe FOLDER\n");
    return 2;
}
