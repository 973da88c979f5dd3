#pragma once

#include <string>

class Services;

// The three preferences, kept as text exactly as stored: a FilenameBufSize that is
// not a number is written back unchanged.
struct Preferences {
    std::wstring strAddDir;          // where the open dialog starts
    std::wstring strSaveDir;         // where the save dialog starts
    std::wstring strFilenameBufSize; // longest open-dialog result, in characters
};

Preferences LoadPreferences(Services& services);
void SavePreferences(Services& services, const Preferences& preferences);
