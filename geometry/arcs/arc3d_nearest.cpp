// Nearest point on a segment, and whether an arc turns through a direction.
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"

#include <algorithm>
#include <cmath>

using geometry::signOf;

namespace {

double interpolate(double from, double to, double fraction) {
    return from + (to - from) * fraction;
}

// The projection of p on the straight segment, by dot products with its direction of travel (+x for a
// segment without length in plan, as its bearing 0 says). Codes as ptprox; `along` is signed, ends not
// snapped.
int projectOnStraight(const CPoint3d& start, const CPoint3d& end, double chord, const CPoint3d& p,
                      CPoint3d& foot, double& along, double* offset) {
    const double perChord = chord != 0 ? 1 / chord : 0;
    const double ux = chord != 0 ? (end.x - start.x) * perChord : 1;
    const double uy = (end.y - start.y) * perChord;
    const double dx = p.x - start.x;
    const double dy = p.y - start.y;
    const double c = dx * ux + dy * uy;
    if (offset) *offset = dx * uy - dy * ux;
    if (chord == 0) {
        // A vertical segment: only the height tells where p lies.
        foot.set(start.x, start.y, p.z);
        along = (start.z != end.z && (p.z - start.z) / (end.z - start.z) < 0) ? -1e-10 : 1e-10;
        if (p.z < std::min(start.z, end.z) - _ecpt || p.z > std::max(start.z, end.z) + _ecpt) return 0;
        if (std::fabs(p.z - start.z) < _ecpt) return -1;
        if (std::fabs(p.z - end.z) < _ecpt) return -2;
        return 1;
    }
    along = c;
    foot.set(start.x + c * ux, start.y + c * uy, interpolate(start.z, end.z, c * perChord));
    if (c < -_ecpt || c > chord + _ecpt) return 0;
    if (c < 0) {
        along = 0;
        return -1;
    }
    if (c > chord) {
        along = chord;
        return -2;
    }
    return 1;
}

// What ptprox answers from a projection: ends snapped, heights kept only on the segment (or with flags bit
// 1), the distance taken along the slope with flags bit 0.
void settleNearest(int result, const CPoint3d& start, const CPoint3d& end, int flags, CPoint3d& foot,
                   double& along) {
    const bool keptHeight = start.z != 0 && end.z != 0 && (result == 1 || (flags & 2));
    if (result == -1)
        foot = start;
    else if (result == -2)
        foot = end;
    else if (!keptHeight)
        foot.z = 0;
    if ((flags & 1) && keptHeight && std::fabs(along) < 1e100)
        along = std::copysign(std::hypot(along, foot.z - start.z), along);
    if (std::fabs(along) < 1e-7) along = 0;
}

} // namespace

int nearestOnStraight(const CPoint3d& start, const CPoint3d& end, double chord, const CPoint3d& p,
                      CPoint3d& foot, double* along, double* offset, int flags) {
    double distance = 0;
    const int result = projectOnStraight(start, end, chord, p, foot, distance, offset);
    settleNearest(result, start, end, flags, foot, distance);
    if (along) *along = distance;
    return result;
}

int CArc3d::nearestOnArc(const CPoint3d& p, CPoint3d& foot, double& along, double& angle,
                         double* offset) const {
    double u = 0;
    const double b = centre.gisTo(p, &u);
    const double sign = signOf(bulge);
    if (offset) *offset = (u - radius) * sign;
    foot = centre.polar(b, radius);
    const double l = acentre();
    const double t = _ecpt / radius;
    // Angle of p round the centre, counter-clockwise from the start.
    const double h = intervalle_2pi(b - startGis + sign * _100rd);
    int result;
    double c;
    if ((bulge < 0 && h <= t) || (bulge > 0 && h >= _400rd - t)) {
        result = -1;
        c = 0;
    } else if (bulge > 0) {
        if (h <= l + t) {
            result = h > l ? -2 : 1;
            c = h > l ? l : h;
        } else {
            result = 0;
            c = _400rd - h < h - l ? h - _400rd : h;
        }
    } else {
        c = h - _400rd;
        if (c >= l - t) {
            result = c < l ? -2 : 1;
            if (c < l) c = l;
        } else {
            result = 0;
            if (h < l - c) c = h;
        }
    }
    foot.z = interpolate(start.z, end.z, c / l);
    along = c * radius * sign;
    angle = c;
    return result;
}

int CArc3d::ptprox(CPoint3d p, CPoint3d& foot, double* along, double* offset, int flags, int mode) {
    if (pMat) pMat->ApplyToPt(&p);
    double distance = 0;
    double angle = 0;
    const int result = radius != 0 ? nearestOnArc(p, foot, distance, angle, offset)
                                   : projectOnStraight(start, end, chord, p, foot, distance, offset);
    settleNearest(result, start, end, flags, foot, distance);
    if (along) *along = distance;

    const bool beyondEnds = result == 0 && !(mode & 0x10);
    if ((mode & 3) && !beyondEnds) cut(mode & 1, foot, startGis + angle, distance);
    // The foot is answered in the caller's system whatever the result.
    if (pMat) pMat->ApplyToPtInv(&foot);
    return result;
}

int CArc3d::gis_sur_arc(double& gis, double tol) const {
    if (tol != 0) {
        if (std::fabs(std::sin(startGis - gis)) < tol) {
            gis = startGis;
            return 1;
        }
        if (std::fabs(std::sin(endGis - gis)) < tol) {
            gis = endGis;
            return 2;
        }
    }
    const double low = bulge >= 0 ? startGis : endGis;
    const double high = bulge >= 0 ? endGis : startGis;
    gis = low + intervalle_2pi(gis - low);
    return high > gis ? 3 : 0;
}
