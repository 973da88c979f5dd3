#pragma once
// An in-memory dialog template with no controls: the dialog manager gives the
// window its keyboard handling, and the code places the controls in twips.

#include <windows.h>

#include <string>
#include <vector>

std::vector<WORD> EmptyDialogTemplate(DWORD style, DWORD exStyle, const std::wstring& title);

inline const DLGTEMPLATE* AsTemplate(const std::vector<WORD>& words) {
    return reinterpret_cast<const DLGTEMPLATE*>(words.data());
}
