// Offset polylines against GEOS's mitred offset curve, on random polylines whose corners need no bevel.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "tests/entity/poly_test_support.h"
#include "tests/oracle/geos_oracle.h"

namespace {

TEST(OffsetOracle, MitredOffsetsOfRandomPolylines) {
    std::mt19937_64 rng{20240613};
    const auto uniform = [&rng](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(rng);
    };
    geos_oracle::Context geos;
    for (int i = 0; i < 500; ++i) {
        const std::vector<CPoint3d> points = geos_oracle::mitrablePolyline(rng);
        const double distance = uniform(0.5, 3) * (uniform(0, 1) < 0.5 ? -1 : 1);
        PolyArc3D poly;
        for (const CPoint3d& p : points)
            poly_test::append(poly, p);
        std::unique_ptr<CPolyArc3D> offset(poly.decale(distance, 0, 0, 0));
        ASSERT_TRUE(offset) << i;
        // GEOS offsets to the left for positive distances, this system to the right.
        const auto expected =
            geos.coordinates(geos.mitredOffset(geos.lineString(points).get(), -distance, 10).get());
        ASSERT_EQ(offset->GetCount(), static_cast<int>(expected.size())) << i;
        int k = 0;
        for (const P_Vertex* v = offset->H(); v; v = v->pVN, ++k)
            EXPECT_NEAR(CPoint3d(v->pt).dist2dTo(expected[k]), 0, 1e-6) << i << " vertex " << k;
    }
}

} // namespace
