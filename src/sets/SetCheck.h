#pragma once
// The check of a split set before the merge asks for its output: the facts the
// file system gives, and the question when something looks wrong.

#include <windows.h>

#include "sets/SetFindings.h"

// A warning whose default answer is No: merging a broken set is the exception.
inline constexpr UINT kSetQuestionBox = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;

// The facts about a list that is one set, with the sizes measured before: one
// presence test for the part after the highest listed, and the original's size from
// the set's <base>.crc. Nothing when the list is not one set.
std::optional<SetFacts> GatherSetFacts(const std::vector<std::wstring>& paths,
                                       const std::vector<double>& sizes);

// The question to ask before the output is chosen, or empty when the list is not one
// set or nothing looks wrong; numbers as the program shows them.
std::wstring SetCheckQuestion(const std::vector<std::wstring>& paths,
                              const std::vector<double>& sizes);
