// The host's object snaps on one segment of the polyline: the segment under the pick (graphics marker 0) or
// the one the host names by its marker. Every point also goes to the request registered for the entity.
#include "cadutil/database/host_variables.h"
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "entity/curve/curve_segment.h"
#include "entity/snaps/osnap_request.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "host/db/resbuf.h"

#include <algorithm>
#include <cmath>

namespace {

// How near the result of a nearest snap must come to the pick to be the pick itself.
constexpr double kNearestTolerance = 0.0005;

CPoint3d rowOf(const AcGeMatrix3d& m, int row) {
    return {m(row, 0), m(row, 1), m(row, 2)};
}

// The point of segment a-b nearest to the line through p along d.
CPoint3d nearestToLine(const CPoint3d& a, const CPoint3d& b, const CPoint3d& p, const CPoint3d& d) {
    const CPoint3d u = b - a, w = a - p;
    const double uu = u.scalarProduct(u), ud = u.scalarProduct(d), dd = d.scalarProduct(d);
    const double uw = u.scalarProduct(w), dw = d.scalarProduct(w);
    const double denominator = uu * dd - ud * ud;
    double t = 0;
    if (uu > 0) t = denominator > 1e-12 * uu * dd ? (ud * dw - dd * uw) / denominator : -uw / uu;
    return a + u * std::clamp(t, 0.0, 1.0);
}

// The search of the segment under the pick, in plan: the index of the nearest segment within K, or -1.
int segmentUnderPick(const CPolyArc3D& poly, const CPoint3d& pick) {
    double aperture = 10;
    if (getVarReal("APERTURE", &aperture) != RTNORM) aperture = 10;
    const double k = aperture * getPixelSize() * 1.5;
    int winner = -1;
    double best = 0;
    int index = 0;
    for (P_Vertex* v = poly.H(); v; v = v->pVN, ++index) {
        P_Vertex* w = poly.N(v);
        if (!w) break;
        const CPoint3d s = v->pt, t = w->pt;
        const double cx = t.x - s.x, cy = t.y - s.y, px = pick.x - s.x, py = pick.y - s.y;
        double chord = std::hypot(cx, cy);
        const double sagitta = double(v->bulge) * chord / 2;
        double d = chord == 0 ? std::hypot(px, py) : (py * cx - px * cy) / chord;
        double e = chord == 0 ? 0 : (cx * px + cy * py) / chord;
        if (std::fabs(d) > std::fabs(sagitta) + k || e < -k || e > chord + k) continue;
        if (std::fabs(sagitta) > k / 3) {
            CArc3d arc(v, t);
            CPoint3d foot;
            arc.ptprox(pick, foot, &e, &d);
            chord = arc.len(0);
        }
        double distance = std::fabs(d);
        if (e < -distance)
            distance = -e;
        else if (e > distance + chord)
            distance = e - chord;
        if (distance <= k && (winner < 0 || distance < best)) {
            winner = index;
            best = distance;
        }
        if (w == poly.H()) break;
    }
    return winner;
}

// The nearest point of an arc to the pick line of a tilted view: the chord between two arc points closes in
// round the point the line passes nearest.
CPoint3d nearestOnArcToLine(CArc3d& arc, const CPoint3d& pick, const CPoint3d& direction) {
    const double swept = arc.acentre();
    const double sign = swept < 0 ? -1 : 1;
    const double r = arc.radius;
    auto at = [&](double angle) {
        return poly_curve::pointAtFraction(arc, std::clamp(angle / swept, 0.0, 1.0));
    };
    double n = swept / 2, o = swept / 3;
    for (int round = 0; round < 20 && kNearestTolerance < std::fabs(o * r); ++round) {
        const CPoint3d onChord = nearestToLine(at(n - o), at(n + o), pick, direction);
        CPoint3d foot;
        double along = 0;
        arc.ptprox(onChord, foot, &along);
        const double v = along / r * sign;
        o = std::fabs(n - v);
        n = v;
    }
    CPoint3d foot;
    double along = 0;
    if (arc.ptprox(at(n), foot, &along) == 0) return along <= 0 ? arc.start : arc.end;
    return at(n);
}

} // namespace

Acad::ErrorStatus CPolyArc3D::subGetOsnapPoints(AcDb::OsnapMode mode, Adesk::GsMarker gsMarker,
                                                const AcGePoint3d& pickPoint, const AcGePoint3d& lastPoint,
                                                const AcGeMatrix3d& viewXform, AcGePoint3dArray& snapPoints,
                                                AcDbIntArray&) const {
    assertReadEnabled();
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::getOsnapPoints()", Acad::eOk, [&] {
        if (!m_pHead || !hasSoundVertices()) return Acad::eOk;
        const CPoint3d pick(m_pNormal, pickPoint), last(m_pNormal, lastPoint);
        if (!poly_segments::isFinite(pick) || !poly_segments::isFinite(last)) return Acad::eOk;
        const CPoint3d view = rowOf(viewXform, 2);
        const AcGeVector3d normal = Snormal();
        const bool flat = (std::fabs(view.x) < 1e-5 && std::fabs(view.y) < 1e-5) ||
                          (m_pNormal && std::fabs(normal.x - view.x) < 1e-5 &&
                           std::fabs(normal.y - view.y) < 1e-5 && std::fabs(normal.z - view.z) < 1e-5);
        if (gsMarker == 0) gsMarker = segmentUnderPick(*this, pick) + 1;
        if (gsMarker <= 0 || gsMarker > m_nVertex) return Acad::eOk;
        P_Vertex* v = GetIndex(gsMarker - 1);
        P_Vertex* w = v ? N(v) : nullptr;
        if (!w) return Acad::eOk;
        const int index = static_cast<int>(gsMarker - 1);
        OsnapRequest* request = OsnapRequest::find(this);
        if (request) g_snapContext = {v, w, index, CPoint3d(pickPoint), viewXform};

        CArc3d segment(v, w->pt);
        const bool isArc = segment.radius != 0;
        const CPoint3d s = v->pt, e = w->pt;
        const bool flattened = !m_pNormal && (s.z == 0 || e.z == 0);
        const double meanZ = (s.z + e.z) / 2;
        auto report = [&](CPoint3d p, bool computed) {
            if (computed && flattened) p.z = 0;
            const CPoint3d world = WorldPoint(&p);
            snapPoints.append(world);
            if (request) request->AddPoint(world, mode);
        };

        switch (mode) {
        case AcDb::kOsModeEnd: {
            // Generated vertices give way to the nearest hard ones on each side.
            const P_Vertex* before = v->dur() ? v : Bxyz(v);
            report((before ? before : v)->pt, false);
            const P_Vertex* after = w->dur() ? w : Nxyz(w);
            if (!after) after = w;
            if (request) g_snapContext.index = (*this)[after];
            report(after->pt, false);
            break;
        }
        case AcDb::kOsModeMid: {
            CPoint3d middle = isArc ? poly_curve::pointAtFraction(segment, 0.5) : (s + e) / 2;
            middle.z = meanZ;
            report(middle, true);
            break;
        }
        case AcDb::kOsModeCen:
            if (isArc) report({segment.centre.x, segment.centre.y, meanZ}, true);
            break;
        case AcDb::kOsModePerp:
            if (last.x == 0 && last.y == 0) break;
            if (isArc) {
                CPoint3d p = segment.centre.polar(segment.centre.gisTo(last), segment.radius);
                p.z = meanZ;
                report(p, true);
            } else if (!flat) {
                const CPoint3d u = e - s;
                const double uu = u.scalarProduct(u);
                report(uu > 0 ? s + u * ((last - s).scalarProduct(u) / uu) : s, true);
            } else if (segment.chord < 1e-4) {
                if ((last - s).dist3d() >= 1e-4) report(s, false);
            } else if (last.dist2dTo(s) >= 1e-4 && last.dist2dTo(e) >= 1e-4 && last.dist2dTo(s) <= 10000) {
                double l = 0;
                const double x = s.gisTo(last, &l);
                const double along = l * std::cos(x - segment.chordGis);
                CPoint3d foot = s.polar(segment.chordGis, along);
                foot.z = s.z + (e.z - s.z) * along / segment.chord;
                report(foot, false);
            }
            break;
        case AcDb::kOsModeTan: {
            if (!isArc || !flat) break;
            double distance = 0;
            const double bearing = segment.centre.gisTo(last, &distance);
            if (distance <= segment.radius) break;
            const double spread = std::acos(segment.radius / distance);
            for (double b : {bearing + spread, bearing - spread}) {
                CPoint3d p = segment.centre.polar(b, segment.radius), foot;
                double offset = 1;
                if (segment.ptprox(p, foot, nullptr, &offset) != 0 && std::fabs(offset) < 0.001) {
                    p.z = meanZ;
                    report(p, true);
                }
            }
            break;
        }
        case AcDb::kOsModeNear: {
            CPoint3d direction = view;
            if (m_pNormal) m_pNormal->ApplyRot(&direction);
            CPoint3d p;
            if (!isArc) {
                p = nearestToLine(s, e, pick, direction);
            } else if (flat) {
                double along = 0;
                if (segment.ptprox(pick, p, &along) == 0) p = along <= 0 ? s : e;
            } else {
                p = nearestOnArcToLine(segment, pick, direction);
            }
            if ((p - pick).dist3d() < kNearestTolerance) p = pick;
            report(p, true);
            break;
        }
        default:
            break;
        }
        return Acad::eOk;
    });
}
