#include "platform/DialogTemplate.h"

std::vector<WORD> EmptyDialogTemplate(DWORD style, DWORD exStyle, const std::wstring& title) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
    header->style = style;
    header->dwExtendedStyle = exStyle;
    header->cdit = 0;
    words.push_back(0); // no menu
    words.push_back(0); // the standard dialog class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    return words;
}
