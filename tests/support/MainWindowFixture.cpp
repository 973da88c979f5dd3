#include "support/MainWindowFixture.h"

#include <doctest.h>

#include <cwctype>
#include <utility>

#include "resource.h"

MainWindowFixture::MainWindowFixture() {
    REQUIRE(window.Create(GetModuleHandleW(nullptr)) != nullptr);
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

void MainWindowFixture::Command(int id) const {
    SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void MainWindowFixture::ShortcutCommand(int id) const {
    SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(id, 1), 0);
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
    click.hdr.hwndFrom = List().ListView().Handle();
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(click.hdr.hwndFrom));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    SendMessageW(Hwnd(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
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

namespace {

MessageSpy* spying = nullptr;
std::function<void(HWND)>* pendingInspection = nullptr;

void CALLBACK InspectWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowW(L"#32770", L"About Vorbel");
    if (!box || !pendingInspection)
        return;
    KillTimer(nullptr, timer);
    auto inspect = std::exchange(pendingInspection, nullptr);
    (*inspect)(box);
}

} // namespace

void WithAboutBox(MainWindowFixture& f, std::function<void(HWND)> inspect) {
    pendingInspection = &inspect;
    SetTimer(nullptr, 0, 20, InspectWhenShown);
    f.Command(IDM_ABOUT);
    CHECK(pendingInspection == nullptr); // the box was seen
    pendingInspection = nullptr;
}

void SendDpiChange(HWND window, int from, int to) {
    RECT r;
    GetWindowRect(window, &r);
    RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, to, from),
                   r.top + MulDiv(r.bottom - r.top, to, from)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
}

MessageSpy::MessageSpy(UINT message, std::function<void(WPARAM)> onSent)
    : message_(message), onSent_(std::move(onSent)) {
    spying = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
}

MessageSpy::~MessageSpy() {
    UnhookWindowsHookEx(hook_);
    spying = nullptr;
}

LRESULT CALLBACK MessageSpy::Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && spying && sent.message == spying->message_)
        spying->onSent_(sent.wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
