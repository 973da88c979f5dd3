#pragma once
// The merge command: its checks, the Save As dialog, and the copy of the input
// files into the chosen output under the progress dialog.

#include <string>
#include <vector>

#include "merge/CopyOptions.h"
#include "merge/MergeHost.h"

// Merges the inputs, in their order, into a file the user chooses. Lets no
// exception out.
void MergeFiles(MergeHost& host, const std::vector<std::wstring>& inputs,
                const CopyOptions& options = {});
