// Hostile checksum files: any bytes, under each name the parser knows.
#include "sets/ChecksumFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const wchar_t* const names[] = {L"x.crc",    L"x.sfv",    L"x.md5",     L"x.sha1",
                                           L"x.sha256", L"x.sha512", L"SHA256SUMS"};
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (const auto& entry : ParseChecksumFile(names[data[0] % 7], bytes)) {
        for (char c : entry.expected) {
            if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
                std::abort();
        }
        if (entry.name.empty() || (entry.expected.empty() && !entry.size))
            std::abort();
    }
    for (wchar_t c : DecodeUtf8(bytes)) {
        if (static_cast<std::uint32_t>(c) > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            std::abort();
    }
    return 0;
}
