#pragma once
// The GDI and USER objects this process holds, for leak checks.

struct GuiObjects {
    int gdi = 0;
    int user = 0;
    bool operator==(const GuiObjects&) const = default;
};

// GetGuiResources where the system answers it. Wine has it as a stub: there the GDI
// objects are counted in Wine's own handle table (an icon's images are GDI bitmaps
// there, so a lost icon shows too) and the USER objects as this thread's windows.
GuiObjects CountGuiObjects();
