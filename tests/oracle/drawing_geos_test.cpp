// The width lines the polyline draws against GEOS's mitred offset curve of the same straight polyline.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "host/graphics/graphics_recorder.h"
#include "tests/entity/poly_test_support.h"
#include "tests/oracle/geos_oracle.h"

namespace {

TEST(DrawingOracle, WidthLinesOfStraightPolylinesAreGeosMitredOffsets) {
    poly_test::RegisteredClasses classes;
    std::mt19937_64 rng{20261209};
    const auto uniform = [&rng](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(rng);
    };
    geos_oracle::Context geos;
    for (int i = 0; i < 200; ++i) {
        const std::vector<CPoint3d> points = geos_oracle::mitrablePolyline(rng);
        const double width = uniform(0.5, 3);
        PolyArc3D poly;
        for (const CPoint3d& p : points)
            poly_test::append(poly, p, {.i40 = static_cast<std::int32_t>(width * 100000)});
        const double stored = poly.H()->f40(); // the width as kept, to 1e-5
        host::GraphicsRecorder recorder;
        recorder.recordEntity(&poly);
        // Per segment its base line, then its width line.
        const auto& drawn = recorder.primitives();
        ASSERT_EQ(drawn.size(), 2 * (points.size() - 1)) << i;
        // GEOS offsets to the left for positive distances, the drawing to the right.
        const auto expected =
            geos.coordinates(geos.mitredOffset(geos.lineString(points).get(), -stored, 10).get());
        ASSERT_EQ(expected.size(), points.size()) << i;
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
            const host::Primitive& line = drawn[2 * k + 1];
            EXPECT_EQ(line.traits.marker, static_cast<long>(k + 1));
            for (std::size_t end = 0; end < 2; ++end) {
                const AcGePoint3d p = line.points[end];
                EXPECT_NEAR(CPoint3d(p.x, p.y, 0).dist2dTo(expected[k + end]), 0, 1e-9)
                    << i << " segment " << k << " end " << end;
            }
        }
    }
}

} // namespace
