// The polyline under the host's editing: transforms, grips and stretching, splitting, EXTEND and its cache,
// subentities.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

#include "entity/curve/extend_cache.h"
#include "host/entities/circle_arc.h"
#include "host/entities/line.h"
#include "host/entities/point_ray_face.h"
#include "tests/entity/poly_test_support.h"

using poly_test::append;
using poly_test::appendAll;
using poly_test::bulges;
using poly_test::point;

namespace {

constexpr double kPi = std::numbers::pi;

struct CurveEditing : ::testing::Test {
    poly_test::RegisteredClasses classes;
    ~CurveEditing() override { g_ExtendCache.reset(); }

    // A polyline with an anticlockwise and a clockwise arc.
    static void withArcs(CPolyArc3D& poly) {
        append(poly, {0, 0, 2}, {.bulge = 0.5});
        append(poly, {10, 0, 2}, {.bulge = -0.25});
        append(poly, {10, 10, 2});
    }
};

TEST_F(CurveEditing, MirroringNegatesTheBulgesAndRotatingKeepsThem) {
    PolyArc3D mirrored, rotated;
    withArcs(mirrored);
    withArcs(rotated);
    ASSERT_EQ(mirrored.transformBy(AcGeMatrix3d::mirroring(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis)),
              Acad::eOk);
    EXPECT_EQ(bulges(mirrored), (std::vector<double>{-0.5, 0.25, 0}));
    EXPECT_EQ(mirrored.normalMatrix(), nullptr);
    EXPECT_EQ(point(mirrored.T()), CPoint3d(-10, 10, 2));
    ASSERT_EQ(rotated.transformBy(AcGeMatrix3d::rotation(1.0, AcGeVector3d::kZAxis)), Acad::eOk);
    EXPECT_EQ(bulges(rotated), (std::vector<double>{0.5, -0.25, 0}));
}

TEST_F(CurveEditing, ATiltingTransformGivesTheEntityASystemAndKeepsItsPoints) {
    PolyArc3D poly;
    withArcs(poly);
    const AcGeMatrix3d m = AcGeMatrix3d::rotation(0.7, AcGeVector3d(1, 2, 0.5), AcGePoint3d(3, 1, 4)) *
                           AcGeMatrix3d::mirroring(AcGePoint3d(1, 1, 1), AcGeVector3d(0.2, 0.1, 1));
    std::vector<AcGePoint3d> before;
    for (int i = 0; i <= 40; ++i) {
        AcGePoint3d p;
        ASSERT_EQ(poly.getPointAtParam(i / 20.0, p), Acad::eOk);
        before.push_back(p.transformBy(m));
    }
    ASSERT_EQ(poly.transformBy(m), Acad::eOk);
    EXPECT_NE(poly.normalMatrix(), nullptr);
    for (int i = 0; i <= 40; ++i) {
        AcGePoint3d p;
        ASSERT_EQ(poly.getPointAtParam(i / 20.0, p), Acad::eOk);
        EXPECT_NEAR(p.distanceTo(before[i]), 0, 1e-9) << i;
    }
}

TEST_F(CurveEditing, ANonUniformScaleOfArcsIsRefusedAndOfChordsDone) {
    PolyArc3D arcs, chords;
    withArcs(arcs);
    appendAll(chords, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    AcGeMatrix3d stretch;
    stretch(0, 0) = 2;
    EXPECT_EQ(arcs.transformBy(stretch), Acad::eCannotScaleNonUniformly);
    EXPECT_EQ(point(arcs.H()->pVN), CPoint3d(10, 0, 2));
    ASSERT_EQ(chords.transformBy(stretch), Acad::eOk);
    EXPECT_EQ(point(chords.T()), CPoint3d(20, 10, 0));
    // Heights scaled alone leave the arcs circles.
    AcGeMatrix3d heights;
    heights(2, 2) = 3;
    ASSERT_EQ(arcs.transformBy(heights), Acad::eOk);
    EXPECT_EQ(point(arcs.T()), CPoint3d(10, 10, 6));
    AcGeMatrix3d broken;
    broken(1, 1) = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(chords.transformBy(broken), Acad::eInvalidInput);
    EXPECT_EQ(point(chords.T()), CPoint3d(20, 10, 0));
}

TEST_F(CurveEditing, ATransformedCopyLeavesTheSourceAsItWas) {
    PolyArc3D poly;
    withArcs(poly);
    AcDbEntity* made = nullptr;
    ASSERT_EQ(poly.getTransformedCopy(AcGeMatrix3d::translation(AcGeVector3d(5, 0, 0)), made), Acad::eOk);
    std::unique_ptr<AcDbEntity> copy(made);
    ASSERT_NE(PolyArc3D::cast(copy.get()), nullptr);
    EXPECT_EQ(point(PolyArc3D::cast(copy.get())->H()), CPoint3d(5, 0, 2));
    EXPECT_EQ(point(poly.H()), CPoint3d(0, 0, 2));
}

TEST_F(CurveEditing, GripsAreVerticesAndGeneratedOnesAreOutOfReach) {
    PolyArc3D poly;
    append(poly, {0, 0, 0});
    append(poly, {5, 1, 0}, {.flags = 1});
    append(poly, {10, 0, 0}, {.flags = 6});
    AcGePoint3dArray grips;
    AcDbIntArray modes, ids;
    ASSERT_EQ(poly.getGripPoints(grips, modes, ids), Acad::eOk);
    ASSERT_EQ(grips.length(), 3);
    EXPECT_EQ(grips[1], AcGePoint3d(-1e9, -1e9, -1e9));
    EXPECT_EQ(grips[2], AcGePoint3d(10, 0, 0));

    AcDbIntArray which;
    which.append(2);
    which.append(7);
    ASSERT_EQ(poly.moveGripPointsAt(which, AcGeVector3d(0, 0, 0.1234567)), Acad::eOk);
    EXPECT_EQ(point(poly.T()).z, 0.12346);
    EXPECT_EQ(short(poly.T()->flags), 4);
    EXPECT_EQ(poly.moveGripPointsAt(which, AcGeVector3d(std::numeric_limits<double>::infinity(), 0, 0)),
              Acad::eInvalidInput);
    AcGePoint3dArray stretch;
    ASSERT_EQ(poly.getStretchPoints(stretch), Acad::eOk);
    EXPECT_EQ(stretch.length(), poly.GetCount());
}

TEST_F(CurveEditing, SplittingCutsOnceAtRepeatedParametersAndRefusesTheEnds) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}});
    AcGeDoubleArray params;
    for (double p : {2.5, 0.0, 2.5, 10.0})
        params.append(p);
    AcDbVoidPtrArray pieces;
    ASSERT_EQ(poly.getSplitCurves(params, pieces), Acad::eOk);
    ASSERT_EQ(pieces.length(), 2);
    std::unique_ptr<CPolyArc3D> first(static_cast<CPolyArc3D*>(pieces[0]));
    std::unique_ptr<CPolyArc3D> second(static_cast<CPolyArc3D*>(pieces[1]));
    EXPECT_EQ(point(first->T()), CPoint3d(25, 0, 0));
    EXPECT_EQ(point(second->H()), CPoint3d(25, 0, 0));
    EXPECT_EQ(point(second->T()), CPoint3d(40, 0, 0));
    EXPECT_EQ(poly.GetCount(), 5);

    AcDbVoidPtrArray none;
    AcGeDoubleArray atStart, empty;
    atStart.append(0);
    EXPECT_EQ(poly.getSplitCurves(atStart, none), Acad::eInvalidInput);
    EXPECT_EQ(poly.getSplitCurves(empty, none), Acad::eInvalidInput);
    AcGePoint3dArray offCurve;
    offCurve.append(AcGePoint3d(15, 5, 0));
    EXPECT_EQ(poly.getSplitCurves(offCurve, none), Acad::eInvalidInput);
    EXPECT_TRUE(none.isEmpty());
}

TEST_F(CurveEditing, ExtendMovesAnEndAlongItsLineOrCircle) {
    PolyArc3D line, arc;
    appendAll(line, {{0, 0, 0}, {10, 0, 0}});
    ASSERT_EQ(line.extend(false, AcGePoint3d(15, 0, 0)), Acad::eOk);
    EXPECT_EQ(line.GetCount(), 2);
    EXPECT_EQ(point(line.T()), CPoint3d(15, 0, 0));
    ASSERT_EQ(line.extend(true, AcGePoint3d(-5, 0, 0)), Acad::eOk);
    EXPECT_EQ(point(line.H()), CPoint3d(-5, 0, 0));
    EXPECT_EQ(line.extend(true, AcGePoint3d(-5, 1, 0)), Acad::eInvalidInput);

    // A quarter circle round the origin grows to a half circle.
    append(arc, {10, 0, 0}, {.bulge = std::tan(kPi / 8)});
    append(arc, {0, 10, 0});
    ASSERT_EQ(arc.extend(false, AcGePoint3d(-10, 0, 0)), Acad::eOk);
    EXPECT_NEAR(double(arc.H()->bulge), 1, 1e-9);
}

TEST_F(CurveEditing, TheAdjustModeInsertsAMiddleVertexAndHalvesTheParameters) {
    PolyArc3D poly;
    appendAll(poly, {{0, 0, 0}, {10, 0, 0}});
    CPolyArc3D::m_PolyArc3dCmdeFlag = 2;
    // A request inside the segment is cached, not done.
    ASSERT_EQ(poly.extend(false, AcGePoint3d(8, 0, 0)), Acad::eOk);
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_EQ(point(poly.T()), CPoint3d(10, 0, 0));
    EXPECT_EQ(g_ExtendCache.entity, &poly);
    double param = 0;
    ASSERT_EQ(poly.getParamAtPoint(AcGePoint3d(7.5, 0, 0), param), Acad::eOk);
    EXPECT_DOUBLE_EQ(param, 1.5 * 0.5);
    // The cached point answers the value cached for it: 3 of the last segment's 5 units, read backwards.
    ASSERT_EQ(poly.getParamAtPoint(AcGePoint3d(8, 0, 0), param), Acad::eOk);
    EXPECT_DOUBLE_EQ(param, (1 + (5.0 - 3.0) / 5.0 + 1) * 0.5);
    ASSERT_EQ(poly.extend(false, AcGePoint3d(12, 0, 0)), Acad::eOk);
    EXPECT_EQ(point(poly.T()), CPoint3d(12, 0, 0));
    EXPECT_EQ(g_ExtendCache.endMoved, 1);

    // Without the adjust mode two vertices stay two.
    g_ExtendCache.reset();
    CPolyArc3D::m_PolyArc3dCmdeFlag = 0;
    PolyArc3D plain;
    appendAll(plain, {{0, 0, 0}, {10, 0, 0}});
    ASSERT_EQ(plain.extend(false, AcGePoint3d(12, 0, 0)), Acad::eOk);
    EXPECT_EQ(plain.GetCount(), 2);
}

TEST_F(CurveEditing, TheCacheForgetsAnEntityThatIsDestroyed) {
    {
        PolyArc3D poly;
        appendAll(poly, {{0, 0, 0}, {10, 0, 0}});
        ASSERT_EQ(poly.extend(false, AcGePoint3d(11, 0, 0)), Acad::eOk);
        EXPECT_EQ(g_ExtendCache.entity, &poly);
    }
    EXPECT_EQ(g_ExtendCache.entity, nullptr);
}

TEST_F(CurveEditing, MarkersNameEdgesAndVertices) {
    PolyArc3D poly;
    append(poly, {0, 0, 0}, {.bulge = 1});
    append(poly, {2, 0, 0});
    append(poly, {2, 0, 0});
    append(poly, {2, 5, 0});
    int count = 0;
    AcDbFullSubentPath* paths = nullptr;
    ASSERT_EQ(poly.getSubentPathsAtGsMarker(AcDb::kVertexSubentType, 2, {}, {}, count, paths), Acad::eOk);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(paths[0].subentId().index(), 1);
    EXPECT_EQ(paths[1].subentId().index(), 2);
    AcDbGsMarkerArray markers;
    ASSERT_EQ(poly.getGsMarkersAtSubentPath(paths[1], markers), Acad::eOk);
    EXPECT_EQ(markers.last(), 3);
    delete[] paths;
    EXPECT_EQ(poly.getSubentPathsAtGsMarker(AcDb::kEdgeSubentType, 0, {}, {}, count, paths),
              Acad::eInvalidInput);
    EXPECT_EQ(poly.getSubentPathsAtGsMarker(AcDb::kEdgeSubentType, 9, {}, {}, count, paths),
              Acad::eInvalidInput);
    EXPECT_EQ(count, 0);
    // The tail of an open polyline belongs to the last segment.
    ASSERT_EQ(poly.getGsMarkersAtSubentPath(AcDbFullSubentPath({}, AcDb::kVertexSubentType, 3), markers),
              Acad::eOk);
    EXPECT_EQ(markers.last(), 3);
    EXPECT_EQ(poly.getGsMarkersAtSubentPath(AcDbFullSubentPath({}, AcDb::kEdgeSubentType, 3), markers),
              Acad::eInvalidInput);

    std::unique_ptr<AcDbEntity> arc(poly.subentPtr(AcDbFullSubentPath({}, AcDb::kEdgeSubentType, 0)));
    ASSERT_NE(AcDbArc::cast(arc.get()), nullptr);
    EXPECT_NEAR(AcDbArc::cast(arc.get())->radius(), 1, 1e-12);
    EXPECT_NEAR(AcDbArc::cast(arc.get())->startAngle(), kPi, 1e-12);
    // The segment without length stands for the one before it; a line is never of zero length.
    std::unique_ptr<AcDbEntity> line(poly.subentPtr(AcDbFullSubentPath({}, AcDb::kEdgeSubentType, 2)));
    ASSERT_NE(AcDbLine::cast(line.get()), nullptr);
    EXPECT_EQ(AcDbLine::cast(line.get())->endPoint(), AcGePoint3d(2, 5, 0));
    std::unique_ptr<AcDbEntity> vertex(poly.subentPtr(AcDbFullSubentPath({}, AcDb::kVertexSubentType, 3)));
    ASSERT_NE(AcDbPoint::cast(vertex.get()), nullptr);
    EXPECT_EQ(poly.subentPtr(AcDbFullSubentPath({}, AcDb::kVertexSubentType, 5)), nullptr);
    EXPECT_EQ(poly.subentPtr(AcDbFullSubentPath({}, AcDb::kEdgeSubentType, -1)), nullptr);
}

} // namespace
