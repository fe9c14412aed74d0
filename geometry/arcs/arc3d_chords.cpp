// Chords of an arc within a sagitta, with offsets to either side.
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"
#include "services/startup/fvar.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A tolerance fine enough to ask for more chords than any drawing needs would otherwise exhaust memory or
// overflow the count: the number of inner points is held at this.
constexpr double kMaxInnerPoints = 1000000;

} // namespace

int CArc3d::segments(CPoint3dArray& out, double tol) {
    return segments(out, 0, 0, tol);
}

int CArc3d::segments(CPoint3dArray& out, double offStart, double offEnd, double tol) {
    if (tol <= 0) tol = vfVar.maxSagitta;
    // Offsets are positive to the right of the travel: a clockwise arc has the centre on that side.
    if (startGis > endGis) {
        offStart = -offStart;
        offEnd = -offEnd;
    }
    centre.z = start.z; // the height of every point but the last
    // From the centre outwards on an arc; to the right of the travel on a straight segment, whose bulge has
    // no sign to turn the offsets sideways with.
    const double outward = radius != 0 ? -geometry::signOf(bulge) * _100rd : -_100rd;
    std::vector<CPoint3d> points;
    if (tol <= 0 || radius <= std::max(2 * tol, 0.0004)) {
        points.push_back(start.polar(startGis + outward, offStart));
        points.push_back(end.polar(endGis + outward, offEnd));
    } else {
        const double rho = startGis + outward;
        const double included = acentre();
        const double step = std::sqrt(std::fabs(8 * tol / radius));
        const int inner =
            step < std::fabs(included)
                ? static_cast<int>(std::min(std::floor(std::fabs(included) / step), kMaxInnerPoints))
                : 0;
        const int parts = inner + 1;
        points.reserve(static_cast<std::size_t>(inner) + 2);
        points.push_back(centre.polar(rho, radius + offStart));
        for (int j = 1; j <= inner; ++j)
            points.push_back(centre.polar(rho + j * included / parts,
                                          radius + offStart + j * (offEnd - offStart) / parts));
        CPoint3d last = centre.polar(endGis + outward, radius + offEnd);
        last.z = end.z;
        points.push_back(last);
        centre.z = (start.z + end.z) / 2;
    }
    const int count = static_cast<int>(points.size());
    return out.append(points.data(), count) < 0 ? 0 : count;
}
