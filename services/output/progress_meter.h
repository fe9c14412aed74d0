#pragma once
// Progress and cancel callback of the long computations (matrix inversions): they call Progressfunc with
// their current step and stop, reporting failure, when it answers a negative value.
#include <cstdint>

class CProgressMeter {
public:
    CProgressMeter() = default;
    CProgressMeter(const CProgressMeter&) = default;
    CProgressMeter& operator=(const CProgressMeter&) = default;
    virtual ~CProgressMeter() = default;

    // Answers `step`: go on.
    virtual int Progressfunc(int step);

    // The caller's own value, copied with the meter; the library does not read it.
    std::int64_t userValue = 0;
};
