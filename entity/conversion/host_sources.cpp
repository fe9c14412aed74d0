#include "entity/conversion/host_sources.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "entity/conversion/curve_to_arc3d.h"
#include "entity/core/poly_arc3d.h"
#include "host/db/db_object.h"
#include "host/entities/circle_arc.h"
#include "host/entities/ellipse.h"
#include "host/entities/hatch.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/plane_polyline.h"
#include "host/entities/point_ray_face.h"
#include "host/entities/polylines.h"
#include "host/entities/spline.h"

namespace host_sources {

P_Vertex* appendWorld(CPolyArc3D& poly, const AcGePoint3d& world, double bulge) {
    P_Vertex* v = poly.A();
    v->pt = CPoint3d(poly.normalMatrix(), world);
    v->bulge = bulge;
    return v;
}

void closeWhen(CPolyArc3D& poly, bool closed) {
    if (closed) poly.f70(static_cast<short>(poly.f70() | 1));
    poly.MajClosed();
}

namespace {

// Bulges this small are noise from the source's arithmetic: the segment is straight.
constexpr double kSmallestBulge = 1e-6;
// Flag word of the vertices that cut an arc or circle into pieces.
constexpr short kArcSplitFlag = 8;

void readLightweight(CPolyArc3D& poly, const AcDbPolyline& source) {
    poly.f39(source.thickness());
    // One plane-to-world matrix for all the vertices: building it per vertex was most of the conversion.
    const AcGeMatrix3d toWorld = host::planeToWorld(source.normal(), source.elevation());
    double lastZ = 0;
    for (unsigned int i = 0; i < source.numVerts(); ++i) {
        AcGePoint2d planar;
        double bulge = 0, startWidth = 0, endWidth = 0;
        if (source.getPointAt(i, planar) != Acad::eOk) continue;
        AcGePoint3d p = AcGePoint3d(planar.x, planar.y, 0).transformBy(toWorld);
        source.getBulgeAt(i, bulge);
        source.getWidthsAt(i, startWidth, endWidth);
        if (p.z == 0) p.z = lastZ;
        lastZ = p.z;
        P_Vertex* v = appendWorld(poly, p, std::fabs(bulge) < kSmallestBulge ? 0 : bulge);
        v->f40(startWidth);
    }
    closeWhen(poly, source.isClosed());
    poly.setSNormal(source.normal(), 1);
}

// Each vertex object of a 2-D or 3-D polyline: held ones directly, those of a database opened for read.
template <class Vertex, class Source, class Visit> void forEachVertex(const Source& source, Visit&& visit) {
    AcDbObjectIterator* it = source.vertexIterator();
    for (it->start(); !it->done(); it->step()) {
        if (const Vertex* held = Vertex::cast(it->entity())) {
            visit(*held);
            continue;
        }
        Vertex* opened = nullptr;
        if (it->objectId().isNull() || acdbOpenObject(opened, it->objectId(), AcDb::kForRead) != Acad::eOk)
            continue;
        visit(*opened);
        opened->close();
    }
    delete it;
}

void read2d(CPolyArc3D& poly, const AcDb2dPolyline& source) {
    poly.f39(source.thickness());
    forEachVertex<AcDb2dVertex>(source, [&](const AcDb2dVertex& vertex) {
        // Spline frame vertices are not on the curve.
        if (vertex.vertexType() == AcDb::k2dSplineCtlVertex) return;
        P_Vertex* v = appendWorld(poly, source.vertexPosition(vertex), vertex.bulge());
        v->f40(vertex.startWidth());
        v->flags = static_cast<short>(vertex.vertexType() & 1);
    });
    closeWhen(poly, source.isClosed());
    poly.setSNormal(source.normal(), 1);
}

void read3d(CPolyArc3D& poly, const AcDb3dPolyline& source) {
    bool fitted = false;
    forEachVertex<AcDb3dPolylineVertex>(source, [&](const AcDb3dPolylineVertex& vertex) {
        P_Vertex* v = appendWorld(poly, vertex.position());
        if (vertex.vertexType() == AcDb::k3dControlVertex || vertex.vertexType() == AcDb::k3dFitVertex) {
            v->flags = 1;
            fitted = true;
        }
    });
    closeWhen(poly, source.isClosed());
    if (fitted) poly.lisse(nullptr, nullptr, -1000.0, -1000.0);
}

// A single segment from curveToArc3d; an arc is cut into two pieces (three from 3/4 of a turn on) by
// vertices flagged as inserted, so that no piece comes near a full circle. The inserted vertices are placed
// round the segment's centre: the ends of a full circle lie across its bottom, so a walk along the chord's
// own arc would leave the circle.
void readCircular(CPolyArc3D& poly, const host::CircularCurve& source) {
    if (source.normal().z < -0.99999)
        poly.setSNormal(static_cast<const Mat3D*>(nullptr), 1);
    else
        poly.setSNormal(source.normal(), 1);
    Mat3D system;
    if (poly.normalMatrix()) system = *poly.normalMatrix();
    CArc3d arc;
    if (curveToArc3d(arc, poly.normalMatrix() ? &system : nullptr, &source) < 0) return;
    P_Vertex* first = poly.A();
    first->pt = arc.start;
    if (arc.bulge != 0) {
        const double angle = arc.acentre();
        const int pieces = std::fabs(angle) < 3 * std::numbers::pi / 2 ? 2 : 3;
        first->bulge = std::tan(angle / pieces / 4);
        const double startAngle = std::atan2(arc.start.y - arc.centre.y, arc.start.x - arc.centre.x);
        for (int k = 1; k < pieces; ++k) {
            const double at = startAngle + angle * k / pieces;
            P_Vertex* inserted = poly.A(poly.T());
            inserted->pt = CPoint3d(arc.centre.x + arc.radius * std::cos(at),
                                    arc.centre.y + arc.radius * std::sin(at), arc.start.z);
            inserted->flags = kArcSplitFlag;
            inserted->tag = 0;
        }
    }
    poly.A()->pt = arc.end;
}

void readFace(CPolyArc3D& poly, const AcDbFace& source) {
    // A triangle repeats its third corner; the first corner counts even at the origin.
    for (Adesk::UInt16 i = 0; i < 4; ++i) {
        AcGePoint3d corner;
        if (source.getVertexAt(i, corner) != Acad::eOk) continue;
        if (!poly.T() || (CPoint3d(corner) - poly.WorldPoint(poly.T())).dist3d() > 1e-4)
            appendWorld(poly, corner);
    }
    closeWhen(poly, true);
}

// Points at equal parameter steps (twice as many on a flat ellipse), every second one generated, then
// smoothed: arcs through them follow the ellipse. A point that nearly repeats the last one ends the
// curve straight.
void readEllipse(CPolyArc3D& poly, const AcDbEllipse& source) {
    poly.setSNormal(static_cast<const Mat3D*>(nullptr), 1);
    double s = 0, e = 0;
    if (source.getStartParam(s) != Acad::eOk || source.getEndParam(e) != Acad::eOk || !(s <= e + 1e-4))
        return;
    const double perQuarter = source.radiusRatio() < 0.7 ? 2 : 1;
    const double step = (e - s) / (std::floor(std::fabs(s - e) / (std::numbers::pi / 4) * perQuarter) + 1);
    if (!(step > 0)) return;
    int count = 0;
    for (double u = s; u <= e + 1e-4; u += step) {
        AcGePoint3d p;
        if (source.getPointAtParam(std::min(u, e), p) != Acad::eOk) continue;
        P_Vertex* last = poly.T();
        P_Vertex* v = appendWorld(poly, p, step / 4);
        v->flags = static_cast<short>(++count % 2 == 0);
        if (last && (CPoint3d(p) - poly.WorldPoint(last)).dist3d() * std::fabs(step / 4) <= 0.002) {
            last->bulge = 0;
            last->flags = 0;
            v->bulge = 0;
            v->flags = 0;
        }
    }
    closeWhen(poly, source.isClosed());
    poly.setSNormal(source.normal(), 1);
    poly.lisse(nullptr, nullptr, -1000.0, -1000.0);
}

} // namespace

Kind classify(const AcDbEntity* source) {
    if (!source) return Kind::None;
    if (AcDbPolyline::cast(source)) return Kind::LightweightPolyline;
    if (AcDb2dPolyline::cast(source)) return Kind::Polyline2d;
    if (AcDb3dPolyline::cast(source)) return Kind::Polyline3d;
    if (AcDbLine::cast(source)) return Kind::Line;
    if (AcDbArc::cast(source)) return Kind::Arc;
    if (AcDbSpline::cast(source)) return Kind::Spline;
    if (AcDbFace::cast(source)) return Kind::Face3d;
    if (AcDbEllipse::cast(source)) return Kind::Ellipse;
    if (AcDbHatch::cast(source)) return Kind::Hatch;
    if (AcDbCircle::cast(source)) return Kind::Circle;
    if (CPolyArc3D::cast(source)) return Kind::OwnPolyline;
    if (isFeatureLine(*source)) return Kind::FeatureLine;
    return Kind::None;
}

void readVertices(CPolyArc3D& poly, const AcDbEntity& source, Kind kind) {
    switch (kind) {
    case Kind::LightweightPolyline:
        return readLightweight(poly, *AcDbPolyline::cast(&source));
    case Kind::Polyline2d:
        return read2d(poly, *AcDb2dPolyline::cast(&source));
    case Kind::Polyline3d:
        return read3d(poly, *AcDb3dPolyline::cast(&source));
    case Kind::Line: {
        const AcDbLine& line = *AcDbLine::cast(&source);
        appendWorld(poly, line.startPoint());
        appendWorld(poly, line.endPoint());
        return;
    }
    case Kind::Arc:
        return readCircular(poly, *AcDbArc::cast(&source));
    case Kind::Circle:
        return readCircular(poly, *AcDbCircle::cast(&source));
    case Kind::Face3d:
        return readFace(poly, *AcDbFace::cast(&source));
    case Kind::Ellipse:
        return readEllipse(poly, *AcDbEllipse::cast(&source));
    case Kind::Spline:
        return readSpline(poly, *AcDbSpline::cast(&source));
    case Kind::Hatch:
        return readHatch(poly, *AcDbHatch::cast(&source));
    case Kind::FeatureLine:
        return readFeatureLine(poly, source);
    case Kind::OwnPolyline:
    case Kind::None:
        return;
    }
}

} // namespace host_sources
