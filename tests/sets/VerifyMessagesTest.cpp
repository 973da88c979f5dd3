#include "sets/VerifyMessages.h"
#include "support/TempDir.h"

TEST_CASE("After a verified merge the user reads what matched, or which part to get again") {
    const std::wstring out = L"D:\\out\\h.mkv";
    const auto crc = [](const std::wstring& part, const char* expected, const char* computed) {
        return Verified{L"C:\\v\\h.sfv", HashKind::Crc32, L"C:\\v\\" + part, expected, computed};
    };
    const Verified whole{L"C:\\v\\SHA256SUMS", HashKind::Sha256, std::nullopt, "ab12", "ab12"};
    const Verified wholeBad{L"C:\\v\\SHA256SUMS", HashKind::Sha256, std::nullopt, "ab12", "cd34"};
    const std::wstring kWhatItIs = L"\r\rA checksum is a fingerprint of a file's contents, taken "
                                   L"when it was made: when it differs, the contents differ. ";

    CHECK(MatchedMessage(out, {crc(L"h.mkv.001", "0a0b", "0a0b"), whole}) ==
          L"The merged file came out right:\rD:\\out\\h.mkv\r\rIt matches the checksum in h.sfv "
          L"and SHA256SUMS, a fingerprint taken of the original file: not a byte was lost or "
          L"changed.");
    CHECK(MatchedMessage(out, {crc(L"h.mkv.001", "0a", "0a"), crc(L"h.mkv.002", "0b", "0b")}) ==
          L"The parts were merged undamaged:\rD:\\out\\h.mkv\r\rEach part matches its checksum in "
          L"h.sfv, a fingerprint taken of it when it was made: not a byte was lost or changed.");
    CHECK(MismatchMessage(out, {crc(L"h.mkv.001", "0a", "0a"), whole}).empty());
    // Only the damaged part is named; a part listed twice is named once.
    CHECK(MismatchMessage(out, {crc(L"h.mkv.001", "0a", "0a"), crc(L"h.mkv.002", "0b0c0d0e", "ff"),
                                crc(L"h.mkv.002", "0b0c0d0e", "ff"), wholeBad}) ==
          L"The merged file was written, but it is not right:\rD:\\out\\h.mkv\r\r"
          L"\x2022 h.mkv.002 is damaged: its CRC-32 checksum is FF, but h.sfv says it must be "
          L"0B0C0D0E.\r\x2022 The merged file is not the original: its SHA-256 checksum is cd34, "
          L"but SHA256SUMS says it must be ab12." +
              kWhatItIs +
              L"Get each damaged part again (download or copy it once more), then merge again. "
              L"The merged file was kept, but do not rely on it.");
    CHECK(MismatchMessage(out, {wholeBad}) ==
          L"The merged file was written, but it is not right:\rD:\\out\\h.mkv\r\r\x2022 The merged "
          L"file is not the original: its SHA-256 checksum is cd34, but SHA256SUMS says it must "
          L"be ab12." +
              kWhatItIs +
              L"A part may be damaged, missing or in the wrong place in the list. Check the list, "
              L"get any part you doubt again, then merge again. The merged file was kept, but do "
              L"not rely on it.");
}
