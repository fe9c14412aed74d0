// Smoothing with generated vertices, the updates after an edit and the simplification.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "services/startup/shared_records.h"
#include "tests/entity/poly_test_support.h"

using poly_test::append;
using poly_test::appendAll;
using poly_test::point;

namespace {

constexpr double kPi = std::numbers::pi;

// Hard vertices on the circle of radius 10 round the origin every 30 degrees, a generated vertex between each
// two, placed off the circle.
void smoothedCircle(CPolyArc3D& poly, int hardCount) {
    for (int i = 0; i < hardCount; ++i) {
        const double a = i * kPi / 6;
        append(poly, {10 * std::cos(a), 10 * std::sin(a), 0});
        if (i + 1 < hardCount) append(poly, {std::cos(a), std::sin(a), 0}, {.flags = 1});
    }
}

// The flag word that programs of the other family set while they work on polylines.
struct SuspendedSmoothing {
    explicit SuspendedSmoothing(std::int64_t bits) : saved(g_pSZortaTAVRO->flags) {
        g_pSZortaTAVRO->flags = bits;
    }
    ~SuspendedSmoothing() { g_pSZortaTAVRO->flags = saved; }
    std::int64_t saved;
};

TEST(Smoothing, GeneratedVerticesBetweenPointsOfACircleLandOnIt) {
    PolyArc3D poly;
    smoothedCircle(poly, 5);
    EXPECT_EQ(poly.lisse(nullptr, nullptr, -1000, -1000), 4);
    // Each span of 30 degrees becomes two arcs of 15 degrees on the circle; at the open ends the missing
    // tangent mirrors the other one.
    for (int i : {1, 3, 5, 7}) {
        const P_Vertex* v = poly.H(i);
        EXPECT_NEAR(point(v).dist2dTo(CPoint3d(0, 0, 0)), 10, 1e-9) << i;
        EXPECT_NEAR(v->bulge, std::tan(kPi / 48), 1e-9) << i;
        EXPECT_NEAR(poly.H(i - 1)->bulge, std::tan(kPi / 48), 1e-9) << i;
    }
}

TEST(Smoothing, NothingMovesWhileAnotherProgramSuspendsIt) {
    for (std::int64_t bits : {1, 2}) {
        PolyArc3D poly;
        smoothedCircle(poly, 3);
        SuspendedSmoothing suspended(bits);
        EXPECT_EQ(poly.lisse(nullptr, nullptr, -1000, -1000), 0);
        EXPECT_EQ(point(poly.H(1)), CPoint3d(1, 0, 0));
    }
    PolyArc3D poly;
    smoothedCircle(poly, 3);
    SuspendedSmoothing other(4);
    EXPECT_EQ(poly.lisse(nullptr, nullptr, -1000, -1000), 2);
}

TEST(Smoothing, WithoutTangentsTheVertexGoesToTheMiddle) {
    PolyArc3D poly;
    append(poly, {0, 0, 10}, {.i39 = 100, .i40 = 7});
    append(poly, {3, 3, 99}, {.flags = 1, .tef1 = 5});
    append(poly, {10, 0, 20}, {.i39 = 301, .i40 = 7});
    EXPECT_EQ(poly.lisse(nullptr, nullptr, -1000, -1000), 1);
    EXPECT_EQ(point(poly.H(1)), CPoint3d(5, 0, 15));
    EXPECT_EQ(std::int32_t(poly.H(1)->i39), 200);
    EXPECT_EQ(int(poly.H(1)->tef1), 0);
    EXPECT_EQ(poly.H()->bulge, 0);
}

TEST(Smoothing, CoincidentPointsLeaveNoUnsoundGeometry) {
    PolyArc3D poly;
    append(poly, {0, 0, 0});
    append(poly, {5, 5, 0});
    append(poly, {5, 5, 0}, {.flags = 1});
    append(poly, {5, 5, 0});
    append(poly, {5, 5, 0}, {.flags = 1});
    append(poly, {10, 0, 0});
    poly.lisse(nullptr, nullptr, -1000, -1000);
    EXPECT_TRUE(poly.hasSoundVertices());
    EXPECT_EQ(poly.GetCount(), 6);
}

TEST(Smoothing, BreaksBecomeCornersAndDigitisedArcPointsBendTheirSegments) {
    PolyArc3D poly;
    append(poly, {0, 0, 0});
    append(poly, {5, 1, 0}, {.flags = 1});
    append(poly, {10, 0, 0}, {.tef1 = 2});
    append(poly, {12, 1, 0}, {.flags = 1});
    append(poly, {14, 0, 0});
    append(poly, {24, 10, 0}, {.flags = 8});
    append(poly, {34, 0, 0});
    poly.lisse(nullptr, nullptr, -1000, -1000);
    ASSERT_EQ(poly.GetCount(), 6);
    EXPECT_EQ(int(poly.H(2)->flags), 4);
    EXPECT_EQ(int(poly.H(3)->flags), 4);
    EXPECT_EQ(poly.H(2)->bulge, 0);
    EXPECT_NEAR(poly.H(3)->bulge, std::tan(-kPi / 8), 1e-9); // the circle through (14, 0), (24, 10), (34, 0)
    EXPECT_NEAR(poly.H(4)->bulge, std::tan(-kPi / 8), 1e-9);
}

TEST(Updates, MidpointsOnEveryArcThenSmoothing) {
    PolyArc3D poly;
    append(poly, {-10, 0, 0}, {.bulge = 0.3});
    append(poly, {0, 10, 0}, {.bulge = 0.1});
    append(poly, {10, 0, 0});
    EXPECT_EQ(poly.maj(4, 0, 0), 2);
    ASSERT_EQ(poly.GetCount(), 5);
    // Smoothed through three points of one circle, the midpoints land on it.
    for (int i : {1, 3}) {
        EXPECT_EQ(int(poly.H(i)->flags), 1);
        EXPECT_NEAR(point(poly.H(i)).dist2dTo(CPoint3d(0, 0, 0)), 10, 1e-9);
    }
    EXPECT_EQ(poly.maj(1, 0, 0), 1); // no midpoints asked
    EXPECT_EQ(poly.GetCount(), 5);
}

TEST(Updates, MatchingEndsClose) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 5}, {10, 0, 5}, {10, 10, 5}, {0.001, 0, 5.002}});
    EXPECT_EQ(poly.maj(0, 0, 0), 1);
    EXPECT_EQ(poly.GetCount(), 4);
    EXPECT_EQ(poly.maj(0, 0.01, 0.01), 1);
    EXPECT_EQ(poly.GetCount(), 3);
    EXPECT_TRUE(poly.f70() & 1);
    // A single vertex is never taken for a closed polyline.
    PolyArc3D lone;
    appendAll(lone, {{1, 2, 3}});
    EXPECT_EQ(lone.maj(-1, 0, 0), -1);
    EXPECT_EQ(lone.GetCount(), 1);
}

TEST(Updates, GeneratedVerticesTakeTheirAttributesAlongTheRun) {
    PolyArc3D poly;
    append(poly, {0, 0, 10}, {.tef2 = 3, .i39 = 0, .i40 = 1000});
    append(poly, {1, 0, 0}, {.flags = 1});
    append(poly, {3, 0, 0}, {.flags = 1});
    append(poly, {4, 0, 30}, {.i39 = 400, .i40 = 1000});
    append(poly, {5, 0, 30}, {.tef1 = 2});
    append(poly, {6, 0, 0}, {.flags = 1});
    append(poly, {7, 0, 30});
    EXPECT_EQ(poly.majVertex(nullptr, nullptr), 6);
    EXPECT_EQ(std::int32_t(poly.H(1)->i39), 100);
    EXPECT_EQ(std::int32_t(poly.H(2)->i39), 300);
    EXPECT_DOUBLE_EQ(point(poly.H(2)).z, 25);
    EXPECT_EQ(int(poly.H(2)->tef2), 3);
    // After a break the generated vertices go and both ends become corners.
    EXPECT_EQ(int(poly.H(4)->flags), 4);
    EXPECT_EQ(point(poly.H(5)).x, 7);
    EXPECT_EQ(int(poly.H(5)->flags), 4);
}

TEST(Simplification, ClosePointsGoButEveryThirdAndTheLastStay) {
    PolyArc3D poly;
    for (int i = 0; i <= 10; ++i)
        append(poly, {0.4 * i, 0, 0});
    EXPECT_EQ(poly.EpurePts(0, 0, 1, 0, 0), 6);
    std::vector<double> x;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        x.push_back(point(v).x);
    ASSERT_EQ(x.size(), 5u);
    EXPECT_NEAR(x[1], 1.2, 1e-12);
    EXPECT_NEAR(x[2], 2.4, 1e-12);
    EXPECT_NEAR(x[3], 3.6, 1e-12);
    EXPECT_NEAR(x[4], 4.0, 1e-12);
    // A vertex whose code differs from the one kept stays.
    PolyArc3D coded;
    for (int i = 0; i <= 4; ++i)
        append(coded, {0.4 * i, 0, 0}, {.tef1 = static_cast<signed char>(i == 1 ? 5 : 0)});
    EXPECT_EQ(coded.EpurePts(0, 0, 1, 0, 1), 1);
    EXPECT_EQ(coded.GetCount(), 4);
}

TEST(Simplification, GeneratedVerticesAfterARemovedVertexStay) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {0.5, 0, 0}});
    append(poly, {3, 1, 0}, {.flags = 1});
    append(poly, {6, 0, 0});
    EXPECT_EQ(poly.EpurePts(0, 0, 1, 0, 0), 1);
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_EQ(int(poly.H(1)->flags), 1); // now between the first vertex and the last
}

TEST(Simplification, VerticesNearTheChordGoUpToTheLongestSpan) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {1, 0.003, 0}, {2, -0.002, 0}, {3, 0.002, 0}, {4, 0, 0}, {5, 3, 0}});
    EXPECT_EQ(poly.EpurePts(0.005, 0, 0, 0, 0), 3);
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_EQ(point(poly.H(1)), CPoint3d(4, 0, 0));
    EXPECT_EQ(poly.H()->bulge, 0);
    // The longest span is bounded by the largest distance asked.
    PolyArc3D bounded;
    appendAll(bounded, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    EXPECT_EQ(bounded.EpurePts(0.005, 0, 0, 2, 0), 2);
    EXPECT_EQ(bounded.GetCount(), 3);
}

TEST(Simplification, AClosedOutlineKeepsItsHeadAndStaysClosed) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {0, 5, 0}, {0, 10, 0}, {10, 10, 0}, {10, 0, 0}, {5, 0, 0}});
    poly.f70(1);
    EXPECT_EQ(poly.EpurePts(0.001, 0, 0, 0, 0), 2);
    EXPECT_EQ(poly.GetCount(), 4);
    EXPECT_TRUE(poly.f70() & 1);
    EXPECT_EQ(point(poly.H()), CPoint3d(0, 0, 0));
}

TEST(Simplification, ASmoothedRunFittedByAnArcKeepsAGeneratedMidpoint) {
    // A half circle drawn by smoothing: hard ends, one generated vertex at its middle.
    PolyArc3D poly;
    append(poly, {0, 0, 0}, {.bulge = std::tan(kPi / 8)});
    append(poly, {10, -10, 0}, {.bulge = std::tan(kPi / 8), .flags = 1});
    append(poly, {20, 0, 0});
    EXPECT_EQ(poly.EpurePts(0.01, 0, 0, 0, 0), 0) << "the generated vertex merged away is back";
    ASSERT_EQ(poly.GetCount(), 3);
    // Smoothing without tangents would straighten the span: the midpoint stays fixed (flags 3) on the arc.
    EXPECT_EQ(int(poly.H(1)->flags), 3);
    EXPECT_NEAR(point(poly.H(1)).x, 10, 1e-9);
    EXPECT_NEAR(point(poly.H(1)).y, -10, 1e-9);
    EXPECT_NEAR(poly.H()->bulge, std::tan(kPi / 8), 1e-9);
    // Where smoothing would put it anyway, it becomes an ordinary generated vertex.
    PolyArc3D straight;
    append(straight, {0, 0, 0}, {.bulge = 1e-9});
    append(straight, {5, 0, 0}, {.flags = 1});
    append(straight, {10, 0, 0});
    EXPECT_EQ(straight.EpurePts(0.01, 0, 0, 0, 0), 0);
    ASSERT_EQ(straight.GetCount(), 3);
    EXPECT_EQ(int(straight.H(1)->flags), 1);
}

} // namespace
