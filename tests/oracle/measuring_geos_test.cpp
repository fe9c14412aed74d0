// Lengths, areas and the inside test of the polyline against GEOS, on random polylines with arcs; GEOS sees
// the arcs finely cut into chords by the oracle's own arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "geometry/points/angle_units.h"
#include "tests/entity/poly_test_support.h"
#include "tests/oracle/geos_oracle.h"

namespace {

constexpr double kPi = std::numbers::pi;
// The oracle's chords are at most this long: on the smallest radii (about 25) their lengths and areas fall
// short of the arcs' by a few parts in 1e9.
constexpr double kOracleChord = 0.02;

struct Vertex {
    CPoint3d point;
    double bulge;
};

class MeasuringOracle : public ::testing::Test {
protected:
    std::mt19937_64 rng{20240612};

    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(rng); }

    // A star-shaped outline round a random centre: its vertices at increasing angles less than a half turn
    // apart, so that its chords never cross; arcs on about two segments in three; anticlockwise or clockwise.
    std::vector<Vertex> randomOutline(double maxBulge) {
        const int count = static_cast<int>(uniform(3, 13));
        const CPoint3d centre(uniform(-5000, 5000), uniform(-5000, 5000), 0);
        std::vector<double> angles;
        for (int i = 0; i < count; ++i)
            angles.push_back(2 * kPi * (i + uniform(0, 0.5)) / count);
        if (uniform(0, 1) < 0.5) std::reverse(angles.begin(), angles.end());
        std::vector<Vertex> outline;
        for (double a : angles)
            outline.push_back(
                {centre.polar(a, uniform(50, 100)), uniform(0, 1) < 0.35 ? 0 : uniform(-maxBulge, maxBulge)});
        return outline;
    }

    static void fill(CPolyArc3D& poly, const std::vector<Vertex>& outline, bool closed) {
        for (const Vertex& v : outline)
            poly_test::append(poly, v.point, {.bulge = v.bulge});
        if (closed) poly.f70(1);
    }

    static std::vector<CPoint3d> densified(const std::vector<Vertex>& outline, bool closed) {
        std::vector<CPoint3d> points;
        const std::size_t segments = closed ? outline.size() : outline.size() - 1;
        for (std::size_t i = 0; i < segments; ++i)
            geos_oracle::appendDensified(points, outline[i].point, outline[(i + 1) % outline.size()].point,
                                         outline[i].bulge, kOracleChord);
        if (!closed) points.push_back(outline.back().point);
        return points;
    }

    geos_oracle::Context geos;
};

TEST_F(MeasuringOracle, LengthsAndAreasOfAThousandPolylinesWithArcs) {
    int valid = 0;
    for (int i = 0; i < 1000; ++i) {
        const std::vector<Vertex> outline = randomOutline(0.4);
        PolyArc3D open, closed;
        fill(open, outline, false);
        fill(closed, outline, true);
        const std::vector<CPoint3d> ring = densified(outline, true);
        const auto polygon = geos.polygon(ring);
        const double area = geos.area(polygon.get());
        const double ringLength = geos.length(polygon.get());
        const double openLength = geos.length(geos.lineString(densified(outline, false)).get());

        EXPECT_NEAR(closed.getLen(0, 0, 0, nullptr), ringLength, 1e-6 * ringLength) << i;
        EXPECT_NEAR(open.getLen(0, 0, 0, nullptr), openLength, 1e-6 * openLength) << i;
        double perimeter = 0;
        const double signedArea = closed.getArea(&perimeter);
        EXPECT_NEAR(std::fabs(signedArea), area, 1e-6 * area) << i;
        // Where an arc crosses another side, GEOS reads the turn at one vertex only.
        if (geos.isValid(polygon.get())) {
            EXPECT_EQ(signedArea < 0, geos.isCounterClockwise(ring)) << i; // clockwise is positive
            ++valid;
        }
        EXPECT_NEAR(perimeter, ringLength, 1e-6 * ringLength) << i;
    }
    EXPECT_GT(valid, 900);
}

TEST_F(MeasuringOracle, NearestPointIsAsNearAsGeosFindsTheOutline) {
    int compared = 0;
    for (int i = 0; i < 200; ++i) {
        // Straight outlines and outlines with arcs: the two are found by different arithmetic.
        const std::vector<Vertex> outline = randomOutline(i % 2 == 0 ? 0.0 : 0.4);
        PolyArc3D poly;
        fill(poly, outline, true);
        const auto polygon = geos.polygon(densified(outline, true));
        // The densified arcs lie within a few parts in 1e6 of the arcs; a later segment's start wins over an
        // earlier foot within a fifth of the tolerance.
        const double tolerance = i % 2 == 0 ? _ecpt / 5 + 1e-9 : 5e-5;
        for (int j = 0; j < 20; ++j) {
            CPoint3d p(outline[0].point.x + uniform(-200, 200), outline[0].point.y + uniform(-200, 200), 0);
            const double expected = geos.distanceToBoundary(polygon.get(), geos.point(p).get());
            // Only points whose nearest point lies inside a segment are compared: at a vertex two segments
            // tie, and which one answers is the walk's rule, not a distance.
            double nearestVertex = 1e300;
            for (const Vertex& v : outline)
                nearestVertex = std::min(nearestVertex, CPoint3d(v.point - p).dist2d());
            if (nearestVertex < expected + 1) continue;
            CPoint3d foot;
            double along = -1;
            ASSERT_NE(poly.ptAtPoint(nullptr, &p, 0, 0, &foot, &along, nullptr, nullptr), nullptr);
            EXPECT_NEAR(CPoint3d(foot - p).dist2d(), expected, tolerance) << i << " " << j;
            EXPECT_GT(along, 0);
            ++compared;
        }
    }
    EXPECT_GT(compared, 1000);
}

TEST_F(MeasuringOracle, InsideTestAgreesWithPointInPolygonAwayFromTheOutline) {
    int inside = 0;
    int outside = 0;
    for (int i = 0; i < 200; ++i) {
        const std::vector<Vertex> outline = randomOutline(0.4);
        PolyArc3D poly;
        fill(poly, outline, true);
        // The inside test reads arcs as their chords.
        std::vector<CPoint3d> chords;
        for (const Vertex& v : outline)
            chords.push_back(v.point);
        const auto polygon = geos.polygon(chords);
        CPoint3d centre;
        for (const CPoint3d& c : chords)
            centre += c / static_cast<double>(chords.size());
        for (int j = 0; j < 50; ++j) {
            const CPoint3d p(centre.x + uniform(-110, 110), centre.y + uniform(-110, 110), 0);
            const auto point = geos.point(p);
            if (geos.distanceToBoundary(polygon.get(), point.get()) < 1e-3) continue;
            const bool expected = geos.contains(polygon.get(), point.get());
            EXPECT_EQ(poly.isInside(p, -1), expected ? 1 : -1) << i << " " << j;
            ++(expected ? inside : outside);
        }
    }
    // Both answers were put to the test.
    EXPECT_GT(inside, 1000);
    EXPECT_GT(outside, 1000);
}

} // namespace
