#include "shell/StatusBar.h"

#include "filelist/FileList.h"
#include "filelist/StatusSummary.h"

#include <commctrl.h>

#include <algorithm>

void StatusBar::RebuildStatus(const FileList& list) {
    RebuildStatus(list, list.Count(), 0.0);
}

void StatusBar::RebuildStatus(const FileList& list, int measuredFrom, double measured) {
    const double total =
        SizeOfFiles(list.Texts(), 0, static_cast<std::size_t>(std::max(measuredFrom, 0))) +
        measured;
    summary_ = list.Count() == 0 ? std::wstring() : BuildStatusSummary(list.Count(), total);
    SetStatusText(summary_);
}

void StatusBar::SetStatusText(const std::wstring& text) {
    if (ShownStatusText() != text)
        bar_.Send(SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBar::ShownStatusText() const {
    // A simple-mode status bar is written as part SB_SIMPLEID but read as part 0.
    const auto length = LOWORD(bar_.Send(SB_GETTEXTLENGTHW, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    bar_.Send(SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}
