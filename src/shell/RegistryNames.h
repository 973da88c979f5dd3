#pragma once
// Where the preferences live: HKEY_CURRENT_USER\Software\<title>\Preferences.

#include "app/AppInfo.h"

#include <string>

inline const std::wstring kSettingsKey = std::wstring(L"Software\\") + kAppTitle;
inline constexpr wchar_t kPreferencesSection[] = L"Preferences";
inline constexpr wchar_t kAddDirValue[] = L"AddDir";
inline constexpr wchar_t kSaveDirValue[] = L"SaveDir";
inline constexpr wchar_t kFilenameBufSizeValue[] = L"FilenameBufSize";
inline constexpr wchar_t kDefaultFilenameBufSize[] = L"4096";
