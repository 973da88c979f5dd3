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
        bool damaged, wholeCrc; // a part damaged after its checksum was taken; a .crc beside
        int failingWrite;       // counted from 1; 0: none
        bool cancelled;
        std::wstring message; // its first words; empty: no message about the checksums
    } cases[] = {
        {"whole", false, true, 0, false, L"The merged file came out right:\r"},
        {"parts only", false, false, 0, false, L"The parts were merged undamaged:\r"},
        {"damaged", true, false, 0, false, L"The merged file was written, but it is not right:\r"},
        {"failed", false, true, 2, false, L""},
        {"cancelled", false, true, 0, true, L""},
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
        int writes = 0;
        rig.options.calls.write = [&](HANDLE file, const void* buffer, DWORD size, DWORD* done) {
            if (++writes == c.failingWrite) {
                SetLastError(ERROR_DISK_FULL);
                return FALSE;
            }
            if (c.cancelled && writes == 2)
                PostMessageW(rig.progress.Handle(), WM_COMMAND, IDCANCEL, 0);
            return WriteFile(file, buffer, size, done, nullptr);
        };
        rig.services.answers = {IDYES};
        rig.services.saveResults.push_back(ScriptedServices::Chosen(rig.output, rig.dir.Path()));
        rig.Fill(rig.inputs);
        MergeFiles(rig.host, rig.Texts(), rig.options);
        REQUIRE(rig.services.messages.size() ==
                (c.message.empty() && !c.failingWrite && !c.cancelled ? 0u : 1u));
        const auto& shown = rig.services.messages.back();
        if (!c.message.empty()) {
            CHECK(shown.text.starts_with(c.message + rig.output));
            CHECK(shown.type ==
                  (c.damaged ? MB_OK | MB_ICONEXCLAMATION : MB_OK | MB_ICONINFORMATION));
            // The damaged part, and only it, is named.
            for (int part = 0; part < 3; ++part)
                CHECK((shown.text.find(L"h.mkv.00" + std::to_wstring(part + 1) + L" is damaged") !=
                       std::wstring::npos) == (c.damaged && part == 1));
        } else {
            CHECK(shown.text.find(L"checksum") == std::wstring::npos);
        }
        if (!c.failingWrite && !c.cancelled)
            CHECK(FileBytes(rig.output) == rig.Joined()); // kept, good or bad
    }
}
