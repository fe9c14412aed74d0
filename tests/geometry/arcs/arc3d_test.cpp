#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "geometry/points/vertex.h"
#include "tests/geometry/near_points.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Arc3d, HalfCircleFromABulge) {
    const CArc3d arc(CPoint3d(0, 0, 0), CPoint3d(2, 0, 0), 1.0);
    EXPECT_DOUBLE_EQ(arc.radius, 1);
    EXPECT_TRUE(nearPoints(arc.centre, CPoint3d(1, 0, 0)));
    EXPECT_DOUBLE_EQ(arc.startGis, -_100rd);
    EXPECT_DOUBLE_EQ(arc.endGis, _100rd);
    EXPECT_DOUBLE_EQ(arc.len(), M_PI);
    EXPECT_DOUBLE_EQ(arc.fleche(), 1);
    EXPECT_DOUBLE_EQ(arc.acentre(), M_PI);
    EXPECT_TRUE(nearPoints(arc.ptmilieu(), CPoint3d(1, -1, 0)));
    EXPECT_DOUBLE_EQ(arc.GisAtDist(M_PI / 2), 0);
    EXPECT_EQ(arc.aux, 0);
    EXPECT_EQ(arc.pMat, nullptr);
}

TEST(Arc3d, ClockwiseArcHasItsCentreOnTheRight) {
    const CArc3d arc(CPoint3d(0, 0, 3), CPoint3d(0, 2, 5), -1.0);
    EXPECT_TRUE(nearPoints(arc.centre, CPoint3d(0, 1, 3))) << "the centre takes the start's height";
    EXPECT_DOUBLE_EQ(arc.endGis - arc.startGis, arc.acentre());
    EXPECT_DOUBLE_EQ(arc.chordGis, _100rd);
    EXPECT_DOUBLE_EQ(arc.len(1), std::hypot(M_PI, 2.0));
}

TEST(Arc3d, TinyBulgesAreStraight) {
    const CArc3d arc(CPoint3d(0, 0, 0), CPoint3d(5, 0, 0), 1e-6);
    EXPECT_EQ(arc.bulge, 0);
    EXPECT_EQ(arc.radius, 0);
    EXPECT_EQ(arc.centre, CPoint3d());
    EXPECT_EQ(arc.startGis, arc.chordGis);
    EXPECT_EQ(arc.endGis, arc.chordGis);
    EXPECT_DOUBLE_EQ(arc.len(), 5);
    EXPECT_EQ(arc.GisAtDist(2), arc.chordGis);
    CPoint3d empty;
    empty.setVide();
    EXPECT_EQ(CArc3d(empty, CPoint3d(5, 0, 0), 0.0).len(), 0) << "no length from an empty point";
}

TEST(Arc3d, HugeRadiiAreClamped) {
    // Nearly straight: radius held at 2,000,000 and the bulge made to match.
    const CArc3d flat(CPoint3d(0, 0, 0), CPoint3d(10, 0, 0), 1.1e-6);
    EXPECT_EQ(flat.radius, 2000000);
    EXPECT_DOUBLE_EQ(flat.bulge, 10.0 / 8000000);
    EXPECT_DOUBLE_EQ(flat.endGis - flat.startGis, 2 * 10.0 / 4000000);
    // Nearly a full circle over a tiny chord: the bulge is held and the radius set from the angle.
    const CArc3d loop(CPoint3d(0, 0, 0), CPoint3d(0.1, 0, 0), 1e6);
    EXPECT_EQ(loop.bulge, 300000);
    EXPECT_DOUBLE_EQ(loop.radius, 5000 / (2 * std::atan(1e6)));
}

TEST(Arc3d, StraightFromAnAngleAndADistance) {
    const CArc3d arc(CPoint3d(1, 1, 7), _100rd, 3);
    EXPECT_TRUE(nearPoints(arc.end, CPoint3d(1, 4, 7)));
    EXPECT_DOUBLE_EQ(arc.chord, 3);
    EXPECT_EQ(arc.radius, 0);
}

TEST(Arc3d, FromAVertex) {
    alignas(8) P_Vertex v(CPoint3d(0, 0, 1), 1.0, 0, 0, 0, 0, 0, 0);
    const CArc3d arc(&v, CPoint3d(2, 0, 1));
    EXPECT_DOUBLE_EQ(arc.radius, 1);
    EXPECT_EQ(arc.start, CPoint3d(0, 0, 1));
}

TEST(Arc3d, ThroughThreePoints) {
    double gisMid = -1;
    CArc3d arc;
    EXPECT_EQ(arc.set(CPoint3d(0, 0, 2), CPoint3d(1, -1, 9), CPoint3d(2, 0, 4), &gisMid), 1);
    EXPECT_TRUE(nearPoints(arc.centre, CPoint3d(1, 0, 3)));
    EXPECT_NEAR(arc.radius, 1, 1e-15);
    EXPECT_NEAR(arc.bulge, 1, 1e-15);
    EXPECT_NEAR(arc.endGis - arc.startGis, M_PI, 1e-15);
    EXPECT_GE(arc.startGis, 0) << "directions are kept positive";
    EXPECT_NEAR(std::sin(gisMid), 0, 1e-15);
    EXPECT_NEAR(std::cos(gisMid), 1, 1e-15) << "travelling along +x at the middle";

    // The same arc travelled the other way turns clockwise.
    const CArc3d back(CPoint3d(2, 0, 0), CPoint3d(1, -1, 0), CPoint3d(0, 0, 0));
    EXPECT_NEAR(back.bulge, -1, 1e-15);
    EXPECT_EQ(back.centre.z, 0) << "an end without height";

    // A quarter of a circle of radius 5 centred at (10, 10).
    const CArc3d quarter(CPoint3d(15, 10, 0), CPoint3d(10 + 5 / std::sqrt(2.0), 10 + 5 / std::sqrt(2.0), 0),
                         CPoint3d(10, 15, 0));
    EXPECT_TRUE(nearPoints(quarter.centre, CPoint3d(10, 10, 0), 1e-12));
    EXPECT_NEAR(quarter.bulge, std::tan(M_PI / 8), 1e-14);
}

TEST(Arc3d, DegenerateThreePointsGiveAStraightSegment) {
    CArc3d arc;
    EXPECT_EQ(arc.set(CPoint3d(0, 0, 0), CPoint3d(0.0003, 0, 0), CPoint3d(4, 3, 0)), 0);
    EXPECT_EQ(arc.radius, 0);
    EXPECT_EQ(arc.bulge, 0);
    EXPECT_DOUBLE_EQ(arc.chord, 5);
    EXPECT_EQ(arc.set(CPoint3d(0, 0, 0), CPoint3d(2, 0, 0), CPoint3d(4, 0, 0)), 0) << "collinear";
}

TEST(Arc3d, ThroughTransforms) {
    // The world arc, turned a quarter turn and shifted into the working system. The arc is carried by its
    // middle point, its bulge found back to about 1e-11.
    Mat3D working = Mat3D::MKappa(_100rd);
    working.t[0] = 100;
    CArc3d arc;
    arc.set(&working, CPoint3d(0, 0, 0), CPoint3d(2, 0, 0), 1.0, nullptr);
    EXPECT_EQ(arc.pMat, &working);
    EXPECT_TRUE(nearPoints(arc.start, CPoint3d(100, 0, 0)));
    EXPECT_TRUE(nearPoints(arc.end, CPoint3d(100, 2, 0)));
    EXPECT_NEAR(arc.bulge, 1, 1e-10);
    EXPECT_TRUE(nearPoints(arc.centre, CPoint3d(100, 1, 0), 1e-9));

    // A mirror turns the arc the other way.
    Mat3D mirror;
    mirror.r[0][0] = -1;
    arc.set(&mirror, CPoint3d(0, 0, 0), CPoint3d(2, 0, 0), 0.5, nullptr);
    EXPECT_NEAR(arc.bulge, -0.5, 1e-10);

    // Taken out of one system and into another: out of `working` and back in gives the original.
    CArc3d same;
    same.set(&working, CPoint3d(100, 0, 0), CPoint3d(100, 2, 0), 1.0, &working);
    EXPECT_TRUE(nearPoints(same.start, CPoint3d(100, 0, 0), 1e-9));
    EXPECT_NEAR(same.bulge, 1, 1e-10);
    alignas(8) P_Vertex v(CPoint3d(0, 0, 0), 1.0, 0, 0, 0, 0, 0, 0);
    const CArc3d fromVertex(&working, &v, CPoint3d(2, 0, 0), nullptr);
    EXPECT_TRUE(nearPoints(fromVertex.centre, CPoint3d(100, 1, 0), 1e-9));
}
