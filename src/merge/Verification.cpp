#include "merge/Verification.h"

#include "merge/MergeHost.h"
#include "merge/MergeSession.h"
#include "platform/Services.h"
#include "progress/ProgressDialog.h"
#include "sets/SetFindings.h"
#include "sets/VerifyMessages.h"

#include <algorithm>

namespace {

// The place of a kind among those to compute, added where it is not yet.
std::size_t PlaceOf(std::vector<HashKind>& kinds, HashKind kind) {
    const auto found = std::find(kinds.begin(), kinds.end(), kind);
    if (found != kinds.end())
        return static_cast<std::size_t>(found - kinds.begin());
    kinds.push_back(kind);
    return kinds.size() - 1;
}

} // namespace

Verification PlanVerification(const std::vector<std::wstring>& inputs) {
    Verification verification;
    const auto set = ListedSet(inputs);
    if (!set)
        return verification;
    verification.expected = FindChecksums(inputs, *set);
    verification.plan.parts.resize(inputs.size());
    for (const Expected& expected : verification.expected)
        verification.places.push_back(PlaceOf(
            expected.part ? verification.plan.parts[*expected.part] : verification.plan.whole,
            expected.kind));
    return verification;
}

void ReportVerification(MergeSession& session, const std::wstring& output,
                        const std::vector<std::wstring>& inputs, const Verification& verification,
                        const HashResults& results) {
    std::vector<Verified> checked;
    for (std::size_t i = 0; i < verification.expected.size(); ++i) {
        const Expected& expected = verification.expected[i];
        const auto& computed = expected.part ? results.parts[*expected.part] : results.whole;
        const std::string& value = computed[verification.places[i]];
        if (value.empty())
            continue;
        checked.push_back({expected.checksumFile, expected.kind,
                           expected.part ? std::optional(inputs[*expected.part]) : std::nullopt,
                           expected.hex, value});
    }
    if (checked.empty())
        return;
    if (const std::wstring mismatch = MismatchMessage(output, checked); !mismatch.empty()) {
        session.Warn(mismatch);
        return;
    }
    MergeHost& host = session.Host();
    const HWND owner = host.progress.IsLoaded() ? host.progress.Handle() : host.mainWindow;
    host.services.ShowMessage(owner, MatchedMessage(output, checked), kVerifiedBox);
}
