// Which control starts which command.

#include "shell/MainWindow.h"

#include "filelist/AddFiles.h"
#include "filelist/EditCommands.h"
#include "merge/MergeCommand.h"
#include "platform/Services.h"
#include "shell/AboutBox.h"
#include "shell/CommandState.h"
#include "shell/Help.h"
#include "shell/Toolbar.h"

#include "resource.h"

#include <utility>

namespace {

// The notification code of a WM_COMMAND that an accelerator sent.
constexpr int kFromAccelerator = 1;

} // namespace

bool MainWindow::RunAlone(const std::function<void()>& command) {
    if (busy_)
        return false;
    class Running {
    public:
        explicit Running(MainWindow& window) : window_(window) { window_.busy_ = true; }
        ~Running() {
            window_.busy_ = false;
            if (std::exchange(window_.closePending_, false))
                window_.OnClose();
        }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        MainWindow& window_;
    } running(*this);
    command();
    return true;
}

void MainWindow::OnCommand(int id, int notifyCode, HWND control) {
    // A command changes the list under a drag, or takes the mouse from it.
    listDrag_.Cancel();
    if (busy_) {
        // Only Exit is kept for later; anything else would run inside the command.
        if (id == IDM_EXIT)
            closePending_ = true;
        return;
    }
    RunAlone([&] {
        if (control && control == toolbar_.Handle())
            Toolbar1_ButtonClick(ToolbarKeyOf(id));
        // A shortcut reaches only an enabled item, as a click would.
        else if (notifyCode != kFromAccelerator ||
                 IsMenuCommandEnabled(Menu(), static_cast<UINT>(id)))
            RunMenuCommand(id);
    });
}

void MainWindow::RunMenuCommand(int id) {
    switch (id) {
    case IDM_MERGE: MergeFilesCommand(); break;
    case IDM_EXIT: ExitProgram(); break;
    case IDM_SORT_FILES_ASC: list_.SortFiles(SortOrder::Ascending); break;
    case IDM_SORT_FILES_DESC: list_.SortFiles(SortOrder::Descending); break;
    case IDM_UP: MoveUp(list_, services_); break;
    case IDM_DOWN: MoveDown(list_, services_); break;
    case IDM_SELECT_ALL: SelectAll(list_); break;
    case IDM_INVERT_SELECTION: InvertSelection(list_); break;
    case IDM_ADD: AddFilesCommand(); break;
    case IDM_REMOVE: RemoveFilesCommand(); break;
    case IDM_HELP: IDM_HELP_Click(); break;
    case IDM_ABOUT: ShowAbout(); break;
    }
}

void MainWindow::Toolbar1_ButtonClick(const wchar_t* key) {
    RunMenuCommand(MenuCommandOfKey(key));
}

void MainWindow::AddFilesCommand() {
    AddFilesContext context{
        hwnd_, list_, services_, prefs_.strAddDir, prefs_.strFilenameBufSize, openDialogMaxChars_};
    if (AddFiles(context))
        status_.RebuildStatus(list_);
    UpdateControls();
}

void MainWindow::RemoveFilesCommand() {
    if (RemoveFiles(list_, services_))
        status_.RebuildStatus(list_);
    UpdateControls();
}

void MainWindow::MergeFilesCommand() {
    MergeHost host{hwnd_, status_, services_, progress_, prefs_.strSaveDir, pendingError_};
    // The merge reads its own copy of the paths.
    const std::vector<std::wstring> inputs = list_.Texts();
    MergeFiles(host, inputs);
}

void MainWindow::IDM_HELP_Click() {
    ShowHelp(hwnd_, services_, programDirectory_);
}

void MainWindow::ShowAbout() {
    ShowAboutBox(hwnd_, services_);
}

bool MainWindow::lvwFiles_OLEDragDrop(const std::vector<std::wstring>& paths) {
    return RunAlone([&] { AddDroppedFilesCommand(paths); });
}

void MainWindow::AddDroppedFilesCommand(const std::vector<std::wstring>& paths) {
    const AddedEntries added = AddDroppedFiles(list_, paths);
    if (list_.Count() > 0)
        status_.RebuildStatus(list_, added.first, added.bytes);
    UpdateControls();
}

void MainWindow::lvwFiles_ColumnClick(int column) {
    RunAlone([&] { SortByColumn(list_, column); });
}

void MainWindow::OnEntriesDragged(int gap) {
    RunAlone([&] { DragSelectedTo(list_, gap); });
}

LRESULT MainWindow::OnNotify(NMHDR& header) {
    if (header.hwndFrom == listView_.Handle()) {
        switch (header.code) {
        case LVN_GETDISPINFOW:
            list_.OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
            return 0;
        case LVN_COLUMNCLICK:
            lvwFiles_ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem + 1);
            return 0;
        case LVN_BEGINDRAG:
            if (!busy_)
                listDrag_.Begin(reinterpret_cast<NMLISTVIEW&>(header).iItem);
            return 0;
        case NM_CUSTOMDRAW:
            return listDrag_.OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        case LVN_ODFINDITEMW: return -1;
        // The list takes its entries out to clear all their flags at once: no word
        // about each entry.
        case LVN_DELETEALLITEMS: return TRUE;
        }
        return 0;
    }
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
        if (const wchar_t* tip = ToolbarTooltipOf(static_cast<int>(header.idFrom)))
            info.lpszText = const_cast<wchar_t*>(tip);
        return 0;
    }
    return 0;
}
