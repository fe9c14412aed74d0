// The host's editing commands on the polyline: one flat geometry as a host lightweight polyline and as a
// ZORTAPOLY stays the same curve through MOVE, ROTATE, MIRROR, SCALE and STRETCH; BREAK drops the piece
// between its points in both; EXTEND works from and to polylines.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/db/symbol_tables.h"
#include "host/editor/command_line.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/input/entity_refs.h"
#include "host/selection/osnap.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/editor_test_support.h"

namespace {

struct CurveCommands : ::testing::Test {
    poly_test::RegisteredClasses classes;
    host::test::EditorSession session;
    AcDbObjectId zortapoly, lightweight;

    CurveCommands() {
        auto* poly = new PolyArc3D;
        auto* twin = new AcDbPolyline;
        const double bulges[] = {0, 0.5, -0.3, 0};
        const AcGePoint2d points[] = {{0, 0}, {10, 0}, {20, 5}, {20, 15}};
        for (int i = 0; i < 4; ++i) {
            poly_test::append(*poly, {points[i].x, points[i].y, 0}, {.bulge = bulges[i]});
            twin->addVertexAt(i, points[i], bulges[i]);
        }
        zortapoly = add(poly);
        lightweight = add(twin);
    }

    AcDbObjectId add(AcDbEntity* entity) { return session.addEntity(entity); }

    // The live entities of each class after MIRROR erased its sources.
    void findTheCopies() {
        for (AcDbObjectId id : host::currentSpaceEntities()) {
            AcDbEntity* e = nullptr;
            if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
            if (PolyArc3D::cast(e)) zortapoly = id;
            if (AcDbPolyline::cast(e)) lightweight = id;
            e->close();
        }
    }

    std::wstring both() const {
        return L"@select " + zortapoly.handle().text() + L" " + lightweight.handle().text();
    }

    // The two curves at 10 parameters per segment.
    void expectSameCurves() {
        AcDbCurve *a = nullptr, *b = nullptr;
        ASSERT_EQ(acdbOpenObject(a, zortapoly, AcDb::kForRead), Acad::eOk);
        ASSERT_EQ(acdbOpenObject(b, lightweight, AcDb::kForRead), Acad::eOk);
        double endA = 0, endB = 0, lengthA = 0, lengthB = 0;
        a->getEndParam(endA);
        b->getEndParam(endB);
        EXPECT_EQ(endA, endB);
        for (int i = 0; i <= 30; ++i) {
            AcGePoint3d pa, pb;
            ASSERT_EQ(a->getPointAtParam(i / 10.0, pa), Acad::eOk);
            ASSERT_EQ(b->getPointAtParam(i / 10.0, pb), Acad::eOk);
            EXPECT_NEAR(pa.distanceTo(pb), 0, 1e-9) << i;
        }
        a->getDistAtParam(endA, lengthA);
        b->getDistAtParam(endB, lengthB);
        EXPECT_NEAR(lengthA, lengthB, 1e-9);
        a->close();
        b->close();
    }

    void run(std::initializer_list<const wchar_t*> lines) {
        session.type(lines);
        host::runCommandLine();
    }
};

TEST_F(CurveCommands, MoveRotateMirrorAndScaleKeepTheCurvesAlike) {
    expectSameCurves();
    const std::wstring selection = both();
    run({L"MOVE", selection.c_str(), L"", L"1,2", L"4,-3"});
    expectSameCurves();
    run({L"ROTATE", selection.c_str(), L"", L"3,3", L"37.5"});
    expectSameCurves();
    run({L"MIRROR", selection.c_str(), L"", L"0,0", L"1,3", L"Oui"});
    findTheCopies();
    expectSameCurves();
    const std::wstring copies = both();
    run({L"SCALE", copies.c_str(), L"", L"2,2", L"2.5"});
    expectSameCurves();
}

TEST_F(CurveCommands, StretchMovesTheVerticesInsideTheWindow) {
    run({L"STRETCH", L"15,-1", L"25,20", L"0,0", L"0,3"});
    expectSameCurves();
    AcDbCurve* a = nullptr;
    ASSERT_EQ(acdbOpenObject(a, zortapoly, AcDb::kForRead), Acad::eOk);
    AcGePoint3d start, end;
    a->getStartPoint(start);
    a->getEndPoint(end);
    EXPECT_EQ(start, AcGePoint3d(0, 0, 0));
    EXPECT_EQ(end, AcGePoint3d(20, 18, 0));
    a->close();
}

TEST_F(CurveCommands, BreakDropsThePieceBetweenItsPoints) {
    // (20, 10) is nearest to the middle of the last arc, which bulges to (18.5, 10).
    double whole = 0, first = 0, second = 0;
    {
        AcDbCurve* a = nullptr;
        ASSERT_EQ(acdbOpenObject(a, zortapoly, AcDb::kForRead), Acad::eOk);
        a->getDistAtParam(3, whole);
        a->getDistAtParam(0.5, first);
        a->getDistAtParam(2.5, second);
        a->close();
    }
    for (AcDbObjectId source : {zortapoly, lightweight}) {
        const std::wstring pick = L"@pick " + source.handle().text() + L" 1 5,0";
        run({L"BREAK", pick.c_str(), L"20,10"});
        AcDbCurve* erased = nullptr;
        EXPECT_EQ(acdbOpenObject(erased, source, AcDb::kForRead), Acad::eWasErased);
    }
    // What is left of each: the head to (5, 0) and (18.5, 10) to the tail, in the source's class.
    double keptZortapoly = 0, keptLightweight = 0;
    int piecesZortapoly = 0, piecesLightweight = 0;
    for (AcDbObjectId id : host::currentSpaceEntities()) {
        AcDbCurve* piece = nullptr;
        if (acdbOpenObject(piece, id, AcDb::kForRead) != Acad::eOk) continue;
        double length = 0, end = 0;
        piece->getEndParam(end);
        piece->getDistAtParam(end, length);
        const bool isZortapoly = PolyArc3D::cast(piece) != nullptr;
        (isZortapoly ? keptZortapoly : keptLightweight) += length;
        ++(isZortapoly ? piecesZortapoly : piecesLightweight);
        piece->close();
    }
    EXPECT_EQ(piecesZortapoly, 2);
    EXPECT_EQ(piecesLightweight, 2);
    EXPECT_NEAR(keptZortapoly, first + whole - second, 1e-9);
    EXPECT_NEAR(keptLightweight, first + whole - second, 1e-9);
}

TEST_F(CurveCommands, ExtendTakesAPolylineToALineAndALineToAPolyline) {
    auto* poly = new PolyArc3D;
    poly_test::appendAll(*poly, {{0, -20, 0}, {10, -20, 0}});
    const AcDbObjectId toExtend = add(poly);
    const AcDbObjectId wall = add(new AcDbLine({30, -40, 0}, {30, -10, 0}));
    auto* post = new PolyArc3D;
    poly_test::appendAll(*post, {{-10, -40, 0}, {-10, -30, 0}});
    const AcDbObjectId fence = add(post);
    const AcDbObjectId beam = add(new AcDbLine({0, -35, 0}, {5, -35, 0}));

    const std::wstring walls = L"@select " + wall.handle().text() + L" " + fence.handle().text();
    const std::wstring polyEnd = L"@pick " + toExtend.handle().text() + L" 1 9,-20";
    const std::wstring lineStart = L"@pick " + beam.handle().text() + L" 0 1,-35";
    run({L"EXTEND", walls.c_str(), L"", polyEnd.c_str(), lineStart.c_str(), L""});
    AcDbCurve* curve = nullptr;
    AcGePoint3d p;
    ASSERT_EQ(acdbOpenObject(curve, toExtend, AcDb::kForRead), Acad::eOk);
    curve->getEndPoint(p);
    curve->close();
    EXPECT_NEAR(p.distanceTo(AcGePoint3d(30, -20, 0)), 0, 1e-9);
    ASSERT_EQ(acdbOpenObject(curve, beam, AcDb::kForRead), Acad::eOk);
    curve->getStartPoint(p);
    curve->close();
    EXPECT_NEAR(p.distanceTo(AcGePoint3d(-10, -35, 0)), 0, 1e-9);
}

TEST_F(CurveCommands, AGripDragMovesTheVertexUnderItInOneUndoStep) {
    const std::wstring drag = L"@grip " + zortapoly.handle().text() + L" 10.01,0 12,-3";
    run({drag.c_str()});
    PolyArc3D* poly = nullptr;
    ASSERT_EQ(acdbOpenObject(poly, zortapoly, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(poly_test::point(poly->H(1)), CPoint3d(12 - 0.01, -3, 0));
    EXPECT_EQ(poly_test::point(poly->H(2)), CPoint3d(20, 5, 0));
    poly->close();
    ASSERT_EQ(session.drawing.db->undoLastGroup(), Acad::eOk);
    ASSERT_EQ(acdbOpenObject(poly, zortapoly, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(poly_test::point(poly->H(1)), CPoint3d(10, 0, 0));
    poly->close();
}

TEST_F(CurveCommands, TheRunningIntersectionSnapFindsWhereAPolylineMeetsALine) {
    add(new AcDbLine({3, -5, 0}, {3, 5, 0}));
    const ads_point pick = {3.3, 0.2, 0};
    ads_point snapped;
    ASSERT_EQ(acedOsnap(pick, L"_int", snapped), RTNORM);
    EXPECT_NEAR(snapped[0], 3, 1e-9);
    EXPECT_NEAR(snapped[1], 0, 1e-9);
    const ads_point nothingNear = {50, 50, 0};
    EXPECT_EQ(acedOsnap(nothingNear, L"_int", snapped), RTERROR);
}

} // namespace
