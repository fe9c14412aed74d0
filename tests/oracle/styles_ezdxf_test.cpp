// The hatches and symbol blocks the cartographic styles make in a drawing, read by ezdxf from the saved DXF.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "entity/core/poly_classes.h"
#include "entity/drawing/cartographic_styles.h"
#include "entity/drawing/draw_state.h"
#include "host/db/build_list.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/circle_arc.h"
#include "host/filing/dxf_file.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"
#include "tests/oracle/python_oracle.h"

using poly_test::append;

namespace {

void expectNear(const oracle::Row& actual, const oracle::Row& expected, const char* what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t k = 0; k < actual.size(); ++k)
        EXPECT_NEAR(actual[k], expected[k], 1e-9) << what << ", field " << k;
}

oracle::Row codes(const std::string& text) {
    return oracle::Row(text.begin(), text.end());
}

struct StyledDrawing : ::testing::Test {
    poly_test::RegisteredClasses classes;
    host::test::WorkingDatabase working;
    PolyArc3D source; // gives the properties

    StyledDrawing() {
        auto* tree = new AcDbBlockTableRecord;
        tree->setName(L"ARBRE");
        AcDbBlockTable* blocks = nullptr;
        acdbOpenObject(blocks, working.db->blockTableId(), AcDb::kForWrite);
        blocks->add(tree);
        blocks->close();
        tree->appendAcDbEntity(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 0.5));
        tree->close();
        source.setColorIndex(2);
        source.setLinetypeScale(1.5);
    }
    ~StyledDrawing() override { poly_drawing::resetDrawState(); }

    // In model space; its id, closed.
    AcDbObjectId addPolyline(CPolyArc3D* poly) {
        AcDbBlockTableRecord* model = nullptr;
        acdbOpenObject(model, working.db->modelSpaceId(), AcDb::kForWrite);
        AcDbObjectId id;
        model->appendAcDbEntity(id, poly);
        model->close();
        poly->close();
        return id;
    }
    std::vector<oracle::Row> savedAndRead() {
        host::test::TemporaryFile file(".dxf");
        EXPECT_EQ(host::writeDxfFile(*working.db, file.wide()), Acad::eOk) << working.db->lastFileError();
        std::vector<oracle::Row> rows = oracle::runPythonOracle("styles_oracle.py", "read " + file.path);
        EXPECT_FALSE(rows.empty());
        if (!rows.empty()) {
            EXPECT_EQ(rows[0], (oracle::Row{0, 0})) << "audit errors and fixes";
        }
        return rows;
    }
};

// An outline with a curved side and a hole in it.
void fillParcel(CPolyArc3D& outer, CPolyArc3D& hole) {
    append(outer, {0, 0, 0});
    append(outer, {20, 0, 0}, {.bulge = 0.25});
    append(outer, {20, 10, 0});
    append(outer, {0, 10, 0});
    outer.f70(1);
    poly_test::appendAll(hole, {{5, 3, 0}, {8, 3, 0}, {8, 6, 0}});
    hole.f70(1);
}

TEST_F(StyledDrawing, HatchesKeepTheirPatternLoopsAndProperties) {
    working.db->setLtscale(2);
    PolyArc3D outer, hole;
    fillParcel(outer, hole);
    void* pieces[] = {&outer, &hole};
    ASSERT_EQ(
        makeHatch("p!ansi31,a=50,s=3,c=3,l=hachures", nullptr, 2, pieces, 0, &source, nullptr, nullptr, 1),
        1);
    ASSERT_EQ(makeHatch("D!,d=0.5,a=100", nullptr, 1, pieces, 0, &source, nullptr, nullptr, 1), 1);

    const std::vector<oracle::Row> rows = savedAndRead();
    ASSERT_GE(rows.size(), 17u);
    // Predefined, scale 3 x LTSCALE, 50 grads, no spacing, its own colour, two loops.
    expectNear(rows[1], {1, 6, 45, 0, 3, 0, 2}, "predefined hatch");
    EXPECT_EQ(rows[2], codes("ANSI31|HACHURES"));
    // The outline as it stands, closed by its head again; then the hole.
    EXPECT_EQ(rows[3], (oracle::Row{1, 5, 1}));
    const oracle::Row outline[] = {{0, 0, 0}, {20, 0, 0.25}, {20, 10, 0}, {0, 10, 0}, {0, 0, 0}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(rows[4 + i], outline[i]) << "vertex " << i;
    EXPECT_EQ(rows[9], oracle::Row{0}) << "follows nothing";
    EXPECT_EQ(rows[10], (oracle::Row{1, 4, 1}));
    // User-defined: the scale is the spacing 0.5 x 1.5 x LTSCALE; the entity's colour.
    // 100 grads; the spacing is the offset of its pattern line.
    expectNear(rows[16], {0, 1.5, 90, 1.5, 2, 0, 1}, "user-defined hatch");
    EXPECT_EQ(rows[17], codes("_USER|0"));
}

TEST_F(StyledDrawing, AnAssociativeHatchFollowsItsBoundariesAndRefusesOpenAndOffPlaneOnes) {
    auto* outer = new PolyArc3D;
    auto* hole = new PolyArc3D;
    fillParcel(*outer, *hole);
    auto* open = new PolyArc3D;
    poly_test::appendAll(*open, {{30, 0, 0}, {40, 0, 0}, {40, 5, 0}});
    auto* tilted = new PolyArc3D;
    poly_test::appendAll(*tilted, {{30, 0, 0}, {40, 0, 2}, {40, 5, 0}});
    tilted->f70(1);
    AcDbObjectIdArray outerLoop, holeLoop, openLoop, tiltedLoop, failed;
    outerLoop.append(addPolyline(outer));
    holeLoop.append(addPolyline(hole));
    openLoop.append(addPolyline(open));
    tiltedLoop.append(addPolyline(tilted));
    void* loops[] = {&outerLoop, &openLoop, &holeLoop, &tiltedLoop};
    ASSERT_EQ(makeHatch("SOLID", nullptr, 4, loops, kHatchAssociative | kHatchIdLoops, &source, &failed,
                        nullptr, 1),
              1);
    ASSERT_EQ(failed.length(), 2);
    EXPECT_EQ(failed[0], openLoop[0]);
    EXPECT_EQ(failed[1], tiltedLoop[0]) << "off the hatch's plane";
    EXPECT_EQ(poly_drawing::g_hatchErrors, 2);
    AcDbObject* boundary = nullptr;
    ASSERT_EQ(acdbOpenObject(boundary, outerLoop[0], AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(boundary->persistentReactors().size(), 1u) << "the outline tells its hatch of changes";
    boundary->close();

    const std::vector<oracle::Row> rows = savedAndRead();
    ASSERT_GE(rows.size(), 7u);
    EXPECT_EQ(rows[1][5], 1) << "associative";
    EXPECT_EQ(rows[1][6], 2) << "loops";
    EXPECT_EQ(rows[2], codes("SOLID|0"));
    EXPECT_EQ(rows[3][0], 2) << "an edge loop";
    EXPECT_EQ(rows[4], (oracle::Row{1, static_cast<double>(outerLoop[0].handle().value())}));
    EXPECT_EQ(rows[6], (oracle::Row{1, static_cast<double>(holeLoop[0].handle().value())}));
}

TEST_F(StyledDrawing, SymbolsAreInsertsAtTheirPlacesTurnedAndScaled) {
    PolyArc3D hedge;
    poly_test::appendAll(hedge, {{0, 0, 0}, {30, 0, 0}, {30, 25, 0}});
    void* pieces[] = {&hedge};
    ASSERT_EQ(
        placeSymbols("arbre,s=2,d=10,a=100,c=5,l=arbres|ARBRE,o=p", nullptr, 1, pieces, &source, nullptr, 1),
        1);

    const std::vector<oracle::Row> rows = savedAndRead();
    ASSERT_EQ(rows.size(), 13u);
    // Spacing 20 from 10, turned a quarter turn: 10 and 30 along the first side, 20 up the second.
    const oracle::Row spaced[] = {
        {10, 0, 0, 90, 2, 2, 2, 5}, {30, 0, 0, 90, 2, 2, 2, 5}, {30, 20, 0, 180, 2, 2, 2, 5}};
    const oracle::Row atVertices[] = {
        {0, 0, 0, 0, 1, 1, 1, 2}, {30, 0, 0, 45, 1, 1, 1, 2}, {30, 25, 0, 90, 1, 1, 1, 2}};
    for (int i = 0; i < 3; ++i) {
        expectNear(rows[1 + 2 * i], spaced[i], "spaced symbol");
        expectNear(rows[7 + 2 * i], atVertices[i], "symbol at a vertex");
        EXPECT_EQ(rows[2 + 2 * i], codes("ARBRE|ARBRES"));
        EXPECT_EQ(rows[8 + 2 * i], codes("ARBRE|0"));
    }
}

TEST_F(StyledDrawing, TheExplosionHatchesItsPiecesThroughTheirPolylines) {
    // The parcel's outline and, apart from it after a break, a second closed plot.
    auto* parcel = new PolyArc3D;
    CPolyArc3D outer, hole;
    fillParcel(outer, hole);
    for (const P_Vertex* v = outer.H(); v; v = v->pVN)
        parcel->A(v);
    append(*parcel, {0, 0, 0}, {.tef1 = 2});
    poly_test::appendAll(*parcel, {{30, 0, 0}, {40, 0, 0}, {40, 5, 0}, {30, 0, 0}});
    acdbRegApp(L"ZORTA");
    resbuf* xdata = acutBuildList(1001, L"ZORTA", 1000, L"*H=ANSI31", RTNONE);
    parcel->setXData(xdata);
    acutRelRb(xdata);
    const AcDbObjectId id = addPolyline(parcel);
    PolyArc3D* opened = nullptr;
    ASSERT_EQ(acdbOpenObject(opened, id, AcDb::kForWrite), Acad::eOk);
    AcDbObjectIdArray failed;
    ASSERT_EQ(opened->explodeZor(nullptr, "LH", 0.01, &failed, nullptr, -1), Acad::eOk);
    opened->erase();
    opened->close();
    EXPECT_TRUE(failed.isEmpty());

    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(acdbOpenObject(model, working.db->modelSpaceId(), AcDb::kForRead), Acad::eOk);
    const std::vector<AcDbObjectId> made = model->entityIds();
    model->close();
    ASSERT_EQ(made.size(), 4u) << "the erased polyline, the plot's and the outline's polylines, the hatch";
    const std::vector<oracle::Row> rows = savedAndRead();
    ASSERT_GE(rows.size(), 16u);
    EXPECT_EQ(rows[1][5], 1) << "associative";
    EXPECT_EQ(rows[1][6], 2) << "loops";
    // The outline first, ending where it starts, then the plot; each follows its own polyline.
    EXPECT_EQ(rows[3], (oracle::Row{1, 5, 1}));
    EXPECT_EQ(rows[5], (oracle::Row{20, 0, 0.25}));
    EXPECT_EQ(rows[9], (oracle::Row{1, static_cast<double>(made[2].handle().value())}));
    EXPECT_EQ(rows[10], (oracle::Row{1, 4, 1}));
    EXPECT_EQ(rows[15], (oracle::Row{1, static_cast<double>(made[1].handle().value())}));
}

} // namespace
