#pragma once
// The status bar's progress meter. There is no screen: each call is kept, in order, in a log that tests and
// zhost read.
#include <string>
#include <vector>

#include "host/rx/adesk.h"

// Shows the meter with a label over the range [minPos, maxPos]; 0.
int acedSetStatusBarProgressMeter(const ACHAR* label, int minPos, int maxPos);
// Moves the meter (a position within the range); 0, or -1 while no meter is shown.
int acedSetStatusBarProgressMeterPos(int pos);
// Takes the meter away.
void acedRestoreStatusBar();

namespace host {

struct MeterEvent {
    enum Kind { Shown, Moved, Restored };
    Kind kind;
    std::wstring label; // Shown
    int first = 0;      // Shown: the range's start; Moved: the position
    int last = 0;       // Shown: the range's end
};

const std::vector<MeterEvent>& statusBarLog();
void resetStatusBar();

} // namespace host
