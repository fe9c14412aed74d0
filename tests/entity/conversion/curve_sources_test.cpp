// Polylines made from splines and hatches: the points they take on the curve, their rings and their height.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/entities/hatch.h"
#include "host/entities/spline.h"
#include "tests/entity/poly_test_support.h"

namespace {

struct CurveSources : ::testing::Test {
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;
};

// A clamped cubic through control points given twice each.
AcDbSpline doubledControlPoints(std::initializer_list<AcGePoint3d> distinct) {
    AcGePoint3dArray controls;
    for (const AcGePoint3d& p : distinct) {
        controls.append(p);
        controls.append(p);
    }
    AcGeDoubleArray knots;
    for (int i = 0; i < 4; ++i)
        knots.append(0);
    for (int i = 1; i < controls.length() - 3; ++i)
        knots.append(i);
    for (int i = 0; i < 4; ++i)
        knots.append(controls.length() - 3);
    return AcDbSpline(3, false, false, false, controls, knots, AcGeDoubleArray());
}

TEST_F(CurveSources, ASplineTakesOneParameterPerDistinctControlPoint) {
    AcDbSpline straight = doubledControlPoints({{0, 0, 1}, {1, 0, 1}, {5, 0, 1}, {6, 0, 1}});
    ASSERT_EQ(poly.from(&straight, 0), Acad::eOk);
    ASSERT_EQ(poly.GetCount(), 4) << "a straight spline needs no point between its parameters";
    EXPECT_EQ(poly_test::point(poly.H()), CPoint3d(0, 0, 1));
    EXPECT_EQ(poly_test::point(poly.T()), CPoint3d(6, 0, 1));
    for (const P_Vertex* v = poly.H(); v; v = v->pVN) {
        double param = 0;
        EXPECT_EQ(straight.getParamAtPoint(AcGePoint3d(v->pt.x, v->pt.y, v->pt.z), param), Acad::eOk);
    }
}

TEST_F(CurveSources, ABendingSplineGetsMiddlePointsOnTheCurve) {
    AcDbSpline bend = doubledControlPoints({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    ASSERT_EQ(poly.from(&bend, 0), Acad::eOk);
    int middles = 0;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN) {
        if (v->flags & 1) continue; // placed by the smoothing, between points of the curve
        middles += v->flags == 2;
        double param = 0;
        EXPECT_EQ(bend.getParamAtPoint(AcGePoint3d(v->pt.x, v->pt.y, v->pt.z), param), Acad::eOk)
            << "vertex " << poly[v];
    }
    EXPECT_GT(middles, 0);
}

TEST_F(CurveSources, HatchLoopsCloseAtTheirElevationAndInnerOnesStartRings) {
    AcDbHatch hatch;
    hatch.setElevation(7);
    AcGePoint2dArray square;
    for (const auto& [x, y] : {std::pair{0, 0}, {10, 0}, {10, 10}, {0, 10}})
        square.append(AcGePoint2d(x, y));
    AcGeDoubleArray bulges;
    for (double b : {0.0, 0.0, 0.0, 0.5})
        bulges.append(b);
    hatch.appendLoop(AcDbHatch::kExternal | AcDbHatch::kPolyline, square, bulges);

    ASSERT_EQ(poly.from(&hatch, 0), Acad::eOk);
    ASSERT_EQ(poly.GetCount(), 4);
    EXPECT_TRUE(poly.f70() & 1) << "a loop given without its closing point is closed";
    EXPECT_EQ(double(poly.T()->bulge), 0.5) << "the closing arc";
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        EXPECT_EQ(poly.WorldPoint(v).z, 7);

    AcGeVoidPointerArray edges;
    AcGeIntArray types;
    edges.append(new AcGeCircArc2d(AcGePoint2d(5, 5), 2, -std::numbers::pi / 2, 3 * std::numbers::pi / 2));
    types.append(AcDbHatch::kCirArc);
    hatch.appendLoop(AcDbHatch::kDefault, edges, types);
    PolyArc3D ringed;
    ASSERT_EQ(ringed.from(&hatch, 0), Acad::eOk);
    ASSERT_EQ(ringed.GetCount(), 8) << "the square back to its start, then the circle in two halves";
    const P_Vertex* before = ringed.H(4);
    EXPECT_EQ(poly_test::point(before), CPoint3d(0, 0, 7));
    EXPECT_EQ(before->tef1, 6);
    EXPECT_EQ(before->tef2, 1);
    EXPECT_NEAR(ringed.H(5)->bulge, 1, 1e-9) << "a half circle";
    EXPECT_NEAR(ringed.H(5)->pt.y, 3, 1e-12);
    EXPECT_NEAR(ringed.H(6)->pt.y, 7, 1e-12);
    EXPECT_NEAR(ringed.H(6)->bulge, 1, 1e-9);
    EXPECT_FALSE(ringed.f70() & 1);

    AcDbHatch empty;
    PolyArc3D nothing;
    EXPECT_EQ(nothing.from(&empty, 0), Acad::eInvalidInput);
    EXPECT_EQ(nothing.GetCount(), 0);
}

} // namespace
