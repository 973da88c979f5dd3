#pragma once
// Names the program shows and is known by.

// Captions every message box and names the program in the settings store.
inline constexpr wchar_t kAppTitle[] = L"Vorbel Merge your files 1.3";
inline constexpr wchar_t kMainCaption[] = L"Vorbel Merge your files";
inline constexpr wchar_t kWebAddress[] = L"https://vorbel.example/";
