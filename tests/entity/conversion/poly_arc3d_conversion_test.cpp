// The registered polyline's offset for the host and FromEntity.
#include <gtest/gtest.h>

#include <memory>

#include "host/entities/circle_arc.h"
#include "host/entities/text.h"
#include "tests/entity/poly_test_support.h"

using poly_test::appendAll;

namespace {

struct RegisteredConversions : ::testing::Test {
    poly_test::RegisteredClasses classes;
};

TEST_F(RegisteredConversions, TheOffsetIsANewPolylineOnTheRightOrAFailure) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}});
    AcDbVoidPtrArray curves;
    ASSERT_EQ(poly.getOffsetCurves(2, curves), Acad::eOk);
    ASSERT_EQ(curves.length(), 1);
    std::unique_ptr<CPolyArc3D> offset(static_cast<CPolyArc3D*>(curves[0]));
    EXPECT_NEAR(offset->H()->pt.y, -2, 1e-9);
    EXPECT_NEAR(offset->T()->pt.y, -2, 1e-9);

    PolyArc3D empty;
    AcDbVoidPtrArray none;
    EXPECT_EQ(empty.getOffsetCurves(2, none), Acad::eInvalidInput);
    EXPECT_EQ(none.length(), 0);
}

TEST_F(RegisteredConversions, FromEntityMakesANewPolylineAndKeepsTheSource) {
    AcDbCircle circle(AcGePoint3d(1, 2, 3), AcGeVector3d::kZAxis, 5);
    AcDbObjectId id;
    std::unique_ptr<PolyArc3D> made(PolyArc3D::FromEntity(&circle, &id, 0));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->GetCount(), 4);
    EXPECT_TRUE(id.isNull());
    EXPECT_EQ(circle.radius(), 5);

    PolyArc3D own;
    EXPECT_EQ(PolyArc3D::FromEntity(&own, nullptr, 0), &own);
    AcDbText text;
    EXPECT_EQ(PolyArc3D::FromEntity(&text, nullptr, 0), nullptr);
    EXPECT_EQ(PolyArc3D::FromEntity(nullptr, nullptr, 0), nullptr);
}

} // namespace
