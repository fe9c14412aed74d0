// Heights interpolated along the polyline, arcs divided into generated vertices, and host points.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "tests/entity/poly_test_support.h"

using poly_test::append;
using poly_test::appendAll;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<double> heights(const CPolyArc3D& poly) {
    std::vector<double> z;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        z.push_back(CPoint3d(v->pt).z);
    return z;
}

TEST(Heights, UnknownHeightsAreInterpolatedByLengthAlongThePolyline) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 10}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 20}});
    EXPECT_EQ(poly.epolyz(kNaN, kNaN), 3);
    const auto z = heights(poly);
    EXPECT_NEAR(z[1], 12.5, 1e-6);
    EXPECT_NEAR(z[2], 15, 1e-6);
    EXPECT_NEAR(z[3], 17.5, 1e-6);
}

TEST(Heights, OpenEndsWithoutHeightStayUnknown) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {1, 0, 5}, {2, 0, 0}, {4, 0, 9}, {5, 0, 0}});
    EXPECT_EQ(poly.epolyz(-1e10, 1e10), 1);
    const auto z = heights(poly);
    EXPECT_EQ(z[0], 0);
    EXPECT_NEAR(z[2], 5 + 4.0 / 3, 1e-6);
    EXPECT_EQ(z[4], 0);
}

TEST(Heights, GeneratedAndOutOfRangeHeightsAreRecomputed) {
    PolyArc3D poly;
    append(poly, {0, 0, 10});
    append(poly, {1, 0, 99}, {.flags = 1});
    append(poly, {2, 0, -500});
    append(poly, {3, 0, 13});
    EXPECT_EQ(poly.epolyz(0, 1000), 2);
    const auto z = heights(poly);
    EXPECT_NEAR(z[1], 11, 1e-6);
    EXPECT_NEAR(z[2], 12, 1e-6);
}

TEST(Heights, AClosedPolylineIsInterpolatedAcrossItsHead) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {1, 0, 10}, {1, 1, 0}, {0, 1, 20}});
    poly.f70(1);
    EXPECT_EQ(poly.epolyz(kNaN, kNaN), 2);
    const auto z = heights(poly);
    EXPECT_NEAR(z[0], 15, 1e-6);
    EXPECT_NEAR(z[2], 15, 1e-6);
}

TEST(Heights, AClosedPolylineWithoutAnyKnownHeightIsLeftAsItIs) {
    PolyArc3D poly;
    append(poly, {0, 0, 0});
    append(poly, {1, 0, 7}, {.flags = 1});
    append(poly, {1, 1, 0});
    poly.f70(1);
    EXPECT_EQ(poly.epolyz(kNaN, kNaN), 0);
    EXPECT_EQ(heights(poly), (std::vector<double>{0, 7, 0}));
    EXPECT_EQ(PolyArc3D().epolyz(kNaN, kNaN), -2);
}

TEST(ArcDivision, ArcsBecomeGeneratedVerticesWithinTheSagitta) {
    PolyArc3D poly;
    append(poly, {0, 0, 0}, {.bulge = 1, .tef1 = 3, .i40 = 0, .tag = 9});
    append(poly, {20, 0, 0}, {.i40 = 1200000});
    append(poly, {20, 5, 0});
    EXPECT_EQ(poly.edivarc(0), 0);
    EXPECT_EQ(poly.GetCount(), 3);
    // The library's largest sagitta, 0.1: a half circle of radius 10 takes 11 inner points.
    EXPECT_EQ(poly.edivarc(-1), 11);
    ASSERT_EQ(poly.GetCount(), 14);
    EXPECT_EQ(poly.H()->bulge, 0);
    const P_Vertex* third = poly.H(3);
    EXPECT_EQ(int(third->flags), 7);
    EXPECT_EQ(int(third->tef1), 0);
    EXPECT_EQ(std::int64_t(third->tag), 0);
    EXPECT_EQ(std::int32_t(third->i40), 300000); // 3 twelfths of the way
    EXPECT_NEAR(CPoint3d(third->pt).dist2dTo(CPoint3d(10, 0, 0)), 10, 1e-9);
    EXPECT_NEAR(poly.getLen(0, 0, 0, nullptr), 10 * 12 * 2 * std::sin(std::numbers::pi / 24) + 5, 1e-9);
    // Nothing is left to divide.
    EXPECT_EQ(poly.edivarc(-1), 0);
}

TEST(HostPoints, EveryPointOfThePolylineEndsIncluded) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 1}, {10, 0, 2}, {10, 10, 3}});
    AcGePoint3dArray points;
    EXPECT_EQ(poly.topts(points, 0), 3);
    EXPECT_EQ(CPoint3d(points.last()), CPoint3d(10, 10, 3));
    poly.f70(1);
    EXPECT_EQ(poly.topts(points, 0), 4);
    EXPECT_EQ(CPoint3d(points.last()), CPoint3d(0, 0, 1));
}

TEST(HostPoints, ArcsAreCutIntoChordsAndPointsGoToTheWorld) {
    PolyArc3D poly;
    append(poly, {0, 0, 0}, {.bulge = 1});
    append(poly, {20, 0, 0});
    AcGePoint3dArray points;
    EXPECT_EQ(poly.topts(points, 0), 2);
    EXPECT_EQ(poly.topts(points, -1), 13);
    for (const AcGePoint3d& p : points)
        EXPECT_NEAR(CPoint3d(p).dist2dTo(CPoint3d(10, 0, 0)), 10, 1e-9);
    // Stored in a system of its own, the points are answered in the world.
    poly.setSNormal(AcGeVector3d(0, -1, 0), 0);
    EXPECT_EQ(poly.topts(points, -1), 13);
    const CPoint3d middle(10, -10, 0);
    EXPECT_NEAR(CPoint3d(points[6]).dist3dTo(poly.WorldPoint(&middle)), 0, 1e-9);
}

} // namespace
