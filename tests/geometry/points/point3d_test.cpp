#include "geometry/points/angle_units.h"
#include "geometry/points/areas.h"
#include "geometry/points/cross_product.h"
#include "geometry/points/gl_point.h"
#include "geometry/points/point3d.h"
#include "geometry/transforms/mat3d.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A host point type as the host layer declares it: three doubles and a constructor from them.
struct HostPoint {
    double x, y, z;
    HostPoint() = default;
    HostPoint(double px, double py, double pz) : x(px), y(py), z(pz) {}
};

} // namespace

TEST(Point3d, EmptyAndNullPoints) {
    CPoint3d p(1, 2, 3);
    EXPECT_FALSE(p.isNull());
    p.setVide();
    EXPECT_EQ(p.x, _RVIDE);
    EXPECT_EQ(p.z, _RVIDE);
    EXPECT_TRUE(p.isNull());
    EXPECT_TRUE(CPoint3d().isNull());
    EXPECT_FALSE(CPoint3d(0, 0, 1e-300).isNull());
    p.setPTR(-1, 1LL << 40, 7);
    EXPECT_EQ(p, CPoint3d(-1, 1099511627776.0, 7));
}

TEST(Point3d, ComparisonsAndIndexing) {
    const CPoint3d a(1, 2, 3);
    EXPECT_TRUE(a.isEq2d(CPoint3d(1, 2, 4)));
    EXPECT_FALSE(a.isEq3d(CPoint3d(1, 2, 4)));
    EXPECT_TRUE(a != CPoint3d(1, 2, 4));
    EXPECT_TRUE(a.isEq2dTol(CPoint3d(1.1, 1.9, 9), 0.1 + 1e-12));
    EXPECT_FALSE(a.isEq3dTol(CPoint3d(1.1, 1.9, 9), 0.2));
    EXPECT_EQ(a[0], 1);
    EXPECT_EQ(a[1], 2);
    EXPECT_EQ(a[2], 3);
    CPoint3d b = a;
    b[1] = 5;
    EXPECT_EQ(b.y, 5);
}

TEST(Point3d, Arithmetic) {
    const CPoint3d a(1, 2, 3), b(4, 5, 6);
    EXPECT_EQ(a + b, CPoint3d(5, 7, 9));
    EXPECT_EQ(b - a, CPoint3d(3, 3, 3));
    EXPECT_EQ(a * 2, CPoint3d(2, 4, 6));
    EXPECT_EQ(b / 2, CPoint3d(2, 2.5, 3));
    EXPECT_EQ(a * b, CPoint3d(4, 10, 18));
    EXPECT_EQ(b / a, CPoint3d(4, 2.5, 2));
    EXPECT_EQ(a.scalarProduct(b), 32);
    EXPECT_EQ(CPoint3d(1, 0, 0).crossProduct(CPoint3d(0, 1, 0)), CPoint3d(0, 0, 1));
    CPoint3d c = a;
    c += b;
    c -= a;
    c *= 3;
    c /= 3;
    EXPECT_EQ(c, b);
    CPoint3d v(3, 4, 0);
    EXPECT_EQ(v.normalize(), CPoint3d(0.6, 0.8, 0));
    CPoint3d tiny(1e-7, 0, 0);
    EXPECT_EQ(tiny.normalize(), CPoint3d(1e-7, 0, 0)) << "too short to have a direction";
}

TEST(Point3d, DistancesDropMissingHeights) {
    EXPECT_DOUBLE_EQ(CPoint3d(0, 0, 5).dist3dTo(CPoint3d(3, 4, 0)), 5.0);
    EXPECT_DOUBLE_EQ(CPoint3d(0, 0, 5).dist3dTo(CPoint3d(3, 4, 17)), 13.0);
    const double arrayPoint[3] = {3, 4, 17};
    EXPECT_DOUBLE_EQ(CPoint3d(0, 0, 5).dist3dTo(arrayPoint), 13.0);
    EXPECT_DOUBLE_EQ(CPoint3d(0, 0, 5).dist2dTo(arrayPoint), 5.0);
    CPoint3d empty;
    empty.setVide();
    EXPECT_EQ(empty.dist2dTo(CPoint3d(10, 10, 0)), 0.0);
    EXPECT_EQ(CPoint3d(10, 10, 0).dist2dTo(empty), 0.0);
}

TEST(Point3d, ArcLengthFromBulge) {
    EXPECT_DOUBLE_EQ(CPoint3d(0, 0, 0).dist2dTo(CPoint3d(2, 0, 0), 1.0), M_PI);
    EXPECT_DOUBLE_EQ(CPoint3d(0, 0, 0).dist2dTo(CPoint3d(2, 0, 0), -1.0), M_PI);
    EXPECT_DOUBLE_EQ(CPoint3d(0, 0, 1).dist3dTo(CPoint3d(2, 0, 1 + M_PI), 1.0), M_PI * std::sqrt(2.0));
}

TEST(Point3d, HugeCoordinatesDoNotOverflow) {
    const CPoint3d a(0, 0, 0), b(3e200, 4e200, 0);
    EXPECT_DOUBLE_EQ(a.dist2dTo(b), 5e200);
    double dist = 0;
    a.gisTo(b, &dist);
    EXPECT_DOUBLE_EQ(dist, 5e200);
}

TEST(Point3d, DirectionsRunFromZeroToTwoPi) {
    const CPoint3d o(1, 1, 0);
    EXPECT_EQ(o.gisTo(o), 0.0);
    EXPECT_DOUBLE_EQ(o.gisTo(CPoint3d(1, -5, 0)), _300rd);
    EXPECT_DOUBLE_EQ(o.gisTo(CPoint3d(0, 1, 0)), _200rd);
    double dist = 0;
    EXPECT_DOUBLE_EQ(o.gisTo(CPoint3d(1, 3, 0), &dist), _100rd);
    EXPECT_DOUBLE_EQ(dist, 2.0);
}

TEST(Point3d, PolarMidpointAndCentres) {
    const CPoint3d p = CPoint3d(1, 1, 7).polar(_100rd, 2);
    EXPECT_NEAR(p.x, 1, 1e-15);
    EXPECT_DOUBLE_EQ(p.y, 3);
    EXPECT_EQ(p.z, 7);
    CPoint3d out;
    CPoint3d(0, 0, 0).polar(0, 5, out);
    EXPECT_EQ(out, CPoint3d(5, 0, 0));

    EXPECT_EQ(CPoint3d(0, 0, 0).milieu(CPoint3d(2, 0, 0), 1), CPoint3d(1, -1, 0));
    EXPECT_EQ(CPoint3d(0, 0, 0).milieu(CPoint3d(2, 0, 0), -1), CPoint3d(1, 1, 0));
    EXPECT_EQ(CPoint3d(0, 0, 2).milieu(CPoint3d(2, 2, 4)), CPoint3d(1, 1, 3));
    EXPECT_EQ(CPoint3d(0, 0, 0).milieu(CPoint3d(2, 2, 4)).z, 0.0) << "a point without height";
    EXPECT_EQ(CPoint3d(0, 0, 0).baryCentre(CPoint3d(3, 0, 3), CPoint3d(0, 3, 6)), CPoint3d(1, 1, 3));
}

TEST(Point3d, TriangleAreaInSpace) {
    EXPECT_DOUBLE_EQ(CPoint3d(0, 0, 1).surf3dTo(CPoint3d(4, 0, 1), CPoint3d(0, 3, 1)), 6.0);
    // A flat triangle whose Heron product rounds below zero has no area, never NaN.
    const double area = CPoint3d(0, 0, 0).surf3dTo(CPoint3d(0.1, 0.2, 0), CPoint3d(1.8, 3.6, 0));
    EXPECT_EQ(area, 0.0);
}

TEST(Point3d, ConvertsWithHostPoints) {
    const HostPoint h(1, 2, 3);
    CPoint3d p(h);
    EXPECT_EQ(p, CPoint3d(1, 2, 3));
    p = HostPoint(4, 5, 6);
    EXPECT_EQ(p, CPoint3d(4, 5, 6));
    const HostPoint back = p;
    EXPECT_EQ(back.y, 5);
    Mat3D shift;
    shift.t[0] = 10;
    EXPECT_EQ(CPoint3d(&shift, h), CPoint3d(11, 2, 3));
    EXPECT_EQ(CPoint3d(nullptr, h), CPoint3d(1, 2, 3));
}

TEST(GlPoint, NarrowsAndComputesInFloats) {
    const CGlPoint g(CPoint3d(0.1, 1e40, -2));
    EXPECT_EQ(g.x, 0.1f);
    EXPECT_TRUE(std::isinf(g.y));
    EXPECT_EQ(g[2], -2.0f);
    CGlPoint h;
    h.Set(1, 0, 0);
    EXPECT_EQ(h.crossProduct(CGlPoint(0, 1, 0)).z, 1.0f);
    EXPECT_EQ(h.scalarProduct(CGlPoint(2, 3, 4)), 2.0f);
    const CGlPoint q = h.polar(0, 2);
    EXPECT_EQ(q.x, 3.0f);
}

TEST(Areas, SignsFollowTheTurningSense) {
    EXPECT_DOUBLE_EQ(Surface3Pts(CPoint3d(0, 0, 0), CPoint3d(1, 0, 0), CPoint3d(0, 1, 0)), 0.5);
    EXPECT_DOUBLE_EQ(Surface3Pts(CPoint3d(0, 0, 0), CPoint3d(0, 1, 0), CPoint3d(1, 0, 0)), -0.5);
    const CPoint3d ring[] = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}};
    EXPECT_DOUBLE_EQ(SurfacePoint3d(ring, 4), 1.0);
    EXPECT_DOUBLE_EQ(SurfacePoint3d(ring, 5), 1.0) << "the closing point is not counted twice";
    EXPECT_EQ(SurfacePoint3d(ring, 2), 0.0);
    EXPECT_EQ(SurfacePoint3d(nullptr, 4), 0.0);
    const CPoint3d back[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    EXPECT_DOUBLE_EQ(SurfacePoint3d(back, 4), -1.0);
}

TEST(CrossProduct, PlaneThroughThreePoints) {
    const double o[3] = {0, 0, 2}, a[3] = {2, 0, 2}, b[3] = {0, 3, 2};
    double nx, ny, nz;
    EXPECT_DOUBLE_EQ(produit_vectoriel_double(o, a, b, nx, ny, nz, 0), -12.0);
    EXPECT_EQ(nz, 6.0);
    EXPECT_DOUBLE_EQ(produit_vectoriel_double(o, a, b, nx, ny, nz, 1), -2.0) << "plane z = 2";
    EXPECT_EQ(nz, 1.0);
    EXPECT_DOUBLE_EQ(produit_vectoriel_double(o, a, b, nx, ny, nz, 2), 6.0);
    EXPECT_EQ(produit_vectoriel_double(nullptr, a, b, nx, ny, nz, 0), 0.0);
    EXPECT_EQ(nx, -6.0);
    EXPECT_EQ(ny, -4.0);
    EXPECT_EQ(nz, 6.0);
    // Collinear vectors have no normal: zero, not NaN.
    const double c[3] = {4, 0, 2};
    EXPECT_EQ(produit_vectoriel_double(o, a, c, nx, ny, nz, 2), 0.0);
    EXPECT_EQ(nx, 0.0);
    EXPECT_EQ(ny, 0.0);
    EXPECT_EQ(nz, 0.0);
}
