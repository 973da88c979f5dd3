#pragma once
// The main window's status line as the merge writes it; the shell implements it.

#include <string>

class StatusLine {
public:
    // Shows a text, writing it only when it differs from the one shown.
    virtual void SetStatusText(const std::wstring& text) = 0;
    // Shows the list's summary again.
    virtual void ShowSummary() = 0;
    // Measures the listed files again and shows their new summary.
    virtual void RebuildSummary() = 0;

protected:
    ~StatusLine() = default;
};
