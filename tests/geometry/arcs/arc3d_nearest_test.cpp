#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "tests/geometry/near_points.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const CPoint3d kUntouched(-7, -7, -7);

} // namespace

TEST(Arc3dPointAtDistance, SnapsWithinTheToleranceAndNoFurther) {
    CArc3d arc(CPoint3d(0, 0, 1), CPoint3d(2, 0, 3), 1.0);
    const double length = arc.len();
    CPoint3d pt = kUntouched;
    EXPECT_EQ(arc.ptAtDist(length + 0.00005, pt), -2);
    EXPECT_EQ(pt, arc.end);
    pt = kUntouched;
    EXPECT_EQ(arc.ptAtDist(length + 0.001, pt), 0);
    EXPECT_EQ(pt, kUntouched);
    EXPECT_EQ(arc.ptAtDist(-0.00005, pt), -1);
    EXPECT_EQ(pt, arc.start);
    pt = kUntouched;
    EXPECT_EQ(arc.ptAtDist(-0.001, pt), 0);
    EXPECT_EQ(pt, kUntouched);

    EXPECT_EQ(arc.ptAtDist(length / 2, pt), 1);
    EXPECT_TRUE(nearPoints(pt, CPoint3d(1, -1, 1))) << "the arc's points stay at the centre's height";
    CArc3d zero(CPoint3d(1, 1, 0), CPoint3d(1, 1, 5), 0.0);
    EXPECT_EQ(zero.ptAtDist(3, pt), 0);
    EXPECT_EQ(pt, zero.start);
}

TEST(Arc3dPointAtDistance, StraightAndSlopeDistances) {
    CArc3d line(CPoint3d(0, 0, 10), CPoint3d(3, 4, 22), 0.0);
    CPoint3d pt;
    EXPECT_EQ(line.ptAtDist(2.5, pt), 1);
    EXPECT_TRUE(nearPoints(pt, CPoint3d(1.5, 2, 16)));
    EXPECT_EQ(line.ptAtDist(6.5, pt, 1), 1) << "13 along the slope";
    EXPECT_TRUE(nearPoints(pt, CPoint3d(1.5, 2, 16)));
}

TEST(Arc3dPointAtDistance, CutsTheSegment) {
    CArc3d arc(CPoint3d(0, 0, 0), CPoint3d(2, 0, 0), 1.0);
    CPoint3d pt;
    ASSERT_EQ(arc.ptAtDist(M_PI / 2, pt, 0, 1), 1);
    EXPECT_TRUE(nearPoints(arc.end, CPoint3d(1, -1, 0)));
    EXPECT_NEAR(arc.endGis, 0, 1e-15);
    EXPECT_NEAR(arc.bulge, std::tan(M_PI / 8), 1e-15);
    EXPECT_NEAR(arc.chord, std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(arc.len(), M_PI / 2, 1e-15);
    EXPECT_NEAR(arc.chordGis, _400rd - _50rd, 1e-15) << "the chord's direction follows the cut";

    CArc3d rest(CPoint3d(0, 0, 0), CPoint3d(2, 0, 0), 1.0);
    ASSERT_EQ(rest.ptAtDist(M_PI / 2, pt, 0, 2), 1);
    EXPECT_TRUE(nearPoints(rest.start, CPoint3d(1, -1, 0)));
    EXPECT_NEAR(rest.startGis, 0, 1e-15);
    EXPECT_NEAR(rest.len(), M_PI / 2, 1e-15);

    CArc3d line(CPoint3d(0, 0, 0), CPoint3d(10, 0, 0), 0.0);
    ASSERT_EQ(line.ptAtDist(4, pt, 0, 2), 1);
    EXPECT_EQ(line.start, CPoint3d(4, 0, 0));
    EXPECT_DOUBLE_EQ(line.chord, 6);
}

TEST(Arc3dNearest, StraightSegment) {
    CArc3d line(CPoint3d(0, 0, 10), CPoint3d(10, 0, 20), 0.0);
    CPoint3d foot;
    double along = -1, offset = 0;
    EXPECT_EQ(line.ptprox(CPoint3d(-0.00005, 1, 0), foot, &along), -1);
    EXPECT_EQ(foot, line.start);
    EXPECT_EQ(along, 0);
    EXPECT_EQ(line.ptprox(CPoint3d(5, -3, 0), foot, &along, &offset), 1);
    EXPECT_DOUBLE_EQ(offset, 3) << "positive to the right of the travel";
    EXPECT_TRUE(nearPoints(foot, CPoint3d(5, 0, 15)));
    EXPECT_DOUBLE_EQ(along, 5);
    EXPECT_EQ(line.ptprox(CPoint3d(10.00005, 0, 0), foot, &along), -2);
    EXPECT_EQ(foot, line.end);
    EXPECT_EQ(along, 10);
    EXPECT_EQ(line.ptprox(CPoint3d(12, 2, 0), foot, &along, &offset), 0);
    EXPECT_TRUE(nearPoints(foot, CPoint3d(12, 0, 0))) << "off the segment the height is dropped";
    EXPECT_DOUBLE_EQ(offset, -2);
    EXPECT_EQ(line.ptprox(CPoint3d(12, 2, 0), foot, &along, nullptr, 2), 0);
    EXPECT_TRUE(nearPoints(foot, CPoint3d(12, 0, 22))) << "unless it is asked for";
    EXPECT_EQ(line.ptprox(CPoint3d(5, 1, 0), foot, &along, nullptr, 1), 1);
    EXPECT_DOUBLE_EQ(along, std::hypot(5.0, 5.0)) << "along the slope";
}

TEST(Arc3dNearest, VerticalSegment) {
    CArc3d post(CPoint3d(1, 1, 10), CPoint3d(1, 1, 20), 0.0);
    CPoint3d foot;
    double along = 0;
    EXPECT_EQ(post.ptprox(CPoint3d(3, 3, 15), foot, &along, nullptr, 1), 1);
    EXPECT_TRUE(nearPoints(foot, CPoint3d(1, 1, 15)));
    EXPECT_DOUBLE_EQ(along, 5);
    EXPECT_EQ(post.ptprox(CPoint3d(3, 3, 10.00001), foot), -1);
    EXPECT_EQ(post.ptprox(CPoint3d(3, 3, 19.99999), foot), -2);
    EXPECT_EQ(post.ptprox(CPoint3d(3, 3, 25), foot), 0);
    EXPECT_EQ(post.ptprox(CPoint3d(3, 3, 5), foot, &along, nullptr, 3), 0);
    EXPECT_DOUBLE_EQ(along, -5) << "below the start, the slope distance is negative";
}

TEST(Arc3dNearest, CounterClockwiseArc) {
    CArc3d arc(CPoint3d(0, 0, 0), CPoint3d(2, 0, 0), 1.0); // lower half of the circle round (1, 0)
    CPoint3d foot;
    double along = 0, offset = 0;
    EXPECT_EQ(arc.ptprox(CPoint3d(1, -3, 0), foot, &along, &offset), 1);
    EXPECT_TRUE(nearPoints(foot, CPoint3d(1, -1, 0)));
    EXPECT_NEAR(along, M_PI / 2, 1e-15);
    EXPECT_DOUBLE_EQ(offset, 2) << "outside a counter-clockwise arc is to the right";

    // Just behind the start (within _ecpt / radius): snapped to it.
    const double behind = _200rd - 0.00005; // the start lies at pi round the centre
    EXPECT_EQ(arc.ptprox(CPoint3d(1 + 2 * std::cos(behind), 2 * std::sin(behind), 0), foot, &along), -1);
    EXPECT_EQ(foot, arc.start);
    EXPECT_EQ(along, 0);

    // Beyond both ends: the angle is reported on the nearer side.
    EXPECT_EQ(arc.ptprox(CPoint3d(0.5, 2, 0), foot, &along), 0);
    EXPECT_LT(along, 0) << "nearer the start, counted backwards";
    EXPECT_EQ(arc.ptprox(CPoint3d(1.5, 2, 0), foot, &along), 0);
    EXPECT_GT(along, M_PI) << "nearer the end, counted on past it";
}

TEST(Arc3dNearest, ClockwiseArcAndHeights) {
    CArc3d arc(CPoint3d(2, 0, 10), CPoint3d(0, 0, 20), -1.0); // the same lower half, travelled back
    CPoint3d foot;
    double along = 0, offset = 0;
    EXPECT_EQ(arc.ptprox(CPoint3d(1, -0.5, 0), foot, &along, &offset), 1);
    EXPECT_TRUE(nearPoints(foot, CPoint3d(1, -1, 15)));
    EXPECT_NEAR(along, M_PI / 2, 1e-15);
    EXPECT_NEAR(offset, 0.5, 1e-15) << "inside a clockwise arc is to the right";
    EXPECT_EQ(arc.ptprox(CPoint3d(0, 0.00001, 0), foot), -2);
    EXPECT_EQ(foot, arc.end);
    EXPECT_EQ(arc.ptprox(CPoint3d(2.00001, 0.00001, 0), foot), -1);
}

TEST(Arc3dNearest, CutsAtTheFoot) {
    CArc3d arc(CPoint3d(0, 0, 0), CPoint3d(2, 0, 0), 1.0);
    CPoint3d foot;
    ASSERT_EQ(arc.ptprox(CPoint3d(1, -2, 0), foot, nullptr, nullptr, 0, 1), 1);
    EXPECT_TRUE(nearPoints(arc.end, CPoint3d(1, -1, 0)));
    EXPECT_NEAR(arc.bulge, std::tan(M_PI / 8), 1e-15);

    CArc3d line(CPoint3d(0, 0, 0), CPoint3d(10, 0, 0), 0.0);
    EXPECT_EQ(line.ptprox(CPoint3d(12, 1, 0), foot, nullptr, nullptr, 0, 2), 0);
    EXPECT_EQ(line.start, CPoint3d(0, 0, 0)) << "no cut beyond the ends";
    EXPECT_EQ(line.ptprox(CPoint3d(12, 1, 0), foot, nullptr, nullptr, 0, 0x11), 0);
    EXPECT_TRUE(nearPoints(line.end, CPoint3d(12, 0, 0))) << "unless asked for";
    EXPECT_DOUBLE_EQ(line.chord, 12);
    EXPECT_EQ(line.ptprox(CPoint3d(3, 1, 0), foot, nullptr, nullptr, 0, 2), 1);
    EXPECT_EQ(line.start, CPoint3d(3, 0, 0));
    EXPECT_DOUBLE_EQ(line.chord, 9);
}

// The working system is applied to the point and undone on the foot, whatever the result.
TEST(Arc3dNearest, FeetComeBackFromTheWorkingSystem) {
    Mat3D working = Mat3D::MKappa(0.7);
    working.t[0] = 50;
    working.t[1] = -20;
    CArc3d inWorking;
    inWorking.set(&working, CPoint3d(0, 0, 0), CPoint3d(10, 0, 0), 0.0, nullptr);
    CArc3d inWorld(CPoint3d(0, 0, 0), CPoint3d(10, 0, 0), 0.0);
    for (const CPoint3d& p : {CPoint3d(5, 3, 0), CPoint3d(15, 3, 0), CPoint3d(-5, -3, 0)}) {
        CPoint3d a, b;
        EXPECT_EQ(inWorking.ptprox(p, a), inWorld.ptprox(p, b));
        EXPECT_TRUE(nearPoints(a, b, 1e-12));
    }
}

TEST(Arc3dDirection, TurnsThroughADirection) {
    const CArc3d arc(CPoint3d(0, 0, 0), CPoint3d(2, 0, 0), 1.0); // from -pi/2 to pi/2
    double gis = 0.3;
    EXPECT_EQ(arc.gis_sur_arc(gis, 0), 3);
    EXPECT_NEAR(gis, 0.3, 1e-15);
    gis = _300rd + 0.1;
    EXPECT_EQ(arc.gis_sur_arc(gis, 0), 3);
    EXPECT_NEAR(gis, -_100rd + 0.1, 1e-15) << "brought into the arc's turn";
    gis = _200rd;
    EXPECT_EQ(arc.gis_sur_arc(gis, 0), 0);
    // Parallel to an end's direction within the tolerance (either way along it).
    const CArc3d quarter(CPoint3d(1, 0, 0), CPoint3d(0, 1, 0), std::tan(M_PI / 8)); // from pi/2 to pi
    gis = _200rd + 1e-9;
    EXPECT_EQ(quarter.gis_sur_arc(gis, 1e-6), 2);
    EXPECT_EQ(gis, quarter.endGis);
    gis = -_100rd;
    EXPECT_EQ(quarter.gis_sur_arc(gis, 1e-6), 1);
    EXPECT_EQ(gis, quarter.startGis);
    const CArc3d back(CPoint3d(2, 0, 0), CPoint3d(0, 0, 0), -1.0);
    gis = _200rd - 0.3;
    EXPECT_EQ(back.gis_sur_arc(gis, 0), 3);
}
