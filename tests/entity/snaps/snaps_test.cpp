// Object snaps on the polyline and the request that lists where each point came from.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "cadutil/resbuf/cresbuf.h"
#include "entity/snaps/osnap_request.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/editor_test_support.h"

using poly_test::append;

namespace {

struct Snaps : ::testing::Test {
    poly_test::RegisteredClasses classes;
    host::test::EditorSession session;
    PolyArc3D poly;
    AcGeMatrix3d planView; // looking down the z axis

    Snaps() {
        OsnapRequest::createRegistry();
        // A straight segment, a half circle round (15, 0) of radius 5, and a straight one again.
        append(poly, {0, 0, 0});
        append(poly, {10, 0, 0}, {.bulge = 1});
        append(poly, {20, 0, 0});
        append(poly, {20, 10, 0});
    }
    ~Snaps() override { OsnapRequest::destroyRegistry(); }

    AcGePoint3dArray snap(AcDb::OsnapMode mode, Adesk::GsMarker marker, const AcGePoint3d& pick,
                          const AcGePoint3d& last = AcGePoint3d::kOrigin) {
        AcGePoint3dArray points;
        AcDbIntArray ids;
        EXPECT_EQ(poly.getOsnapPoints(mode, marker, pick, last, planView, points, ids), Acad::eOk);
        return points;
    }
};

TEST_F(Snaps, EndMiddleAndCentreAreExact) {
    AcGePoint3dArray ends = snap(AcDb::kOsModeEnd, 2, {15, -5, 0});
    ASSERT_EQ(ends.length(), 2);
    EXPECT_EQ(ends[0], AcGePoint3d(10, 0, 0));
    EXPECT_EQ(ends[1], AcGePoint3d(20, 0, 0));
    AcGePoint3dArray middle = snap(AcDb::kOsModeMid, 2, {15, -5, 0});
    ASSERT_EQ(middle.length(), 1);
    EXPECT_NEAR(middle[0].x, 15, 1e-12);
    EXPECT_NEAR(middle[0].y, -5, 1e-12);
    AcGePoint3dArray centre = snap(AcDb::kOsModeCen, 2, {15, -5, 0});
    ASSERT_EQ(centre.length(), 1);
    EXPECT_NEAR(centre[0].distanceTo(AcGePoint3d(15, 0, 0)), 0, 1e-12);
    EXPECT_TRUE(snap(AcDb::kOsModeCen, 1, {5, 0, 0}).isEmpty());
    EXPECT_TRUE(snap(AcDb::kOsModeIns, 1, {5, 0, 0}).isEmpty());
}

TEST_F(Snaps, PerpendicularFeetAndTangentPointsMeetTheirConditions) {
    const AcGePoint3d last(6, 7, 0);
    AcGePoint3dArray foot = snap(AcDb::kOsModePerp, 1, {5, 0, 0}, last);
    ASSERT_EQ(foot.length(), 1);
    EXPECT_NEAR((last - foot[0]).dotProduct(AcGeVector3d(1, 0, 0)), 0, 1e-12);
    const AcGePoint3d below(15, -12, 0);
    AcGePoint3dArray onArc = snap(AcDb::kOsModePerp, 2, {15, -5, 0}, below);
    ASSERT_EQ(onArc.length(), 1);
    EXPECT_NEAR(onArc[0].distanceTo(AcGePoint3d(15, -5, 0)), 0, 1e-12);

    const AcGePoint3d centre(15, 0, 0), from(15, -20, 0);
    AcGePoint3dArray tangents = snap(AcDb::kOsModeTan, 2, {15, -5, 0}, from);
    ASSERT_EQ(tangents.length(), 2);
    for (const AcGePoint3d& t : tangents)
        EXPECT_NEAR((from - t).dotProduct(t - centre), 0, 1e-9);
    // From inside the circle there is no tangent.
    EXPECT_TRUE(snap(AcDb::kOsModeTan, 2, {15, -5, 0}, {15, -1, 0}).isEmpty());
}

TEST_F(Snaps, NearestPointsLieOnTheCurveUnderThePick) {
    AcGePoint3dArray straight = snap(AcDb::kOsModeNear, 1, {4, 0.5, 0});
    ASSERT_EQ(straight.length(), 1);
    EXPECT_EQ(straight[0], AcGePoint3d(4, 0, 0));
    AcGePoint3dArray arc = snap(AcDb::kOsModeNear, 2, {15, -5.5, 0});
    ASSERT_EQ(arc.length(), 1);
    EXPECT_NEAR(arc[0].distanceTo(AcGePoint3d(15, -5, 0)), 0, 1e-12);
    // A pick on the curve is answered as it is.
    AcGePoint3dArray on = snap(AcDb::kOsModeNear, 1, {4, 0.0001, 0});
    EXPECT_EQ(on[0], AcGePoint3d(4, 0.0001, 0));
}

TEST_F(Snaps, APickBetweenTwoSegmentsTakesTheFirst) {
    // (10, 0) is the end of the first segment and the start of the arc: both are at distance 0.
    AcGePoint3dArray ends = snap(AcDb::kOsModeEnd, 0, {10, 0, 0});
    ASSERT_EQ(ends.length(), 2);
    EXPECT_EQ(ends[0], AcGePoint3d(0, 0, 0));
    EXPECT_TRUE(snap(AcDb::kOsModeEnd, 0, {100, 100, 0}).isEmpty());
}

TEST_F(Snaps, EndSnapsStepOverGeneratedVertices) {
    PolyArc3D smooth;
    append(smooth, {0, 0, 0});
    append(smooth, {5, 1, 0}, {.flags = 1});
    append(smooth, {10, 0, 0}, {.flags = 1});
    append(smooth, {15, 1, 0});
    AcGePoint3dArray points;
    AcDbIntArray ids;
    ASSERT_EQ(smooth.getOsnapPoints(AcDb::kOsModeEnd, 2, {7, 0, 0}, {}, planView, points, ids), Acad::eOk);
    ASSERT_EQ(points.length(), 2);
    EXPECT_EQ(points[0], AcGePoint3d(0, 0, 0));
    EXPECT_EQ(points[1], AcGePoint3d(15, 1, 0));
}

TEST_F(Snaps, ARequestListsItsBestPointFirst) {
    OsnapRequest request(&poly);
    snap(AcDb::kOsModeEnd, 2, {15, -5, 0});
    EXPECT_EQ(request.m_count, 2);
    const resbuf* first = request.m_candidates->head();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->restype, RTLB);
    EXPECT_EQ(first->rbnext->restype, RT3DPOINT);
    EXPECT_EQ(request.m_bestMode, AcDb::kOsModeEnd);
    EXPECT_EQ(request.FindPoint(CPoint3d(20, 0, 0)), 2);
    EXPECT_EQ(request.m_bestPoint, CPoint3d(20, 0, 0));
    EXPECT_EQ(request.FindPoint(CPoint3d(20, 0, 1e-9)), -1);
    request.Reset();
    EXPECT_EQ(request.m_count, 0);
    EXPECT_EQ(request.m_bestIndex, -1);
    EXPECT_EQ(OsnapRequest::find(&poly), &request);
}

TEST_F(Snaps, ATiltedViewRanksByTheViewLine) {
    OsnapRequest request(&poly);
    AcGeMatrix3d tilted;
    tilted(2, 0) = 0.6;
    tilted(2, 2) = 0.8;
    AcGePoint3dArray points;
    AcDbIntArray ids;
    ASSERT_EQ(poly.getOsnapPoints(AcDb::kOsModeEnd, 1, {9, 0, 0}, {}, tilted, points, ids), Acad::eOk);
    ASSERT_EQ(points.length(), 2);
    EXPECT_EQ(request.m_bestPoint, CPoint3d(10, 0, 0));
    EXPECT_EQ(request.m_bestIndex, 1);
}

} // namespace
