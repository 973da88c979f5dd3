#include "sets/VerifyMessages.h"
#include "support/TempDir.h"

// The rest of what a verified merge says is checked through the merge.
TEST_CASE("Where only the merged file differs, the list is suspected; a part listed twice is "
          "named once") {
    const Verified whole{L"C:\\v\\SHA256SUMS", HashKind::Sha256, std::nullopt, "ab12", "cd34"},
        part{L"C:\\v\\h.sfv", HashKind::Crc32, L"C:\\v\\h.mkv.002", "0b", "ff"};
    CHECK(MismatchMessage(L"D:\\h.mkv", {whole}) ==
          L"The merged file was written, but it is not right:\rD:\\h.mkv\r\r\x2022 The merged "
          L"file is not the original: its SHA-256 checksum is cd34, but SHA256SUMS says it must "
          L"be ab12.\r\rA checksum is a fingerprint of a file's contents, taken when it was made: "
          L"when it differs, the contents differ. A part may be damaged, missing or in the wrong "
          L"place in the list. Check the list, get any part you doubt again, then merge again. "
          L"The merged file was kept, but do not rely on it.");
    const std::wstring twice = MismatchMessage(L"D:\\h.mkv", {part, part});
    CHECK(twice.find(L"h.mkv.002 is damaged") == twice.rfind(L"h.mkv.002 is damaged"));
}
