#include "merge/ProgressSteps.h"

#include <doctest.h>

#include <vector>

namespace {
// The bar's values over a run of full blocks and a short last one.
std::vector<float> Moves(double total) {
    BarThreshold threshold(total);
    std::vector<float> moves;
    for (double done = 0; done < total;) {
        done += std::min(4096.0, total - done);
        if (threshold.Passed(done))
            moves.push_back(BarPercent(done, total));
    }
    return moves;
}
} // namespace

TEST_CASE("A total of 1,000,000 bytes moves the bar first at the third block") {
    BarThreshold threshold(1000000);
    CHECK(threshold.Step() == 10001);
    CHECK_FALSE(threshold.Passed(4096));
    CHECK_FALSE(threshold.Passed(8192));
    CHECK(threshold.Passed(12288));
    CHECK(BarPercent(12288, 1000000) == 1.2288f);
    CHECK(threshold.Next() == 20002);
    // The threshold moves on by one step per move, however far done ran ahead.
    CHECK(threshold.Passed(500000));
    CHECK(threshold.Next() == 30003);
}

TEST_CASE("The bar moves fewer than 100 times, upwards, and ends within 100") {
    for (double total : {1.0, 4096.0, 409600.0, 1000000.0, 123456789.0, 5368709121.0}) {
        CAPTURE(total);
        const auto moves = Moves(total);
        CHECK(moves.size() < 100);
        for (std::size_t i = 1; i < moves.size(); ++i)
            CHECK(moves[i] > moves[i - 1]);
        if (!moves.empty())
            CHECK(moves.back() <= 100.0f);
    }
    CHECK(Moves(0).empty());
}

TEST_CASE("The bar's value is held within 0..100 when done runs past the total") {
    const struct {
        double done, total;
        float value;
    } cases[] = {
        {50, 200, 25.0f},  {200, 200, 100.0f}, {300, 200, 100.0f},
        {4096, 0, 100.0f}, {4096, -1, 100.0f}, {0, 200, 0.0f},
    };
    for (const auto& c : cases) {
        CAPTURE(c.done);
        CAPTURE(c.total);
        CHECK(BarPercent(c.done, c.total) == c.value);
    }
}
