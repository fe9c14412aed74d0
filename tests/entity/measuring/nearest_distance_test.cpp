// The nearest point and the point at a distance along the polyline, and the vertices they insert.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/entity/poly_test_support.h"

using poly_test::append;
using poly_test::appendAll;

namespace {

constexpr double kPi = std::numbers::pi;

// One arc segment: the half circle of diameter 2 from (0, 0) to (2, 0) through (1, -1).
void halfCircle(CPolyArc3D& poly) {
    append(poly, {0, 0, 0}, {.bulge = 1});
    append(poly, {2, 0, 0});
}

TEST(NearestPoint, AVertexSharedByTwoSegmentsAnswersTheLaterSegment) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    CPoint3d p(10, 0, 0), foot;
    double along = -1, offset = -1, cumul = -1;
    EXPECT_EQ(poly.ptAtPoint(nullptr, &p, 0, 0, &foot, &along, &offset, &cumul), poly.H(1));
    EXPECT_EQ(foot, p);
    EXPECT_EQ(along, 0);
    EXPECT_DOUBLE_EQ(cumul, 10);
    // Beside the second segment, on the right of the travel; from a later vertex only what follows counts.
    p = CPoint3d(13, 4, 0);
    EXPECT_EQ(poly.ptAtPoint(poly.H(1), &p, 0, 0, &foot, &along, &offset, &cumul), poly.H(1));
    EXPECT_EQ(foot, CPoint3d(10, 4, 0));
    EXPECT_DOUBLE_EQ(offset, 3);
    EXPECT_DOUBLE_EQ(cumul, 4);
}

TEST(NearestPoint, BeyondTheEndTheDistanceGrowsByTheExcess) {
    // A last segment ending at (10, 0) and a first one 1.5 beside the line beyond it.
    PolyArc3D poly;
    appendAll(poly,
              {{10.5, 1.5, 0}, {30, 1.5, 0}, {30, 50, 0}, {-30, 50, 0}, {-30, 0, 0}, {0, 0, 0}, {10, 0, 0}});
    CPoint3d p(11, 0, 0), foot;
    double along = 0;
    EXPECT_EQ(poly.ptAtPoint(nullptr, &p, 0, 0, &foot, &along, nullptr, nullptr), poly.T(1));
    EXPECT_EQ(foot, CPoint3d(10, 0, 0));
    EXPECT_DOUBLE_EQ(along, 10);
    // Two beyond the end is farther than 1.5 beside the first segment.
    p = CPoint3d(12, 0, 0);
    EXPECT_EQ(poly.ptAtPoint(nullptr, &p, 0, 0, &foot, nullptr, nullptr, nullptr), poly.H());
}

TEST(NearestPoint, InsertingInTheMiddleOfAHalfCircleSplitsItIntoTwoQuarterArcs) {
    PolyArc3D poly;
    halfCircle(poly);
    CPoint3d p(1, -1.00005, 0), foot;
    double along = -1;
    P_Vertex* inserted = poly.ptAtPoint(nullptr, &p, 0, 2, &foot, &along, nullptr, nullptr);
    ASSERT_EQ(poly.GetCount(), 3);
    ASSERT_EQ(inserted, poly.H(1));
    EXPECT_NEAR(CPoint3d(inserted->pt).x, 1, 1e-12);
    EXPECT_NEAR(CPoint3d(inserted->pt).y, -1, 1e-12);
    EXPECT_NEAR(poly.H()->bulge, std::tan(kPi / 8), 1e-9);
    EXPECT_NEAR(inserted->bulge, std::tan(kPi / 8), 1e-9);
    EXPECT_EQ(along, 0);
    EXPECT_EQ(int(inserted->flags), 0);
    // Too far from the arc for the tolerance: nothing is inserted.
    p = CPoint3d(0.5, -0.5, 0);
    EXPECT_EQ(poly.ptAtPoint(nullptr, &p, 0.01, 2, nullptr, nullptr, nullptr, nullptr), poly.H());
    EXPECT_EQ(poly.GetCount(), 3);
}

TEST(NearestPoint, AnInsertedVertexTakesItsWidthAndHeightCodesAlongTheSegment) {
    PolyArc3D poly;
    append(poly, {0, 0, 0}, {.i39 = 100000, .i40 = 0});
    append(poly, {10, 0, 0}, {.i39 = 300000, .i40 = 50000});
    CPoint3d p(2.5, 0.00001, 0);
    P_Vertex* inserted = poly.ptAtPoint(nullptr, &p, 0, 2, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_EQ(std::int32_t(inserted->i39), 150000);
    EXPECT_EQ(std::int32_t(inserted->i40), 12500);
    EXPECT_EQ(std::int64_t(inserted->tag), 0);
}

TEST(NearestPoint, InThreeDimensionsTheNearerHeightDecidesBetweenEqualDistances) {
    // Two segments on top of each other in plan, at heights 5 and 9.
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 5}, {10, 0, 5}, {10, 0, 9}, {0, 0, 9}});
    CPoint3d p(4, 0, 8.5), foot;
    EXPECT_EQ(poly.ptAtPoint(nullptr, &p, 0, 1, &foot, nullptr, nullptr, nullptr), poly.H(2));
    EXPECT_DOUBLE_EQ(foot.z, 9);
    EXPECT_EQ(poly.ptAtPoint(nullptr, &p, 0, 0, &foot, nullptr, nullptr, nullptr), poly.H());
}

// A first segment 1 away from (5, 1), 200 far segments (with `arcs`, arcs under and past a half circle), then
// a segment whose start ties with the first one by the start rule: answers that start.
P_Vertex* tieAfterFarSegments(CPolyArc3D& poly, bool arcs) {
    append(poly, {0, 0, 1});
    append(poly, {10, 0, 2}); // foot (5, 0)
    for (int i = 0; i < 200; ++i) {
        const double bulge = !arcs || i == 199 ? 0.0 : (i % 3 == 0 ? 2.5 : -0.3);
        append(poly, {100.0 + 3 * i, 500.0 + 40 * (i % 2), 3.0 + i % 7}, {.bulge = bulge});
    }
    append(poly, {100, 2.00001, 4});
    P_Vertex* tie = append(poly, {5, 2.00001, 5}, {.bulge = arcs ? 0.1 : 0.0}); // 1.00001 away
    append(poly, {5, 50, 6});
    return tie;
}

// Far segments and arcs are passed over quickly, but they still count in the length to the point, and a later
// segment that ties with the best one by the start rule still wins after them.
TEST(NearestPoint, AfterManyFarSegmentsALaterStartWithinTheTieWins) {
    for (const bool arcs : {false, true}) {
        for (const int in3d : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "arcs " << arcs << " in3d " << in3d);
            PolyArc3D poly;
            P_Vertex* tie = tieAfterFarSegments(poly, arcs);
            CPoint3d p(5, 1, 0), foot;
            double along = -1, cumul = -1;
            EXPECT_EQ(poly.ptAtPoint(nullptr, &p, 0, in3d, &foot, &along, nullptr, &cumul), tie);
            EXPECT_EQ(foot, poly_test::point(tie));
            EXPECT_EQ(along, 0);
            EXPECT_NEAR(cumul, poly.getLenAtVertex(tie, in3d, nullptr), 1e-7);
            // Beyond the tie, the first segment keeps the point.
            CPoint3d moved = poly_test::point(tie);
            moved.y = 2.001;
            tie->pt = moved;
            EXPECT_EQ(poly.ptAtPoint(nullptr, &p, 0, in3d, &foot, &along, nullptr, &cumul), poly.H());
            EXPECT_NEAR(cumul, in3d ? std::hypot(5, 0.5) : 5, 1e-9); // in 3-D along the slope
        }
    }
}

// Past a half circle, an arc whose chord lies 19 away bows to within 0.5 of the point.
TEST(NearestPoint, AnArcBowingNearFromAFarChordWins) {
    for (const int in3d : {0, 1}) {
        SCOPED_TRACE(in3d);
        PolyArc3D poly;
        tieAfterFarSegments(poly, true);
        P_Vertex* bow = append(poly, {0, 20, 7}, {.bulge = 3.7});
        append(poly, {10, 20, 8});
        CPoint3d p(5, 1, 0), foot;
        double along = -1, cumul = -1;
        EXPECT_EQ(poly.ptAtPoint(nullptr, &p, 0, in3d, &foot, &along, nullptr, &cumul), bow);
        EXPECT_NEAR(foot.dist2dTo(p), 0.5, 1e-9);
        EXPECT_NEAR(cumul, poly.getLenAtVertex(bow, in3d, nullptr) + along, 1e-7);
    }
}

// Arcs that the arc geometry clamps (past a half circle on a large radius, and nearly flat on a huge one):
// the lengths to a point and the point at a length run along the polyline as stored, as its length does.
TEST(NearestPoint, LengthsOverClampedArcsRunAlongTheStoredPolyline) {
    for (const int in3d : {0, 1}) {
        SCOPED_TRACE(in3d);
        PolyArc3D poly;
        append(poly, {0, 0, 10}, {.bulge = 2});
        append(poly, {10000, 0, 20}, {.bulge = 1e-4});
        append(poly, {20000, 0, 30});
        append(poly, {20000, 5000, 40});
        for (int i = 1; i < 4; ++i) {
            P_Vertex* v = poly.H(i);
            const double expected = poly.getLenAtVertex(v, in3d, nullptr);
            CPoint3d p = poly_test::point(v), foot, point;
            double cumul = -1;
            poly.ptAtPoint(nullptr, &p, 0, in3d, &foot, nullptr, nullptr, &cumul);
            EXPECT_NEAR(cumul, expected, 1e-6) << i;
            EXPECT_EQ(poly.ptAtDist(nullptr, expected, 0, in3d, &point, nullptr), v) << i;
            EXPECT_NEAR(point.dist2dTo(poly_test::point(v)), 0, 1e-6) << i;
        }
        // Inside each arc: the point found and the point at its length are one.
        for (const CPoint3d& probe : {CPoint3d(5000, -3000, 0), CPoint3d(15000, -2, 0)}) {
            CPoint3d p = probe, foot, point;
            double along = -1, cumul = -1, alongThere = -1;
            P_Vertex* segment = poly.ptAtPoint(nullptr, &p, 0, in3d, &foot, &along, nullptr, &cumul);
            ASSERT_NE(segment, nullptr);
            EXPECT_GT(along, 0);
            EXPECT_NEAR(cumul, poly.getLenAtVertex(segment, in3d, nullptr) + along, 1e-6);
            EXPECT_EQ(poly.ptAtDist(nullptr, cumul, 0, in3d, &point, &alongThere), segment);
            // On the flat arc the arc geometry's own clamped arc puts a length a few parts in 1e7 off its
            // nearest point.
            EXPECT_NEAR(point.dist2dTo(foot), 0, 1e-6 * cumul) << probe.x;
            EXPECT_NEAR(alongThere, along, 1e-6);
        }
    }
}

TEST(PointAtDistance, FindsTheSegmentAndTheDistanceAlongIt) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    CPoint3d point;
    double along = 0;
    EXPECT_EQ(poly.ptAtDist(nullptr, 13, 0, 0, &point, &along), poly.H(1));
    EXPECT_EQ(point, CPoint3d(10, 3, 0));
    EXPECT_DOUBLE_EQ(along, 3);
    // At the end of a segment: the vertex after it, at its start.
    EXPECT_EQ(poly.ptAtDist(nullptr, 10, 0, 0, &point, &along), poly.H(1));
    EXPECT_EQ(point, CPoint3d(10, 0, 0));
    EXPECT_EQ(along, 0);
    // In 3-D the slope counts: the first segment is about 14.1 long.
    poly.H()->pt = CPoint3d(0, 0, 1);
    poly.H(1)->pt = CPoint3d(10, 0, 11);
    poly.T()->pt = CPoint3d(10, 10, 11);
    EXPECT_EQ(poly.ptAtDist(nullptr, 12, 0, 1, &point, nullptr), poly.H());
    EXPECT_NEAR(point.z, 1 + 12 / std::sqrt(2.0), 1e-9);
    EXPECT_EQ(poly.ptAtDist(nullptr, 12, 0, 0, &point, nullptr), poly.H(1));
}

TEST(PointAtDistance, PastTheEndAnswersTheEnd) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    CPoint3d point;
    EXPECT_EQ(poly.ptAtDist(nullptr, 25, 0, 0, &point, nullptr), poly.T());
    EXPECT_EQ(point, CPoint3d(10, 10, 0));
    // Round a closed polyline, from any vertex.
    poly.f70(1);
    EXPECT_EQ(poly.ptAtDist(poly.H(1), 25, 0, 0, &point, nullptr), poly.H());
    EXPECT_NEAR(point.x, 15 - std::sqrt(200.0), 1e-9);
    EXPECT_NEAR(point.y, 0, 1e-9);
    EXPECT_EQ(poly.ptAtDist(poly.H(1), 40, 0, 0, &point, nullptr), poly.H(1));
}

TEST(PointAtDistance, InsertingOnAnArcKeepsTheCircle) {
    PolyArc3D poly;
    halfCircle(poly);
    CPoint3d point;
    double along = -1;
    P_Vertex* inserted = poly.ptAtDist(nullptr, kPi / 4, 0, 2, &point, &along);
    ASSERT_EQ(poly.GetCount(), 3);
    ASSERT_EQ(inserted, poly.H(1));
    EXPECT_EQ(along, 0);
    EXPECT_NEAR(point.x, 1 - std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(point.y, -std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(poly.H()->bulge, std::tan(kPi / 16), 1e-9);
    EXPECT_NEAR(inserted->bulge, std::tan(3 * kPi / 16), 1e-9);
    EXPECT_NEAR(poly.getLen(0, 0, 0, nullptr), kPi, 1e-9);
}

TEST(PointAtDistance, AVertexInsertedInASmoothedSpanKeepsAGeneratedVertexOnEachSide) {
    // hard - generated - hard: a vertex inserted after the generated one, with bit 2.
    PolyArc3D poly;
    append(poly, {0, 0, 0});
    append(poly, {5, 1, 0}, {.flags = 1});
    append(poly, {10, 0, 0});
    P_Vertex* inserted = poly.ptAtDist(nullptr, 7.5, 0, 2 | 4, nullptr, nullptr);
    ASSERT_EQ(poly.GetCount(), 5);
    EXPECT_EQ(int(inserted->flags), 0);
    EXPECT_EQ(int(poly.H(1)->flags), 1);
    EXPECT_EQ(int(poly.H(3)->flags), 1);
    // Bit 3 marks the generated neighbours instead.
    PolyArc3D marked;
    append(marked, {0, 0, 0});
    append(marked, {5, 0, 0}, {.flags = 1});
    append(marked, {10, 0, 0}, {.flags = 1});
    append(marked, {15, 0, 0});
    inserted = marked.ptAtDist(nullptr, 2.5, 0, 2 | 8, nullptr, nullptr);
    ASSERT_EQ(marked.GetCount(), 5);
    EXPECT_EQ(int(marked.H(1)->flags), 0); // a copy of the hard start vertex
    EXPECT_EQ(int(marked.H(2)->flags), 3);
}

} // namespace
