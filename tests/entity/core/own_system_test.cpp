// The entity's own coordinate system: stored points, world points and the normal.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/entity/poly_test_support.h"

using poly_test::appendAll;

namespace {

const AcGeVector3d kTilted(0.6, 0, 0.8);

void expectNear(const CPoint3d& a, const CPoint3d& b) {
    EXPECT_NEAR(a.x, b.x, 1e-9);
    EXPECT_NEAR(a.y, b.y, 1e-9);
    EXPECT_NEAR(a.z, b.z, 1e-9);
}

struct OwnSystem : ::testing::Test {
    OwnSystem() { appendAll(poly, {{10, 20, 30}, {-4, 5, 6}}); }
    PolyArc3D poly;
};

TEST_F(OwnSystem, MovingIntoASystemKeepsTheWorldPoints) {
    ASSERT_EQ(poly.setSNormal(kTilted, 1), Acad::eOk);
    ASSERT_NE(poly.normalMatrix(), nullptr);
    EXPECT_TRUE(poly.Snormal().isEqualTo(kTilted));
    const CPoint3d stored = poly.H()->pt;
    EXPECT_GT((stored - CPoint3d(10, 20, 30)).dist3d(), 1);
    expectNear(poly.WorldPoint(poly.H()), CPoint3d(10, 20, 30));
    expectNear(poly.WorldPoint(poly.T()), CPoint3d(-4, 5, 6));
    // The stored point is the world point mapped by the matrix.
    CPoint3d mapped(10, 20, 30);
    poly.normalMatrix()->ApplyToPt(&mapped);
    expectNear(stored, mapped);
}

TEST_F(OwnSystem, WithoutMoveThePointsStayAsStored) {
    poly.setSNormal(kTilted, 0);
    EXPECT_EQ(CPoint3d(poly.H()->pt), CPoint3d(10, 20, 30));
    EXPECT_NE(poly.WorldPoint(poly.H()), CPoint3d(10, 20, 30));
}

TEST_F(OwnSystem, NormalsNearTheZAxisMeanTheWorldSystem) {
    for (const AcGeVector3d& up : {AcGeVector3d(0, 0, 1), AcGeVector3d(1e-6, -1e-6, 0.95)}) {
        poly.setSNormal(kTilted, 1);
        poly.setSNormal(up, 1);
        EXPECT_EQ(poly.normalMatrix(), nullptr);
        EXPECT_EQ(poly.Snormal(), AcGeVector3d(0, 0, 1));
        expectNear(poly.H()->pt, CPoint3d(10, 20, 30));
        expectNear(poly.T()->pt, CPoint3d(-4, 5, 6));
    }
}

TEST_F(OwnSystem, TheSameNormalTwiceChangesNothing) {
    poly.setSNormal(kTilted, 1);
    const CPoint3d stored = poly.H()->pt;
    const Mat3D* matrix = poly.normalMatrix();
    poly.setSNormal(kTilted, 1);
    poly.setSNormal(matrix, 1);
    EXPECT_EQ(poly.normalMatrix(), matrix);
    EXPECT_EQ(CPoint3d(poly.H()->pt), stored);
}

TEST_F(OwnSystem, ChangingSystemsGoesThroughTheWorld) {
    poly.setSNormal(kTilted, 1);
    poly.setSNormal(AcGeVector3d(0, -1, 0), 1);
    expectNear(poly.WorldPoint(poly.H()), CPoint3d(10, 20, 30));
    poly.setSNormal(static_cast<const Mat3D*>(nullptr), 1);
    expectNear(poly.H()->pt, CPoint3d(10, 20, 30));
}

TEST_F(OwnSystem, WorldPointsAreValuesAndTheEmptyCoordinateStaysEmpty) {
    poly.setSNormal(kTilted, 1);
    const CPoint3d first = poly.WorldPoint(poly.H());
    const CPoint3d second = poly.WorldPoint(poly.T());
    expectNear(first, CPoint3d(10, 20, 30)); // not overwritten by the second call
    expectNear(second, CPoint3d(-4, 5, 6));
    EXPECT_DOUBLE_EQ(CPolyArc3D::kEmptyCoordinate, -3.183098861837907e99);
    const CPoint3d empty(CPolyArc3D::kEmptyCoordinate, 1, 2);
    EXPECT_EQ(poly.WorldPoint(&empty), empty);
}

TEST_F(OwnSystem, PointArraysGoToTheWorldOnlyFromASystem) {
    AcGePoint3dArray points;
    points.append(AcGePoint3d(1, 2, 3));
    EXPECT_EQ(poly.MatNormalFuncInv(points), 0);
    EXPECT_EQ(points[0], AcGePoint3d(1, 2, 3));
    poly.setSNormal(kTilted, 1);
    CPoint3d stored(1, 2, 3);
    poly.normalMatrix()->ApplyToPt(&stored);
    points[0] = stored;
    EXPECT_EQ(poly.MatNormalFuncInv(points), 1);
    expectNear(points[0], CPoint3d(1, 2, 3));
}

} // namespace
