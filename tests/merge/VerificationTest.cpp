// A split set merged against the checksum files beside it.

#include "merge/MergeRig.h"
#include "sets/SetChecksums.h"

TEST_CASE("A set is verified as it is merged: good news, the damaged part named, or nothing") {
    // The message whole, the output for @ and the CRC it found, then the one it wanted, for #.
    const struct {
        std::string what;
        // A part damaged after its checksum was taken; a .crc beside; the disk full; a cancel.
        bool damaged, wholeCrc, failingWrite, cancelled;
        std::wstring message; // empty: no message about the checksums
    } cases[] = {
        {"whole", false, true, false, false,
         L"The merged file came out right:\r@\r\rIt matches the checksum in SHA256SUMS, h.mkv.crc "
         L"and h.sfv, a fingerprint taken of the original file: not a byte was lost or changed."},
        {"parts only", false, false, false, false,
         L"The parts were merged undamaged:\r@\r\rEach part matches its checksum in h.sfv, a "
         L"fingerprint taken of it when it was made: not a byte was lost or changed."},
        {"damaged", true, false, false, false,
         L"The merged file was written, but it is not right:\r@\r\r\x2022 h.mkv.002 is damaged: "
         L"its CRC-32 checksum is #, but h.sfv says it must be #.\r\rA checksum is a fingerprint "
         L"of a file's contents, taken when it was made: when it differs, the contents differ. "
         L"Get each damaged part again (download or copy it once more), then merge again. The "
         L"merged file was kept, but do not rely on it."},
        {"failed", false, true, true, false, L""},
        {"cancelled", false, true, false, true, L""},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        MergeRig rig;
        rig.options.chunk = 4 * kBlockSize;
        // The parts' checksums, among names that lead elsewhere or are not listed.
        std::string sfv = "; made with the parts\r\n..\\h.mkv.002 00000002\r\nC:\\h.mkv.002 "
                          "00000003\r\nsub/h.mkv.003 00000005\r\nh.mkv.009 00000006\r\n",
                    original;
        for (int part = 1; part <= 3; ++part) {
            rig.contents.push_back(Pattern(part < 3 ? 20000 : 7000, part));
            original += rig.contents.back();
            const std::wstring name = L"h.mkv.00" + std::to_wstring(part);
            sfv += (part == 2 ? "./H.MKV.002" : ToUtf8(name)) + " " +
                   HexOf(HashKind::Crc32, rig.contents.back()) + "\r\n";
            if (c.damaged && part == 2)
                rig.contents.back()[100] ^= 1; // the same size, one bit off
            rig.inputs.push_back(WriteBytes(rig.dir / name, rig.contents.back()));
        }
        WriteBytes(rig.dir / L"h.sfv", sfv);
        if (c.wholeCrc) {
            WriteBytes(rig.dir / L"h.mkv.crc", "filename=h.mkv\nsize=47000\ncrc32=" +
                                                   HexOf(HashKind::Crc32, original) + "\n");
            WriteBytes(rig.dir / L"SHA256SUMS", HexOf(HashKind::Sha256, original) + " *h.mkv\n");
        }
        // What must not count: another file's .crc, a text file, lines at and past the
        // limit of what is read, an empty and a locked file.
        const std::string wrong(64, '0'), line = wrong + "  h.mkv.0010\n";
        WriteBytes(rig.dir / L"other.crc", "filename=h.mkv\ncrc32=11111111\n");
        WriteBytes(rig.dir / L"h.sfv.txt", "h.mkv.001 00000007\r\n");
        WriteBytes(rig.dir / L"big.sha256",
                   std::string(kMaxChecksumFileBytes - line.size() + 1, '#') + "\n" + line + wrong +
                       "  h.mkv.002\n");
        WriteBytes(rig.dir / L"empty.md5", "");
        WriteBytes(rig.dir / L"locked.md5", wrong.substr(32) + "  h.mkv.003\n");
        const FileHandle locked(CreateFileW((rig.dir / L"locked.md5").c_str(), GENERIC_READ, 0,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
        if (c.failingWrite)
            rig.options.calls = WithFaults({.room = 5000, .error = ERROR_DISK_FULL});
        if (c.cancelled)
            rig.ClickDuringWrite(2);
        rig.services.answers = {IDYES};
        REQUIRE(rig.MergeAll().size() == 1); // the news, the failure or the question
        const auto& shown = rig.services.messages.back();
        if (!c.message.empty()) {
            std::wstring message = c.message;
            message.replace(message.find(L'@'), 1, rig.output);
            for (const auto& data : {rig.contents[1], Pattern(20000, 2)}) {
                std::string crc = HexOf(HashKind::Crc32, data);
                std::transform(crc.begin(), crc.end(), crc.begin(), ::toupper);
                if (c.damaged)
                    message.replace(message.find(L'#'), 1, std::wstring(crc.begin(), crc.end()));
            }
            CHECK(shown.text == message);
            CHECK(shown.type == (MB_OK | (c.damaged ? MB_ICONEXCLAMATION : MB_ICONINFORMATION)));
            CHECK(FileBytes(rig.output) == rig.Joined()); // kept, good or bad
        } else {
            CHECK(shown.text.find(L"checksum") == std::wstring::npos);
        }
    }
}
