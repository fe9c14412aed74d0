#pragma once
// Temporary vectors drawn on the screen (grip markers and the like): the host keeps them in a log.
#include <vector>

#include "host/db/resbuf.h"
#include "host/ge/ge.h"

// Draws a temporary vector from `from` to `to` in colour `color` (highlighted when hl is non-zero).
int acedGrDraw(const ads_point from, const ads_point to, int color, int hl);

namespace host {
struct GrVector {
    AcGePoint3d from, to;
    int color;
    bool highlighted;
};
const std::vector<GrVector>& grDrawLog();
void clearGrDrawLog();
} // namespace host
