#pragma once
// The copy stage of the merge command.

#include <string>
#include <vector>

#include "merge/CopyOptions.h"
#include "merge/MergeHost.h"

// Creates the output and copies the inputs into it under the progress dialog,
// reports the first failure, and puts the main window back.
void WriteMergedFile(MergeHost& host, const std::vector<std::wstring>& inputs,
                     const std::wstring& output, double total, const CopyOptions& options = {});

// The message of a merge that could not be set up, shown by both stages.
std::wstring InitializationFailedMessage(const std::wstring& description);
