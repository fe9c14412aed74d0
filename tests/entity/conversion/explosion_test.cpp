// The polyline's explosion: whole, by pieces and by runs of one vertex code, into an array or the drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "entity/drawing/draw_state.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/block_reference.h"
#include "host/entities/hatch.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/polylines.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"

using poly_test::append;

namespace {

struct Explosion : ::testing::Test {
    ~Explosion() override {
        for (void* p : parts)
            delete static_cast<AcDbEntity*>(p);
        poly_drawing::resetDrawState();
    }
    std::vector<AcDbObjectId> modelSpace() {
        AcDbBlockTableRecord* model = nullptr;
        EXPECT_EQ(acdbOpenObject(model, working.db->modelSpaceId(), AcDb::kForRead), Acad::eOk);
        std::vector<AcDbObjectId> ids = model->entityIds();
        model->close();
        return ids;
    }
    AcDbPolyline* lightweight(int i) { return AcDbPolyline::cast(static_cast<AcDbEntity*>(parts[i])); }
    Acad::ErrorStatus explode(const char* options, double deviation = 0.01) {
        return poly.explodeZor(&parts, options, deviation, nullptr, working.db.get(), 1);
    }
    void setStyle(const wchar_t* text) {
        acdbRegApp(L"ZORTA");
        resbuf* xdata = acutNewRb(1001);
        xdata->resval.rstring = acutNewString(L"ZORTA");
        xdata->rbnext = acutNewRb(1000);
        xdata->rbnext->resval.rstring = acutNewString(text);
        ASSERT_EQ(poly.setXData(xdata), Acad::eOk);
        acutRelRb(xdata);
    }

    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    PolyArc3D poly;
    AcDbVoidPtrArray parts;
};

AcGePoint2d at(const AcDbPolyline* lw, unsigned int i) {
    AcGePoint2d p;
    EXPECT_EQ(lw->getPointAt(i, p), Acad::eOk);
    return p;
}

TEST_F(Explosion, WithoutExtrasTheWholePolylineInTheChosenOutput) {
    append(poly, {0, 0, 5}, {0.5, 0, 2});
    append(poly, {10, 0, 5}, {0, 0, 3});
    append(poly, {10, 10, 5});
    ASSERT_EQ(explode(nullptr), Acad::eOk);
    ASSERT_EQ(parts.length(), 1) << "a break counts only when the polyline is split";
    ASSERT_NE(lightweight(0), nullptr) << "no options: lightweight";
    EXPECT_EQ(lightweight(0)->numVerts(), 3u);
    EXPECT_TRUE(modelSpace().empty()) << "with an array nothing goes into the drawing";

    poly.T()->pt.z = 5.001;
    ASSERT_EQ(explode("A"), Acad::eOk);
    EXPECT_NE(AcDb3dPolyline::cast(static_cast<AcDbEntity*>(parts[1])), nullptr) << "automatic, not flat";
    ASSERT_EQ(explode("2"), Acad::eOk);
    EXPECT_NE(AcDb2dPolyline::cast(static_cast<AcDbEntity*>(parts[2])), nullptr);
}

TEST_F(Explosion, PiecesAtBreaksAndRunsOfOneCodeTakeTheirColours) {
    poly.setColorIndex(3);
    append(poly, {0, 0, 0}, {0.25});
    append(poly, {10, 0, 0});
    append(poly, {20, 0, 0}, {0, 0, 0, 1}); // the second run: colour 9 without TEF tables
    append(poly, {30, 0, 0}, {0, 0, 2, 1}); // a break: what follows is another piece
    append(poly, {40, 0, 0}, {0, 0, 0, 1});
    append(poly, {50, 0, 0});
    ASSERT_EQ(explode("LT"), Acad::eOk);
    ASSERT_EQ(parts.length(), 3) << "the last piece first, then the first piece's two runs";
    EXPECT_EQ(lightweight(0)->numVerts(), 2u);
    EXPECT_EQ(at(lightweight(0), 0), AcGePoint2d(40, 0));
    EXPECT_EQ(lightweight(0)->colorIndex(), 9);
    const AcDbPolyline* first = lightweight(1);
    ASSERT_EQ(first->numVerts(), 3u) << "the run ends on the point where the code changes";
    EXPECT_EQ(at(first, 2), AcGePoint2d(20, 0));
    double bulge = 0;
    first->getBulgeAt(0, bulge);
    EXPECT_EQ(bulge, 0.25);
    EXPECT_EQ(first->colorIndex(), 3) << "a code without colour keeps the polyline's";
    ASSERT_EQ(lightweight(2)->numVerts(), 2u);
    EXPECT_EQ(at(lightweight(2), 0), AcGePoint2d(20, 0));
    EXPECT_EQ(at(lightweight(2), 1), AcGePoint2d(30, 0));
    EXPECT_EQ(lightweight(2)->colorIndex(), 9);
}

TEST_F(Explosion, AClosedPieceEndsWhereItStartsWithItsClosingArc) {
    append(poly, {0, 0, 0});
    append(poly, {10, 0, 0});
    append(poly, {10, 10, 0}, {0.5});
    poly.setClosed(true);
    ASSERT_EQ(explode("AT"), Acad::eOk);
    ASSERT_EQ(parts.length(), 1);
    const AcDbPolyline* lw = lightweight(0);
    ASSERT_EQ(lw->numVerts(), 4u);
    EXPECT_FALSE(lw->isClosed());
    EXPECT_EQ(at(lw, 3), AcGePoint2d(0, 0));
    double bulge = 0;
    lw->getBulgeAt(2, bulge);
    EXPECT_EQ(bulge, 0.5);
}

TEST_F(Explosion, IntoTheDrawingEveryPieceWithTheExtendedData) {
    setStyle(L"*H=ANSI31");
    // Sixty segments apart: more pieces than a table of fifty would hold.
    for (int i = 0; i < 60; ++i) {
        append(poly, {20.0 * i, 0, 0});
        append(poly, {20.0 * i + 10, 0, 0}, {0, 0, 2});
    }
    ASSERT_EQ(poly.explodeZor(nullptr, "AT", 0.01, nullptr, working.db.get(), -1), Acad::eOk);
    const std::vector<AcDbObjectId> made = modelSpace();
    ASSERT_EQ(made.size(), 60u);
    AcDbEntity* last = nullptr;
    ASSERT_EQ(acdbOpenObject(last, made.back(), AcDb::kForRead), Acad::eOk);
    resbuf* xdata = last->xData(L"ZORTA");
    ASSERT_NE(xdata, nullptr);
    ASSERT_NE(xdata->rbnext, nullptr);
    EXPECT_EQ(std::wstring(xdata->rbnext->resval.rstring), L"*H=ANSI31");
    acutRelRb(xdata);
    last->close();
}

TEST_F(Explosion, TheHatchFollowsThePiecesInTheDrawingAndTakesTheirLoopsInAnArray) {
    setStyle(L"*h=ANSI31");
    append(poly, {0, 0, 5});
    append(poly, {10, 0, 5});
    append(poly, {10, 10, 5}, {0.5});
    append(poly, {0, 10, 5});
    poly.setClosed(true);
    ASSERT_EQ(explode("LT"), Acad::eOk);
    EXPECT_EQ(parts.length(), 1) << "no hatch without its letter";
    ASSERT_EQ(explode("LH"), Acad::eOk);
    ASSERT_EQ(parts.length(), 3);
    const AcDbHatch* loose = AcDbHatch::cast(static_cast<AcDbEntity*>(parts[2]));
    ASSERT_NE(loose, nullptr);
    EXPECT_FALSE(loose->associative());
    EXPECT_EQ(loose->numLoops(), 1);
    EXPECT_TRUE(modelSpace().empty());

    AcDbObjectIdArray errors;
    ASSERT_EQ(poly.explodeZor(nullptr, "LH", 0.01, &errors, working.db.get(), 1), Acad::eOk);
    const std::vector<AcDbObjectId> made = modelSpace();
    ASSERT_EQ(made.size(), 2u);
    AcDbHatch* hatch = nullptr;
    ASSERT_EQ(acdbOpenObject(hatch, made[1], AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(hatch->associative());
    EXPECT_EQ(hatch->elevation(), 5) << "in the plane of its boundary";
    AcDbObjectIdArray followed;
    hatch->getAssocObjIds(followed);
    ASSERT_EQ(followed.length(), 1);
    EXPECT_EQ(followed[0], made[0]);
    hatch->close();
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(Explosion, APolylineReadFromAHatchWithTwoHolesGivesBackEveryLoop) {
    AcDbHatch source;
    auto loop = [&](Adesk::Int32 type, std::initializer_list<std::pair<AcGePoint2d, double>> points) {
        AcGePoint2dArray vertices;
        AcGeDoubleArray bulges;
        for (const auto& [p, b] : points) {
            vertices.append(p);
            bulges.append(b);
        }
        ASSERT_EQ(source.appendLoop(type | AcDbHatch::kPolyline, vertices, bulges), Acad::eOk);
    };
    loop(AcDbHatch::kExternal, {{{0, 0}, 0}, {{30, 0}, 0}, {{30, 30}, 0}, {{0, 30}, 0}});
    loop(AcDbHatch::kDefault, {{{5, 5}, 0}, {{10, 5}, 0}, {{10, 10}, 0}});
    loop(AcDbHatch::kDefault, {{{17, 20}, 1}, {{23, 20}, 1}});
    ASSERT_EQ(poly.from(&source, 0), Acad::eOk);
    setStyle(L"*H=ANSI31");
    poly_drawing::g_hatchErrors = 0;
    AcDbObjectIdArray errors;
    ASSERT_EQ(poly.explodeZor(nullptr, "LH", 0.01, &errors, working.db.get(), 1), Acad::eOk);
    EXPECT_EQ(poly_drawing::g_hatchErrors, 0);
    EXPECT_TRUE(errors.isEmpty());

    const std::vector<AcDbObjectId> made = modelSpace();
    ASSERT_EQ(made.size(), 4u) << "three rings and the hatch";
    std::vector<unsigned int> counts;
    for (int i = 0; i < 3; ++i) {
        AcDbPolyline* ring = nullptr;
        ASSERT_EQ(acdbOpenObject(ring, made[i], AcDb::kForRead), Acad::eOk);
        counts.push_back(ring->numVerts());
        EXPECT_EQ(at(ring, 0), at(ring, ring->numVerts() - 1)) << "ring " << i << " ends where it starts";
        ring->close();
    }
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts, (std::vector<unsigned int>{3, 4, 5}));
    AcDbHatch* hatch = nullptr;
    ASSERT_EQ(acdbOpenObject(hatch, made[3], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(hatch->numLoops(), 3);
    hatch->close();
}

TEST_F(Explosion, RunsThatDoNotCloseAreRefusedAsLoopsAndReported) {
    setStyle(L"*H=ANSI31");
    append(poly, {0, 0, 0});
    append(poly, {10, 0, 0});
    append(poly, {10, 10, 0}, {0, 0, 0, 1});
    append(poly, {0, 10, 0}, {0, 0, 0, 1});
    poly.setClosed(true);
    poly_drawing::g_hatchErrors = 0;
    AcDbObjectIdArray errors;
    ASSERT_EQ(poly.explodeZor(nullptr, "LHT", 0.01, &errors, working.db.get(), 1), Acad::eOk);
    EXPECT_EQ(modelSpace().size(), 3u) << "two runs and the hatch";
    EXPECT_EQ(poly_drawing::g_hatchErrors, 1);
    EXPECT_EQ(errors.length(), 2) << "the runs of the refused loop";
    poly_drawing::g_hatchErrors = 0;
}

TEST_F(Explosion, SymbolsOfTheStyleGoWhereThePiecesGo) {
    AcDbBlockTable* blocks = nullptr;
    ASSERT_EQ(working.db->getBlockTable(blocks, AcDb::kForWrite), Acad::eOk);
    auto* tree = new AcDbBlockTableRecord;
    tree->setName(L"ARBRE");
    AcDbObjectId treeId;
    ASSERT_EQ(blocks->add(treeId, tree), Acad::eOk);
    tree->close();
    blocks->close();
    setStyle(L"*I=ARBRE,o=P");
    append(poly, {0, 0, 0});
    append(poly, {10, 0, 0}, {0, 0, 2});
    append(poly, {20, 0, 0});
    append(poly, {30, 0, 0});
    ASSERT_EQ(explode("LH"), Acad::eOk);
    EXPECT_EQ(parts.length(), 1) << "a symbol style is no hatch style";
    ASSERT_EQ(explode("LI"), Acad::eOk);
    ASSERT_EQ(parts.length(), 7) << "two pieces and a symbol at each of their four vertices";
    EXPECT_NE(AcDbBlockReference::cast(static_cast<AcDbEntity*>(parts[6])), nullptr);
    EXPECT_TRUE(modelSpace().empty());
    ASSERT_EQ(poly.explodeZor(nullptr, "LI", 0.01, nullptr, working.db.get(), 1), Acad::eOk);
    EXPECT_EQ(modelSpace().size(), 6u);
}

TEST_F(Explosion, RefusedConversionsLeaveNothingBehind) {
    append(poly, {0, 0, 0}, {1});
    append(poly, {10, 0, 0}, {0, 0, 2});
    append(poly, {20, 0, 0});
    append(poly, {30, 0, 0});
    EXPECT_EQ(poly.explodeZor(nullptr, "3T", 1e-12, nullptr, working.db.get(), 1), Acad::eInvalidInput)
        << "the first piece's arc would need too many chords";
    EXPECT_EQ(explode("3T", 1e-12), Acad::eInvalidInput);
    EXPECT_TRUE(modelSpace().empty());
    EXPECT_TRUE(parts.isEmpty()) << "the last piece, made before the refusal, is not handed out";

    poly.H()->pt.x = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(explode("L"), Acad::eInvalidInput);
    EXPECT_TRUE(parts.isEmpty());
}

TEST_F(Explosion, TheHostsExplodeGivesTheArrayOnlyAndLeavesStylesOutOnRequest) {
    append(poly, {0, 0, 0});
    append(poly, {10, 0, 0}, {0, 0, 2});
    append(poly, {20, 0, 0});
    append(poly, {30, 0, 0});
    AcDbObjectId id;
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(acdbOpenObject(model, working.db->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    auto* resident = new PolyArc3D;
    resident->copyVertexFrom(&poly);
    ASSERT_EQ(model->appendAcDbEntity(id, resident), Acad::eOk);
    model->close();
    resident->close();

    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(e->explode(parts), Acad::eOk);
    EXPECT_EQ(parts.length(), 2) << "split at the break";
    poly_drawing::g_drawFlag = poly_drawing::kDrawNoStyles;
    ASSERT_EQ(e->explode(parts), Acad::eOk);
    EXPECT_EQ(parts.length(), 3) << "whole";
    e->close();
    EXPECT_EQ(modelSpace(), std::vector<AcDbObjectId>{id}) << "the drawing holds the polyline only";
}

} // namespace
