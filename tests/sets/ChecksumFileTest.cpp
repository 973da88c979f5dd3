#include "sets/ChecksumFile.h"
#include "support/TempDir.h"

namespace {

std::wstring Described(const ChecksumEntry& entry) {
    const wchar_t* kinds[] = {L"crc32", L"md5", L"sha1", L"sha256", L"sha512"};
    return entry.name + L" " + kinds[static_cast<int>(entry.kind)] + L" " +
           std::wstring(entry.expected.begin(), entry.expected.end()) + L" " +
           (entry.size ? std::to_wstring(*entry.size) : L"-");
}

const std::string kMd5 = "d41d8cd98f00b204e9800998ecf8427e";
const std::string kSha256 = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
const std::string kSha512 = std::string(64, 'a') + std::string(64, 'F');
const std::wstring kWideMd5(kMd5.begin(), kMd5.end());
const std::wstring kWideSha256(kSha256.begin(), kSha256.end());

} // namespace

TEST_CASE("Each checksum file format gives its entries, garbage lines skipped") {
    using namespace std::string_literals;
    const struct {
        std::wstring fileName;
        std::string bytes;
        std::vector<std::wstring> entries;
    } cases[] = {
        {L"holiday.mkv.crc",
         "filename=holiday.mkv\r\nsize=1048576\r\ncrc32=0A1B2C3D\r\n",
         {L"holiday.mkv crc32 0a1b2c3d 1048576"}},
        // Without a name the .crc describes its own base; zeros in front may be left out.
        {L"x.CRC", "Size = 5\nCRC32=abcdef\n", {L"x crc32 00abcdef 5"}},
        {L"x.crc",
         "filename=a\nsize=12x\ncrc32=zz\nrubbish\nfilename=b\ncrc32=1\n",
         {L"b crc32 00000001 -"}},
        {L"x.crc", "size=99999999999999999999\n", {}},
        {L"set.sfv",
         "; made by hand\r\nholiday.mkv.001 0A1B2C3D\r\nname with blanks.002\t\tDEADBEEF\r\n"
         "bad.003 XYZ12345\r\n\r\nonlyname\r\n   \r\nshort.004 1234\r\n",
         {L"holiday.mkv.001 crc32 0a1b2c3d -", L"name with blanks.002 crc32 deadbeef -"}},
        {L"set.md5",
         kMd5 + "  a.001\n" + "D41D8CD98F00B204E9800998ECF8427E *b.002\n# note\nabc  c.003\n" +
             std::string(40, '0') + "  sha1.004\n" + kMd5 + "\n" + kMd5 + "  \n",
         {L"a.001 md5 " + kWideMd5 + L" -", L"b.002 md5 " + kWideMd5 + L" -"}},
        {L"SHA256SUMS",
         kSha256 + " *one space.001\n\\" + kSha256 + "  back\\\\slash\\nnew\n\\" + kSha256 +
             "  bad\\qescape\nSHA256 (c (1).bin) = " + kSha256 + "\nMD5(d)= " + kMd5 +
             "\nSHA256 (e) = " + kMd5 + "\nBLAKE2b (f) = " + kMd5 + "\n",
         {L"one space.001 sha256 " + kWideSha256 + L" -",
          L"back\\slash\nnew sha256 " + kWideSha256 + L" -",
          L"c (1).bin sha256 " + kWideSha256 + L" -", L"d md5 " + kWideMd5 + L" -"}},
        {L"x.sha512",
         "SHA512 (big.iso) = " + kSha512 + "\n" + kSha256 + "  other\n",
         {L"big.iso sha512 " + std::wstring(64, L'a') + std::wstring(64, L'f') + L" -"}},
        // Hostile text: a byte-order mark, names not in UTF-8, NULs, a line too long.
        {L"x.sfv",
         "\xEF\xBB\xBF\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE.001 00000001\n\xFF\xC0\xAF.002 00000002\n"
         // Beyond 16 bits (a surrogate pair), an encoded surrogate, past U+10FFFF, cut short.
         "\xF0\x9F\x98\x80!\xED\xA0\x80-\xF4\x90\x80\x80-\xE2\x82.006 00000006\n"
         "nul\0.003 00000003\n"s +
             std::string(5000, 'n') + " 00000004\n..\\C:\\evil 00000005",
         {L"Фото.001 crc32 00000001 -", L"\xFFFD\xFFFD\xFFFD.002 crc32 00000002 -",
          L"\U0001F600!\xFFFD\xFFFD\xFFFD-\xFFFD\xFFFD\xFFFD\xFFFD-\xFFFD\xFFFD.006 crc32 00000006 "
          L"-",
          L"..\\C:\\evil crc32 00000005 -"}},
        {L"notes.txt", kMd5 + "  a.001\n", {}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.fileName);
        std::vector<std::wstring> entries;
        for (const auto& entry : ParseChecksumFile(c.fileName, c.bytes))
            entries.push_back(Described(entry));
        CHECK(entries == c.entries);
    }
}
