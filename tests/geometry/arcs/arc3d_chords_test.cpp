#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "services/startup/fvar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The largest distance from the arc's circle to the middle of each chord between appended points.
double worstSagitta(const CArc3d& arc, const CPoint3dArray& points) {
    double worst = 0;
    for (int i = 1; i < points.length(); ++i) {
        const CPoint3d middle = (points[i - 1] + points[i]) / 2;
        worst = std::max(worst, arc.radius - arc.centre.dist2dTo(middle));
    }
    return worst;
}

} // namespace

TEST(Arc3dChords, HalfCircleWithinItsSagitta) {
    CArc3d arc(CPoint3d(0, 0, 4), CPoint3d(20, 0, 6), 1.0);
    CPoint3dArray points;
    points.append(CPoint3d(-1, -1, -1));
    ASSERT_EQ(arc.segments(points, 0.1), 13) << "11 inner points";
    ASSERT_EQ(points.length(), 14) << "appended after what was there";
    points.removeFirst();
    EXPECT_NEAR(points[0].x, 0, 1e-12);
    EXPECT_EQ(points[0].z, 4);
    EXPECT_NEAR(points[12].x, 20, 1e-12);
    EXPECT_EQ(points[12].z, 6);
    EXPECT_EQ(points[6].z, 4) << "inner points keep the start's height";
    for (int i = 0; i < points.length(); ++i)
        EXPECT_NEAR(arc.centre.dist2dTo(points[i]), 10, 1e-12);
    EXPECT_LE(worstSagitta(arc, points), 0.1);
    EXPECT_EQ(arc.centre.z, 5) << "left at the mean height";
}

TEST(Arc3dChords, OffsetsLieToTheRightOfTheTravel) {
    CArc3d ccw(CPoint3d(0, 0, 0), CPoint3d(2, 0, 0), 1.0);
    CPoint3dArray points;
    const int n = ccw.segments(points, 0.5, 0.5, 0.01);
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(ccw.centre.dist2dTo(points[i]), 1.5, 1e-12);

    CArc3d cw(CPoint3d(2, 0, 0), CPoint3d(0, 0, 0), -1.0);
    CPoint3dArray inside;
    const int m = cw.segments(inside, 0.5, 0.25, 0.01);
    EXPECT_NEAR(cw.centre.dist2dTo(inside[0]), 0.5, 1e-12);
    EXPECT_NEAR(cw.centre.dist2dTo(inside[m - 1]), 0.75, 1e-12);
    for (int i = 1; i < m; ++i)
        EXPECT_LT(cw.centre.dist2dTo(inside[i - 1]), cw.centre.dist2dTo(inside[i])) << "growing steadily";
}

// A straight segment has no side from its bulge: its ends move sideways, to the right of the travel.
TEST(Arc3dChords, StraightSegmentMovesItsEndsSideways) {
    CArc3d line(CPoint3d(0, 0, 1), CPoint3d(10, 0, 2), 0.0);
    CPoint3dArray points;
    ASSERT_EQ(line.segments(points, 1, 2, 0.1), 2);
    EXPECT_NEAR(points[0].x, 0, 1e-15);
    EXPECT_NEAR(points[0].y, -1, 1e-15);
    EXPECT_EQ(points[0].z, 1);
    EXPECT_NEAR(points[1].x, 10, 1e-15);
    EXPECT_NEAR(points[1].y, -2, 1e-15);
    EXPECT_EQ(points[1].z, 2);
}

TEST(Arc3dChords, SmallArcsAreTheirEnds) {
    CArc3d tiny(CPoint3d(0, 0, 0), CPoint3d(0.1, 0, 0), 1.0);
    CPoint3dArray points;
    EXPECT_EQ(tiny.segments(points, 0.1), 2) << "radius 0.05 is within twice the sagitta";
}

TEST(Arc3dChords, LibrarySagittaByDefault) {
    CArc3d arc(CPoint3d(0, 0, 0), CPoint3d(20, 0, 0), 1.0);
    CPoint3dArray points;
    ASSERT_EQ(vfVar.maxSagitta, 0.1);
    EXPECT_EQ(arc.segments(points, 0), 13);
    const double saved = vfVar.maxSagitta;
    vfVar.maxSagitta = 2.5; // s = sqrt(2): two inner points
    EXPECT_EQ(arc.segments(points, -1), 4);
    vfVar.maxSagitta = 0;
    EXPECT_EQ(arc.segments(points, 0), 2) << "no sagitta at all: the two ends";
    vfVar.maxSagitta = saved;
}

TEST(Arc3dChords, AbsurdlyFineToleranceIsBounded) {
    CArc3d arc(CPoint3d(0, 0, 0), CPoint3d(2000, 0, 0), 1.0);
    CPoint3dArray points;
    EXPECT_EQ(arc.segments(points, 1e-300), 1000002);
    EXPECT_NEAR(points[1000001].x, 2000, 1e-9);
}
