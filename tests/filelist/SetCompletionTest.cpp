#include "support/Fixture.h"

// One file added alone that is the first part of a split set brings the set's other
// parts, in number order; anything else is added as it is.
TEST_CASE("Adding a set's first part adds the set, by the open dialog and by a drop") {
    // The files present, those listed before, those added, and the entries then.
    const std::wstring cases[][4] = {
        {L"h.001 h.003 h.002 other.bin", L"", L"h.001", L"h.001 h.002 h.003"},
        {L"h.001 h.002 h.004", L"", L"h.002", L"h.002"},
        {L"g.998 g.1000 g.999 g.0999", L"", L"g.998", L"g.998 g.999 g.1000"},
        {L"f.1 f.10 f.2 f.01", L"", L"f.1", L"f.1 f.2 f.10"},
        {L"f.1 f.10", L"", L"f.10", L"f.10"},
        {L"b.part2 b.part1 b.part10 B.Part11 b.part3.rar b.3", L"", L"b.part1",
         L"b.part1 b.part2 b.part10 B.Part11"},
        // Letter case is ignored; a wider number with a leading zero is another set's.
        {L"h.001 H.002 h.0003", L"", L"h.001", L"h.001 H.002"},
        {L"Ä.001 ä.002", L"", L"Ä.001", L"Ä.001 ä.002"},
        // A .000 holds some splitters' header: a part only when it is the one added.
        {L"h.000 h.001 h.002", L"", L"h.001", L"h.001 h.002"},
        {L"h.000 h.001 h.002", L"", L"h.000", L"h.000 h.001 h.002"},
        // Parts listed already are not listed again; new ones go to the end.
        {L"h.001 h.002 h.003 h.004", L"H.003", L"h.001", L"H.003 h.001 h.002 h.004"},
        {L"h.001 h.002 x.bin", L"", L"x.bin h.001", L"h.001 x.bin"},
    };
    for (const bool dropped : {false, true}) {
        for (const auto& [present, before, added, entries] : cases) {
            INFO("dropped " << dropped << ", added " << added);
            MainWindowFixture f;
            std::size_t size = 100;
            for (const auto& name : Words(present))
                f.File(name, size++);
            for (const auto& path : f.Paths(before))
                f.List().AddFile(path);
            dropped ? (void)f.Drop(f.Paths(added)) : f.AddByDialog(f.Paths(added));
            CHECK(f.Texts() == f.Paths(entries));
            // The summary counts what the additions measured as the list's files do.
            const std::wstring status = f.Status();
            f.window.Status().RebuildStatus(f.List());
            CHECK(status == f.Status());
        }
    }
}
