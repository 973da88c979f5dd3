#pragma once
// The main window: the toolbar, the file list and the status bar, its menus and the
// commands they start, its preferences and its life from load to unload.

#include <windows.h>

#include "filelist/DropTarget.h"
#include "filelist/FileList.h"
#include "filelist/ListDrag.h"
#include "platform/ComPtr.h"
#include "platform/Handles.h"
#include "platform/PendingError.h"
#include "platform/WindowProc.h"
#include "progress/ProgressDialog.h"
#include "shell/Preferences.h"
#include "shell/StatusBar.h"
#include "shell/Toolbar.h"

#include <functional>
#include <memory>
#include <optional>

class Services;

// The handlers named after a control and its event (Form_Load, Form_Resize,
// Form_Unload, Toolbar1_ButtonClick, lvwFiles_ColumnClick, lvwFiles_OLEDragDrop,
// IDM_HELP_Click here; Form_QueryUnload, butCancel_Click, lblStatus_Change in the
// progress dialog; lblWWW_Click in the About box) are where the user's events enter
// the program. Each is one line that calls plainly named code, so the events can
// be found by their names and the work reads as what it does.
class MainWindow {
public:
    // The program directory is where Help looks for its file.
    MainWindow(Services& services, std::wstring programDirectory);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    static bool Register(HINSTANCE instance);
    // Creates and loads the window; the caller shows it.
    HWND Create(HINSTANCE instance);
    HWND Handle() const { return hwnd_; }
    // Gives the window's keyboard shortcuts their commands; true when it took the message.
    bool TranslateShortcut(MSG& msg) const;

    FileList& List() { return list_; }
    StatusBar& Status() { return status_; }
    HWND ToolbarWindow() const { return toolbar_.Handle(); }
    HWND StatusBarWindow() const { return statusBar_.Handle(); }
    HMENU Menu() const { return GetMenu(hwnd_); }
    IDropTarget* DropTarget() const { return dropTarget_.Get(); }
    const ListDrag& EntryDrag() const { return listDrag_; }

private:
    friend class Trampoline<MainWindow>;
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Life of the window.
    bool Form_Load();
    bool SetUpWindow();
    bool CreateControls();
    void AddFilesColumn();
    void AttachList();
    void Form_Resize(UINT sizeType);
    // Keeps the window at its minimum size or more and lays the controls out.
    void FitToSize(UINT sizeType);
    void Form_Unload();
    void OnEndSession(bool ending);
    void OnDestroy();
    void ArrangeControls();
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    void OnDpiChanged(int dpi, const RECT& suggested);
    void ApplyFonts();
    void ApplyIcons();
    // Sizes the window so that its client area is the design's at its DPI.
    void FitClientToDesign();
    SIZE MinimumOuterSize() const;
    // The distance between the column's right end and the list's right edge.
    int ColumnGap() const;

    // Commands.
    void OnCommand(int id, int notifyCode, HWND control);
    LRESULT OnNotify(NMHDR& header);
    void RunMenuCommand(int id);
    void Toolbar1_ButtonClick(const wchar_t* key);
    void AddFilesCommand();
    void RemoveFilesCommand();
    void MergeFilesCommand();
    void IDM_HELP_Click();
    void ShowAbout();
    bool lvwFiles_OLEDragDrop(const std::vector<std::wstring>& paths);
    void AddDroppedFilesCommand(const std::vector<std::wstring>& paths);
    void lvwFiles_ColumnClick(int column);
    void OnEntriesDragged(int gap);
    // Runs a command unless one is running: false, having done nothing, when one is.
    // The window events a command lets run may bring a second one, and it must not
    // run inside the first. On the way out, by return or exception, a close asked
    // for meanwhile is carried out.
    bool RunAlone(const std::function<void()>& command);
    void UpdateControls();
    void ExitProgram();
    void OnClose();

    Services& services_;
    std::wstring programDirectory_;
    HWND hwnd_ = nullptr;
    HACCEL accelerators_ = nullptr;
    Window toolbar_, listView_, statusBar_;
    ToolbarImages toolbarImages_;
    FontHandle font_;
    IconHandle icon_, smallIcon_;
    int dpi_ = 96;
    // After a DPI change, the column gap the next layout keeps, already scaled.
    std::optional<int> scaledGap_;
    FileList list_;
    StatusBar status_;
    ListDrag listDrag_{list_, [this](int gap) { OnEntriesDragged(gap); }};
    Preferences prefs_;
    PendingError pendingError_;
    ProgressDialog progress_; // its window exists only while a merge runs
    // The open dialog's result limit; a raise lasts until the next add command.
    int openDialogMaxChars_ = 260;
    ComPtr<FileDropTarget> dropTarget_;
    bool busy_ = false; // a command runs (RunAlone)
    bool closePending_ = false;
};
