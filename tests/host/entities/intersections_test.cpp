// Intersections of the host's curves.
#include <gtest/gtest.h>

#include <cmath>

#include "host/entities/circle_arc.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/point_ray_face.h"
#include "host/entities/spline.h"

namespace {
bool has(const AcGePoint3dArray& points, const AcGePoint3d& p, double tolerance = 1e-9) {
    for (const AcGePoint3d& q : points)
        if (q.distanceTo(p) <= tolerance) return true;
    return false;
}
} // namespace

TEST(Intersections, LinesMeetOnlyWithinTheirEndsUnlessExtended) {
    AcDbLine a(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    AcDbLine b(AcGePoint3d(5, -5, 0), AcGePoint3d(5, 5, 0));
    AcDbLine c(AcGePoint3d(20, -5, 0), AcGePoint3d(20, 5, 0));
    AcGePoint3dArray points;
    ASSERT_EQ(a.intersectWith(&b, AcDb::kOnBothOperands, points), Acad::eOk);
    ASSERT_EQ(points.length(), 1);
    EXPECT_TRUE(has(points, AcGePoint3d(5, 0, 0)));
    points.removeAll();
    a.intersectWith(&c, AcDb::kOnBothOperands, points);
    EXPECT_TRUE(points.isEmpty());
    a.intersectWith(&c, AcDb::kExtendThis, points);
    EXPECT_TRUE(has(points, AcGePoint3d(20, 0, 0)));
    points.removeAll();
    AcDbLine parallel(AcGePoint3d(0, 1, 0), AcGePoint3d(10, 1, 0));
    a.intersectWith(&parallel, AcDb::kExtendBoth, points);
    EXPECT_TRUE(points.isEmpty());
}

TEST(Intersections, PointsLieOnTheFirstCurveInItsHeights) {
    AcDbLine rising(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 10));
    AcDbLine flat(AcGePoint3d(5, -5, 0), AcGePoint3d(5, 5, 0));
    AcGePoint3dArray points;
    rising.intersectWith(&flat, AcDb::kOnBothOperands, points);
    ASSERT_EQ(points.length(), 1);
    EXPECT_TRUE(has(points, AcGePoint3d(5, 0, 5))) << "found in plan, answered on the rising line";
}

TEST(Intersections, CirclesArcsAndBulgedPolylinesAreExact) {
    AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 5);
    AcDbLine line(AcGePoint3d(-10, 3, 0), AcGePoint3d(10, 3, 0));
    AcGePoint3dArray points;
    circle.intersectWith(&line, AcDb::kOnBothOperands, points);
    EXPECT_EQ(points.length(), 2);
    EXPECT_TRUE(has(points, AcGePoint3d(4, 3, 0)));
    EXPECT_TRUE(has(points, AcGePoint3d(-4, 3, 0)));
    points.removeAll();
    AcDbArc upper(AcGePoint3d(0, 0, 0), 5, 0, 3.141592653589793);
    AcDbLine low(AcGePoint3d(-10, -3, 0), AcGePoint3d(10, -3, 0));
    upper.intersectWith(&low, AcDb::kOnBothOperands, points);
    EXPECT_TRUE(points.isEmpty()) << "the lower crossings are off the arc";
    upper.intersectWith(&low, AcDb::kExtendThis, points);
    EXPECT_EQ(points.length(), 2) << "extended, the arc is its circle";
    points.removeAll();
    AcDbCircle other(AcGePoint3d(8, 0, 0), AcGeVector3d::kZAxis, 5);
    circle.intersectWith(&other, AcDb::kOnBothOperands, points);
    EXPECT_TRUE(has(points, AcGePoint3d(4, 3, 0)));
    EXPECT_TRUE(has(points, AcGePoint3d(4, -3, 0)));
    points.removeAll();
    AcDbPolyline half;
    half.addVertexAt(0, AcGePoint2d(5, 0), 1); // half circle through (0, 5)
    half.addVertexAt(1, AcGePoint2d(-5, 0));
    AcDbLine vertical(AcGePoint3d(0, -10, 0), AcGePoint3d(0, 10, 0));
    half.intersectWith(&vertical, AcDb::kOnBothOperands, points);
    ASSERT_EQ(points.length(), 1);
    EXPECT_TRUE(has(points, AcGePoint3d(0, 5, 0)));
}

TEST(Intersections, RaysAndTessellatedCurves) {
    AcDbRay ray;
    ray.setBasePoint(AcGePoint3d(0, 0, 0));
    ray.setUnitDir(AcGeVector3d(1, 0, 0));
    AcDbLine behind(AcGePoint3d(-5, -1, 0), AcGePoint3d(-5, 1, 0));
    AcDbLine ahead(AcGePoint3d(500, -1, 0), AcGePoint3d(500, 1, 0));
    AcGePoint3dArray points;
    ray.intersectWith(&behind, AcDb::kOnBothOperands, points);
    EXPECT_TRUE(points.isEmpty());
    ray.intersectWith(&ahead, AcDb::kOnBothOperands, points);
    EXPECT_TRUE(has(points, AcGePoint3d(500, 0, 0)));
    points.removeAll();
    AcGePoint3dArray fit;
    fit.append(AcGePoint3d(0, -2, 0));
    fit.append(AcGePoint3d(1, 0, 0));
    fit.append(AcGePoint3d(2, 2, 0));
    AcDbSpline spline(fit, 3);
    AcDbLine axis(AcGePoint3d(-1, 0, 0), AcGePoint3d(3, 0, 0));
    spline.intersectWith(&axis, AcDb::kOnBothOperands, points);
    ASSERT_EQ(points.length(), 1);
    EXPECT_TRUE(has(points, AcGePoint3d(1, 0, 0), 1e-3)) << "through its fit point";
    AcDbPoint notACurve(AcGePoint3d(0, 0, 0));
    EXPECT_EQ(axis.intersectWith(&notACurve, AcDb::kOnBothOperands, points), Acad::eNotImplementedYet);
}
