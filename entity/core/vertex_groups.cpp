#include "entity/core/vertex_groups.h"

#include <cmath>
#include <limits>

#include "geometry/points/angle_units.h"
#include "geometry/points/vertex.h"

bool toFixed(double value, std::int32_t& fixed) {
    if (value == _RVIDE) {
        fixed = 0;
        return true;
    }
    const double scaled = std::round(value * kFixedScale);
    if (!(scaled >= std::numeric_limits<std::int32_t>::min() &&
          scaled <= std::numeric_limits<std::int32_t>::max()))
        return false;
    fixed = static_cast<std::int32_t>(scaled);
    return true;
}

bool setVertexGroup(P_Vertex& v, const resbuf& rb) {
    std::int32_t fixed = 0;
    switch (rb.restype) {
    case 39:
    case 40:
        if (!toFixed(rb.resval.rreal, fixed)) return false;
        (rb.restype == 39 ? v.i39 : v.i40) = fixed;
        break;
    case 42:
        v.bulge = rb.resval.rreal;
        break;
    case 70:
        v.flags = rb.resval.rint;
        break;
    case 71:
        v.tef1 = static_cast<signed char>(rb.resval.rint);
        break;
    case 72:
        v.tef2 = static_cast<signed char>(rb.resval.rint);
        break;
    case 90:
        v.tag = rb.resval.rlong;
        break;
    default:
        break;
    }
    return true;
}
