// The polyline as a host curve: parameters, distances, derivatives, projections, extents and the statuses
// of bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <random>

#include "geometry/points/point3d_array.h"
#include "host/entities/curve.h"
#include "tests/entity/poly_test_support.h"

using poly_test::append;
using poly_test::appendAll;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct CurveProtocol : ::testing::Test {
    poly_test::RegisteredClasses classes;

    // A square of side 10, open unless asked.
    static void square(CPolyArc3D& poly, bool closed) {
        appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
        if (closed) poly.f70(1);
    }
};

void expectPoint(const AcGePoint3d& p, double x, double y, double z) {
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
    EXPECT_NEAR(p.z, z, 1e-12);
}

TEST_F(CurveProtocol, ParametersRunOverEveryVertexAndTheClosingSegment) {
    PolyArc3D open, closed;
    square(open, false);
    square(closed, true);
    double end = 0;
    AcGePoint3d p;
    ASSERT_EQ(closed.getEndParam(end), Acad::eOk);
    EXPECT_EQ(end, 4);
    ASSERT_EQ(closed.getPointAtParam(4, p), Acad::eOk);
    expectPoint(p, 0, 0, 0);
    ASSERT_EQ(closed.getPointAtParam(3.5, p), Acad::eOk);
    expectPoint(p, 0, 5, 0);

    ASSERT_EQ(open.getEndParam(end), Acad::eOk);
    EXPECT_EQ(end, 3);
    ASSERT_EQ(open.getPointAtParam(2, p), Acad::eOk);
    expectPoint(p, 10, 10, 0);
    ASSERT_EQ(open.getPointAtParam(0.25, p), Acad::eOk);
    expectPoint(p, 2.5, 0, 0);
    // Below the start or past the end nothing is answered.
    p = AcGePoint3d(7, 7, 7);
    for (double param : {3.5, -0.5, -1e-9, kNaN, kInf, -kInf})
        EXPECT_EQ(open.getPointAtParam(param, p), Acad::eInvalidInput) << param;
    expectPoint(p, 7, 7, 7);
}

TEST_F(CurveProtocol, DistancesAndParametersConvertBothWaysUpToTheEnds) {
    PolyArc3D open, closed;
    square(open, false);
    square(closed, true);
    double dist = -1, param = -1;
    ASSERT_EQ(open.getDistAtParam(0, dist), Acad::eOk);
    EXPECT_EQ(dist, 0);
    ASSERT_EQ(open.getDistAtParam(2.5, dist), Acad::eOk);
    EXPECT_DOUBLE_EQ(dist, 25);
    ASSERT_EQ(closed.getDistAtParam(4, dist), Acad::eOk);
    EXPECT_DOUBLE_EQ(dist, 40);
    EXPECT_EQ(open.getDistAtParam(-0.1, dist), Acad::eInvalidInput);
    EXPECT_EQ(open.getDistAtParam(3.1, dist), Acad::eInvalidInput);

    // The length is the end; beyond it (by more than 1e-4) nothing.
    ASSERT_EQ(open.getParamAtDist(30, param), Acad::eOk);
    EXPECT_DOUBLE_EQ(param, 3);
    ASSERT_EQ(closed.getParamAtDist(35, param), Acad::eOk);
    EXPECT_DOUBLE_EQ(param, 3.5);
    EXPECT_EQ(open.getParamAtDist(30.001, param), Acad::eInvalidInput);
    EXPECT_EQ(open.getParamAtDist(-0.001, param), Acad::eInvalidInput);
    AcGePoint3d p;
    ASSERT_EQ(open.getPointAtDist(30, p), Acad::eOk);
    expectPoint(p, 0, 10, 0);
    EXPECT_EQ(open.getPointAtDist(31, p), Acad::eInvalidInput);
    EXPECT_EQ(open.getPointAtDist(kNaN, p), Acad::eInvalidInput);

    ASSERT_EQ(open.getParamAtPoint(AcGePoint3d(10, 4, 0), param), Acad::eOk);
    EXPECT_DOUBLE_EQ(param, 1.4);
    ASSERT_EQ(open.getDistAtPoint(AcGePoint3d(10, 4, 0), dist), Acad::eOk);
    EXPECT_DOUBLE_EQ(dist, 14);
    EXPECT_EQ(open.getParamAtPoint(AcGePoint3d(10, 4.5, 0.0), param), Acad::eOk);
    EXPECT_EQ(open.getParamAtPoint(AcGePoint3d(5, 5, 0), param), Acad::eInvalidInput);
    EXPECT_EQ(open.getParamAtPoint(AcGePoint3d(kNaN, 0, 0), param), Acad::eInvalidInput);
}

TEST_F(CurveProtocol, MeasuringInPlanIgnoresHeights) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 1}, {3, 0, 5}});
    double dist = 0;
    ASSERT_EQ(poly.getDistAtParam(1, dist), Acad::eOk);
    EXPECT_DOUBLE_EQ(dist, 5);
    poly.f71(8);
    ASSERT_EQ(poly.getDistAtParam(1, dist), Acad::eOk);
    EXPECT_DOUBLE_EQ(dist, 3);
}

TEST_F(CurveProtocol, DerivativesOfAnArcFollowItsTurn) {
    // A half circle of radius 1 round (1, 0), anticlockwise from the origin: it dips to (1, -1).
    PolyArc3D poly;
    append(poly, {0, 0, 0}, {.bulge = 1});
    append(poly, {2, 0, 0});
    AcGeVector3d first, second;
    ASSERT_EQ(poly.getFirstDeriv(0.5, first), Acad::eOk);
    EXPECT_NEAR(first.x, kPi, 1e-12);
    EXPECT_NEAR(first.y, 0, 1e-12);
    ASSERT_EQ(poly.getSecondDeriv(0.5, second), Acad::eOk);
    // Towards the centre, of magnitude length times the angle turned.
    EXPECT_NEAR(second.x, 0, 1e-12);
    EXPECT_NEAR(second.y, kPi * kPi, 1e-12);
    ASSERT_EQ(poly.getSecondDeriv(AcGePoint3d(1, -1, 0), second), Acad::eOk);
    EXPECT_NEAR(second.y, kPi * kPi, 1e-9);
    // Sloped, the first derivative is still the rate of change of the point along the parameter.
    poly.T()->pt.z = 2;
    AcGePoint3d before, after;
    ASSERT_EQ(poly.getFirstDeriv(0.3, first), Acad::eOk);
    ASSERT_EQ(poly.getPointAtParam(0.3 - 1e-6, before), Acad::eOk);
    ASSERT_EQ(poly.getPointAtParam(0.3 + 1e-6, after), Acad::eOk);
    EXPECT_NEAR(first.x, (after.x - before.x) / 2e-6, 1e-6);
    EXPECT_NEAR(first.y, (after.y - before.y) / 2e-6, 1e-6);
    EXPECT_NEAR(first.z, 2, 1e-9);
    poly.T()->pt.z = 0;

    // The other way round it turns clockwise: the second derivative still points to the centre.
    poly.H()->bulge = -1;
    ASSERT_EQ(poly.getSecondDeriv(0.5, second), Acad::eOk);
    EXPECT_NEAR(second.y, -kPi * kPi, 1e-12);
    EXPECT_EQ(poly.getFirstDeriv(1.5, first), Acad::eInvalidInput);
}

TEST_F(CurveProtocol, ExtentsHoldTheArcsWholeAlsoInTheirOwnSystem) {
    PolyArc3D poly;
    append(poly, {0, 0, 0}, {.bulge = 1});
    append(poly, {2, 0, 0});
    AcDbExtents extents;
    ASSERT_EQ(poly.getGeomExtents(extents), Acad::eOk);
    expectPoint(extents.minPoint(), 0, -1, 0);
    expectPoint(extents.maxPoint(), 2, 0, 0);
}

TEST_F(CurveProtocol, ExtentsHoldEveryPointOfTiltedSlopedArcs) {
    std::mt19937 random(37);
    std::uniform_real_distribution<double> coordinate(-50, 50), bulge(-3, 3), unit(-1, 1);
    constexpr int kSamples = 400;
    for (int trial = 0; trial < 200; ++trial) {
        PolyArc3D poly;
        for (int i = 0; i < 3; ++i)
            append(poly, {coordinate(random), coordinate(random), coordinate(random)},
                   {.bulge = bulge(random)});
        AcGeVector3d normal(unit(random), unit(random), unit(random));
        if (normal.length() < 0.1) normal = AcGeVector3d::kXAxis;
        poly.setSNormal(normal.normal(), 0);
        AcDbExtents box;
        ASSERT_EQ(poly.getGeomExtents(box), Acad::eOk);
        const AcGePoint3d lo = box.minPoint(), hi = box.maxPoint();
        const double slack = 1e-9 * (hi - lo).length();
        for (int i = 0; i <= 2 * kSamples; ++i) {
            AcGePoint3d p;
            ASSERT_EQ(poly.getPointAtParam(i / double(kSamples), p), Acad::eOk);
            ASSERT_TRUE(p.x >= lo.x - slack && p.y >= lo.y - slack && p.z >= lo.z - slack)
                << trial << " " << i;
            ASSERT_TRUE(p.x <= hi.x + slack && p.y <= hi.y + slack && p.z <= hi.z + slack)
                << trial << " " << i;
        }
    }
}

TEST_F(CurveProtocol, AnOrthogonalProjectionLiesInThePlane) {
    PolyArc3D poly;
    append(poly, {0, 0, 3}, {.bulge = 0.5});
    append(poly, {10, 0, -2});
    append(poly, {10, 10, 7});
    for (const AcGePlane& plane : {AcGePlane(AcGePoint3d(0, 0, 5), AcGeVector3d::kZAxis),
                                   AcGePlane(AcGePoint3d(1, 2, 3), AcGeVector3d(0.3, -0.4, 0.866))}) {
        AcDbCurve* made = nullptr;
        ASSERT_EQ(poly.getOrthoProjectedCurve(plane, made), Acad::eOk);
        std::unique_ptr<AcDbCurve> projected(made);
        ASSERT_NE(CPolyArc3D::cast(projected.get()), nullptr);
        const AcGeVector3d n = plane.normal();
        for (int i = 0; i <= 20; ++i) {
            AcGePoint3d p;
            ASSERT_EQ(projected->getPointAtParam(i / 10.0, p), Acad::eOk);
            EXPECT_NEAR((p - plane.pointOnPlane()).dotProduct(n), 0, 1e-9) << i;
        }
    }
}

TEST_F(CurveProtocol, EmptyAndOneVertexPolylinesAnswerTheirStatuses) {
    PolyArc3D empty, single;
    append(single, {1, 2, 3});
    AcGePoint3d p;
    double value = 0;
    AcGeVector3d v;
    EXPECT_EQ(empty.getStartPoint(p), Acad::eNotImplementedYet);
    EXPECT_EQ(empty.getEndPoint(p), Acad::eNotImplementedYet);
    EXPECT_FALSE(empty.isPlanar());
    for (const CPolyArc3D* poly : {static_cast<CPolyArc3D*>(&empty), static_cast<CPolyArc3D*>(&single)}) {
        EXPECT_EQ(poly->getPointAtParam(0, p), Acad::eInvalidInput);
        EXPECT_EQ(poly->getDistAtParam(0, value), Acad::eInvalidInput);
        EXPECT_EQ(poly->getParamAtDist(0, value), Acad::eInvalidInput);
        EXPECT_EQ(poly->getPointAtDist(0, p), Acad::eInvalidInput);
        EXPECT_EQ(poly->getFirstDeriv(0, v), Acad::eInvalidInput);
        EXPECT_EQ(poly->getParamAtPoint(AcGePoint3d(1, 2, 3), value), Acad::eInvalidInput);
    }
    ASSERT_EQ(single.getStartPoint(p), Acad::eOk);
    expectPoint(p, 1, 2, 3);
    EXPECT_EQ(empty.getClosestPointTo(AcGePoint3d(0, 0, 0), p), Acad::eInvalidInput);
    AcDbExtents extents;
    EXPECT_EQ(empty.getGeomExtents(extents), Acad::eOk);
    EXPECT_TRUE(extents.isEmpty());
}

TEST_F(CurveProtocol, ClosestPointIsTheGivenOneWhenOnTheCurve) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}});
    AcGePoint3d p;
    ASSERT_EQ(poly.getClosestPointTo(AcGePoint3d(4, 3, 0), p), Acad::eOk);
    expectPoint(p, 4, 0, 0);
    EXPECT_EQ(CPoint3d(CPolyArc3D::__ptgen), CPoint3d(4, 0, 0));
    const AcGePoint3d onCurve(4, 0.00005, 0);
    ASSERT_EQ(poly.getClosestPointTo(onCurve, AcGeVector3d::kZAxis, p), Acad::eOk);
    EXPECT_EQ(p, onCurve);
    EXPECT_EQ(poly.getClosestPointTo(AcGePoint3d(kInf, 0, 0), p), Acad::eInvalidInput);
}

TEST_F(CurveProtocol, PlaneAreaAndTheCallsNotImplemented) {
    PolyArc3D poly;
    square(poly, true);
    double area = 0;
    ASSERT_EQ(poly.getArea(area), Acad::eOk);
    EXPECT_DOUBLE_EQ(std::fabs(area), 100);
    AcGePlane plane;
    AcDb::Planarity type = AcDb::kNonPlanar;
    ASSERT_EQ(poly.getPlane(plane, type), Acad::eOk);
    EXPECT_EQ(type, AcDb::kPlanar);
    EXPECT_EQ(plane.normal(), AcGeVector3d::kZAxis);
    poly.setSNormal(AcGeVector3d(0, 0.6, 0.8), 1);
    ASSERT_EQ(poly.getPlane(plane, type), Acad::eOk);
    EXPECT_NEAR(plane.normal().y, 0.6, 1e-12);

    AcDbCurve* curve = nullptr;
    AcDbSpline* spline = nullptr;
    EXPECT_EQ(poly.getProjectedCurve(plane, AcGeVector3d::kZAxis, curve), Acad::eNotImplementedYet);
    EXPECT_EQ(poly.getSpline(spline), Acad::eNotImplementedYet);
    EXPECT_EQ(poly.extend(5.0), Acad::eNotImplementedYet);
    EXPECT_EQ(curve, nullptr);
}

TEST_F(CurveProtocol, AllPointsFollowTheArcsAndCloseOnTheHead) {
    PolyArc3D poly;
    append(poly, {0, 0, 0}, {.bulge = 1});
    append(poly, {2, 0, 0});
    append(poly, {2, 2, 0});
    CPoint3dArray points;
    const int count = poly.getAllPoints(points, 0);
    ASSERT_EQ(count, points.length());
    ASSERT_GT(count, 4);
    EXPECT_NEAR(points[0].dist3d(), 0, 1e-12);
    EXPECT_EQ(points.last(), CPoint3d(2, 2, 0));
    for (int i = 1; i + 2 < count; ++i)
        EXPECT_NEAR(points[i].dist2dTo(CPoint3d(1, 0, 0)), 1, 1e-12) << i;
    poly.f70(1);
    ASSERT_EQ(poly.getAllPoints(points, 0), count + 1);
    EXPECT_EQ(points.last(), CPoint3d(0, 0, 0));
    PolyArc3D empty;
    EXPECT_EQ(empty.getAllPoints(points, 0), 0);
    EXPECT_TRUE(points.isEmpty());
}

} // namespace
