#include "support/Fixture.h"

#include "app/AppInfo.h"

#include <atomic>
#include <cwctype>
#include <iterator>
#include <sstream>
#include <utility>

#include "resource.h"

namespace {

// The next scripted answer, or the given one when the script has run out.
template <typename T> T Take(std::deque<T>& script, T otherwise) {
    if (script.empty())
        return otherwise;
    T next = std::move(script.front());
    script.pop_front();
    return next;
}

std::wstring TestSettingsKey() {
    static std::atomic<unsigned> counter{0};
    return L"Software\\VorbelMergeTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++);
}

std::function<bool()> watching;

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    // Taken while it runs, so that the events it lets run do not start it again.
    if (auto watch = std::exchange(watching, nullptr); watch && !watch())
        watching = std::move(watch);
}

} // namespace

Texts Words(const std::wstring& text) {
    std::wistringstream words(text);
    return {std::istream_iterator<std::wstring, wchar_t>(words), {}};
}

void WatchWhile(std::function<bool()> watch, const std::function<void()>& run) {
    watching = std::move(watch);
    const UINT_PTR timer = SetTimer(nullptr, 0, 5, Watch);
    run();
    KillTimer(nullptr, timer);
    CHECK(!std::exchange(watching, nullptr));
}

ScriptedServices::ScriptedServices() : Win32Services(kAppTitle, TestSettingsKey()) {}

int ScriptedServices::ShowMessage(HWND, const std::wstring& text, UINT type) {
    messages.push_back(
        {text, type, taskbarStates.empty() ? TaskbarState::None : taskbarStates.back()});
    if (whileMessageShown)
        whileMessageShown();
    return Take(answers, (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK);
}

Texts ScriptedServices::Warnings() const {
    Texts texts;
    for (const auto& m : messages) {
        CHECK(m.type == (MB_OK | MB_ICONEXCLAMATION));
        texts.push_back(m.text);
    }
    return texts;
}

FileDialogResult ScriptedServices::ShowOpenDialog(HWND, const FileDialogRequest& request) {
    openRequests.push_back(request);
    if (whileDialogOpen)
        whileDialogOpen();
    return Take(openResults, {});
}

FileDialogResult ScriptedServices::ShowSaveDialog(HWND, const FileDialogRequest& request) {
    saveRequests.push_back(request);
    if (whileDialogOpen)
        whileDialogOpen();
    return Take(saveResults, {});
}

std::unique_ptr<TaskbarProgress> ScriptedServices::OpenTaskbarProgress(HWND) {
    struct Recorder : TaskbarProgress {
        explicit Recorder(ScriptedServices& to) : to_(to) {}
        void SetState(TaskbarState state) override { to_.taskbarStates.push_back(state); }
        void SetValue(ULONGLONG completed, ULONGLONG) override { to_.taskbarDone = completed; }
        ScriptedServices& to_;
    };
    if (noTaskbar)
        return nullptr;
    return std::make_unique<Recorder>(*this);
}

MainWindowFixture::~MainWindowFixture() {
    if (Hwnd())
        DestroyWindow(Hwnd());
    // The window asks the thread to quit when it goes; the next test runs on.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::wstring MainWindowFixture::File(const std::wstring& name, std::size_t size) {
    return WriteBytes(dir / name, std::string(size, 'x'));
}

::Texts MainWindowFixture::Paths(const std::wstring& names) {
    ::Texts paths;
    for (const auto& name : Words(names))
        paths.push_back(dir / name);
    return paths;
}

void MainWindowFixture::Command(int id, WORD code) const {
    SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(id, code), 0);
}

void MainWindowFixture::ToolbarClick(int buttonId) const {
    SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window.ToolbarWindow()));
}

Effects MainWindowFixture::Drop(const std::vector<std::wstring>& paths) {
    return DragAndDrop(window.DropTarget(), MakeFileListData(paths).Get());
}

void MainWindowFixture::HeadingClick() {
    NMLISTVIEW click{};
    click.hdr = {List().ListView().Handle(), IDC_FILELIST, LVN_COLUMNCLICK};
    click.iItem = -1;
    SendMessageW(Hwnd(), WM_NOTIFY, IDC_FILELIST, reinterpret_cast<LPARAM>(&click));
}

void MainWindowFixture::AddByDialog(const std::vector<std::wstring>& paths) {
    // The dialog's multi-selection form: the folder, then the bare names.
    std::wstring text = dir.Path();
    for (const auto& path : paths)
        text += L'\0' + path.substr(path.rfind(L'\\') + 1);
    services.openResults.push_back(ScriptedServices::Chosen(text, dir.Path()));
    Command(IDM_ADD);
}

std::wstring MainWindowFixture::Letters() {
    std::wstring letters;
    for (int i = 0; i < List().Count(); ++i)
        letters += List().IsSelected(i) ? towlower(List().Text(i).back()) : List().Text(i).back();
    return letters;
}

void MainWindowFixture::SelectOnly(const std::vector<int>& indexes) {
    std::vector<char> selected(static_cast<std::size_t>(List().Count()), 0);
    for (int i : indexes)
        selected[static_cast<std::size_t>(i)] = 1;
    List().SetSelection(selected);
}
