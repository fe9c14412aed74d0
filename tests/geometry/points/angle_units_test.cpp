#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

// The constants are shared bit for bit with other programs: compare exactly.
TEST(AngleUnits, ConstantsAreBitExact) {
    EXPECT_EQ(_25rd, 0.39269908169872414);
    EXPECT_EQ(_50rd, 0.7853981633974483);
    EXPECT_EQ(_100rd, 1.5707963267948966);
    EXPECT_EQ(_200rd, 3.141592653589793);
    EXPECT_EQ(_300rd, 4.71238898038469);
    EXPECT_EQ(_400rd, 6.283185307179586);
    EXPECT_EQ(_500rd, 7.853981633974483);
    EXPECT_EQ(__200rd, -3.141592653589793);
    EXPECT_EQ(__400rd, -6.283185307179586);
    EXPECT_EQ(__500rd, -7.853981633974483);
    EXPECT_EQ(_RVIDE, -2.356194490192345);
    EXPECT_EQ(_FVIDE, -2.3561945f);
    EXPECT_EQ(degre_en_radian, 0.017453292519943295);
    EXPECT_EQ(radian_en_degre, 57.29577951308232);
    EXPECT_EQ(grade_en_radian, -0.015707963267948967);
    EXPECT_EQ(radian_en_grade, -63.66197723675813);
    EXPECT_EQ(degre_en_grade, -1.1111111111111112);
    EXPECT_EQ(grade_en_degre, -0.9);
    EXPECT_EQ(_ecpt, 0.0001);
}

TEST(AngleHelpers, IntervalsWrapIntoOnePeriod) {
    EXPECT_DOUBLE_EQ(intervalle_2pi(-_100rd), _300rd);
    EXPECT_DOUBLE_EQ(intervalle_2pi(_500rd), _100rd);
    EXPECT_EQ(intervalle_2pi(_400rd), 0.0);
    EXPECT_EQ(intervalle_2pi(0.0), 0.0);
    // A tiny negative angle would round up to 2*pi when the period is added back.
    EXPECT_EQ(intervalle_2pi(-1e-300), 0.0);
    EXPECT_DOUBLE_EQ(intervalle_400(-100.0), 300.0);
    EXPECT_DOUBLE_EQ(intervalle_400(1250.0), 50.0);
    // Huge angles end at once and stay in range.
    const double huge = intervalle_2pi(1e300);
    EXPECT_GE(huge, 0.0);
    EXPECT_LT(huge, _400rd);
    EXPECT_LT(intervalle_400(-1e300), 400.0);
}

TEST(AngleHelpers, IntervalsAnswerNaNForNonFiniteAngles) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(std::isnan(intervalle_2pi(std::nan(""))));
    EXPECT_TRUE(std::isnan(intervalle_2pi(inf)));
    EXPECT_TRUE(std::isnan(intervalle_2pi(-inf)));
    EXPECT_TRUE(std::isnan(intervalle_400(std::nan(""))));
    EXPECT_TRUE(std::isnan(intervalle_400(inf)));
}

TEST(AngleHelpers, GissuivTakesTheTurnNearestTheReference) {
    EXPECT_DOUBLE_EQ(gissuiv(0.1, _400rd), 0.1 + _400rd);
    EXPECT_NEAR(gissuiv(_400rd - 0.1, 0.0), -0.1, 1e-15);
    EXPECT_DOUBLE_EQ(gissuiv(1.0, 1.0), 1.0);
    // Exactly half a turn away lands on the upper side: (b - pi, b + pi].
    EXPECT_DOUBLE_EQ(gissuiv(_200rd, 0.0), _200rd);
}

TEST(AngleHelpers, RoundsHalfUp) {
    EXPECT_DOUBLE_EQ(round(1.2345, 3), 1.235);
    EXPECT_DOUBLE_EQ(round(-1.5, 0), -1.0);
    EXPECT_DOUBLE_EQ(round(1234.5, -2), 1200.0);
}

TEST(AngleHelpers, ClampedInverseFunctionsStayFinite) {
    EXPECT_DOUBLE_EQ(geometry::clampedAcos(1 + 1e-15), 0.0);
    EXPECT_DOUBLE_EQ(geometry::clampedAcos(-1 - 1e-15), _200rd);
    EXPECT_DOUBLE_EQ(geometry::clampedAsin(2.0), _100rd);
    EXPECT_DOUBLE_EQ(geometry::clampedAsin(-2.0), -_100rd);
}
