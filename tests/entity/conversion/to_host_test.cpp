// Host polylines made from the polyline, and back: widths, heights, arcs and their chords.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

#include "entity/conversion/conversion_flags.h"
#include "geometry/arcs/arc3d.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/polylines.h"
#include "tests/entity/poly_test_support.h"

using poly_test::append;

namespace {

struct ToHost : ::testing::Test {
    // Flat, with arcs of both turns, widths and a tilted plane.
    ToHost() {
        append(poly, {0, 0, 4}, {0.5, 0, 0, 0, 0, 20000});
        append(poly, {10, 0, 4}, {0, 0, 0, 0, 0, 50000});
        append(poly, {10, 8, 4}, {-0.3});
        append(poly, {2, 9, 4});
        poly.setSNormal(AcGeVector3d(0.28, 0, 0.96), 0);
    }
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;
};

void expectSameWorldVertices(const CPolyArc3D& expected, const CPolyArc3D& actual) {
    ASSERT_EQ(actual.GetCount(), expected.GetCount());
    for (const P_Vertex *a = expected.H(), *b = actual.H(); a; a = a->pVN, b = b->pVN) {
        EXPECT_NEAR((expected.WorldPoint(a) - actual.WorldPoint(b)).dist3d(), 0, 1e-9);
        EXPECT_NEAR(double(a->bulge), double(b->bulge), 1e-12);
    }
}

TEST_F(ToHost, LightweightAndTwoDimensionalRoundTripsGiveBackTheVertices) {
    std::unique_ptr<AcDbPolyline> lw(poly.tolw(0, nullptr));
    ASSERT_TRUE(lw);
    EXPECT_EQ(lw->numVerts(), 4u);
    EXPECT_DOUBLE_EQ(lw->elevation(), 4);
    EXPECT_TRUE(lw->hasPlinegen());
    PolyArc3D fromLw;
    ASSERT_EQ(fromLw.from(lw.get(), 0), Acad::eOk);
    expectSameWorldVertices(poly, fromLw);
    EXPECT_NEAR(fromLw.H()->f40(), 0.2, 1e-5);

    std::unique_ptr<AcDb2dPolyline> flat(poly.to2d(0, nullptr));
    ASSERT_TRUE(flat);
    PolyArc3D from2d;
    ASSERT_EQ(from2d.from(flat.get(), 0), Acad::eOk);
    expectSameWorldVertices(poly, from2d);
}

TEST_F(ToHost, LightweightEndWidthsComeFromTheNextVertexAndWrapWhenTheEndsMeet) {
    std::unique_ptr<AcDbPolyline> open(poly.tolw(0, nullptr));
    double start = 0, end = 0;
    open->getWidthsAt(0, start, end);
    EXPECT_NEAR(start, 0.2, 1e-5);
    EXPECT_NEAR(end, 0.5, 1e-5);
    open->getWidthsAt(1, start, end);
    EXPECT_NEAR(end, 0.5, 1e-5); // the next has none: the start width
    open->getWidthsAt(3, start, end);
    EXPECT_EQ(end, start);

    append(poly, {0, 0, 4}, {0, 0, 0, 0, 0, 70000});
    std::unique_ptr<AcDbPolyline> ring(poly.tolw(0, nullptr));
    ring->getWidthsAt(4, start, end);
    EXPECT_NEAR(start, 0.7, 1e-5);
    EXPECT_NEAR(end, 0.2, 1e-5);
}

TEST_F(ToHost, ThreeDimensionalChordsStayWithinTheDeviationOfTheirArcs) {
    const double deviation = 0.01;
    std::unique_ptr<AcDb3dPolyline> solid(poly.to3d(0, deviation, nullptr));
    ASSERT_TRUE(solid);
    PolyArc3D chords;
    ASSERT_EQ(chords.from(solid.get(), 0), Acad::eOk);
    EXPECT_GT(chords.GetCount(), 10);
    EXPECT_EQ(CPoint3d(chords.T()->pt), poly.WorldPoint(poly.T()));
    // Every chord's middle lies within the deviation of the polyline, every chord end on it.
    for (const P_Vertex* v = chords.H(); v->pVN; v = v->pVN) {
        const CPoint3d a = v->pt, b = v->pVN->pt;
        for (const CPoint3d& p : {a, (a + b) * 0.5}) {
            AcGePoint3d on;
            ASSERT_EQ(poly.getClosestPointTo(AcGePoint3d(p.x, p.y, p.z), on), Acad::eOk);
            EXPECT_LE((CPoint3d(on) - p).dist3d(), deviation + 1e-9);
        }
    }
    std::unique_ptr<AcDb3dPolyline> corners(poly.to3d(0, 0, nullptr));
    PolyArc3D plain;
    ASSERT_EQ(plain.from(corners.get(), 0), Acad::eOk);
    EXPECT_EQ(plain.GetCount(), 4);
}

TEST_F(ToHost, ChordsOfAClimbingArcFollowItsHelix) {
    // A quarter turn of radius 100 climbing 10 m: chords within 1 cm of a helix as long as the polyline.
    PolyArc3D climbing;
    append(climbing, {0, 0, 100}, {std::tan(std::numbers::pi / 8)});
    append(climbing, {100, 100, 110});
    const double helix = std::hypot(100 * std::numbers::pi / 2, 10);
    double ownLength = 0;
    ASSERT_EQ(climbing.getDistAtParam(1, ownLength), Acad::eOk);
    EXPECT_NEAR(ownLength, helix, 1e-9);
    constexpr double kDeviation = 0.01;
    std::unique_ptr<AcDb3dPolyline> solid(climbing.to3d(0, kDeviation, nullptr));
    ASSERT_TRUE(solid);
    PolyArc3D chords;
    ASSERT_EQ(chords.from(solid.get(), 0), Acad::eOk);
    EXPECT_GT(chords.GetCount(), 10);
    double length = 0;
    for (const P_Vertex* v = chords.H(); v->pVN; v = v->pVN)
        length += (CPoint3d(v->pVN->pt) - v->pt).dist3d();
    EXPECT_NEAR(length, helix, kDeviation);
}

TEST_F(ToHost, DeviationsThatCannotBeMetAreRefused) {
    EXPECT_EQ(poly.to3d(0, std::numeric_limits<double>::quiet_NaN(), nullptr), nullptr);
    EXPECT_EQ(poly.to3d(0, 1e-12, nullptr), nullptr);
    poly.H()->pt.x = std::numeric_limits<double>::infinity();
    EXPECT_EQ(poly.tolw(0, nullptr), nullptr);
    EXPECT_EQ(poly.to2d(0, nullptr), nullptr);
    EXPECT_EQ(poly.to3d(0, 0.01, nullptr), nullptr);
}

// The colours of a host polyline's vertices, in order (the polyline lies outside a database).
std::vector<int> vertexColours(const AcDbEntity& polyline, AcDbObjectIterator* it) {
    std::unique_ptr<AcDbObjectIterator> vertices(it);
    std::vector<int> colours;
    for (vertices->start(); !vertices->done(); vertices->step())
        colours.push_back(vertices->entity()->colorIndex());
    EXPECT_FALSE(colours.empty()) << polyline.isA()->name();
    return colours;
}

TEST_F(ToHost, PolyArc3DGivesEachHostVertexTheColourOfItsVertexCode) {
    poly.setColorIndex(5);
    poly.H(1)->tef2 = 1; // colour 9 without TEF tables
    std::unique_ptr<AcDb2dPolyline> flat(poly.to2d(0, nullptr));
    ASSERT_TRUE(flat);
    EXPECT_EQ(vertexColours(*flat, flat->vertexIterator()), (std::vector<int>{5, 9, 5, 5}));

    // Without properties asked for, PolyArc3D's 3-D polyline keeps them; a negative deviation still cuts
    // the arcs, each chord in the colour of the vertex that starts its arc.
    std::unique_ptr<AcDb3dPolyline> solid(poly.to3d(conversion::kWithoutProperties, -1, nullptr));
    ASSERT_TRUE(solid);
    EXPECT_EQ(solid->colorIndex(), 5);
    const std::vector<int> colours = vertexColours(*solid, solid->vertexIterator());
    EXPECT_GT(colours.size(), 4u);
    EXPECT_EQ(std::count(colours.begin(), colours.end(), 9), 1)
        << "the straight segment from the second vertex";

    CPolyArc3D bare;
    bare.copyVertexFrom(&poly);
    std::unique_ptr<AcDb3dPolyline> plain(bare.to3d(0, -1, nullptr));
    EXPECT_EQ(vertexColours(*plain, plain->vertexIterator()).size(), 4u) << "the base cuts no arc for -1";
}

} // namespace
