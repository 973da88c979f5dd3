#pragma once
// A split set merged against the checksum files that travel with it: what they say
// its parts and the whole original must hash to, computed by the copy as it writes
// and told to the user once the output is complete.

#include "merge/CopyHashes.h"
#include "sets/SetChecksums.h"

#include <string>
#include <vector>

class MergeSession;

struct Verification {
    std::vector<Expected> expected;
    HashPlan plan;                   // what the copy computes for them
    std::vector<std::size_t> places; // each expected value's place in its kinds of the plan
    bool Empty() const { return expected.empty(); }
};

// Empty when the inputs are not one split set, or no checksum file beside it names
// its parts or its original.
Verification PlanVerification(const std::vector<std::wstring>& inputs);

// Shows whether the output and its parts came out as their checksum files say:
// good news, or a warning naming each part (or the output) that differs. Values the
// system could not compute are left out.
void ReportVerification(MergeSession& session, const std::wstring& output,
                        const std::vector<std::wstring>& inputs, const Verification& verification,
                        const HashResults& results);
