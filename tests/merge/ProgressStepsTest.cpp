#include "merge/ProgressSteps.h"

#include <doctest.h>

#include <algorithm>

// The copy tests see the first moves and the bar's limits; these totals are too
// large to copy.
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
