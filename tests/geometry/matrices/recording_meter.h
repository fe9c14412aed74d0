#pragma once
// A progress meter that records the steps it is shown and answers -1 (cancel) or throws at a chosen step.
#include "services/output/progress_meter.h"

#include <stdexcept>
#include <vector>

namespace testing_support {

class RecordingMeter : public CProgressMeter {
public:
    enum class At { Never, Cancel, Throw };

    RecordingMeter() = default;
    RecordingMeter(At what, int step) : what_(what), step_(step) {}

    int Progressfunc(int step) override {
        steps.push_back(step);
        if (step != step_) return step;
        if (what_ == At::Throw) throw std::runtime_error("meter");
        return what_ == At::Cancel ? -1 : step;
    }

    std::vector<int> steps;

private:
    At what_ = At::Never;
    int step_ = -1;
};

// 0, 1, ..., n - 1.
inline std::vector<int> stepsUpTo(int n) {
    std::vector<int> steps;
    for (int i = 0; i < n; ++i)
        steps.push_back(i);
    return steps;
}

} // namespace testing_support
