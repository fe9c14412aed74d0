// Properties that must hold on any segment, checked on thousands of random ones.
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

class ArcProperties : public ::testing::Test {
protected:
    std::mt19937_64 rng{7};

    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(rng); }

    // Half of the segments are arcs (bulges of either sign, radii well below the clamping), some ends have
    // no height.
    CArc3d randomSegment(double spread, double longest) {
        const CPoint3d start(uniform(-spread, spread), uniform(-spread, spread), height());
        const CPoint3d end = start.polar(uniform(0, _400rd), uniform(0.1, longest));
        double bulge = 0;
        if (uniform(0, 1) < 0.5) bulge = (uniform(0, 1) < 0.5 ? -1 : 1) * uniform(0.01, 3);
        return CArc3d(start, CPoint3d(end.x, end.y, height()), bulge);
    }

    double height() { return uniform(0, 1) < 0.2 ? 0 : uniform(-50, 500); }
};

// Distance in plan from p to the segment's line or circle.
double distanceToCurve(const CArc3d& s, const CPoint3d& p) {
    if (s.radius != 0) return std::fabs(s.centre.dist2dTo(p) - s.radius);
    const CPoint3d d = s.end - s.start, q = p - s.start;
    return std::fabs(d.x * q.y - d.y * q.x) / s.chord;
}

} // namespace

TEST_F(ArcProperties, NearestPointOfAPointAtADistanceGivesTheDistanceBack) {
    for (int n = 0; n < 5000; ++n) {
        CArc3d s = randomSegment(1000, 100);
        const double length = s.len();
        const double d = uniform(2 * _ecpt, length - 2 * _ecpt);
        CPoint3d pt, foot;
        ASSERT_EQ(s.ptAtDist(d, pt), 1);
        double along = 0, offset = 1;
        ASSERT_EQ(s.ptprox(pt, foot, &along, &offset), 1) << "segment " << n;
        ASSERT_NEAR(along, d, 1e-9 * std::max(1.0, length)) << "segment " << n << " bulge " << s.bulge;
        ASSERT_NEAR(offset, 0, 1e-9);
        ASSERT_NEAR(foot.x, pt.x, 1e-9);
        ASSERT_NEAR(foot.y, pt.y, 1e-9);
    }
}

TEST_F(ArcProperties, IntersectionsLieOnBothCurves) {
    int found = 0;
    for (int n = 0; n < 5000; ++n) {
        CArc3d a = randomSegment(10, 20), b = randomSegment(10, 20);
        CPoint3d* pts = nullptr;
        const int count = a.intersectWith(&b, pts);
        for (int i = 0; i < count; ++i) {
            ASSERT_LT(distanceToCurve(a, pts[i]), 1e-9) << "pair " << n;
            ASSERT_LT(distanceToCurve(b, pts[i]), 1e-9) << "pair " << n;
        }
        found += count;
    }
    EXPECT_GT(found, 2000) << "enough pairs meet for the property to mean something";
}

// A working system that turns and shifts the plan changes nothing a caller sees.
TEST_F(ArcProperties, WorkingSystemsAreTransparent) {
    for (int n = 0; n < 3000; ++n) {
        Mat3D working = Mat3D::MKappa(uniform(-4, 4));
        working.t[0] = uniform(-1e4, 1e4);
        working.t[1] = uniform(-1e4, 1e4);
        const CArc3d world = randomSegment(100, 50);
        const CArc3d other = randomSegment(100, 50);
        CArc3d seen, otherSeen;
        seen.set(&working, world.start, world.end, world.bulge, nullptr);
        otherSeen.set(&working, other.start, other.end, other.bulge, nullptr);

        const CPoint3d p(uniform(-150, 150), uniform(-150, 150), 0);
        CPoint3d footWorld, footSeen;
        double alongWorld = 0, alongSeen = 0, offsetWorld = 0, offsetSeen = 0;
        CArc3d plain = world;
        const int result = plain.ptprox(p, footWorld, &alongWorld, &offsetWorld, 2);
        ASSERT_EQ(seen.ptprox(p, footSeen, &alongSeen, &offsetSeen, 2), result) << "segment " << n;
        ASSERT_NEAR(footSeen.x, footWorld.x, 1e-8) << "segment " << n << " result " << result;
        ASSERT_NEAR(footSeen.y, footWorld.y, 1e-8) << "segment " << n << " result " << result;
        ASSERT_NEAR(alongSeen, alongWorld, 1e-8);
        ASSERT_NEAR(offsetSeen, offsetWorld, 1e-8);

        CPoint3d* pts = nullptr;
        char codesWorld[2] = {0, 0}, codesSeen[2] = {0, 0};
        CArc3d otherPlain = other;
        const int count = plain.intersectWith(&otherPlain, pts, codesWorld);
        const CPoint3d first = pts[0], second = pts[1];
        ASSERT_EQ(seen.intersectWith(&otherSeen, pts, codesSeen), count) << "pair " << n;
        ASSERT_EQ(codesSeen[0], codesWorld[0]);
        ASSERT_EQ(codesSeen[1], codesWorld[1]);
        for (int i = 0; i < count; ++i) {
            const CPoint3d& expected = i == 0 ? first : second;
            // Lines meeting at a grazing angle meet far away, where rounding grows with the distance.
            ASSERT_NEAR(pts[i].x, expected.x, 1e-8 * std::max(1.0, std::fabs(expected.x))) << "pair " << n;
            ASSERT_NEAR(pts[i].y, expected.y, 1e-8 * std::max(1.0, std::fabs(expected.y))) << "pair " << n;
        }
    }
}
