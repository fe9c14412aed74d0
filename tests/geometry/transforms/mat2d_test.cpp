#include "geometry/points/angle_units.h"
#include "geometry/transforms/mat2d.h"
#include "geometry/transforms/mat3d.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Mat2D, RotatesPlanPointsAndKeepsHeights) {
    const Mat2D m = Mat2D::MKappa(_100rd);
    CPoint3d p(1, 0, 9);
    m.ApplyRot(&p);
    EXPECT_NEAR(p.x, 0, 1e-15);
    EXPECT_DOUBLE_EQ(p.y, 1);
    EXPECT_EQ(p.z, 9);
    m.ApplyRotInv(&p);
    EXPECT_DOUBLE_EQ(p.x, 1);
    EXPECT_NEAR(p.y, 0, 1e-15);
}

TEST(Mat2D, ScalingAndComposition) {
    Mat2D m;
    m.t[0] = 2;
    const Mat2D doubled = m * 2.0;
    EXPECT_EQ(doubled.m[1][1], 2);
    EXPECT_EQ(doubled.t[0], 4) << "the translation is scaled too";
    m *= 3;
    EXPECT_EQ(m.t[0], 2);
    EXPECT_EQ(m.Determinant(), 9);
    const Mat2D both = Mat2D::MKappa(_100rd) * m;
    CPoint3d p(1, 0, 0);
    both.ApplyToPt(&p);
    EXPECT_NEAR(p.x, 0, 1e-15);
    EXPECT_DOUBLE_EQ(p.y, 5);
    CPoint3d q;
    const CPoint3d r(1, 1, 0);
    m.ApplyTrans(&q, &r);
    EXPECT_EQ(q, CPoint3d(3, 1, 0));
    m.ApplyTrans(&q);
    EXPECT_EQ(q, CPoint3d(5, 1, 0));
}

TEST(Mat2D, InverseAndInverseApplication) {
    Mat2D m = Mat2D::MKappa(0.7) * 3.0;
    m.t[0] = 5;
    m.t[1] = -1;
    const Mat2D original = m;
    const CPoint3d p(2, 7, 0);
    CPoint3d q, back;
    m.ApplyToPt(&q, &p);
    m.ApplyToPtInv(&back, &q);
    EXPECT_NEAR(back.x, 2, 1e-12);
    EXPECT_NEAR(back.y, 7, 1e-12);
    ASSERT_EQ(m.Inverse(), 0);
    m.ApplyToPt(&q);
    EXPECT_NEAR(q.x, 2, 1e-12);
    EXPECT_NEAR(q.y, 7, 1e-12);

    Mat2D singular;
    singular.m[1][0] = 2;
    singular.m[1][1] = 0;
    singular.m[0][1] = 0;
    singular.m[0][0] = 0;
    const Mat2D before = singular;
    EXPECT_EQ(singular.Inverse(), 3);
    EXPECT_EQ(std::memcmp(&singular, &before, sizeof before), 0);
    // A rotation scaled by 3 has determinant 9 whatever its angle, and its inverse 1/9.
    EXPECT_NEAR(original.Determinant(), 9, 1e-12);
    EXPECT_NEAR(m.Determinant(), 1.0 / 9, 1e-12);
}

TEST(Mat2D, SimilarityFromTwoPairs) {
    Mat2D m;
    const CPoint3d p1(0, 0, 0), p2(1, 0, 0), q1(10, 10, 0), q2(10, 12, 0);
    ASSERT_TRUE(m.SetFromPt1Pt2PtN1ptN2(&p1, &p2, &q1, &q2));
    CPoint3d a(p2);
    m.ApplyToPt(&a);
    EXPECT_NEAR(a.x, 10, 1e-12);
    EXPECT_NEAR(a.y, 12, 1e-12);
    CPoint3d b(0, 1, 0);
    m.ApplyToPt(&b);
    EXPECT_NEAR(b.x, 8, 1e-12);
    EXPECT_NEAR(b.y, 10, 1e-12);

    const Mat2D before = m;
    EXPECT_FALSE(m.SetFromPt1Pt2PtN1ptN2(&p1, &p1, &q1, &q2)) << "a degenerate pair";
    EXPECT_FALSE(m.SetFromPt1Pt2PtN1ptN2(&p1, &p2, nullptr, &q2));
    EXPECT_EQ(std::memcmp(&m, &before, sizeof before), 0);
}

TEST(Mat2D, PlanPartOfASpaceTransform) {
    Mat3D space = Mat3D::MKappa(0.3);
    space.t[0] = 4;
    space.t[1] = 5;
    Mat2D plan;
    EXPECT_TRUE(plan.FromMat3D(space));
    EXPECT_EQ(plan.m[0][1], space.r[0][1]);
    EXPECT_EQ(plan.t[1], 5);
    EXPECT_FALSE(plan.FromMat3D(Mat3D::MOmega(0.1)));
    const double v[2] = {3, 4};
    EXPECT_EQ(Mat2D::Dist2D(v), 5);
    EXPECT_EQ(Mat2D::Dist2D(nullptr), 0);
}
