#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "tests/geometry/near_points.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Half circles of radius r round (cx, cy): the right half (through cx + r) or the left one.
CArc3d rightHalf(double cx, double cy, double r) {
    return {CPoint3d(cx, cy - r, 0), CPoint3d(cx, cy + r, 0), 1.0};
}
CArc3d leftHalf(double cx, double cy, double r) {
    return {CPoint3d(cx, cy + r, 0), CPoint3d(cx, cy - r, 0), 1.0};
}

} // namespace

TEST(Lines, IntersectionOfTwoDirections) {
    const CPoint3d p1(0, 0, 3), p2(5, 5, 9);
    double dist = 0;
    EXPECT_TRUE(nearPoints(inters(&p1, 0, &p2, _100rd, &dist), CPoint3d(5, 0, 3)));
    EXPECT_NEAR(dist, 5, 1e-12);
    inters(&p1, 0, &p2, 0, &dist);
    EXPECT_EQ(dist, 1e8) << "parallel";
    inters(&p1, 0.3, &p2, 0.3 + _200rd, &dist);
    EXPECT_EQ(dist, 1e8) << "opposite directions are parallel too";
}

TEST(Arc3dIntersections, StraightSegments) {
    CArc3d a(CPoint3d(0, 0, 10), CPoint3d(10, 0, 20), 0.0);
    CArc3d b(CPoint3d(5, -5, 0), CPoint3d(5, 5, 0), 0.0);
    CPoint3d found[2];
    CPoint3d* pts = found;
    char codes[2] = {0, 0};
    ASSERT_EQ(a.intersectWith(&b, pts, codes), 1);
    EXPECT_EQ(pts, found);
    EXPECT_TRUE(nearPoints(found[0], CPoint3d(5, 0, 15)));
    EXPECT_EQ(codes[0], 1);
    EXPECT_EQ(codes[1], 1);

    // Heights come from the other segment when this one has none.
    CArc3d flat(CPoint3d(5, -5, 0), CPoint3d(5, 5, 0), 0.0);
    CArc3d high(CPoint3d(0, 0, 10), CPoint3d(10, 0, 20), 0.0);
    ASSERT_EQ(flat.intersectWith(&high, pts, codes), 1);
    EXPECT_TRUE(nearPoints(found[0], CPoint3d(5, 0, 15)));

    CArc3d parallel(CPoint3d(0, 1, 0), CPoint3d(10, 1, 0), 0.0);
    EXPECT_EQ(a.intersectWith(&parallel, pts, codes), 0);
    // Travelled the other way, the directions differ by pi with a rounding error: still parallel.
    CArc3d back(CPoint3d(10, 1, 0), CPoint3d(0, 1, 0), 0.0);
    EXPECT_EQ(a.intersectWith(&back, pts, codes), 0);
    CArc3d slanted(CPoint3d(0, 0, 0), CPoint3d(3, 1, 0), 0.0),
        slantedBack(CPoint3d(6, 3, 0), CPoint3d(3, 2, 0), 0.0);
    EXPECT_EQ(slanted.intersectWith(&slantedBack, pts, codes), 0);
}

TEST(Arc3dIntersections, StraightSegmentsSnapAndFilter) {
    CArc3d a(CPoint3d(0, 0, 10), CPoint3d(10, 0, 20), 0.0);
    CArc3d atStart(CPoint3d(0.00005, -5, 0), CPoint3d(0.00005, 5, 0), 0.0);
    CPoint3d* pts = nullptr;
    char codes[2] = {0, 0};
    ASSERT_EQ(a.intersectWith(&atStart, pts, codes), 1);
    ASSERT_NE(pts, nullptr) << "the library's own array";
    EXPECT_EQ(pts[0], a.start);
    EXPECT_EQ(codes[0], 3);

    CArc3d beyond(CPoint3d(12, -5, 0), CPoint3d(12, -1, 0), 0.0);
    char onBoth[2] = {1, 1};
    EXPECT_EQ(a.intersectWith(&beyond, pts, onBoth), 0);
    codes[0] = codes[1] = 0;
    ASSERT_EQ(a.intersectWith(&beyond, pts, codes), 1);
    EXPECT_TRUE(nearPoints(pts[0], CPoint3d(12, 0, 22)))
        << "off both, the height follows this line when asked";
    EXPECT_EQ(codes[0], 0);
    EXPECT_EQ(codes[1], 0);
    ASSERT_EQ(a.intersectWith(&beyond, pts), 1);
    EXPECT_EQ(pts[0].z, 0) << "and is dropped otherwise";

    CArc3d reachingEnd(CPoint3d(12, -5, 0), CPoint3d(12, 0.00005, 0), 0.0);
    codes[0] = codes[1] = 0;
    ASSERT_EQ(a.intersectWith(&reachingEnd, pts, codes), 1);
    EXPECT_EQ(codes[1], 5) << "at the other's end";
}

TEST(Arc3dIntersections, ResultsComeBackFromTheWorkingSystem) {
    Mat3D working = Mat3D::MKappa(0.3);
    working.t[0] = 7;
    CArc3d a, b;
    a.set(&working, CPoint3d(0, 0, 0), CPoint3d(10, 0, 0), 0.0, nullptr);
    b.set(&working, CPoint3d(5, -5, 0), CPoint3d(5, 5, 0), 0.0, nullptr);
    CPoint3d* pts = nullptr;
    ASSERT_EQ(a.intersectWith(&b, pts), 1);
    EXPECT_TRUE(nearPoints(pts[0], CPoint3d(5, 0, 0)));

    CArc3d c, d;
    c.set(&working, CPoint3d(0, -1, 0), CPoint3d(0, 1, 0), 1.0, nullptr);
    d.set(&working, CPoint3d(-2, 0.5, 0), CPoint3d(2, 0.5, 0), 0.0, nullptr);
    ASSERT_EQ(c.intersectWith(&d, pts), 2);
    EXPECT_EQ(c.pMat, &working) << "both systems are restored";
    EXPECT_EQ(d.pMat, &working);
    EXPECT_TRUE(nearPoints(pts[0].x > 0 ? pts[0] : pts[1], CPoint3d(std::sqrt(0.75), 0.5, 0), 1e-9));
}

TEST(Arc3dIntersections, CirclesTouchingOnce) {
    CArc3d a = rightHalf(0, 0, 1);
    CArc3d b = leftHalf(2, 0, 1);
    CPoint3d* pts = nullptr;
    char codes[2] = {0, 0};
    ASSERT_EQ(a.intersectWith(&b, pts, codes), 1);
    EXPECT_TRUE(nearPoints(pts[0], CPoint3d(1, 0, 0)));
    EXPECT_EQ(codes[0], 1);
    EXPECT_EQ(codes[1], 1);
    CArc3d apart = leftHalf(2.01, 0, 1);
    EXPECT_EQ(a.intersectWith(&apart, pts), 0);
    CArc3d same = rightHalf(0, 0, 1);
    EXPECT_EQ(a.intersectWith(&same, pts), 0) << "concentric";
    // Touching from inside: one point too.
    CArc3d inner = rightHalf(0.5, 0, 0.5);
    ASSERT_EQ(a.intersectWith(&inner, pts), 1);
    EXPECT_TRUE(nearPoints(pts[0], CPoint3d(1, 0, 0), 1e-9));
}

// Rounding can push the cosine of a tangency a little past 1: the point is still found.
TEST(Arc3dIntersections, TangencyBeyondTheCosineRange) {
    CArc3d small = rightHalf(0, 0, 0.17);
    CArc3d large = leftHalf(0.17 + 0.1, 0, 0.1);
    double o = 0;
    small.centre.gisTo(large.centre, &o);
    const double R = small.radius, r = large.radius;
    ASSERT_GT((R * R + o * o - r * r) / (2 * o * R), 1.0) << "the case this test is about";
    CPoint3d* pts = nullptr;
    ASSERT_EQ(small.intersectWith(&large, pts), 1);
    EXPECT_TRUE(nearPoints(pts[0], CPoint3d(0.17, 0, 0), 1e-9));
}

TEST(Arc3dIntersections, CirclesCrossingTwice) {
    CArc3d a = rightHalf(0, 0, 1);
    CArc3d b = leftHalf(1, 0, 1);
    CPoint3d* pts = nullptr;
    char codes[2] = {0, 0};
    ASSERT_EQ(a.intersectWith(&b, pts, codes), 2);
    const double h = std::sqrt(0.75);
    EXPECT_TRUE(nearPoints(pts[0], CPoint3d(0.5, h, 0)));
    EXPECT_TRUE(nearPoints(pts[1], CPoint3d(0.5, -h, 0)));
    EXPECT_EQ(codes[0], 3);
    EXPECT_EQ(codes[1], 3);
}

TEST(Arc3dIntersections, ArcAndLine) {
    CArc3d line(CPoint3d(-2, 0.5, 4), CPoint3d(2, 0.5, 8), 0.0);
    CArc3d arc = rightHalf(0, 0, 1);
    CPoint3d* pts = nullptr;
    char codes[2] = {0, 0};
    ASSERT_EQ(line.intersectWith(&arc, pts, codes), 2);
    const double x = std::sqrt(0.75);
    EXPECT_TRUE(nearPoints(pts[0], CPoint3d(-x, 0.5, 6 - x)));
    EXPECT_TRUE(nearPoints(pts[1], CPoint3d(x, 0.5, 6 + x)));
    EXPECT_EQ(codes[0], 3) << "both on the line";
    EXPECT_EQ(codes[1], 2) << "only the second on the arc";

    char onArc[2] = {0, 1};
    ASSERT_EQ(line.intersectWith(&arc, pts, onArc), 1);
    EXPECT_TRUE(nearPoints(pts[0], CPoint3d(x, 0.5, 6 + x)));

    CArc3d far(CPoint3d(-2, 1.2, 0), CPoint3d(2, 1.2, 0), 0.0);
    EXPECT_EQ(arc.intersectWith(&far, pts), 0);
    CArc3d touching(CPoint3d(-2, 1, 0), CPoint3d(2, 1, 0), 0.0);
    ASSERT_EQ(touching.intersectWith(&arc, pts), 1);
    EXPECT_TRUE(nearPoints(pts[0], CPoint3d(0, 1, 0)));
}
