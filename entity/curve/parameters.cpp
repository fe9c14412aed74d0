// Curve parameters, points and distances along the polyline, as the host's curve protocol asks for them.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "entity/curve/curve_segment.h"
#include "entity/curve/extend_cache.h"
#include "geometry/points/angle_units.h"

#include <cmath>

namespace {
// How far a distance may lie outside the curve and still be read as its end.
constexpr double kDistanceTolerance = 1e-4;

bool isFinite(const AcGePoint3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
} // namespace

double CPolyArc3D::endParam() const {
    return (m_f70 & 1) ? m_nVertex : m_nVertex - 1;
}

double CPolyArc3D::measuredLength(const P_Vertex* v) const {
    return poly_segments::length(v, N(const_cast<P_Vertex*>(v)), !measuresInPlan());
}

AcGeVector3d CPolyArc3D::worldVector(CPoint3d v) const {
    if (m_pNormal) m_pNormal->ApplyRotInv(&v);
    return AcGeVector3d(v.x, v.y, v.z);
}

P_Vertex* CPolyArc3D::segmentAtParam(double p, double& fraction) const {
    // Before the start parameter as after the end one there is no point of the curve to answer with eOk.
    if (!std::isfinite(p) || p < 0 || p > endParam() || !hasSoundVertices()) return nullptr;
    // An integer k >= 1 ends segment k - 1.
    const double index = p > 1 ? std::ceil(p) - 1 : 0;
    P_Vertex* v = GetIndex(static_cast<std::int64_t>(index));
    if (!v || !N(v)) return nullptr;
    fraction = p - index;
    return v;
}

P_Vertex* CPolyArc3D::segmentAtDist(double d, double& along) const {
    if (!std::isfinite(d) || d < -kDistanceTolerance || !hasSoundVertices()) return nullptr;
    double walked = 0;
    P_Vertex* last = nullptr;
    for (P_Vertex* v = m_pHead; v; v = v->pVN) {
        if (!N(v)) break;
        last = v;
        const double length = measuredLength(v);
        if (d <= walked + length) {
            along = std::max(0.0, d - walked);
            return v;
        }
        walked += length;
    }
    if (!last || d > walked + kDistanceTolerance) return nullptr;
    along = measuredLength(last);
    return last;
}

P_Vertex* CPolyArc3D::segmentAtPoint(const AcGePoint3d& point, double& fraction) const {
    if (!isFinite(point)) return nullptr;
    CPoint3d local(m_pNormal, point);
    double along = 0;
    P_Vertex* v =
        ptAtPoint(nullptr, &local, _ecpt, measuresInPlan() ? 0 : 1, nullptr, &along, nullptr, nullptr);
    if (!v || !N(v)) return nullptr;
    const double length = measuredLength(v);
    fraction = length > 0 ? std::clamp(along / length, 0.0, 1.0) : 0.0;
    return v;
}

Acad::ErrorStatus CPolyArc3D::getStartParam(double& param) const {
    assertReadEnabled();
    param = 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getEndParam(double& param) const {
    assertReadEnabled();
    param = endParam();
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getStartPoint(AcGePoint3d& point) const {
    assertReadEnabled();
    if (!m_pHead) return Acad::eNotImplementedYet;
    point = WorldPoint(m_pHead);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getEndPoint(AcGePoint3d& point) const {
    assertReadEnabled();
    if (!m_pTail) return Acad::eNotImplementedYet;
    point = WorldPoint(m_pTail);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getPointAtParam(double param, AcGePoint3d& point) const {
    assertReadEnabled();
    double fraction = 0;
    const P_Vertex* v = segmentAtParam(param, fraction);
    if (!v) return Acad::eInvalidInput;
    const CPoint3d local = poly_curve::pointAtFraction(CArc3d(v, N(const_cast<P_Vertex*>(v))->pt), fraction);
    point = WorldPoint(&local);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getDistAtParam(double param, double& dist) const {
    assertReadEnabled();
    double fraction = 0;
    const P_Vertex* target = segmentAtParam(param, fraction);
    if (!target) return Acad::eInvalidInput;
    // The start parameter is on the curve: its distance 0 is a sound answer, not a failure.
    dist = getLenAtVertex(const_cast<P_Vertex*>(target), !measuresInPlan(), nullptr) +
           fraction * measuredLength(target);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getParamAtDist(double dist, double& param) const {
    assertReadEnabled();
    double along = 0;
    P_Vertex* v = segmentAtDist(dist, along);
    if (!v) return Acad::eInvalidInput;
    const double length = measuredLength(v);
    param = (*this)[v] + (length > 0 ? std::min(along / length, 1.0) : 0.0);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getPointAtDist(double dist, AcGePoint3d& point) const {
    assertReadEnabled();
    double along = 0;
    const P_Vertex* v = segmentAtDist(dist, along);
    if (!v) return Acad::eInvalidInput;
    const double length = measuredLength(v);
    const CPoint3d local = poly_curve::pointAtFraction(CArc3d(v, N(const_cast<P_Vertex*>(v))->pt),
                                                       length > 0 ? std::min(along / length, 1.0) : 0.0);
    point = WorldPoint(&local);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getDistAtPoint(const AcGePoint3d& point, double& dist) const {
    assertReadEnabled();
    if (!isFinite(point)) return Acad::eInvalidInput;
    CPoint3d local(m_pNormal, point);
    double cumul = 0;
    if (!ptAtPoint(nullptr, &local, kDistanceTolerance, measuresInPlan() ? 0 : 1, nullptr, nullptr, nullptr,
                   &cumul))
        return Acad::eInvalidInput;
    dist = cumul;
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    assertReadEnabled();
    return entity_boundary::guarded(
        "\nProbleme avec CPolyArc3D::getParamAtPoint()", Acad::eInvalidInput, [&] {
            if (!isFinite(point)) return Acad::eInvalidInput;
            CPoint3d local(m_pNormal, point);
            const bool cacheWasEmpty = g_ExtendCache.entity == nullptr;
            if (!cacheWasEmpty && !objectId().isNull()) g_ExtendCache.reset();
            const bool in3d = cacheWasEmpty && !measuresInPlan();

            double along = 0, offset = 0;
            P_Vertex* v = ptAtPoint(nullptr, &local, kDistanceTolerance, in3d ? 1 : 0, nullptr, &along,
                                    &offset, nullptr);
            if (!v) return Acad::eInvalidInput;
            double fraction = 0;
            if (const P_Vertex* w = N(v)) {
                if (std::fabs(offset) > _ecpt) return Acad::eInvalidInput;
                fraction = along / (poly_segments::length(v, w, in3d) + 1e-20);
                if (fraction >= 1) {
                    if ((local - w->pt).dist3d() > _ecpt) return Acad::eInvalidInput;
                    fraction = 1;
                } else if (fraction <= 0) {
                    if ((local - v->pt).dist3d() > _ecpt) return Acad::eInvalidInput;
                    fraction = 0;
                }
            }

            double scale = 1;
            if (g_ExtendCache.entity == this && (m_PolyArc3dCmdeFlag & 2)) {
                // EXTEND asks again for the points it was given: the parameters cached for them.
                if (g_ExtendCache.bits & ExtendCache::kMiddleInserted) scale = 0.5;
                bool cached = false;
                for (const AcGePoint3d& p : g_ExtendCache.points)
                    if (p.x == local.x && p.y == local.y) {
                        fraction = p.z;
                        cached = true;
                        break;
                    }
                if (!cached && fraction == 0 && !g_ExtendCache.startMoved) fraction = 0.00001;
                if (!cached && fraction == 1 && !g_ExtendCache.endMoved) fraction = 0.99999;
            }
            param = ((*this)[v] + fraction) * scale;
            return Acad::eOk;
        });
}
