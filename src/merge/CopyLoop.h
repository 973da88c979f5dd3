#pragma once
// The copy stage of the merge command.

#include <string>
#include <vector>

#include "merge/CopyOptions.h"
#include "merge/MergeHost.h"
#include "merge/Verification.h"
#include "platform/Handles.h"

class MergeSession;

// Within a merge's session: makes the output and copies the inputs into it, reading
// those the checks have opened through their handles (`opened`, in list order; an
// input without one is opened when its turn comes), and reports the first failure.
// `sizes` are the inputs' sizes as measured before the Save As dialog: an input
// that has another at the copy is named once the copy is through, and the list's
// summary is rebuilt. The checksums of the verification are computed as the output
// is written and told once it is complete.
void CopyIntoOutput(MergeSession& session, const std::vector<std::wstring>& inputs,
                    std::vector<FileHandle> opened, const std::wstring& output,
                    const std::vector<double>& sizes, const Verification& verification,
                    const CopyOptions& options);

// The copy stage alone: the same under a session of its own, which puts the main
// window back at the end.
void WriteMergedFile(MergeHost& host, const std::vector<std::wstring>& inputs,
                     const std::wstring& output, const std::vector<double>& sizes,
                     const CopyOptions& options = {}, const Verification& verification = {});

// The sum of the sizes, -1 for each that could not be measured.
double TotalOf(const std::vector<double>& sizes);

// The message for an input that cannot be opened, found by the checks or the copy.
std::wstring InputNotOpenedMessage(const std::wstring& input, DWORD error);

// The message of a merge that could not be set up, shown by both stages.
std::wstring InitializationFailedMessage(const std::wstring& description);
