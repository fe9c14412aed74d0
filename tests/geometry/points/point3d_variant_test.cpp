#include "geometry/points/point3d_variant.h"

#include <gtest/gtest.h>

TEST(Point3dVariant, IsAVariantOfThreeDoubles) {
    CPoint3dVariant v;
    ASSERT_TRUE(v.isValid());
    EXPECT_EQ(v.vt, 8197);
    ASSERT_NE(v.parray, nullptr);
    EXPECT_EQ(v.parray->cDims, 1);
    EXPECT_EQ(v.parray->rgsabound[0].cElements, 3u);
    EXPECT_EQ(v.parray->rgsabound[0].lLbound, 0);
    EXPECT_EQ(v.asCPoint3d(), CPoint3d());
    v.asCPoint3d() = CPoint3d(1, 2, 3);
    EXPECT_EQ(v[1], 2);
    const double* raw = v;
    EXPECT_EQ(raw[2], 3);
    VARIANT* self = v;
    EXPECT_EQ(static_cast<void*>(self), static_cast<void*>(&v));
}

TEST(Point3dVariant, ClearingEmptiesTheVariant) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ARRAY | VT_R8;
    v.parray = SafeArrayCreate(VT_R8, 1, &CPoint3dVariant::rgsaBound);
    ASSERT_NE(v.parray, nullptr);
    VariantClear(&v);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(SafeArrayCreate(VT_R8, 2, &CPoint3dVariant::rgsaBound), nullptr);
}
