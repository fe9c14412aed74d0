// Parameters, transforms, extents and boundaries of the host's entities.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <numbers>

#include "host/db/symbol_tables.h"
#include "host/entities/block_reference.h"
#include "host/entities/circle_arc.h"
#include "host/entities/ellipse.h"
#include "host/entities/hatch.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/meshes.h"
#include "host/entities/point_ray_face.h"
#include "host/entities/polylines.h"
#include "host/entities/spline.h"
#include "host/entities/text.h"
#include "host/graphics/graphics_recorder.h"
#include "tests/host/host_test_support.h"

namespace {
constexpr double kPi = std::numbers::pi;
const AcGeMatrix3d kMirrorY = AcGeMatrix3d::mirroring(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis);

AcDbObjectId appendToModel(AcDbDatabase& db, AcDbEntity* entity) {
    AcDbBlockTableRecord* model = nullptr;
    acdbOpenObject(model, db.modelSpaceId(), AcDb::kForWrite);
    AcDbObjectId id;
    model->appendAcDbEntity(id, entity);
    entity->close();
    model->close();
    return id;
}
// Appends three vertices and checks the parameters of the polyline open and closed.
template <typename Polyline, typename Vertex> void checkVerticesAndClosing() {
    Polyline poly;
    double end = -1;
    poly.getEndParam(end);
    EXPECT_EQ(end, 0) << "no segment yet";
    AcDbObjectId id;
    EXPECT_EQ(poly.appendVertex(id, nullptr), Acad::eNullEntityPointer);
    for (double x : {0.0, 3.0, 3.0}) {
        ASSERT_EQ(poly.appendVertex(id, new Vertex(AcGePoint3d(x, x == 0 ? 0 : 4, 0))), Acad::eOk);
        EXPECT_TRUE(id.isNull()) << "outside a database the polyline holds the vertex itself";
    }
    poly.getEndParam(end);
    EXPECT_EQ(end, 2);
    ASSERT_EQ(poly.makeClosed(), Acad::eOk);
    EXPECT_TRUE(poly.isClosed());
    poly.getEndParam(end);
    EXPECT_EQ(end, 3) << "closed: one segment more";
    AcGePoint3d back;
    ASSERT_EQ(poly.getPointAtParam(3, back), Acad::eOk);
    EXPECT_TRUE(back.isEqualTo(AcGePoint3d(0, 0, 0)));
    ASSERT_EQ(poly.makeOpen(), Acad::eOk);
    EXPECT_FALSE(poly.isClosed());
    EXPECT_EQ(poly.getPointAtParam(2.5, back), Acad::eInvalidInput);
    AcDbObjectIterator* it = poly.vertexIterator();
    int count = 0;
    for (; !it->done(); it->step())
        count += Vertex::cast(it->entity()) != nullptr;
    delete it;
    EXPECT_EQ(count, 3);
}
} // namespace

TEST(CurveParameters, PolylinesOwningTheirVerticesAppendAndClose) {
    checkVerticesAndClosing<AcDb2dPolyline, AcDb2dVertex>();
    checkVerticesAndClosing<AcDb3dPolyline, AcDb3dPolylineVertex>();
}

TEST(CurveParameters, LinesArcsAndPolylines) {
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0));
    double end = 0, param = 0;
    line.getEndParam(end);
    EXPECT_DOUBLE_EQ(end, 5);
    EXPECT_EQ(line.getParamAtPoint(AcGePoint3d(1.5, 2, 0), param), Acad::eOk);
    EXPECT_DOUBLE_EQ(param, 2.5);
    EXPECT_EQ(line.getParamAtPoint(AcGePoint3d(1.5, 2.1, 0), param), Acad::eInvalidInput);

    AcDbArc arc(AcGePoint3d(0, 0, 0), 2, 3 * kPi / 2, kPi / 2); // crosses angle 0
    double start = 0;
    arc.getStartParam(start);
    arc.getEndParam(end);
    EXPECT_DOUBLE_EQ(end - start, kPi);
    AcGePoint3d middle;
    ASSERT_EQ(arc.getPointAtParam(start + kPi / 2, middle), Acad::eOk);
    EXPECT_TRUE(middle.isEqualTo(AcGePoint3d(2, 0, 0), AcGeTol()));
    EXPECT_EQ(arc.getParamAtPoint(AcGePoint3d(-2, 0, 0), param), Acad::eInvalidInput)
        << "on the circle, off the arc";

    AcDbPolyline lw;
    lw.addVertexAt(0, AcGePoint2d(0, 0), 1);
    lw.addVertexAt(1, AcGePoint2d(2, 0));
    lw.addVertexAt(2, AcGePoint2d(2, 3));
    double dist = 0;
    ASSERT_EQ(lw.getDistAtParam(2, dist), Acad::eOk);
    EXPECT_NEAR(dist, kPi + 3, 1e-12) << "a half circle of diameter 2, then 3";
    AcGePoint3d top;
    lw.getPointAtParam(0.5, top);
    EXPECT_TRUE(top.isEqualTo(AcGePoint3d(1, -1, 0), AcGeTol())) << "positive bulge: counter-clockwise";
    ASSERT_EQ(lw.getParamAtPoint(AcGePoint3d(2, 1.5, 0), param), Acad::eOk);
    EXPECT_NEAR(param, 1.5, 1e-9);
}

namespace {
// Two arcs, a tapered straight and the closing segment, in a tilted plane above the origin.
std::unique_ptr<AcDbPolyline> tiltedPolyline() {
    auto owned = std::make_unique<AcDbPolyline>();
    AcDbPolyline& lw = *owned;
    lw.addVertexAt(0, AcGePoint2d(0, 0), 0.4);
    lw.addVertexAt(1, AcGePoint2d(4, 0), -1);
    lw.addVertexAt(2, AcGePoint2d(6, 2), 0, 1, 3);
    lw.addVertexAt(3, AcGePoint2d(6, 6));
    lw.setClosed(true);
    lw.setNormal(AcGeVector3d(0.3, -0.4, 1));
    lw.setElevation(2.5);
    return owned;
}

template <typename T> AcArray<T> arrayOf(std::initializer_list<T> values) {
    AcArray<T> array;
    for (const T& v : values)
        array.append(v);
    return array;
}
} // namespace

TEST(CurveParameters, LightweightDistancesGiveBackTheirParameters) {
    const std::unique_ptr<AcDbPolyline> owned = tiltedPolyline();
    AcDbPolyline& lw = *owned;
    double length = 0, param = 0;
    ASSERT_EQ(lw.getDistAtParam(4, length), Acad::eOk);
    for (double p = 0; p <= 4; p += 0.125) {
        double dist = 0;
        ASSERT_EQ(lw.getDistAtParam(p, dist), Acad::eOk);
        ASSERT_EQ(lw.getParamAtDist(dist, param), Acad::eOk) << p;
        EXPECT_NEAR(param, p, 1e-9);
        AcGePoint3d atDist, atParam;
        ASSERT_EQ(lw.getPointAtDist(dist, atDist), Acad::eOk);
        lw.getPointAtParam(p, atParam);
        EXPECT_TRUE(atDist.isEqualTo(atParam, AcGeTol())) << p;
    }
    EXPECT_EQ(lw.getParamAtDist(length + 5e-5, param), Acad::eOk);
    EXPECT_EQ(param, 4) << "the length within its tolerance is the end";
    for (double outside : {length + 1e-3, -1e-3, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity()})
        EXPECT_EQ(lw.getParamAtDist(outside, param), Acad::eInvalidInput) << outside;
    AcGePoint3d p;
    EXPECT_EQ(lw.getPointAtDist(length + 1, p), Acad::eInvalidInput);
    EXPECT_EQ(AcDbPolyline().getParamAtDist(0, param), Acad::eInvalidInput);
}

TEST(CurveParameters, LightweightDerivativesFollowThePoints) {
    const std::unique_ptr<AcDbPolyline> owned = tiltedPolyline();
    const AcDbPolyline& lw = *owned;
    const double h = 1e-4;
    for (double t : {0.3, 0.5, 1.25, 1.9, 2.5, 3.7}) {
        AcGePoint3d before, at, after;
        lw.getPointAtParam(t - h, before);
        lw.getPointAtParam(t, at);
        lw.getPointAtParam(t + h, after);
        AcGeVector3d first, second, firstAtPoint;
        ASSERT_EQ(lw.getFirstDeriv(t, first), Acad::eOk);
        ASSERT_EQ(lw.getSecondDeriv(t, second), Acad::eOk);
        EXPECT_NEAR((first - (after - before) / (2 * h)).length(), 0, 1e-6) << t;
        EXPECT_NEAR((second - ((after - at) - (at - before)) / (h * h)).length(), 0, 1e-4) << t;
        ASSERT_EQ(lw.getFirstDeriv(at, firstAtPoint), Acad::eOk);
        EXPECT_NEAR((firstAtPoint - first).length(), 0, 1e-9) << t;
    }
    AcGeVector3d v;
    EXPECT_EQ(lw.getFirstDeriv(4.5, v), Acad::eInvalidInput);
    EXPECT_EQ(lw.getSecondDeriv(std::numeric_limits<double>::quiet_NaN(), v), Acad::eInvalidInput);
    EXPECT_EQ(lw.getFirstDeriv(AcGePoint3d(100, 100, 100), v), Acad::eInvalidInput);
}

TEST(CurveParameters, LightweightNearestPointsAreExactOnArcs) {
    AcDbPolyline lw; // a half circle below (0, 0)-(10, 0), then up to (10, 10)
    lw.addVertexAt(0, AcGePoint2d(0, 0), 1);
    lw.addVertexAt(1, AcGePoint2d(10, 0));
    lw.addVertexAt(2, AcGePoint2d(10, 10));
    const std::pair<AcGePoint3d, AcGePoint3d> cases[] = {
        {{5, -9, 0}, {5, -5, 0}},
        {{5, -9, 7}, {5, -5, 0}}, // off the plane: its foot
        {{1, -2, 0}, {5 - std::sqrt(20.0), -std::sqrt(5.0), 0}},
        {{5, 3, 0}, {10, 3, 0}}, // above the chord, off the arc's sweep
        {{12, 5, 0}, {10, 5, 0}},
        {{-3, 1, 0}, {0, 0, 0}}};
    for (const auto& [given, expected] : cases) {
        AcGePoint3d nearest;
        ASSERT_EQ(lw.getClosestPointTo(given, nearest), Acad::eOk);
        EXPECT_NEAR(nearest.distanceTo(expected), 0, 1e-12) << given.x << "," << given.y << "," << given.z;
    }
    AcGePoint3d nearest;
    EXPECT_EQ(lw.getClosestPointTo({std::numeric_limits<double>::quiet_NaN(), 0, 0}, nearest),
              Acad::eInvalidInput);
    EXPECT_EQ(AcDbPolyline().getClosestPointTo({0, 0, 0}, nearest), Acad::eInvalidInput);
}

TEST(CurveParameters, LightweightSplitPiecesFollowTheCurveAndJoin) {
    const std::unique_ptr<AcDbPolyline> owned = tiltedPolyline();
    AcDbPolyline& lw = *owned;
    AcDbVoidPtrArray pieces;
    ASSERT_EQ(lw.getSplitCurves(arrayOf<double>({2.5, 0, 0.3, 2.5, 4, 10}), pieces), Acad::eOk);
    ASSERT_EQ(pieces.length(), 3) << "cuts at 0.3 and 2.5 only";
    double whole = 0, sum = 0;
    lw.getDistAtParam(4, whole);
    AcGePoint3d previousEnd;
    lw.getStartPoint(previousEnd);
    for (void* p : pieces) {
        std::unique_ptr<AcDbPolyline> piece(static_cast<AcDbPolyline*>(p));
        EXPECT_FALSE(piece->isClosed());
        EXPECT_TRUE(piece->normal().isEqualTo(lw.normal()));
        AcGePoint3d start;
        double last = 0, length = 0;
        piece->getStartPoint(start);
        EXPECT_TRUE(start.isEqualTo(previousEnd, AcGeTol())) << "the pieces join";
        piece->getEndParam(last);
        piece->getEndPoint(previousEnd);
        piece->getDistAtParam(last, length);
        sum += length;
        // Every point of the piece lies on the source, arcs included.
        for (double t = 0; t <= last; t += 0.1) {
            AcGePoint3d q;
            double onSource = 0;
            piece->getPointAtParam(t, q);
            EXPECT_EQ(lw.getParamAtPoint(q, onSource), Acad::eOk) << t;
        }
    }
    AcGePoint3d sourceEnd;
    lw.getEndPoint(sourceEnd);
    EXPECT_TRUE(previousEnd.isEqualTo(sourceEnd, AcGeTol()));
    EXPECT_NEAR(sum, whole, 1e-9);

    // The tapered segment cut at its middle: the widths meet at 2.
    AcDbVoidPtrArray halves;
    ASSERT_EQ(lw.getSplitCurves(arrayOf<double>({2.5}), halves), Acad::eOk);
    ASSERT_EQ(halves.length(), 2);
    std::unique_ptr<AcDbPolyline> head(static_cast<AcDbPolyline*>(halves[0]));
    std::unique_ptr<AcDbPolyline> tail(static_cast<AcDbPolyline*>(halves[1]));
    double startWidth = 0, endWidth = 0;
    head->getWidthsAt(2, startWidth, endWidth);
    EXPECT_DOUBLE_EQ(startWidth, 1);
    EXPECT_DOUBLE_EQ(endWidth, 2);
    tail->getWidthsAt(0, startWidth, endWidth);
    EXPECT_DOUBLE_EQ(startWidth, 2);
    EXPECT_DOUBLE_EQ(endWidth, 3);
}

TEST(CurveParameters, LightweightSplitRefusesWhatCutsNothing) {
    const std::unique_ptr<AcDbPolyline> owned = tiltedPolyline();
    AcDbPolyline& lw = *owned;
    AcDbVoidPtrArray pieces;
    EXPECT_EQ(lw.getSplitCurves(arrayOf<double>({}), pieces), Acad::eInvalidInput);
    EXPECT_EQ(lw.getSplitCurves(arrayOf<double>({0, 4, std::numeric_limits<double>::quiet_NaN()}), pieces),
              Acad::eInvalidInput);
    AcGePoint3d onCurve, offCurve(100, 100, 100);
    lw.getPointAtParam(1.5, onCurve);
    EXPECT_EQ(lw.getSplitCurves(arrayOf<AcGePoint3d>({offCurve}), pieces), Acad::eInvalidInput);
    EXPECT_TRUE(pieces.isEmpty());
    ASSERT_EQ(lw.getSplitCurves(arrayOf<AcGePoint3d>({offCurve, onCurve}), pieces), Acad::eOk);
    EXPECT_EQ(pieces.length(), 2);
    for (void* p : pieces)
        delete static_cast<AcDbPolyline*>(p);
}

TEST(Transforms, MirrorsReverseArcsAndBulges) {
    AcDbArc arc(AcGePoint3d(1, 0, 0), 1, 0, kPi / 2);
    ASSERT_EQ(arc.transformBy(kMirrorY), Acad::eOk);
    AcGePoint3d start, end;
    arc.getStartPoint(start);
    arc.getEndPoint(end);
    EXPECT_TRUE(start.isEqualTo(AcGePoint3d(-1, 1, 0), AcGeTol())) << "the old end, mirrored, starts the arc";
    EXPECT_TRUE(end.isEqualTo(AcGePoint3d(-2, 0, 0), AcGeTol()));
    EXPECT_NEAR(arc.normal().z, 1, 1e-12);

    AcDbPolyline lw;
    lw.addVertexAt(0, AcGePoint2d(0, 0), 0.5);
    lw.addVertexAt(1, AcGePoint2d(4, 0));
    lw.transformBy(kMirrorY);
    double bulge = 0;
    lw.getBulgeAt(0, bulge);
    EXPECT_DOUBLE_EQ(bulge, -0.5);
    AcGePoint3d p;
    lw.getPointAt(1, p);
    EXPECT_TRUE(p.isEqualTo(AcGePoint3d(-4, 0, 0), AcGeTol()));
    lw.transformBy(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis));
    lw.getBulgeAt(0, bulge);
    EXPECT_DOUBLE_EQ(bulge, -0.5) << "a rotation keeps bulges";

    AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1);
    AcGeMatrix3d stretch;
    stretch(0, 0) = 2;
    EXPECT_EQ(circle.transformBy(stretch), Acad::eInvalidInput) << "a circle does not stretch";
    EXPECT_EQ(circle.radius(), 1);
}

TEST(Transforms, EllipsesTextsAndPolylinesFollow) {
    AcDbEllipse ellipse(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(2, 0, 0), 0.5);
    AcGeMatrix3d squash;
    squash(0, 0) = 0.25;
    ASSERT_EQ(ellipse.transformBy(squash), Acad::eOk);
    EXPECT_TRUE(ellipse.majorAxis().isEqualTo(AcGeVector3d(0, 1, 0))) << "the minor axis became the longer";
    EXPECT_DOUBLE_EQ(ellipse.radiusRatio(), 0.5);

    AcGePoint3dArray points;
    points.append(AcGePoint3d(0, 0, 5));
    points.append(AcGePoint3d(1, 1, 6));
    AcDb3dPolyline poly(AcDb::k3dSimplePoly, points);
    poly.transformBy(AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0)));
    AcGePoint3d last;
    poly.getEndPoint(last);
    EXPECT_EQ(last, AcGePoint3d(11, 1, 6));
}

// Mirrored, doubled and tilted onto the plane of -y: a point (x, y) at elevation e lands at (-2x, 2y) at
// elevation 2e of the new plane.
TEST(Transforms, NormalsOfLinesAndPointsTurnAndFallBackOnZ) {
    const AcGeMatrix3d quarterTurn = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kXAxis);
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    AcDbPoint point(AcGePoint3d(1, 2, 3));
    ASSERT_EQ(line.transformBy(quarterTurn * AcGeMatrix3d::scaling(3)), Acad::eOk);
    ASSERT_EQ(point.transformBy(quarterTurn * AcGeMatrix3d::scaling(3)), Acad::eOk);
    EXPECT_TRUE(line.normal().isEqualTo(AcGeVector3d(0, -1, 0))) << "turned, and still of unit length";
    EXPECT_TRUE(point.normal().isEqualTo(AcGeVector3d(0, -1, 0)));
    ASSERT_EQ(line.transformBy(AcGeMatrix3d::scaling(0)), Acad::eOk);
    ASSERT_EQ(point.transformBy(AcGeMatrix3d::scaling(0)), Acad::eOk);
    EXPECT_EQ(line.normal(), AcGeVector3d::kZAxis) << "a collapsed normal";
    EXPECT_EQ(point.normal(), AcGeVector3d::kZAxis);
}

TEST(Transforms, PlanarPolylinesAndHatchesMoveIntoTheTransformedPlane) {
    const AcGeMatrix3d xform =
        AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kXAxis) * AcGeMatrix3d::scaling(2) * kMirrorY;
    const AcGeVector3d tilted(0, -1, 0);

    AcGePoint3dArray plan;
    plan.append(AcGePoint3d(1, 2, 0));
    plan.append(AcGePoint3d(3, 2, 0));
    AcGeDoubleArray bulges;
    bulges.append(0.5);
    bulges.append(0);
    AcDb2dPolyline flat(AcDb::k2dSimplePoly, plan, 5, false, 0.1, 0.3, &bulges);
    ASSERT_EQ(flat.transformBy(xform), Acad::eOk);
    EXPECT_TRUE(flat.normal().isEqualTo(tilted));
    EXPECT_NEAR(flat.elevation(), 10, 1e-12);
    AcDbObjectIterator* it = flat.vertexIterator();
    auto* first = AcDb2dVertex::cast(it->entity());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->position().isEqualTo(AcGePoint3d(-2, 4, 0), AcGeTol()));
    EXPECT_DOUBLE_EQ(first->bulge(), -0.5) << "a mirror flips the bulges";
    EXPECT_DOUBLE_EQ(first->startWidth(), 0.2);
    EXPECT_DOUBLE_EQ(first->endWidth(), 0.6);
    delete it;

    AcDbPolyline lw;
    lw.setElevation(5);
    lw.setConstantWidth(0.5);
    lw.addVertexAt(0, AcGePoint2d(1, 2), 0.5, 0.1, 0.3);
    lw.addVertexAt(1, AcGePoint2d(3, 2));
    ASSERT_EQ(lw.transformBy(xform), Acad::eOk);
    EXPECT_TRUE(lw.normal().isEqualTo(tilted));
    EXPECT_NEAR(lw.elevation(), 10, 1e-12);
    AcGePoint2d local;
    lw.getPointAt(1, local);
    EXPECT_TRUE(local.isEqualTo(AcGePoint2d(-6, 4)));
    double bulge = 0, start = 0, end = 0, constant = 0;
    lw.getBulgeAt(0, bulge);
    lw.getWidthsAt(0, start, end);
    EXPECT_DOUBLE_EQ(bulge, -0.5);
    EXPECT_DOUBLE_EQ(start, 0.2);
    EXPECT_DOUBLE_EQ(end, 0.6);
    EXPECT_EQ(lw.getConstantWidth(constant), Acad::eNotApplicable);
    EXPECT_DOUBLE_EQ(constant, 1) << "the default width scales with the vertices";

    AcDbHatch hatch;
    hatch.setElevation(5);
    hatch.setPatternScale(1.5);
    AcGePoint2dArray corners;
    corners.append(AcGePoint2d(1, 2));
    corners.append(AcGePoint2d(3, 2));
    corners.append(AcGePoint2d(3, 4));
    AcGeDoubleArray hatchBulges;
    for (double b : {0.5, 0.0, 0.0})
        hatchBulges.append(b);
    ASSERT_EQ(hatch.appendLoop(AcDbHatch::kExternal | AcDbHatch::kPolyline, corners, hatchBulges), Acad::eOk);
    ASSERT_EQ(hatch.transformBy(xform), Acad::eOk);
    EXPECT_TRUE(hatch.normal().isEqualTo(tilted));
    EXPECT_NEAR(hatch.elevation(), 10, 1e-12);
    EXPECT_DOUBLE_EQ(hatch.patternScale(), 3);
    Adesk::Int32 type = 0;
    ASSERT_EQ(hatch.getLoopAt(0, type, corners, hatchBulges), Acad::eOk);
    EXPECT_TRUE(corners[2].isEqualTo(AcGePoint2d(-6, 8)));
    EXPECT_DOUBLE_EQ(hatchBulges[0], -0.5);

    AcDbPolyline empty;
    empty.setElevation(5);
    empty.transformBy(AcGeMatrix3d::translation(AcGeVector3d(0, 0, 1)));
    EXPECT_DOUBLE_EQ(empty.elevation(), 6) << "without vertices the plane still moves";

    EXPECT_EQ(lw.transformBy(AcGeMatrix3d::scaling(0)), Acad::eInvalidInput) << "the plane collapses";
    EXPECT_EQ(flat.transformBy(AcGeMatrix3d::scaling(0)), Acad::eInvalidInput);
    EXPECT_EQ(hatch.transformBy(AcGeMatrix3d::scaling(0)), Acad::eInvalidInput);
}

TEST(Setters, SizesAndScalesMustBePositive) {
    AcDbCircle circle;
    AcDbArc arc;
    AcDbText text;
    AcDbHatch hatch;
    AcDbLine line;
    struct Size {
        const char* name;
        std::function<Acad::ErrorStatus(double)> set;
        std::function<double()> get;
    };
    const Size sizes[] = {
        {"circle radius", [&](double v) { return circle.setRadius(v); }, [&] { return circle.radius(); }},
        {"arc radius", [&](double v) { return arc.setRadius(v); }, [&] { return arc.radius(); }},
        {"text height", [&](double v) { return text.setHeight(v); }, [&] { return text.height(); }},
        {"width factor", [&](double v) { return text.setWidthFactor(v); },
         [&] { return text.widthFactor(); }},
        {"pattern scale", [&](double v) { return hatch.setPatternScale(v); },
         [&] { return hatch.patternScale(); }},
        {"pattern space", [&](double v) { return hatch.setPatternSpace(v); },
         [&] { return hatch.patternSpace(); }},
        {"linetype scale", [&](double v) { return line.setLinetypeScale(v); },
         [&] { return line.linetypeScale(); }},
    };
    for (const Size& size : sizes) {
        ASSERT_EQ(size.set(2.5), Acad::eOk) << size.name;
        for (double refused : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()})
            EXPECT_EQ(size.set(refused), Acad::eInvalidInput) << size.name << " " << refused;
        EXPECT_EQ(size.get(), 2.5) << size.name << " is kept";
    }
}

// Grips are the defining points in order: an index moves its own point alone, one that names no grip nothing.
TEST(Grips, AnIndexMovesItsOwnPointAndNoOther) {
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    AcDbPoint point(AcGePoint3d(2, 3, 0));
    AcDbFace face(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0));
    AcDbPolyline lw;
    lw.addVertexAt(0, AcGePoint2d(0, 0));
    lw.addVertexAt(1, AcGePoint2d(1, 0));
    const AcGeVector3d offset(0, 5, 0);
    for (AcDbEntity* entity : std::initializer_list<AcDbEntity*>{&line, &point, &face, &lw}) {
        AcGePoint3dArray before, after;
        AcDbIntArray modes, ids;
        ASSERT_EQ(entity->getGripPoints(before, modes, ids), Acad::eOk);
        const int last = before.length() - 1;
        AcDbIntArray indices;
        for (int i : {-1, last + 1, last})
            indices.append(i);
        ASSERT_EQ(entity->moveGripPointsAt(indices, offset), Acad::eOk);
        ASSERT_EQ(entity->getGripPoints(after, modes, ids), Acad::eOk);
        ASSERT_EQ(after.length(), before.length());
        for (int i = 0; i <= last; ++i)
            EXPECT_TRUE(after[i].isEqualTo(i == last ? before[i] + offset : before[i]))
                << entity->isA()->name() << " grip " << i;
    }
}

TEST(Extents, CirclesAreExactAndBlockReferencesPlaceTheirBlock) {
    AcDbCircle circle(AcGePoint3d(1, 2, 3), AcGeVector3d(0, 1, 0), 2);
    AcDbExtents e;
    circle.getGeomExtents(e);
    EXPECT_TRUE(e.minPoint().isEqualTo(AcGePoint3d(-1, 2, 1), AcGeTol()));
    EXPECT_TRUE(e.maxPoint().isEqualTo(AcGePoint3d(3, 2, 5), AcGeTol()));
    AcDbRay ray;
    AcDbExtents none;
    EXPECT_EQ(ray.getGeomExtents(none), Acad::eInvalidExtents);

    host::test::WorkingDatabase w;
    AcDbBlockTable* blocks = nullptr;
    w.db->getBlockTable(blocks, AcDb::kForWrite);
    auto* block = new AcDbBlockTableRecord;
    block->setName(L"CARRE");
    AcDbObjectId blockId;
    blocks->add(blockId, block);
    blocks->close();
    block->appendAcDbEntity(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
    block->close();
    AcDbBlockReference insert(AcGePoint3d(10, 10, 0), blockId);
    insert.setScaleFactors(AcGeScale3d(3));
    insert.setRotation(kPi / 2);
    AcDbExtents placed;
    insert.getGeomExtents(placed);
    EXPECT_TRUE(placed.maxPoint().isEqualTo(AcGePoint3d(10, 13, 0), AcGeTol()));
    AcDbVoidPtrArray parts;
    ASSERT_EQ(insert.explode(parts), Acad::eOk);
    ASSERT_EQ(parts.length(), 1);
    auto* exploded = AcDbLine::cast(static_cast<AcDbEntity*>(parts[0]));
    ASSERT_NE(exploded, nullptr);
    EXPECT_TRUE(exploded->endPoint().isEqualTo(AcGePoint3d(10, 13, 0), AcGeTol()));
    delete exploded;
}

TEST(Splines, InterpolationPassesThroughTheFitPoints) {
    AcGePoint3dArray fit;
    for (double x : {0.0, 1.0, 3.0, 4.0, 7.0})
        fit.append(AcGePoint3d(x, std::sin(x), x / 2));
    AcDbSpline spline(fit);
    EXPECT_EQ(spline.degree(), 3);
    for (const AcGePoint3d& p : fit) {
        double param = 0;
        EXPECT_EQ(spline.getParamAtPoint(p, param), Acad::eOk) << p.x;
    }
    AcGePoint3d start, end;
    spline.getStartPoint(start);
    spline.getEndPoint(end);
    EXPECT_TRUE(start.isEqualTo(fit.first(), AcGeTol()));
    EXPECT_TRUE(end.isEqualTo(fit.last(), AcGeTol()));
}

TEST(Hatches, BoundariesFromObjectsAreFollowedAndKeptWhenAssociative) {
    host::test::WorkingDatabase w;
    auto* square = new AcDbPolyline;
    square->addVertexAt(0, AcGePoint2d(0, 0));
    square->addVertexAt(1, AcGePoint2d(4, 0));
    square->addVertexAt(2, AcGePoint2d(4, 4), 0.4);
    square->addVertexAt(3, AcGePoint2d(0, 4));
    square->setClosed(true);
    AcDbObjectId squareId = appendToModel(*w.db, square);
    AcDbObjectId pointId = appendToModel(*w.db, new AcDbPoint(AcGePoint3d(1, 1, 0)));
    AcDbHatch hatch;
    hatch.setAssociative(true);
    AcDbObjectIdArray ids;
    ids.append(squareId);
    ASSERT_EQ(hatch.appendLoop(AcDbHatch::kExternal, ids), Acad::eOk);
    AcGePoint2dArray vertices;
    AcGeDoubleArray bulges;
    Adesk::Int32 type = 0;
    ASSERT_EQ(hatch.getLoopAt(0, type, vertices, bulges), Acad::eOk);
    EXPECT_EQ(vertices.length(), 4);
    EXPECT_DOUBLE_EQ(bulges[2], 0.4);
    AcDbObjectIdArray sources;
    hatch.getAssocObjIds(sources);
    EXPECT_EQ(sources.length(), 1);
    AcDbObjectIdArray refused;
    refused.append(pointId);
    EXPECT_EQ(hatch.appendLoop(AcDbHatch::kDefault, refused), Acad::eInvalidInput)
        << "a point bounds nothing";
    EXPECT_EQ(hatch.numLoops(), 1);
}

TEST(Explode, PolylinesBecomeLinesAndArcs) {
    AcGePoint3dArray plan;
    plan.append(AcGePoint3d(0, 0, 0));
    plan.append(AcGePoint3d(2, 0, 0));
    plan.append(AcGePoint3d(2, 2, 0));
    AcGeDoubleArray bulges;
    bulges.append(1);
    bulges.append(0);
    bulges.append(0);
    AcDb2dPolyline flat(AcDb::k2dSimplePoly, plan, 5, true, 0, 0, &bulges);
    AcDbVoidPtrArray parts;
    ASSERT_EQ(flat.explode(parts), Acad::eOk);
    ASSERT_EQ(parts.length(), 3) << "closed: the segment back to the start too";
    auto* arc = AcDbArc::cast(static_cast<AcDbEntity*>(parts[0]));
    ASSERT_NE(arc, nullptr);
    EXPECT_TRUE(arc->center().isEqualTo(AcGePoint3d(1, 0, 5), AcGeTol())) << "at the elevation";
    EXPECT_DOUBLE_EQ(arc->radius(), 1);
    for (void* p : parts)
        delete static_cast<AcDbEntity*>(p);
    parts.removeAll();

    AcDb3dPolyline space(AcDb::k3dSimplePoly, plan);
    ASSERT_EQ(space.explode(parts), Acad::eOk);
    ASSERT_EQ(parts.length(), 2);
    auto* line = AcDbLine::cast(static_cast<AcDbEntity*>(parts[1]));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->endPoint(), AcGePoint3d(2, 2, 0));
    for (void* p : parts)
        delete static_cast<AcDbEntity*>(p);
}

TEST(Explode, LightweightAndTwoDimensionalPolylinesGiveTheSamePieces) {
    const AcGeVector3d tilted(0, -1, 0);
    AcGePoint3dArray plan;
    AcGeDoubleArray bulges;
    AcDbPolyline lw;
    lw.setElevation(5);
    lw.setNormal(tilted);
    lw.setClosed(true);
    const AcGePoint2d corners[] = {{0, 0}, {2, 0}, {2, 2}};
    const double cornerBulges[] = {1, 0, -0.3};
    for (int i = 0; i < 3; ++i) {
        plan.append(AcGePoint3d(corners[i].x, corners[i].y, 0));
        bulges.append(cornerBulges[i]);
        lw.addVertexAt(i, corners[i], cornerBulges[i]);
    }
    AcDb2dPolyline flat(AcDb::k2dSimplePoly, plan, 5, true, 0, 0, &bulges);
    flat.setNormal(tilted);
    auto* frame = new AcDb2dVertex(AcGePoint3d(9, 9, 0));
    frame->setVertexType(AcDb::k2dSplineCtlVertex);
    flat.appendVertex(frame);

    AcGePoint3dArray lwPoints, flatPoints;
    lw.tessellate(lwPoints, 0.01);
    flat.tessellate(flatPoints, 0.01);
    ASSERT_GT(lwPoints.length(), 4) << "the arcs are cut into chords";
    ASSERT_EQ(lwPoints.length(), flatPoints.length()) << "spline frame vertices are not drawn";
    for (int i = 0; i < lwPoints.length(); ++i)
        EXPECT_TRUE(lwPoints[i].isEqualTo(flatPoints[i])) << i;
    EXPECT_TRUE(lwPoints.last().isEqualTo(AcGePoint3d(0, -5, 0))) << "closed: back at the start";

    AcDbVoidPtrArray lwParts, flatParts;
    ASSERT_EQ(lw.explode(lwParts), Acad::eOk);
    ASSERT_EQ(flat.explode(flatParts), Acad::eOk);
    ASSERT_EQ(lwParts.length(), 3);
    ASSERT_EQ(flatParts.length(), 3);
    auto* arc = AcDbArc::cast(static_cast<AcDbEntity*>(lwParts[0]));
    ASSERT_NE(arc, nullptr);
    EXPECT_TRUE(arc->center().isEqualTo(AcGePoint3d(1, -5, 0))) << "in the tilted plane, at the elevation";
    for (int i = 0; i < 3; ++i) {
        auto* a = static_cast<AcDbEntity*>(lwParts[i]);
        auto* b = static_cast<AcDbEntity*>(flatParts[i]);
        EXPECT_EQ(a->isA(), b->isA()) << i;
        AcDbExtents ea, eb;
        a->getGeomExtents(ea);
        b->getGeomExtents(eb);
        EXPECT_TRUE(ea.minPoint().isEqualTo(eb.minPoint()) && ea.maxPoint().isEqualTo(eb.maxPoint())) << i;
        delete a;
        delete b;
    }
}

// A polyface mesh explodes face by face, with its invisible edges, and draws only its visible ones; a face
// naming a vertex the mesh does not hold gives and draws nothing. A polygon mesh closed in N has one more
// cell a row, back to its first column, and draws each row closed.
TEST(Explode, MeshesBecomeFacesAndDrawTheirVisibleEdgesAndTheirGrid) {
    AcDbPolyFaceMesh faces;
    for (const AcGePoint3d& p :
         {AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 1), AcGePoint3d(0, 1, 0)})
        faces.appendVertex(new AcDbPolyFaceMeshVertex(p));
    faces.appendFaceRecord(new AcDbFaceRecord(1, 2, 3, 4, true, false));
    faces.appendFaceRecord(new AcDbFaceRecord(2, 4, 0, 0));
    faces.appendFaceRecord(new AcDbFaceRecord(1, 9, 3, 0));
    AcGePoint3dArray grid;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            grid.append(AcGePoint3d(i, j, i * j));
    AcDbPolygonMesh mesh(AcDb::kSimpleMesh, 3, 4, grid, false, true);

    struct Case {
        AcDbEntity* entity;
        int parts, checked; // the face whose fourth corner is checked
        AcGePoint3d fourthCorner;
        std::size_t primitives, firstPoints; // drawn, and the points of the first
    };
    for (const Case& c :
         {Case{&faces, 2, 0, AcGePoint3d(0, 1, 0), 4, 2}, Case{&mesh, 8, 7, AcGePoint3d(2, 3, 6), 7, 5}}) {
        AcDbVoidPtrArray parts;
        ASSERT_EQ(c.entity->explode(parts), Acad::eOk);
        ASSERT_EQ(parts.length(), c.parts) << c.entity->isA()->name();
        const AcDbFace* face = AcDbFace::cast(static_cast<AcDbEntity*>(parts[c.checked]));
        ASSERT_NE(face, nullptr);
        AcGePoint3d corner;
        face->getVertexAt(3, corner);
        EXPECT_EQ(corner, c.fourthCorner) << c.entity->isA()->name();
        if (c.entity == &faces) {
            bool visible[2] = {};
            face->isEdgeVisibleAt(0, visible[0]);
            face->isEdgeVisibleAt(1, visible[1]);
            EXPECT_TRUE(visible[0] && !visible[1]);
            EXPECT_NE(AcDbLine::cast(static_cast<AcDbEntity*>(parts[1])), nullptr) << "two corners: a line";
        }
        for (void* p : parts)
            delete static_cast<AcDbEntity*>(p);
        host::GraphicsRecorder recorder;
        recorder.recordEntity(c.entity);
        ASSERT_EQ(recorder.primitives().size(), c.primitives) << c.entity->isA()->name();
        EXPECT_EQ(recorder.primitives()[0].points.size(), c.firstPoints) << c.entity->isA()->name();
    }
}
