// Host polylines made from the polyline, and back: widths, heights, arcs and their chords.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

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

TEST_F(ToHost, DeviationsThatCannotBeMetAreRefused) {
    EXPECT_EQ(poly.to3d(0, std::numeric_limits<double>::quiet_NaN(), nullptr), nullptr);
    EXPECT_EQ(poly.to3d(0, 1e-12, nullptr), nullptr);
    poly.H()->pt.x = std::numeric_limits<double>::infinity();
    EXPECT_EQ(poly.tolw(0, nullptr), nullptr);
    EXPECT_EQ(poly.to2d(0, nullptr), nullptr);
    EXPECT_EQ(poly.to3d(0, 0.01, nullptr), nullptr);
}

} // namespace
