#include "platform/Handles.h"
#include "sets/SetChecksums.h"
#include "support/TempDir.h"

#include <doctest.h>

namespace {

using Texts = std::vector<std::wstring>;

const std::string kSha = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

// Comment lines of at most a line's length, `size` bytes in all.
std::string Padding(std::size_t size) {
    std::string text;
    while (text.size() < size) {
        const std::size_t line = std::min<std::size_t>(size - text.size(), 1000);
        text += std::string(line - 1, '#') + "\n";
    }
    return text;
}

} // namespace

// Checksum files come from anywhere: their names select among the set's own files.
TEST_CASE("The checksum files beside a set give what its parts and the merged file must be") {
    TempDir dir;
    const auto file = [&](const wchar_t* name, const std::string& text) {
        WriteBytes(dir / name, text);
    };
    file(L"h.mkv.crc", "filename=h.mkv\r\nsize=30\r\ncrc32=0A1B2C3D\r\n");
    file(L"other.crc", "filename=h.mkv\ncrc32=11111111\n"); // another file's
    file(L"h.sfv", "h.mkv.001 00000001\r\n..\\h.mkv.002 00000002\r\nC:\\h.mkv.002 00000003\r\n"
                   "./H.MKV.002 00000004\r\nsub/h.mkv.003 00000005\r\nh.mkv.009 00000006\r\n");
    file(L"h.sfv.txt", "h.mkv.001 00000007\r\n");
    file(L"SHA256SUMS", kSha + " *h.mkv\n");
    // Read as far as the limit: a line cut there is no line, one past it is ignored.
    const std::string line = kSha + "  h.mkv.0010\n";
    file(L"big.sha256",
         Padding(kMaxChecksumFileBytes - line.size() + 2) + line + kSha + "  h.mkv.002\n");
    file(L"empty.md5", "");
    WriteBytes(dir / L"locked.md5", "d41d8cd98f00b204e9800998ecf8427e  h.mkv.003\n");
    FileHandle locked(CreateFileW((dir / L"locked.md5").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    REQUIRE(locked.Valid());

    const Texts listed{dir / L"h.mkv.001", dir / L"h.mkv.002", dir / L"h.mkv.003",
                       dir / L"h.mkv.002"};
    Texts found;
    for (const auto& e : FindChecksums(listed, *RecognisePart(listed.front()))) {
        CHECK(static_cast<int>(e.kind) == (e.hex.size() == 8 ? 0 : 3));
        found.push_back(e.checksumFile.substr(dir.Path().size() + 1) + L" " +
                        (e.part ? std::to_wstring(*e.part) : L"whole") + L" " +
                        std::wstring(e.hex.begin(), e.hex.end()));
    }
    const std::wstring sha(kSha.begin(), kSha.end());
    CHECK(found == Texts{L"SHA256SUMS whole " + sha, L"h.mkv.crc whole 0a1b2c3d",
                         L"h.sfv 0 00000001", L"h.sfv 1 00000004", L"h.sfv 3 00000004"});
}
