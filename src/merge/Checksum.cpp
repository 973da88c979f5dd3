#include "merge/Checksum.h"

#include "merge/CngHash.h"
#include "merge/Crc32.h"

namespace {

class Crc32Checksum : public Checksum {
public:
    void Update(const void* data, std::size_t bytes) override { crc_ = Crc32(crc_, data, bytes); }
    std::string Hex() override { return Crc32Hex(crc_); }

private:
    std::uint32_t crc_ = 0;
};

} // namespace

std::unique_ptr<Checksum> MakeChecksum(HashKind kind) {
    if (kind == HashKind::Crc32)
        return std::make_unique<Crc32Checksum>();
    return MakeCngHash(kind);
}
