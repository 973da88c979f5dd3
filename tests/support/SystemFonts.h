#pragma once
// The system's message, menu, status and caption fonts, switched for a while: the
// layout tests run under the fonts a user may have.

#include <windows.h>

struct FontSetup {
    const char* name;
    const wchar_t* face;
    int points;
};

// Wine's own message font, and a stand-in for Segoe UI 9 pt of current Windows with
// about its widths (a Debian package; Segoe UI is not to be had here).
inline constexpr FontSetup kFontSetups[] = {
    {"Tahoma 8 pt, as Wine", L"Tahoma", 8},
    {"DejaVu Sans 9 pt, as wide as Segoe UI 9 pt", L"DejaVu Sans", 9},
};

// Sets the four fonts to the set-up's face and size; SPIF_UPDATEINIFILE keeps them
// for later processes too. False when the system refuses.
bool SetSystemFonts(const FontSetup& setup, UINT flags);

// The set-up's fonts for this process while it lives, then the fonts there were. The
// face must exist: a fallback font would test something else.
class SystemFontsScope {
public:
    explicit SystemFontsScope(const FontSetup& setup);
    ~SystemFontsScope();
    SystemFontsScope(const SystemFontsScope&) = delete;
    SystemFontsScope& operator=(const SystemFontsScope&) = delete;

private:
    NONCLIENTMETRICSW saved_{};
};
