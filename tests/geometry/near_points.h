#pragma once
// Comparison of points within a tolerance, for EXPECT_TRUE(nearPoints(...)) << "why".
#include "geometry/points/point3d.h"

#include <gtest/gtest.h>

#include <cmath>

inline ::testing::AssertionResult nearPoints(const CPoint3d& actual, const CPoint3d& expected,
                                             double tol = 1e-12) {
    if (std::fabs(actual.x - expected.x) <= tol && std::fabs(actual.y - expected.y) <= tol &&
        std::fabs(actual.z - expected.z) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not within " << tol << " of ("
           << expected.x << ", " << expected.y << ", " << expected.z << ")";
}
