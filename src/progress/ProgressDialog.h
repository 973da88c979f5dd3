#pragma once

#include <windows.h>

#include <string>

#include "platform/Handles.h"
#include "platform/WindowProc.h"

class Services;

// What a running merge must hear from its dialog, on the window's thread: the
// cancel question opening and closing, and the dialog having to end at once, its
// owner being destroyed or the session ending.
class ProgressWatcher {
public:
    virtual void QuestionOpened() = 0;
    virtual void QuestionClosed() = 0;
    virtual void Ending() = 0;

protected:
    ~ProgressWatcher() = default;
};

// The dialog that stands over the main window while a merge runs: two status lines
// that shorten the paths they show to fit, a bar from 0 to 100 and a Cancel button
// that asks before it raises the cancel flag. The object lives as long as the
// program; its window exists only from Load to Unload. It closes only when the
// program unloads it: every other close request asks the cancel question instead.
class ProgressDialog {
public:
    ProgressDialog() = default;
    ~ProgressDialog();
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    // True once the user has confirmed the cancel question. Every Load clears it;
    // nothing else does, so it outlives the window until the next merge.
    bool bCancelFlag = false;

    // Creates the window, hidden and centred over its owner, and resets it. False
    // when the window system refuses to create it.
    bool Load(HWND owner, Services& services);
    // Shows the window modeless and active.
    void Show();
    // The program's own close: always succeeds.
    void Unload();
    bool IsLoaded() const { return window_.Valid(); }
    HWND Handle() const { return window_.Get(); }

    void SetCaption(const std::wstring& text);
    // lblStatus1 (the input) and lblStatus2 (the output); the text is fitted to the
    // dialog before the call returns.
    void SetStatus1(const std::wstring& text) { lblStatus_Change(status1_, text); }
    void SetStatus2(const std::wstring& text) { lblStatus_Change(status2_, text); }
    std::wstring Status1() const;
    std::wstring Status2() const;

    // The bar, in percent. The value set is kept as given; the bar shows it held
    // within 0..100 once the window events next run.
    void SetValue(float percent);

    // The cancel confirmation: a Yes raises bCancelFlag, a No changes nothing.
    void AskToCancel();

    // Null for none; the watcher must outlive its watch or end it.
    void SetWatcher(ProgressWatcher* watcher) { watcher_ = watcher; }

private:
    friend class Trampoline<ProgressDialog>;
    void Attach(HWND hwnd);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCommand(WPARAM wParam);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void Form_Load() { ResetDisplay(); }
    void ResetDisplay();
    // A close request from outside the program.
    void Form_QueryUnload();
    void butCancel_Click() { AskToCancel(); }
    void OnEnding();
    void lblStatus_Change(HWND label, const std::wstring& text) { FitStatusLabel(label, text); }
    void FitStatusLabel(HWND label, const std::wstring& text);
    void ShowValue();

    bool CreateFrame(HWND owner);
    void FitToOwnMonitor();
    void CreateControls();
    void Layout();
    int TextWidth(HWND label, const std::wstring& text) const;

    WindowHandle window_;
    HWND status1_ = nullptr;
    HWND status2_ = nullptr;
    HWND bar_ = nullptr;
    HWND cancel_ = nullptr;
    FontHandle font_;
    int dpi_ = 96;
    Services* services_ = nullptr;
    ProgressWatcher* watcher_ = nullptr;
    float value_ = 0.0f;
    bool showValuePosted_ = false;
};
