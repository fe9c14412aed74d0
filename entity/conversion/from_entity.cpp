// CPolyArc3D::from: a polyline made from a host curve or another polyline of the system.
#include "entity/conversion/conversion_flags.h"
#include "entity/conversion/host_sources.h"
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "geometry/points/angle_units.h"

namespace {

using host_sources::Kind;

// Whether some vertex lies apart from the first: a curve, not a point.
bool hasTwoDistinctPoints(const CPolyArc3D& poly) {
    if (!poly.H()) return false;
    const CPoint3d first = poly.WorldPoint(poly.H());
    for (const P_Vertex* v = poly.H()->pVN; v; v = v->pVN)
        if ((poly.WorldPoint(v) - first).dist3d() > _ecpt) return true;
    return false;
}

// Kinds whose replacement appends the new polyline and erases the source; the others hand their place
// (id, handle, extended data) over to it.
bool replacedByAppending(Kind kind) {
    return kind == Kind::Polyline2d || kind == Kind::Polyline3d || kind == Kind::OwnPolyline;
}

} // namespace

void CPolyArc3D::appendVerticesOf(const CPolyArc3D& read) {
    if (!m_pHead) {
        // The first vertices bring their system along, so that bulges stay in their plane.
        setSNormal(read.normalMatrix(), 0);
        for (const P_Vertex* v = read.H(); v; v = v->pVN)
            A(v);
    } else {
        for (const P_Vertex* v = read.H(); v; v = v->pVN)
            A(v)->pt = CPoint3d(m_pNormal, read.WorldPoint(v));
    }
    if (read.f70() & 1) setClosed(true);
}

Acad::ErrorStatus CPolyArc3D::from(AcDbEntity* source, int flags) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::from()", Acad::eInvalidInput, [&] {
        const Kind kind = host_sources::classify(source);
        if (kind == Kind::None || source == this) return Acad::eInvalidInput;
        if (kind == Kind::OwnPolyline) {
            const CPolyArc3D* own = CPolyArc3D::cast(source);
            if (!own->hasSoundVertices() || !hasTwoDistinctPoints(*own)) return Acad::eInvalidInput;
            copyVertexFrom(own);
        } else {
            // Read aside first: a source that gives no curve leaves this polyline as it was.
            CPolyArc3D read;
            host_sources::readVertices(read, *source, kind);
            if (!read.hasSoundVertices() || !hasTwoDistinctPoints(read)) return Acad::eInvalidInput;
            if (kind == Kind::LightweightPolyline || kind == Kind::Polyline2d) f39(read.f39());
            appendVerticesOf(read);
        }
        setPropertiesFrom(source);
        const bool replace = (flags & conversion::kReplaceSource) && source->database();
        const bool handOver = replace && !replacedByAppending(kind);
        if (!(flags & conversion::kWithoutXData) && !handOver) conversion::copyXData(*source, *this);
        if (handOver) {
            const Acad::ErrorStatus es = source->handOverTo(this, !(flags & conversion::kWithoutXData));
            if (es == Acad::eObjectToBeDeleted)
                delete source;
            else if (es != Acad::eOk)
                conversion::replaceByAppending(*source, *this);
        } else if (replace) {
            conversion::replaceByAppending(*source, *this);
        } else if ((flags & conversion::kAppendToCurrentSpace) && objectId().isNull()) {
            conversion::appendToCurrentSpace(*this);
        }
        return Acad::eOk;
    });
}
