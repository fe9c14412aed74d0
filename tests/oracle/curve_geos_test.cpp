// The polyline's curve protocol on a thousand seeded random polylines with arcs, a third of them in a
// tilted system of their own: its conversions are inverse to each other, its extents hold the curve, its
// transforms and splits keep it, and in its plane it agrees with GEOS. GEOS sees the arcs cut into chords
// of at most kOracleChord by the oracle's own arithmetic: its points stray from the arcs by less than 1e-7,
// its lengths fall short of the arcs' by about 3 parts in 1e8.
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
constexpr double kOracleChord = 0.002;
constexpr int kPolylines = 1000;

struct Vertex {
    CPoint3d point; // in the polyline's own system
    double bulge;
};

class CurveOracle : public ::testing::Test {
protected:
    std::mt19937_64 rng{20261208};
    poly_test::RegisteredClasses classes;
    geos_oracle::Context geos;

    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(rng); }

    // A walk of 3 to 7 vertices with steps of 3 to 10 units, arcs on two segments in three, at one height.
    std::vector<Vertex> randomWalk() {
        const int count = static_cast<int>(uniform(3, 8));
        const double height = uniform(0, 1) < 0.5 ? 0 : uniform(-50, 50);
        CPoint3d p(uniform(-100, 100), uniform(-100, 100), height);
        std::vector<Vertex> walk;
        for (int i = 0; i < count; ++i) {
            walk.push_back({p, uniform(0, 1) < 0.34 ? 0 : uniform(-0.7, 0.7)});
            p = p.polar(uniform(0, 2 * kPi), uniform(3, 10));
        }
        return walk;
    }

    void fill(CPolyArc3D& poly, const std::vector<Vertex>& walk, bool closed) {
        for (const Vertex& v : walk)
            poly_test::append(poly, v.point, {.bulge = v.bulge});
        if (closed) poly.f70(1);
        if (uniform(0, 1) < 0.34) {
            const double tilt = uniform(0.1, 1.2), turn = uniform(0, 2 * kPi);
            poly.setSNormal(AcGeVector3d(std::sin(tilt) * std::cos(turn), std::sin(tilt) * std::sin(turn),
                                         std::cos(tilt) * (uniform(0, 1) < 0.2 ? -1 : 1)),
                            0);
        }
    }

    static std::vector<CPoint3d> densified(const std::vector<Vertex>& walk, bool closed) {
        std::vector<CPoint3d> points;
        const std::size_t segments = closed ? walk.size() : walk.size() - 1;
        for (std::size_t i = 0; i < segments; ++i)
            geos_oracle::appendDensified(points, walk[i].point, walk[(i + 1) % walk.size()].point,
                                         walk[i].bulge, kOracleChord);
        points.push_back(closed ? walk.front().point : walk.back().point);
        return points;
    }

    // A world point of the polyline taken into its own system, where GEOS sees it.
    static CPoint3d local(const CPolyArc3D& poly, const AcGePoint3d& p) {
        return CPoint3d(poly.normalMatrix(), p);
    }

    static bool isVertex(const CPolyArc3D& poly, const AcGePoint3d& p) {
        for (const P_Vertex* v = poly.H(); v; v = v->pVN)
            if (poly.WorldPoint(v).isEq3dTol(CPoint3d(p), 1e-9)) return true;
        return false;
    }

    static double endParam(const CPolyArc3D& poly) {
        double end = 0;
        poly.getEndParam(end);
        return end;
    }

    static double length(const CPolyArc3D& poly) {
        double total = 0;
        poly.getDistAtParam(endParam(poly), total);
        return total;
    }

    // 20 points per segment.
    static std::vector<AcGePoint3d> samples(const CPolyArc3D& poly) {
        std::vector<AcGePoint3d> points;
        const int count = static_cast<int>(endParam(poly) * 20);
        for (int i = 0; i <= count; ++i) {
            AcGePoint3d p;
            EXPECT_EQ(poly.getPointAtParam(i / 20.0, p), Acad::eOk);
            points.push_back(p);
        }
        return points;
    }
};

TEST_F(CurveOracle, ParametersDistancesAndPointsConvertBothWaysAndAgreeWithGeos) {
    for (int i = 0; i < kPolylines; ++i) {
        const std::vector<Vertex> walk = randomWalk();
        const bool closed = uniform(0, 1) < 0.3;
        PolyArc3D poly;
        fill(poly, walk, closed);
        const auto line = geos.lineString(densified(walk, closed));
        const double total = length(poly);
        ASSERT_NEAR(total, geos.length(line.get()), 1e-7 * total) << i;
        for (int k = 0; k < 5; ++k) {
            const double t = uniform(0, endParam(poly));
            AcGePoint3d p, q, r;
            double param = -1, dist = -1, back = -1, along = -1;
            ASSERT_EQ(poly.getPointAtParam(t, p), Acad::eOk);
            ASSERT_EQ(poly.getParamAtPoint(p, param), Acad::eOk) << i;
            ASSERT_EQ(poly.getPointAtParam(param, q), Acad::eOk);
            EXPECT_NEAR(q.distanceTo(p), 0, 1e-9) << i << " at " << t;
            ASSERT_EQ(poly.getDistAtParam(t, dist), Acad::eOk);
            ASSERT_EQ(poly.getParamAtDist(dist, back), Acad::eOk);
            EXPECT_NEAR(back, t, 1e-9) << i;
            ASSERT_EQ(poly.getPointAtDist(dist, r), Acad::eOk);
            EXPECT_NEAR(r.distanceTo(p), 0, 1e-9) << i;
            ASSERT_EQ(poly.getDistAtPoint(p, along), Acad::eOk);

            const auto onCurve = geos.point(local(poly, p));
            EXPECT_NEAR(along, geos.project(line.get(), onCurve.get()), 1e-6) << i << " at " << t;
            const CPoint3d interpolated = geos.interpolate(line.get(), dist);
            EXPECT_NEAR(local(poly, r).dist2dTo(interpolated), 0, 1e-6) << i << " at " << t;

            // A point off the curve: the nearest one is as far as GEOS finds the curve.
            const CPoint3d offCurve = local(poly, p).polar(uniform(0, 2 * kPi), uniform(0, 3));
            AcGePoint3d nearest;
            CPoint3d worldOff = offCurve;
            if (poly.normalMatrix()) poly.normalMatrix()->ApplyToPtInv(&worldOff);
            ASSERT_EQ(poly.getClosestPointTo(worldOff, nearest), Acad::eOk);
            const double found = local(poly, nearest).dist2dTo(offCurve);
            const double expected = geos.distance(line.get(), geos.point(offCurve).get());
            // The start of a later segment wins over a point up to _ecpt / 5 nearer on the one before.
            EXPECT_NEAR(found, expected, isVertex(poly, nearest) ? 2e-5 : 1e-6) << i;
        }
    }
}

TEST_F(CurveOracle, ExtentsHoldTheCurve) {
    for (int i = 0; i < kPolylines; ++i) {
        PolyArc3D poly;
        fill(poly, randomWalk(), uniform(0, 1) < 0.3);
        AcDbExtents extents;
        ASSERT_EQ(poly.getGeomExtents(extents), Acad::eOk);
        const AcGePoint3d lo = extents.minPoint(), hi = extents.maxPoint();
        for (const AcGePoint3d& p : samples(poly)) {
            EXPECT_TRUE(p.x >= lo.x - 1e-9 && p.y >= lo.y - 1e-9 && p.z >= lo.z - 1e-9) << i;
            EXPECT_TRUE(p.x <= hi.x + 1e-9 && p.y <= hi.y + 1e-9 && p.z <= hi.z + 1e-9) << i;
        }
    }
}

TEST_F(CurveOracle, TransformsCarryEveryPointOfTheCurve) {
    for (int i = 0; i < kPolylines; ++i) {
        PolyArc3D poly;
        fill(poly, randomWalk(), uniform(0, 1) < 0.3);
        const AcGeVector3d axis(uniform(-1, 1), uniform(-1, 1), uniform(-1, 1));
        const AcGePoint3d centre(uniform(-100, 100), uniform(-100, 100), uniform(-100, 100));
        AcGeMatrix3d m = AcGeMatrix3d::rotation(uniform(-kPi, kPi), axis, centre);
        if (i % 3 == 1) m = AcGeMatrix3d::mirroring(centre, axis) * m;
        if (i % 4 == 2) m = AcGeMatrix3d::scaling(uniform(0.1, 10), centre) * m;
        m = AcGeMatrix3d::translation(AcGeVector3d(uniform(-50, 50), uniform(-50, 50), uniform(-50, 50))) * m;
        std::vector<AcGePoint3d> expected = samples(poly);
        double size = 1;
        for (AcGePoint3d& p : expected) {
            p.transformBy(m);
            size = std::max(size, p.asVector().length());
        }
        ASSERT_EQ(poly.transformBy(m), Acad::eOk) << i;
        const std::vector<AcGePoint3d> moved = samples(poly);
        for (std::size_t k = 0; k < moved.size(); ++k)
            EXPECT_NEAR(moved[k].distanceTo(expected[k]), 0, 1e-9 * size) << i << " sample " << k;
    }
}

TEST_F(CurveOracle, SplitPiecesJoinAndTheirLengthsMakeTheWhole) {
    for (int i = 0; i < kPolylines; ++i) {
        PolyArc3D poly;
        fill(poly, randomWalk(), false);
        AcGeDoubleArray params;
        for (int k = static_cast<int>(uniform(1, 4)); k > 0; --k)
            params.append(uniform(0.01, endParam(poly) - 0.01));
        AcDbVoidPtrArray made;
        ASSERT_EQ(poly.getSplitCurves(params, made), Acad::eOk) << i;
        std::vector<std::unique_ptr<CPolyArc3D>> pieces;
        for (void* piece : made)
            pieces.emplace_back(static_cast<CPolyArc3D*>(piece));
        double sum = 0;
        AcGePoint3d joint, start, end;
        pieces.front()->getStartPoint(start);
        poly.getStartPoint(joint);
        EXPECT_NEAR(start.distanceTo(joint), 0, 1e-9) << i;
        for (const auto& piece : pieces) {
            piece->getStartPoint(start);
            EXPECT_NEAR(start.distanceTo(joint), 0, 1e-9) << i;
            piece->getEndPoint(joint);
            sum += length(*piece);
        }
        poly.getEndPoint(end);
        EXPECT_NEAR(joint.distanceTo(end), 0, 1e-9) << i;
        EXPECT_NEAR(sum, length(poly), 1e-9 * length(poly)) << i;
    }
}

} // namespace
