#include "support/SystemFonts.h"

#include "platform/Dpi.h"

#include <doctest.h>

#include <cwchar>
#include <string>

namespace {

NONCLIENTMETRICSW CurrentMetrics() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return metrics;
}

bool Apply(NONCLIENTMETRICSW& metrics, UINT flags) {
    return SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, flags) != 0;
}

} // namespace

bool SetSystemFonts(const FontSetup& setup, UINT flags) {
    NONCLIENTMETRICSW metrics = CurrentMetrics();
    // The system takes the heights at its own DPI.
    const int height = -MulDiv(setup.points, DpiOf(nullptr), 72);
    for (LOGFONTW* font : {&metrics.lfMessageFont, &metrics.lfMenuFont, &metrics.lfStatusFont,
                           &metrics.lfCaptionFont}) {
        font->lfHeight = height;
        font->lfWidth = 0;
        wcsncpy(font->lfFaceName, setup.face, LF_FACESIZE - 1);
    }
    return Apply(metrics, flags);
}

SystemFontsScope::SystemFontsScope(const FontSetup& setup) : saved_(CurrentMetrics()) {
    REQUIRE(SetSystemFonts(setup, 0));
    const FontHandle font = CreateMessageFont(96);
    WindowDC dc(nullptr);
    SelectObjectScope selected(dc.Get(), font.Get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.Get(), LF_FACESIZE, face);
    REQUIRE(std::wstring(face) == setup.face);
}

SystemFontsScope::~SystemFontsScope() {
    Apply(saved_, 0);
}
