#pragma once
// Calls into the system whose presence, or whose answer's length, is not known in
// advance.

#include <windows.h>

#include <algorithm>
#include <string>

// A function of a system DLL the process has loaded, looked up at run time so that
// the program still starts on systems without it; nullptr there.
template <typename Function> Function SystemFunction(const wchar_t* module, const char* name) {
    HMODULE loaded = GetModuleHandleW(module);
    return loaded
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name)))
               : nullptr;
}

// The text a call writes into the buffer it is given, asked again with more room
// until it fits. The call answers the length it wrote, or when the text did not fit
// the room it needs or the room it had; 0 means it failed, and the text is empty.
template <typename Call> std::wstring GrowingText(Call call) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0)
            return {};
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(std::max<std::size_t>(length, text.size() * 2));
    }
}
