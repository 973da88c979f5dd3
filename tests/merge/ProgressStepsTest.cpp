#include "merge/ProgressSteps.h"

#include <doctest.h>

#include <algorithm>

TEST_CASE("A total of 1,000,000 bytes moves the bar first at the third block, to 1.2288") {
    BarThreshold threshold(1000000);
    CHECK(threshold.Step() == 10001);
    CHECK_FALSE(threshold.Passed(4096));
    CHECK_FALSE(threshold.Passed(8192));
    CHECK(threshold.Passed(12288));
    CHECK(BarPercent(12288, 1000000) == 1.2288f);
    CHECK(threshold.Next() == 20002);
    // One step per move, however far done has run ahead.
    CHECK(threshold.Passed(500000));
    CHECK(threshold.Next() == 30003);
}

TEST_CASE("The bar moves fewer than 100 times however large the total") {
    for (double total : {4096.0, 409600.0, 123456789.0, 5368709121.0}) {
        CAPTURE(total);
        BarThreshold threshold(total);
        int moves = 0;
        for (double done = 4096; done < total + 4096; done += 4096)
            moves += threshold.Passed(std::min(total, done)) ? 1 : 0;
        CHECK(moves < 100);
    }
}

TEST_CASE("The bar's value is held within 0..100 when done runs past the total") {
    const struct {
        double done, total;
        float value;
    } cases[] = {{50, 200, 25.0f},  {200, 200, 100.0f}, {300, 200, 100.0f},
                 {4096, 0, 100.0f}, {4096, -1, 100.0f}, {0, 200, 0.0f}};
    for (const auto& c : cases) {
        CAPTURE(c.done);
        CAPTURE(c.total);
        CHECK(BarPercent(c.done, c.total) == c.value);
    }
}
