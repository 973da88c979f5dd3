#pragma once
// When the bar moves during a merge, and to what. The bar moves only when the
// bytes done pass a threshold that then advances by one hundredth of the total
// (plus one byte), so it moves fewer than 100 times however large the merge.

class BarThreshold {
public:
    explicit BarThreshold(double total);

    // After a block: true when done has passed the threshold, which then moves on
    // by one step however far done has run ahead of it.
    bool Passed(double done);

private:
    double step_;
    double next_;
};

// The bar's value in percent for done of total bytes, held within 0..100: an input
// that grew after it was measured, or a total that could not be measured, shows a
// full bar rather than one past its end.
float BarPercent(double done, double total);
