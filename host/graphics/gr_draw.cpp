#include "host/graphics/gr_draw.h"

namespace {
std::vector<host::GrVector>& vectorLog() {
    static std::vector<host::GrVector> vectors;
    return vectors;
}
} // namespace

int acedGrDraw(const ads_point from, const ads_point to, int color, int hl) {
    if (!from || !to) return RTERROR;
    vectorLog().push_back(
        {AcGePoint3d(from[0], from[1], from[2]), AcGePoint3d(to[0], to[1], to[2]), color, hl != 0});
    return RTNORM;
}

namespace host {
const std::vector<GrVector>& grDrawLog() {
    return vectorLog();
}
void clearGrDrawLog() {
    vectorLog().clear();
}
} // namespace host
