// The offset polyline: parallel at a distance on the right, mitred at corners, bevelled where a mitre would
// reach too far.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// A mitre longer than this many times the offset distance is bevelled.
constexpr double kMitreLimit = 2.5;

// The direction halfway between two directions, whole turns aside.
double meanDirection(double a, double b) {
    return a + (gissuiv(b, a) - a) / 2;
}

// Builds the offset polyline vertex by vertex.
class OffsetBuilder {
public:
    explicit OffsetBuilder(CPolyArc3D& result) : m_result(result) {}

    // The start of a segment: a point within _ecpt of the last one placed replaces it.
    void start(const P_Vertex* source, const CPoint3d& point) {
        P_Vertex* last = m_result.T();
        if (last && CPoint3d(last->pt).dist2dTo(point) < _ecpt) {
            *last = source;
        } else {
            last = m_result.A(source);
        }
        last->pt = point;
    }
    // A further vertex, straight to what follows.
    void add(const P_Vertex* source, const CPoint3d& point) {
        P_Vertex* added = m_result.A(source);
        added->pt = point;
        added->bulge = 0;
    }

private:
    CPolyArc3D& m_result;
};

} // namespace

CPolyArc3D* CPolyArc3D::decale(double dist, double widthFactor, int, int) const {
    return entity_boundary::guarded<CPolyArc3D*>(
        "\nProbleme avec CPolyArc3D::decale()", nullptr, [&]() -> CPolyArc3D* {
            if (m_nVertex < 2 || !hasSoundVertices() || !std::isfinite(dist) || !std::isfinite(widthFactor))
                return nullptr;
            std::unique_ptr<CPolyArc3D> result(newPieceLike());
            copyHeaderTo(*result);
            result->m_f70 = static_cast<short>(m_f70 & ~1);
            OffsetBuilder builder(*result);
            const auto distanceAt = [&](const P_Vertex* v) { return dist + widthFactor * v->i40 / 100000.0; };

            CArc3d segment;
            CArc3d neighbour;
            for (P_Vertex* p = m_pHead; p; p = p->pVN) {
                P_Vertex* q = N(p);
                if (!q) break;
                segment.set(p, q->pt);
                // Corner directions: halfway between the segments that meet there.
                double startDirection = segment.startGis;
                if (P_Vertex* before = B(p); before && before != q) {
                    neighbour.set(before, p->pt);
                    startDirection = meanDirection(neighbour.endGis, segment.startGis);
                }
                double endDirection = segment.endGis;
                if (P_Vertex* after = N(q); after && after != p) {
                    neighbour.set(q, after->pt);
                    endDirection = meanDirection(segment.endGis, neighbour.startGis);
                }
                const double dp = distanceAt(p);
                const double dq = distanceAt(q);
                const CPoint3d from = p->pt;
                const CPoint3d to = q->pt;
                if (segment.radius != 0) {
                    const double side = geometry::signOf(segment.bulge);
                    const double startRadius = segment.radius + side * dp;
                    const double endRadius = segment.radius + side * dq;
                    if (startRadius <= 0 || endRadius <= 0) continue; // the offset arc would turn inside out
                    CPoint3d startPoint = segment.centre.polar(segment.startGis - side * _100rd, startRadius);
                    CPoint3d endPoint = segment.centre.polar(segment.endGis - side * _100rd, endRadius);
                    startPoint.z = from.z;
                    endPoint.z = to.z;
                    builder.start(p, startPoint);
                    builder.add(q, endPoint);
                    continue;
                }
                const double beta = segment.chordGis;
                const double startMitre = dp / std::cos(startDirection - beta);
                const double startTrim = std::tan(startDirection - beta) * dp;
                double endMitre = dq / std::cos(endDirection - beta);
                const double endTrim = std::tan(beta - endDirection) * dq;
                const double startLimit = kMitreLimit * std::fabs(dp);
                const double endLimit = kMitreLimit * std::fabs(dq);
                // Corners on the inside eat into the segment: nothing is left of it.
                if (!(_ecpt <
                      std::min(startLimit, -startTrim) + segment.chord + std::min(endLimit, -endTrim)))
                    continue;
                if (startTrim < 0 && std::fabs(startMitre) > startLimit) {
                    builder.start(p, from.polar(startDirection - _100rd, dp));
                    builder.add(p, from.polar(beta - _100rd, dp));
                } else {
                    builder.start(p, from.polar(startDirection - _100rd, startMitre));
                }
                if (endTrim < 0 && std::fabs(endMitre) > endLimit) {
                    builder.add(q, to.polar(beta - _100rd, dq));
                    endMitre = dq;
                }
                builder.add(q, to.polar(endDirection - _100rd, endMitre));
            }
            if (result->GetCount() < 2) return nullptr;
            return result.release();
        });
}
