#pragma once
// The copy stage of the merge command.

#include <string>
#include <vector>

#include "merge/CopyOptions.h"
#include "merge/MergeHost.h"
#include "platform/Handles.h"

class MergeSession;

// Within a merge's session: makes the output and copies the inputs into it, reading
// those the checks have opened through their handles (`opened`, in list order; an
// input without one is opened when its turn comes), and reports the first failure.
void CopyIntoOutput(MergeSession& session, const std::vector<std::wstring>& inputs,
                    std::vector<FileHandle> opened, const std::wstring& output, double total,
                    const CopyOptions& options);

// The copy stage alone: the same under a session of its own, which puts the main
// window back at the end.
void WriteMergedFile(MergeHost& host, const std::vector<std::wstring>& inputs,
                     const std::wstring& output, double total, const CopyOptions& options = {});

// The message for an input that cannot be opened, found by the checks or the copy.
std::wstring InputNotOpenedMessage(const std::wstring& input, DWORD error);

// The message of a merge that could not be set up, shown by both stages.
std::wstring InitializationFailedMessage(const std::wstring& description);
