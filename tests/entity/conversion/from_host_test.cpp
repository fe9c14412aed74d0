// Polylines made from host curves: the vertices of each kind, degenerate sources, and the placing flags.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "cadutil/database/spaces.h"
#include "host/db/database.h"
#include "host/entities/circle_arc.h"
#include "host/entities/ellipse.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/point_ray_face.h"
#include "host/entities/polylines.h"
#include "host/entities/text.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"

using poly_test::append;

namespace {

constexpr double kPi = std::numbers::pi;

struct FromHost : ::testing::Test {
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;
};

// Angle of a world point round a centre, in [0, 2pi).
double angleAround(const CPoint3d& p, const AcGePoint3d& centre) {
    const double a = std::atan2(p.y - centre.y, p.x - centre.x);
    return a < 0 ? a + 2 * kPi : a;
}

TEST_F(FromHost, ACircleBecomesThreeEqualArcsJoinedByInsertedVertices) {
    const AcGePoint3d centre(10, 20, 5);
    AcDbCircle circle(centre, AcGeVector3d::kZAxis, 4);
    ASSERT_EQ(poly.from(&circle, 0), Acad::eOk);
    ASSERT_EQ(poly.GetCount(), 4);
    const short flags[] = {0, 8, 8, 0};
    double previous = -1;
    int i = 0;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN, ++i) {
        EXPECT_EQ(short(v->flags), flags[i]) << i;
        const CPoint3d p = poly.WorldPoint(v);
        EXPECT_NEAR((p - CPoint3d(centre)).dist2d(), 4, 2e-6) << i;
        EXPECT_NEAR(p.z, 5, 1e-12);
        if (v->pVN) {
            EXPECT_NEAR(double(v->bulge), std::tan(2 * kPi / 3 / 4), 1e-6) << i;
        }
        if (i == 1 || i == 2) {
            EXPECT_NEAR(std::fmod(angleAround(p, centre) - previous + 2 * kPi, 2 * kPi), 2 * kPi / 3, 1e-6)
                << i;
        }
        previous = angleAround(p, centre);
    }
    EXPECT_EQ(double(poly.T()->bulge), 0);
}

TEST_F(FromHost, AHalfCircleArcIsCutOnceInItsMiddle) {
    AcDbArc arc(AcGePoint3d(0, 0, 0), 2, 0, kPi);
    ASSERT_EQ(poly.from(&arc, 0), Acad::eOk);
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_NEAR((poly.WorldPoint(poly.H()) - CPoint3d(2, 0, 0)).dist3d(), 0, 1e-9);
    EXPECT_NEAR((poly.WorldPoint(poly.H(1)) - CPoint3d(0, 2, 0)).dist3d(), 0, 1e-9);
    EXPECT_NEAR((poly.WorldPoint(poly.T()) - CPoint3d(-2, 0, 0)).dist3d(), 0, 1e-9);
    EXPECT_NEAR(double(poly.H()->bulge), std::tan(kPi / 8), 1e-9);
    EXPECT_EQ(short(poly.H(1)->flags), 8);
}

TEST_F(FromHost, AnArcSeenFromBelowIsKeptInWorldPoints) {
    AcDbArc arc(AcGePoint3d(1, 1, 3), AcGeVector3d(0, 0, -1), 2, 0, kPi / 2);
    ASSERT_EQ(poly.from(&arc, 0), Acad::eOk);
    EXPECT_EQ(poly.normalMatrix(), nullptr);
    // Seen from below the arc turns clockwise in plan.
    EXPECT_LT(double(poly.H()->bulge), 0);
    EXPECT_NEAR((poly.WorldPoint(poly.H()) - CPoint3d(-1, 1, 3)).dist3d(), 0, 1e-9);
}

TEST_F(FromHost, LightweightVerticesKeepWidthsDropTinyBulgesAndTheirPlane) {
    AcDbPolyline lw;
    lw.addVertexAt(0, AcGePoint2d(0, 0), 5e-7, 0.5, 0.5);
    lw.addVertexAt(1, AcGePoint2d(10, 0), 1, 0.25, 0.25);
    lw.addVertexAt(2, AcGePoint2d(10, 10));
    lw.setElevation(2);
    lw.setNormal(AcGeVector3d(0, 0.6, 0.8));
    lw.setThickness(1.5);
    lw.setClosed(true);
    ASSERT_EQ(poly.from(&lw, 0), Acad::eOk);
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_EQ(double(poly.H()->bulge), 0);
    EXPECT_EQ(double(poly.H(1)->bulge), 1);
    EXPECT_EQ(poly.H()->f40(), 0.5);
    EXPECT_EQ(poly.H(1)->f40(), 0.25);
    EXPECT_EQ(poly.f39(), 1.5);
    EXPECT_TRUE(poly.isClosed());
    EXPECT_TRUE(poly.Snormal().isEqualTo(AcGeVector3d(0, 0.6, 0.8)));
    for (unsigned int i = 0; i < 3; ++i) {
        AcGePoint3d expected;
        lw.getPointAt(i, expected);
        EXPECT_NEAR((poly.WorldPoint(poly.H(int(i))) - CPoint3d(expected)).dist3d(), 0, 1e-9) << i;
    }
}

TEST_F(FromHost, TwoDimensionalPolylinesSkipFrameVerticesAndFlagFitOnes) {
    AcDb2dPolyline flat;
    flat.setElevation(7);
    auto* frame = new AcDb2dVertex(AcGePoint3d(5, 5, 0));
    frame->setVertexType(AcDb::k2dSplineCtlVertex);
    auto* fit = new AcDb2dVertex(AcGePoint3d(3, 1, 0));
    fit->setVertexType(AcDb::k2dCurveFitVertex);
    flat.appendVertex(new AcDb2dVertex(AcGePoint3d(0, 0, 0), 0.5, 0.2, 0.2));
    flat.appendVertex(frame);
    flat.appendVertex(fit);
    flat.appendVertex(new AcDb2dVertex(AcGePoint3d(6, 0, 0)));
    ASSERT_EQ(poly.from(&flat, 0), Acad::eOk);
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_EQ(double(poly.H()->bulge), 0.5);
    EXPECT_NEAR(poly.H()->f40(), 0.2, 1e-5);
    EXPECT_EQ(short(poly.H()->flags), 0);
    EXPECT_EQ(short(poly.H(1)->flags), 1);
    EXPECT_EQ(CPoint3d(poly.H(1)->pt), CPoint3d(3, 1, 7));
}

// Corners at x = 0, 10 and 20, not in line; between them vertices of the given type.
AcDb3dPolyline* threeD(AcDb::Vertex3dType betweenType) {
    auto* solid = new AcDb3dPolyline;
    const AcGePoint3d points[] = {{0, 0, 0}, {5, 4, 1}, {10, 5, 2}, {15, 4, 2}, {20, 0, 2}};
    for (const AcGePoint3d& p : points) {
        auto* v = new AcDb3dPolylineVertex(p);
        if (p.x == 5 || p.x == 15) v->setVertexType(betweenType);
        solid->appendVertex(v);
    }
    return solid;
}

TEST_F(FromHost, ThreeDimensionalFitVerticesAreFlaggedAndSmoothedSimpleOnesNot) {
    std::unique_ptr<AcDb3dPolyline> simple(threeD(AcDb::k3dSimpleVertex));
    ASSERT_EQ(poly.from(simple.get(), 0), Acad::eOk);
    ASSERT_EQ(poly.GetCount(), 5);
    for (const P_Vertex* v = poly.H(); v; v = v->pVN) {
        EXPECT_EQ(double(v->bulge), 0);
        EXPECT_EQ(short(v->flags), 0);
    }

    PolyArc3D fitted;
    std::unique_ptr<AcDb3dPolyline> withFit(threeD(AcDb::k3dFitVertex));
    ASSERT_EQ(fitted.from(withFit.get(), 0), Acad::eOk);
    int flagged = 0, curved = 0;
    for (const P_Vertex* v = fitted.H(); v; v = v->pVN) {
        flagged += v->flags & 1;
        curved += v->bulge != 0;
    }
    EXPECT_GE(flagged, 2);
    EXPECT_GT(curved, 0);
    // The corners stay where they were, hard.
    int corners = 0;
    for (const P_Vertex* v = fitted.H(); v; v = v->pVN)
        if (v->dur()) {
            EXPECT_EQ(CPoint3d(v->pt), CPoint3d(10.0 * corners, corners == 1 ? 5 : 0, corners ? 2 : 0));
            ++corners;
        }
    EXPECT_EQ(corners, 3);
}

TEST_F(FromHost, AFaceGivesItsDistinctCornersClosedEvenFromTheOrigin) {
    AcDbFace triangle(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 1), AcGePoint3d(4, 3, 2), AcGePoint3d(4, 3, 2));
    ASSERT_EQ(poly.from(&triangle, 0), Acad::eOk);
    EXPECT_EQ(poly.GetCount(), 3);
    EXPECT_TRUE(poly.isClosed());
    EXPECT_EQ(CPoint3d(poly.H()->pt), CPoint3d(0, 0, 0));
}

TEST_F(FromHost, SourcesThatAreNoCurveLeaveThePolylineAsItWas) {
    append(poly, {1, 2, 3});
    append(poly, {4, 5, 6}, {0.5});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    AcDbLine zeroLength(AcGePoint3d(1, 1, 1), AcGePoint3d(1, 1, 1));
    AcDbLine notANumber(AcGePoint3d(nan, 0, 0), AcGePoint3d(1, 0, 0));
    AcDbCircle noRadius(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 0);
    AcDbFace onePoint(AcGePoint3d(2, 2, 2), AcGePoint3d(2, 2, 2), AcGePoint3d(2, 2, 2), AcGePoint3d(2, 2, 2));
    AcDbEllipse dot(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(1e-7, 0, 0), 0.5);
    AcDbPolyline empty;
    AcDbText text;
    PolyArc3D emptyOwn;
    for (AcDbEntity* source : std::initializer_list<AcDbEntity*>{
             &zeroLength, &notANumber, &noRadius, &onePoint, &dot, &empty, &text, &emptyOwn, nullptr}) {
        EXPECT_EQ(poly.from(source, 1), Acad::eInvalidInput);
        ASSERT_EQ(poly.GetCount(), 2);
        EXPECT_EQ(CPoint3d(poly.T()->pt), CPoint3d(4, 5, 6));
        EXPECT_EQ(double(poly.T()->bulge), 0.5);
    }
    EXPECT_EQ(poly.from(&poly, 0), Acad::eInvalidInput);
}

TEST_F(FromHost, AnotherPolylineOfTheSystemIsCopiedWhole) {
    PolyArc3D rich;
    poly_test::fillRich(rich);
    ASSERT_EQ(poly.from(&rich, 0), Acad::eOk);
    poly_test::expectSamePolyline(rich, poly);
}

struct FromHostInDrawing : FromHost {
    AcDbObjectId addLine(AcDbLine*& line) {
        line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0));
        line->setColorIndex(3);
        AcDbObjectId id;
        EXPECT_FALSE(appendEntityToSpace(id, line, 1, working.db.get()).isNull());
        return id;
    }
    host::test::WorkingDatabase working;
};

TEST_F(FromHostInDrawing, ReplacingALineHandsItsIdOverToThePolyline) {
    AcDbLine* line = nullptr;
    const AcDbObjectId id = addLine(line);
    auto* made = new PolyArc3D;
    ASSERT_EQ(made->from(line, 3), Acad::eOk);
    EXPECT_EQ(made->objectId(), id);
    EXPECT_EQ(made->colorIndex(), 3);
    made->close();
    AcDbEntity* opened = nullptr;
    ASSERT_EQ(acdbOpenObject(opened, id, AcDb::kForRead), Acad::eOk);
    EXPECT_NE(CPolyArc3D::cast(opened), nullptr);
    opened->close();
}

TEST_F(FromHostInDrawing, AppendingKeepsTheSource) {
    AcDbLine* line = nullptr;
    const AcDbObjectId id = addLine(line);
    auto* made = new PolyArc3D;
    ASSERT_EQ(made->from(line, 1), Acad::eOk);
    EXPECT_FALSE(made->objectId().isNull());
    EXPECT_NE(made->objectId(), id);
    EXPECT_FALSE(line->isErased());
    made->close();
    line->close();
}

} // namespace
