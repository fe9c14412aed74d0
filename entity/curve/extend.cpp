// The host's EXTEND on the polyline: its first or last segment grows to a point on its line or circle. In the
// adjust mode of ZOR_EXTEND (bit 1 of m_PolyArc3dCmdeFlag) the first requests on a side are only cached, and
// the side moves once a request reaches beyond it.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/curve/extend_cache.h"
#include "geometry/arcs/arc3d.h"

#include <cmath>

namespace {

// What the adjust mode makes of a request: refuse it, cache it, or move the side.
enum class Adjust { Refuse, Cache, Move };

Adjust adjustEnd(double s, double a) {
    ExtendCache& cache = g_ExtendCache;
    if (s < 0.01 || (cache.endMoved && s < a)) return Adjust::Refuse;
    if ((cache.bits & ExtendCache::kExtendSeen) && a >= s)
        return cache.endMoved ? Adjust::Refuse : Adjust::Cache;
    cache.endMoved = 1;
    return Adjust::Move;
}

Adjust adjustStart(double s, double a) {
    ExtendCache& cache = g_ExtendCache;
    if (s >= a || (cache.startMoved && s >= 0)) return Adjust::Refuse;
    if ((cache.bits & ExtendCache::kExtendSeen) && s > 0)
        return cache.startMoved ? Adjust::Refuse : Adjust::Cache;
    cache.startMoved = 1;
    return Adjust::Move;
}

} // namespace

Acad::ErrorStatus CPolyArc3D::extend(bool extendStart, const AcGePoint3d& toPoint) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::extend()", Acad::eInvalidInput, [&] {
        assertReadEnabled();
        if (!std::isfinite(toPoint.x) || !std::isfinite(toPoint.y) || !std::isfinite(toPoint.z) ||
            !hasSoundVertices())
            return Acad::eInvalidInput;
        const CPoint3d local(m_pNormal, toPoint);
        ExtendCache& cache = g_ExtendCache;
        cache.bits |= ExtendCache::kExtendSeen;
        if (cache.entity && !objectId().isNull()) cache.reset();
        const bool adjusting = (m_PolyArc3dCmdeFlag & 2) != 0;

        // Each side then has a segment of its own to grow.
        if (adjusting && m_nVertex == 2 && (cache.bits & ExtendCache::kExtendSeen)) {
            ptAtDist(m_pHead, getLen(1, 0, 0, nullptr) / 2, 0, 3, nullptr, nullptr);
            cache.bits |= ExtendCache::kMiddleInserted;
        }

        P_Vertex* v = extendStart ? m_pHead : (m_pTail ? m_pTail->pVB : nullptr);
        P_Vertex* w = v ? v->pVN : nullptr;
        if (!w) return Acad::eInvalidInput;
        CArc3d segment(v, w->pt);
        // The signed plan distance from the start of the point's projection on the line or circle.
        CPoint3d foot;
        double along = 0, offset = 0;
        segment.ptprox(local, foot, &along, &offset, 0, 0x10);
        const double tolerance = objectId().isNull() ? 1e-8 : 1e-4;
        if (std::fabs(offset) > tolerance) return Acad::eInvalidInput;
        const double a = segment.len(0);
        P_Vertex* moving = extendStart ? v : w;
        if (CPoint3d(moving->pt) == local) return Acad::eInvalidInput;

        if (adjusting) {
            const Adjust step = extendStart ? adjustStart(along, a) : adjustEnd(along, a);
            if (step == Adjust::Refuse) return Acad::eInvalidInput;
            if (step == Adjust::Cache) {
                const double answer = extendStart ? -(along / a) : (a - along) / a + 1;
                cache.add(this, AcGePoint3d(foot.x, foot.y, answer));
                return Acad::eOk;
            }
        }

        POLYModif(true);
        moving->pt = local;
        if (double(v->bulge) != 0) {
            // The arc keeps its circle and grows to its new length.
            const double grown = extendStart ? std::fabs(along) + a : std::fabs(along);
            v->bulge = std::tan(segment.acentre() * 0.25 * grown / (a + 1e-10));
        }
        cache.entity = this;
        return Acad::eOk;
    });
}
