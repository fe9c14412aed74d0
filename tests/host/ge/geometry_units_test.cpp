// Matrices, planes, bulge arcs and B-splines of the host.
#include <gtest/gtest.h>

#include <numbers>

#include "host/ge/bspline.h"
#include "host/ge/curve_geometry.h"
#include "host/ge/ge.h"

namespace {
constexpr double kPi = std::numbers::pi;
const AcGeTol kTight;
} // namespace

TEST(Matrices, InverseRotationAndMirror) {
    AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(1, 2, 3)) *
                     AcGeMatrix3d::rotation(0.7, AcGeVector3d(1, 1, 0)) * AcGeMatrix3d::scaling(2.5);
    AcGePoint3d p(3, -4, 5);
    EXPECT_TRUE(AcGePoint3d(p).transformBy(m).transformBy(m.inverse()).isEqualTo(p, AcGeTol()));
    EXPECT_NEAR(m.det(), 2.5 * 2.5 * 2.5, 1e-12);
    EXPECT_NEAR(m.scale(), 2.5, 1e-12);
    AcGePoint3d quarter = AcGePoint3d(1, 0, 0).transformBy(
        AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, AcGePoint3d(1, 1, 0)));
    EXPECT_TRUE(quarter.isEqualTo(AcGePoint3d(2, 1, 0), kTight));
    AcGeMatrix3d mirror = AcGeMatrix3d::mirroring(AcGePoint3d(1, 0, 0), AcGeVector3d::kXAxis);
    EXPECT_NEAR(mirror.det(), -1, 1e-12);
    EXPECT_TRUE(AcGePoint3d(3, 5, 0).transformBy(mirror).isEqualTo(AcGePoint3d(-1, 5, 0), kTight));
}

TEST(Planes, TheArbitraryAxisRuleOfDrawingFiles) {
    EXPECT_TRUE(host::ocsXAxis(AcGeVector3d::kZAxis).isEqualTo(AcGeVector3d::kXAxis));
    EXPECT_TRUE(host::ocsXAxis(-AcGeVector3d::kZAxis).isEqualTo(-AcGeVector3d::kXAxis))
        << "a plane seen from below";
    AcGeVector3d n = AcGeVector3d(0, 1, 1).normal();
    AcGeVector3d x = host::ocsXAxis(n);
    EXPECT_NEAR(x.dotProduct(n), 0, 1e-15);
    EXPECT_TRUE(x.isEqualTo(-AcGeVector3d::kXAxis)) << "z cross n for normals away from z";
    AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(n);
    AcGePoint3d local(2, 3, 4);
    EXPECT_TRUE(AcGePoint3d(local)
                    .transformBy(toWorld)
                    .transformBy(AcGeMatrix3d::worldToPlane(n))
                    .isEqualTo(local, AcGeTol()));
    AcGePlane plane(AcGePoint3d(0, 0, 5), AcGeVector3d(0, 0, 2));
    AcGePoint3d origin;
    AcGeVector3d u, v;
    plane.getCoordSystem(origin, u, v);
    EXPECT_EQ(origin, AcGePoint3d(0, 0, 5));
    EXPECT_TRUE(plane.normal().isEqualTo(AcGeVector3d::kZAxis));
    EXPECT_TRUE(v.isEqualTo(AcGeVector3d::kYAxis));
}

TEST(Bulges, ArcsOfBulgedSegments) {
    AcGePoint2d center;
    double radius = 0;
    host::bulgeArc(AcGePoint2d(1, 0), AcGePoint2d(-1, 0), 1, center, radius);
    EXPECT_TRUE(center.isEqualTo(AcGePoint2d(0, 0), AcGeTol()));
    EXPECT_DOUBLE_EQ(radius, 1);
    host::bulgeArc(AcGePoint2d(0, 0), AcGePoint2d(2, 0), std::tan(kPi / 8), center, radius);
    EXPECT_TRUE(center.isEqualTo(AcGePoint2d(1, 1), AcGeTol()))
        << "counter-clockwise: the centre on the left";
    EXPECT_NEAR(host::bulgeSegmentLength(AcGePoint2d(0, 0), AcGePoint2d(2, 0), std::tan(kPi / 8)),
                std::sqrt(2.0) * kPi / 2, 1e-12);
    AcGePoint2d middle = host::bulgeSegmentPoint(AcGePoint2d(1, 0), AcGePoint2d(-1, 0), -1, 0.5);
    EXPECT_TRUE(middle.isEqualTo(AcGePoint2d(0, -1), AcGeTol())) << "negative: clockwise, below the chord";
    AcGePoint3dArray points;
    host::appendBulgeSegment(points, AcGePoint3d(1, 0, 0), AcGePoint3d(-1, 0, 2), 1, 0.001);
    for (const AcGePoint3d& p : points)
        EXPECT_NEAR(std::hypot(p.x, p.y), 1, 1e-12);
    EXPECT_DOUBLE_EQ(points[points.length() / 2].z, 1) << "heights run along";
    EXPECT_EQ(host::chordCount(1, kPi, 0), 8) << "no deviation: a chord per eighth of a turn";
    EXPECT_EQ(host::chordCount(1e300, 2 * kPi, 0.01), 4096) << "bounded";
}

TEST(BSplines, EvaluationAndInterpolation) {
    host::BSpline line;
    line.degree = 1;
    line.knots = {0, 0, 1, 1};
    line.controlPoints = {AcGePoint3d(0, 0, 0), AcGePoint3d(4, 2, 0)};
    EXPECT_TRUE(line.pointAt(0.25).isEqualTo(AcGePoint3d(1, 0.5, 0), kTight));
    EXPECT_TRUE(line.pointAt(7).isEqualTo(AcGePoint3d(4, 2, 0), kTight)) << "clamped to the range";
    host::BSpline arc; // a quarter circle as a rational quadratic
    arc.degree = 2;
    arc.knots = {0, 0, 0, 1, 1, 1};
    arc.controlPoints = {AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0)};
    arc.weights = {1, std::sqrt(0.5), 1};
    for (double t : {0.1, 0.5, 0.9})
        EXPECT_NEAR(arc.pointAt(t).asVector().length(), 1, 1e-12);
    host::BSpline broken = arc;
    broken.knots.pop_back();
    EXPECT_FALSE(broken.isValid());
    std::vector<AcGePoint3d> fit = {{0, 0, 0}, {1, 1, 0}, {1, 1, 0}, {2, 0, 1}};
    host::BSpline through = host::interpolate(fit, 3);
    ASSERT_TRUE(through.isValid());
    EXPECT_EQ(through.degree, 2) << "three distinct points allow a quadratic at most";
    EXPECT_TRUE(through.pointAt(through.startParam()).isEqualTo(fit[0], AcGeTol()));
    EXPECT_TRUE(through.pointAt(through.endParam()).isEqualTo(fit[3], AcGeTol()));
    EXPECT_FALSE(host::interpolate({{1, 1, 1}}, 3).isValid());
}
