#include "geometry/points/angle_units.h"
#include "geometry/transforms/mat3d.h"
#include "tests/geometry/near_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

void expectRows(const Mat3D& m, const CPoint3d& row0, const CPoint3d& row1, const CPoint3d& row2) {
    EXPECT_TRUE(nearPoints(CPoint3d(m.r[0][0], m.r[0][1], m.r[0][2]), row0));
    EXPECT_TRUE(nearPoints(CPoint3d(m.r[1][0], m.r[1][1], m.r[1][2]), row1));
    EXPECT_TRUE(nearPoints(CPoint3d(m.r[2][0], m.r[2][1], m.r[2][2]), row2));
}

Mat3D fromRows(const double (&values)[3][3]) {
    Mat3D m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m.r[i][j] = values[i][j];
    return m;
}

Mat3D translation(double x, double y, double z) {
    Mat3D m;
    m.t[0] = x;
    m.t[1] = y;
    m.t[2] = z;
    return m;
}

} // namespace

TEST(Mat3D, RotatesAboutZAndBack) {
    const Mat3D m = Mat3D::MKappa(_100rd);
    CPoint3d p(1, 0, 5);
    m.ApplyRot(&p);
    EXPECT_TRUE(nearPoints(p, CPoint3d(0, 1, 5)));
    CPoint3d q;
    m.ApplyRotInv(&q, &p);
    EXPECT_TRUE(nearPoints(q, CPoint3d(1, 0, 5)));
}

TEST(Mat3D, AppliesAndUndoesTransforms) {
    Mat3D m = Mat3D::MOmegaPhiKappa(0.3, -0.2, 1.1) * 2.0;
    m.t[0] = 10;
    m.t[1] = -20;
    m.t[2] = 30;
    const CPoint3d p(3, 4, 5);
    CPoint3d q, back;
    m.ApplyToPt(&q, &p);
    m.ApplyToPtInv(&back, &q);
    EXPECT_TRUE(nearPoints(back, p, 1e-12));

    // A pure rotation has a row of length exactly 1: no division at all.
    Mat3D turn = Mat3D::MKappa(0);
    turn.r[0][0] = 1;
    turn.t[0] = 1;
    CPoint3d r(5, 5, 5);
    turn.ApplyToPtInv(&r);
    EXPECT_EQ(r, CPoint3d(4, 5, 5));

    CPoint3d s(1, 2, 3);
    translation(1, 1, 1).ApplyTrans(&s);
    EXPECT_EQ(s, CPoint3d(2, 3, 4));
    CPoint3d flat(1, 0, 42);
    Mat3D lifted = Mat3D::MKappa(_100rd);
    lifted.t[0] = 1;
    lifted.ApplyToPt2D(&flat);
    EXPECT_TRUE(nearPoints(flat, CPoint3d(1, 1, 42)));
}

TEST(Mat3D, ComposesRightToLeft) {
    const Mat3D turn = Mat3D::MKappa(_100rd);
    const Mat3D shift = translation(1, 0, 0);
    CPoint3d p(1, 0, 0);
    (turn * shift).ApplyToPt(&p); // shift first, then turn
    EXPECT_TRUE(nearPoints(p, CPoint3d(0, 2, 0)));
    CPoint3d q(1, 0, 0);
    (shift * turn).ApplyToPt(&q);
    EXPECT_TRUE(nearPoints(q, CPoint3d(1, 1, 0)));
}

TEST(Mat3D, ScalingLeavesOrKeepsTheTranslation) {
    const Mat3D m = translation(1, 2, 3) * 2.0;
    EXPECT_EQ(m.r[1][1], 2);
    EXPECT_EQ(m.t[2], 3);
    Mat3D n = translation(1, 2, 3);
    n *= 3;
    EXPECT_EQ(n.r[2][2], 3);
    EXPECT_EQ(n.t[0], 1);
    EXPECT_DOUBLE_EQ(n.Determinant(), 27);
    EXPECT_EQ(n[2][2], 3);
}

TEST(Mat3D, InverseUndoesTheTransform) {
    Mat3D m = translation(5, 6, 7);
    ASSERT_EQ(m.Inverse(), 0);
    expectRows(m, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
    EXPECT_EQ(m.t[0], -5);
    EXPECT_EQ(m.t[1], -6);
    EXPECT_EQ(m.t[2], -7);

    Mat3D g = fromRows({{0, 2, 1}, {1, 0, 3}, {4, -1, 0}});
    g.t[0] = 1;
    const Mat3D original = g;
    ASSERT_EQ(g.Inverse(), 0);
    EXPECT_DOUBLE_EQ(Mat3D::m_PivotMini, 23.0 / 12) << "pivots 4, 3 and then det / 12";
    expectRows(original * g, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
    EXPECT_NEAR((original * g).t[0], 0, 1e-15);
}

TEST(Mat3D, SingularInverseLeavesTheTransform) {
    Mat3D m = fromRows({{1, 2, 3}, {2, 4, 6}, {0, 0, 1}});
    m.t[1] = 9;
    const Mat3D before = m;
    EXPECT_EQ(m.Inverse(), 3);
    EXPECT_EQ(std::memcmp(&m, &before, sizeof m), 0);
    EXPECT_LT(Mat3D::m_PivotMini, 2.2e-16);
}

TEST(Mat3D, SwapTransposes) {
    Mat3D m = Mat3D::MOmegaPhiKappa(0.1, 0.2, 0.3);
    const Mat3D original = m;
    EXPECT_EQ(m.InvBySwap(), 0);
    expectRows(original * m, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
    m.SetNul();
    EXPECT_EQ(m.Determinant(), 0);
}

TEST(Mat3D, NormalSystemsFollowTheArbitraryAxisRule) {
    Mat3D m;
    const double up[3] = {0, 0, 1};
    m.SetFromNormVector(up);
    expectRows(m, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
    const double down[3] = {0, 0, -1};
    m.SetFromNormVector(down);
    expectRows(m, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1});
    const double zero[3] = {0, 0, 0};
    m.SetFromNormVector(zero);
    expectRows(m, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
    m.SetFromNormVector(nullptr);
    expectRows(m, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});

    // Both x and y below 1/64: the x axis comes from the world y axis.
    const double tilted[3] = {0.01, 0, 1};
    m.SetFromNormVector(tilted);
    const double l = std::sqrt(1.0001);
    expectRows(m, {1 / l, 0, -0.01 / l}, {0, 1, 0}, {0.01 / l, 0, 1 / l});

    // The rule is decided on the unit normal: x = 0.02 is below 1/64 once (0.02, 0, 2) is made unit.
    const double longNormal[3] = {0.02, 0, 2};
    Mat3D n;
    n.SetFromNormVector(longNormal);
    expectRows(n, {1 / l, 0, -0.01 / l}, {0, 1, 0}, {0.01 / l, 0, 1 / l});

    const double side[3] = {1, 0, 0};
    m.t[0] = 4;
    m.SetFromNormVector(side);
    expectRows(m, {0, 1, 0}, {0, 0, 1}, {1, 0, 0});
    EXPECT_EQ(m.t[0], 0);
}

TEST(Mat3D, SystemFromTwoVectors) {
    Mat3D m;
    const double vx[3] = {2, 0, 0}, vy[3] = {1, 3, 0};
    ASSERT_TRUE(m.SetFromVxVy(vx, vy));
    expectRows(m, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
    const double parallel[3] = {4, 0, 0};
    m.r[0][0] = 7;
    EXPECT_FALSE(m.SetFromVxVy(vx, parallel));
    EXPECT_FALSE(m.SetFromVxVy(nullptr, vy));
    EXPECT_EQ(m.r[0][0], 7);
}

TEST(Mat3D, CoordinateSystemIsColumnsAndOrigin) {
    Mat3D m = Mat3D::MKappa(_100rd);
    m.t[2] = 3;
    CPoint3d origin, ax, az;
    m.getCoordSystem(&origin, &ax, nullptr, &az);
    EXPECT_EQ(origin, CPoint3d(0, 0, 3));
    EXPECT_TRUE(nearPoints(ax, CPoint3d(0, 1, 0)));
    EXPECT_EQ(az, CPoint3d(0, 0, 1));
    Mat3D n;
    const CPoint3d ay(-1, 0, 0);
    n.setCoordSystem(&origin, &ax, &ay, nullptr);
    expectRows(n, {0, -1, 0}, {1, 0, 0}, {0, 0, 1});
    EXPECT_EQ(n.t[2], 3);
}

TEST(Mat3D, VectorHelpers) {
    const double a[3] = {1, 0, 0}, b[3] = {0, 1, 0}, v[3] = {2, 3, 6};
    double out[3];
    ASSERT_TRUE(Mat3D::crossProduct(a, b, out));
    EXPECT_EQ(out[2], 1);
    EXPECT_FALSE(Mat3D::crossProduct(a, nullptr, out));
    EXPECT_EQ(Mat3D::Dist3D(v), 7);
    EXPECT_EQ(Mat3D::Dist3D(nullptr), 0);
    const Mat3D copy(static_cast<const Mat3D*>(nullptr));
    expectRows(copy, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
}
