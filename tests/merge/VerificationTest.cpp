// A split set merged against the checksum files beside it.

#include "merge/Crc32.h"
#include "merge/MergeRig.h"

namespace {

std::string CrcOf(const std::string& bytes) {
    return Crc32Hex(Crc32(0, bytes.data(), bytes.size()));
}

} // namespace

TEST_CASE("A set is verified as it is merged: good news, the damaged part named, or nothing") {
    const struct {
        std::string what;
        // A part damaged after its checksum was taken; a .crc beside; the disk full; a cancel.
        bool damaged, wholeCrc, failingWrite, cancelled;
        std::wstring message; // its first words; empty: no message about the checksums
    } cases[] = {
        {"whole", false, true, false, false, L"The merged file came out right:\r"},
        {"parts only", false, false, false, false, L"The parts were merged undamaged:\r"},
        {"damaged", true, false, false, false,
         L"The merged file was written, but it is not right:\r"},
        {"failed", false, true, true, false, L""},
        {"cancelled", false, true, false, true, L""},
    };
    for (const auto& c : cases) {
        CAPTURE(c.what);
        MergeRig rig;
        rig.options.chunk = 4 * kBlockSize;
        std::string sfv = "; made with the parts\r\n", original;
        for (int part = 1; part <= 3; ++part) {
            rig.contents.push_back(Pattern(part < 3 ? 20000 : 7000, part));
            original += rig.contents.back();
            const std::wstring name = L"h.mkv.00" + std::to_wstring(part);
            sfv += ToUtf8(name) + " " + CrcOf(rig.contents.back()) + "\r\n";
            if (c.damaged && part == 2)
                rig.contents.back()[100] ^= 1; // the same size, one bit off
            rig.inputs.push_back(WriteBytes(rig.dir / name, rig.contents.back()));
        }
        WriteBytes(rig.dir / L"h.sfv", sfv);
        if (c.wholeCrc)
            WriteBytes(rig.dir / L"h.mkv.crc",
                       "filename=h.mkv\nsize=47000\ncrc32=" + CrcOf(original) + "\n");
        if (c.failingWrite)
            rig.options.calls = WithFaults({.room = 5000, .error = ERROR_DISK_FULL});
        if (c.cancelled)
            rig.ClickDuringWrite(2);
        rig.services.answers = {IDYES};
        rig.services.saveResults.push_back(ScriptedServices::Chosen(rig.output, rig.dir.Path()));
        rig.Fill(rig.inputs);
        MergeFiles(rig.host, rig.Texts(), rig.options);
        REQUIRE(rig.services.messages.size() == 1); // the news, the failure or the question
        const auto& shown = rig.services.messages.back();
        if (!c.message.empty()) {
            CHECK(shown.text.starts_with(c.message + rig.output));
            CHECK(shown.type ==
                  (c.damaged ? MB_OK | MB_ICONEXCLAMATION : MB_OK | MB_ICONINFORMATION));
            // The damaged part, and only it, is named.
            for (int part = 0; part < 3; ++part)
                CHECK((shown.text.find(L"h.mkv.00" + std::to_wstring(part + 1) + L" is damaged") !=
                       std::wstring::npos) == (c.damaged && part == 1));
            CHECK(FileBytes(rig.output) == rig.Joined()); // kept, good or bad
        } else {
            CHECK(shown.text.find(L"checksum") == std::wstring::npos);
        }
    }
}
