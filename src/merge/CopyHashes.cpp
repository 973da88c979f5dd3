#include "merge/CopyHashes.h"

#include "merge/Crc32.h"

#include <algorithm>

namespace {

bool Has(const std::vector<HashKind>& kinds, HashKind kind) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// A checksum for each kind but CRC-32, which is kept by hand.
std::vector<std::unique_ptr<Checksum>> Others(const std::vector<HashKind>& kinds) {
    std::vector<std::unique_ptr<Checksum>> made;
    for (const HashKind kind : kinds)
        made.push_back(kind == HashKind::Crc32 ? nullptr : MakeChecksum(kind));
    return made;
}

} // namespace

bool HashPlan::OnlyCrc32() const {
    const auto crc = [](HashKind kind) { return kind == HashKind::Crc32; };
    return std::all_of(whole.begin(), whole.end(), crc) &&
           std::all_of(parts.begin(), parts.end(), [&](const auto& kinds) {
               return std::all_of(kinds.begin(), kinds.end(), crc);
           });
}

bool HashPlan::Empty() const {
    return whole.empty() &&
           std::all_of(parts.begin(), parts.end(), [](const auto& kinds) { return kinds.empty(); });
}

CopyHashes::CopyHashes(const HashPlan& plan, std::size_t inputs)
    : plan_(plan), parts_(inputs), whole_(Others(plan.whole)) {
    crcs_ = Has(plan.whole, HashKind::Crc32);
    for (std::size_t i = 0; i < inputs && i < plan.parts.size(); ++i) {
        crcs_ = crcs_ || Has(plan.parts[i], HashKind::Crc32);
        parts_[i].others = Others(plan.parts[i]);
    }
}

void CopyHashes::Add(std::size_t input, const void* data, std::size_t bytes) {
    Part& part = parts_[input];
    part.bytes += bytes;
    if (crcs_)
        part.crc = Crc32(part.crc, data, bytes);
    for (const auto& checksum : part.others)
        if (checksum)
            checksum->Update(data, bytes);
    for (const auto& checksum : whole_)
        if (checksum)
            checksum->Update(data, bytes);
}

HashResults CopyHashes::Results() {
    // Each kind's value in the plan's order; none where the system gave no checksum.
    const auto values = [](const std::vector<HashKind>& kinds,
                           const std::vector<std::unique_ptr<Checksum>>& checksums,
                           std::uint32_t crc) {
        std::vector<std::string> hex;
        for (std::size_t k = 0; k < kinds.size(); ++k)
            hex.push_back(kinds[k] == HashKind::Crc32 ? Crc32Hex(crc)
                          : checksums[k]              ? checksums[k]->Hex()
                                                      : std::string());
        return hex;
    };
    HashResults results;
    std::uint32_t wholeCrc = 0;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        wholeCrc = Crc32Combine(wholeCrc, parts_[i].crc, parts_[i].bytes);
        results.parts.push_back(
            values(i < plan_.parts.size() ? plan_.parts[i] : std::vector<HashKind>{},
                   parts_[i].others, parts_[i].crc));
    }
    results.whole = values(plan_.whole, whole_, wholeCrc);
    return results;
}
