#include "merge/ProgressSteps.h"

#include <cmath>

BarThreshold::BarThreshold(double total) : step_(std::trunc(total / 100) + 1), next_(step_) {}

bool BarThreshold::Passed(double done) {
    if (!(done > next_))
        return false;
    next_ += step_;
    return true;
}

float BarPercent(double done, double total) {
    if (done >= total)
        return 100.0f;
    if (done <= 0)
        return 0.0f;
    return static_cast<float>(done / total * 100);
}
