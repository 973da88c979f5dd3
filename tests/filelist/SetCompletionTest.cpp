#include "support/Fixture.h"

#include <doctest.h>

// One file added alone that is the first part of a split set brings the set's other
// parts, in number order; anything else is added as it is.
TEST_CASE("Adding a set's first part adds the set, by the open dialog and by a drop") {
    const struct {
        Texts present, listedBefore, added, entries;
    } cases[] = {
        {{L"h.001", L"h.003", L"h.002", L"other.bin"},
         {},
         {L"h.001"},
         {L"h.001", L"h.002", L"h.003"}},
        {{L"h.001", L"h.002", L"h.004"}, {}, {L"h.002"}, {L"h.002"}},
        {{L"g.998", L"g.1000", L"g.999", L"g.0999"},
         {},
         {L"g.998"},
         {L"g.998", L"g.999", L"g.1000"}},
        {{L"f.1", L"f.10", L"f.2", L"f.01"}, {}, {L"f.1"}, {L"f.1", L"f.2", L"f.10"}},
        {{L"f.1", L"f.10"}, {}, {L"f.10"}, {L"f.10"}},
        {{L"b.part2", L"b.part1", L"b.part10", L"b.part3.rar", L"b.3"},
         {},
         {L"b.part1"},
         {L"b.part1", L"b.part2", L"b.part10"}},
        // A .000 holds some splitters' header: a part only when it is the one added.
        {{L"h.000", L"h.001", L"h.002"}, {}, {L"h.001"}, {L"h.001", L"h.002"}},
        {{L"h.000", L"h.001", L"h.002"}, {}, {L"h.000"}, {L"h.000", L"h.001", L"h.002"}},
        // Parts listed already are not listed again; new ones go to the end.
        {{L"h.001", L"h.002", L"h.003", L"h.004"},
         {L"H.003"},
         {L"h.001"},
         {L"H.003", L"h.001", L"h.002", L"h.004"}},
        {{L"h.001", L"h.002", L"x.bin"}, {}, {L"x.bin", L"h.001"}, {L"h.001", L"x.bin"}},
    };
    for (const bool dropped : {false, true}) {
        for (const auto& c : cases) {
            CAPTURE(dropped);
            CAPTURE(c.added.front());
            MainWindowFixture f;
            const auto paths = [&](const Texts& names) {
                Texts result;
                for (const auto& name : names)
                    result.push_back(f.dir / name);
                return result;
            };
            for (std::size_t i = 0; i < c.present.size(); ++i)
                f.File(c.present[i], 100 + i);
            for (const auto& path : paths(c.listedBefore))
                f.List().AddFile(path);
            dropped ? (void)f.Drop(paths(c.added)) : f.AddByDialog(paths(c.added));
            CHECK(f.Texts() == paths(c.entries));
            // The summary counts what the additions measured as the list's files do.
            const std::wstring status = f.Status();
            f.window.Status().RebuildStatus(f.List());
            CHECK(status == f.Status());
        }
    }
}
