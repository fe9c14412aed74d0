// Offset polylines against GEOS's mitred offset curve, on random polylines whose corners need no bevel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "tests/entity/poly_test_support.h"
#include "tests/oracle/geos_oracle.h"

namespace {

constexpr double kPi = std::numbers::pi;

TEST(OffsetOracle, MitredOffsetsOfRandomPolylines) {
    std::mt19937_64 rng{20240613};
    const auto uniform = [&rng](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(rng);
    };
    geos_oracle::Context geos;
    for (int i = 0; i < 500; ++i) {
        // Turns of at most 100 degrees keep every mitre under 1.6 times the distance; segments of 20 and more
        // outlast the trims of inside corners; a heading within 80 degrees of the first keeps the line, and
        // its offset, from crossing itself. GEOS takes turns below a few hundredths of a degree as straight:
        // every turn here is of 2 degrees at least.
        const int count = static_cast<int>(uniform(2, 12));
        std::vector<CPoint3d> points{CPoint3d(uniform(-1000, 1000), uniform(-1000, 1000), 0)};
        const double first = uniform(0, 2 * kPi);
        double heading = 0; // from the first direction, in degrees
        for (int k = 1; k < count; ++k) {
            points.push_back(points.back().polar(first + heading * kPi / 180, uniform(20, 50)));
            double turn = 0;
            while (std::fabs(turn) < 2)
                turn = uniform(std::max(-100.0, -80 - heading), std::min(100.0, 80 - heading));
            heading += turn;
        }
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
