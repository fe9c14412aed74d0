// The cartographic styles of a polyline: its symbol blocks and hatch, drawn with it or made in the drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "entity/drawing/cartographic_styles.h"
#include "entity/drawing/draw_state.h"
#include "host/db/build_list.h"
#include "host/db/symbol_tables.h"
#include "host/entities/block_reference.h"
#include "host/entities/circle_arc.h"
#include "host/entities/hatch.h"
#include "host/entities/lw_polyline.h"
#include "host/graphics/graphics_recorder.h"
#include "tests/cadutil/cadutil_test_support.h"
#include "tests/entity/poly_test_support.h"

using host::PrimitiveKind;
using poly_test::append;

namespace {

constexpr double kTol = 1e-9;
constexpr double kPi = std::numbers::pi;

struct Symbol {
    AcGePoint3d position;
    double rotation;
    double scale;
};

struct Styles : ::testing::Test {
    plugin::test::PluginSession session;
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;

    Styles() {
        acdbRegApp(L"ZORTA");
        auto* tree = new AcDbBlockTableRecord;
        tree->setName(L"ARBRE");
        AcDbBlockTable* blocks = nullptr;
        acdbOpenObject(blocks, db()->blockTableId(), AcDb::kForWrite);
        AcDbObjectId treeId;
        blocks->add(treeId, tree);
        blocks->close();
        tree->appendAcDbEntity(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 0.5));
        tree->close();
    }
    ~Styles() override { poly_drawing::resetDrawState(); }
    AcDbDatabase* db() const { return session.drawing.db.get(); }

    void setStyle(const wchar_t* text) {
        resbuf* xdata = acutNewRb(1001);
        xdata->resval.rstring = acutNewString(L"ZORTA");
        xdata->rbnext = acutNewRb(1000);
        xdata->rbnext->resval.rstring = acutNewString(text);
        ASSERT_EQ(poly.setXData(xdata), Acad::eOk);
        acutRelRb(xdata);
    }
    std::vector<host::Primitive> draw(AcGiRegenType type = kAcGiStandardDisplay) {
        host::GraphicsRecorder recorder(type);
        recorder.recordEntity(&poly);
        return recorder.primitives();
    }
    // The centres of the drawn symbols (the block's circle).
    std::vector<AcGePoint3d> drawnSymbols(AcGiRegenType type = kAcGiStandardDisplay) {
        std::vector<AcGePoint3d> centres;
        for (const host::Primitive& p : draw(type))
            if (p.kind == PrimitiveKind::Circle && p.depth > 0) centres.push_back(p.center);
        return centres;
    }
    template <typename T> std::vector<T*> modelSpace() {
        AcDbBlockTableRecord* model = nullptr;
        acdbOpenObject(model, db()->modelSpaceId(), AcDb::kForRead);
        std::vector<T*> found;
        for (AcDbObjectId id : model->entityIds())
            if (auto* e = id.isErased() ? nullptr : T::cast(id.stub()->object)) found.push_back(e);
        model->close();
        return found;
    }
    // The symbols of `spec` over the polyline, made in the drawing.
    std::vector<Symbol> madeSymbols(const char* spec) {
        void* pieces[] = {&poly};
        EXPECT_EQ(placeSymbols(spec, nullptr, 1, pieces, &poly, nullptr, 1), 1);
        std::vector<Symbol> symbols;
        for (AcDbBlockReference* ref : modelSpace<AcDbBlockReference>())
            symbols.push_back({ref->position(), ref->rotation(), ref->scaleFactors().sx});
        return symbols;
    }
};

void expectAt(const AcGePoint3d& p, double x, double y) {
    EXPECT_NEAR(p.x, x, kTol);
    EXPECT_NEAR(p.y, y, kTol);
}

TEST_F(Styles, SpacedSymbolsCarryTheDistanceToTheNextOneAcrossSegments) {
    poly_test::appendAll(poly, {{0, 0, 0}, {7, 0, 0}, {7, 8, 0}});
    setStyle(L"*I=ARBRE,d=10");
    const auto drawn = drawnSymbols();
    ASSERT_EQ(drawn.size(), 2u);
    expectAt(drawn[0], 5, 0);
    expectAt(drawn[1], 7, 8); // 8 along the second segment: its end

    const auto made = madeSymbols("ARBRE,d=10");
    ASSERT_EQ(made.size(), 2u);
    EXPECT_NEAR(made[0].rotation, 0, kTol);
    EXPECT_NEAR(made[1].rotation, kPi / 2, kTol) << "the direction of the segment";
}

TEST_F(Styles, AScaleMultipliesOnlyTheDistancesGivenAfterIt) {
    poly_test::appendAll(poly, {{0, 0, 0}, {30, 0, 0}});
    auto scaledFirst = madeSymbols("ARBRE,s=2,d=10");
    ASSERT_EQ(scaledFirst.size(), 2u) << "spacing 20 from 10";
    expectAt(scaledFirst[0].position, 10, 0);
    expectAt(scaledFirst[1].position, 30, 0);
    EXPECT_EQ(scaledFirst[0].scale, 2);
    for (AcDbBlockReference* ref : modelSpace<AcDbBlockReference>()) {
        AcDbBlockReference* open = nullptr;
        acdbOpenObject(open, ref->objectId(), AcDb::kForWrite);
        open->erase();
        open->close();
    }
    auto scaledAfter = madeSymbols("ARBRE,d=10,s=2");
    ASSERT_EQ(scaledAfter.size(), 3u) << "spacing 10 from 5";
    expectAt(scaledAfter[2].position, 25, 0);
    EXPECT_EQ(scaledAfter[2].scale, 2);
}

TEST_F(Styles, VertexSymbolsBisectTheTurnAndMiddleSymbolsFollowTheChord) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 0.005, 0}, {10, 10, 0}});
    const auto made = madeSymbols("ARBRE,o=pm");
    // Vertex 0, middle of 1, vertex 1, vertex 2 (too short for a middle), vertex 2's middle, vertex 3.
    ASSERT_EQ(made.size(), 6u);
    expectAt(made[0].position, 0, 0);
    expectAt(made[1].position, 5, 0);
    EXPECT_NEAR(made[2].rotation, 0, kTol) << "a segment too short for a direction keeps the last one";
    EXPECT_NEAR(made[3].rotation, kPi / 4, kTol) << "between east and north";
    expectAt(made[4].position, 10, 5.0025);
    EXPECT_NEAR(made[4].rotation, kPi / 2, 1e-6);
    EXPECT_NEAR(made[5].rotation, kPi / 2, kTol) << "the open end keeps the last direction";
}

TEST_F(Styles, OffsetsMoveAlongAndAcrossAndTheAngleTurnsTheSymbol) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}});
    const auto made = madeSymbols("arbre,o=m,x=1,y=2,a=100|ARBRE,d=4,f=1");
    ASSERT_EQ(made.size(), 4u) << "one middle, then 1, 5 and 9";
    expectAt(made[0].position, 6, 2);
    EXPECT_NEAR(made[0].rotation, kPi / 2, kTol) << "100 grads";
    expectAt(made[3].position, 9, 0);
}

TEST_F(Styles, ALowerCaseHatchStyleDrawsItsLoopClosedByTheHead) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    poly.f70(1);
    poly.setLinetypeScale(2);
    setStyle(L"*h=D!,d=0.5");
    // The hatch's lines (the segments carry markers from 1) run across the whole square: the head closes
    // the loop.
    std::vector<host::Primitive> lines;
    for (const host::Primitive& p : draw())
        if (p.kind == PrimitiveKind::Polyline && p.traits.marker == 0) lines.push_back(p);
    ASSERT_GE(lines.size(), 5u) << "the hatch's lines";
    for (const host::Primitive& line : lines) {
        ASSERT_EQ(line.points.size(), 2u);
        EXPECT_NEAR(std::abs(line.points[1].x - line.points[0].x), 10, kTol) << "across the square";
        EXPECT_EQ(line.traits.linetypeScale, 2) << "the entity's linetype scale";
    }
}

TEST_F(Styles, HatchFieldsChooseThePatternAngleScaleColourLayerAndLinetype) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    poly.setLayer(L"0");
    db()->setLtscale(2);
    struct Case {
        const char* spec;
        AcDbHatch::HatchPatternType type;
        const wchar_t* name;
    };
    for (const Case& c :
         {Case{"ansi31", AcDbHatch::kPreDefined, L"ANSI31"}, Case{"P!net", AcDbHatch::kPreDefined, L"NET"},
          Case{"C!mine", AcDbHatch::kCustomDefined, L"MINE"},
          Case{"X!CROSS", AcDbHatch::kPreDefined, L"X!CROSS"}}) {
        void* pieces[] = {&poly};
        makeHatch(c.spec, nullptr, 1, pieces, 0, nullptr, nullptr, nullptr, 1);
        const AcDbHatch* made = modelSpace<AcDbHatch>().back();
        EXPECT_EQ(made->patternType(), c.type) << c.spec;
        EXPECT_STREQ(made->patternName(), c.name) << c.spec;
    }
    CPolyArc3D source;
    poly_test::appendAll(source, {{0, 0, 0}, {1, 0, 0}});
    AcDbLayerTableRecord* route = new AcDbLayerTableRecord;
    route->setName(L"ROUTE$N100");
    AcDbLayerTable* layers = nullptr;
    acdbOpenObject(layers, db()->layerTableId(), AcDb::kForWrite);
    layers->add(route);
    layers->close();
    route->close();
    source.setLayer(L"ROUTE$N100");
    void* pieces[] = {&poly};
    makeHatch("ANSI31,a=50,s=3,c=4,l=_z_hach,t=continuous,a=100", nullptr, 1, pieces, 0, &source, nullptr,
              nullptr, 1);
    const AcDbHatch* made = modelSpace<AcDbHatch>().back();
    EXPECT_NEAR(made->patternAngle(), kPi / 4, kTol) << "50 grads; the first of a repeated key stands";
    EXPECT_NEAR(made->patternScale(), 3 * 2, kTol) << "times LTSCALE";
    EXPECT_EQ(made->colorIndex(), 4);
    EXPECT_STREQ(made->layer(), L"ROUTE$HACH");
    EXPECT_EQ(made->linetypeId(), db()->continuousLinetype());
}

TEST_F(Styles, DrawFlagEightLeavesStylesOutAndOnlyTheStandardDisplayDrawsThem) {
    poly_test::appendAll(poly, {{0, 0, 0}, {7, 0, 0}});
    setStyle(L"*I=ARBRE,d=2");
    EXPECT_EQ(drawnSymbols().size(), 4u);
    poly_drawing::g_drawFlag = poly_drawing::kDrawNoStyles;
    EXPECT_TRUE(drawnSymbols().empty());
    poly_drawing::g_drawFlag = 0;
    EXPECT_TRUE(drawnSymbols(kAcGiHideOrShadeCommand).empty());
    EXPECT_EQ(drawnSymbols().size(), 4u);
}

TEST_F(Styles, OnlyTheFirstStyleTextCountsAndAHatchNeedsAClosedFirstPiece) {
    poly_test::appendAll(poly, {{0, 0, 0}, {7, 0, 0}, {7, 7, 0}});
    resbuf* xdata =
        acutBuildList(1001, L"ZORTA", 1000, L"NOM=haie", 1000, L"*i=arbre,o=p", 1000, L"*H=SOLID", 0);
    ASSERT_EQ(poly.setXData(xdata), Acad::eOk);
    acutRelRb(xdata);
    EXPECT_EQ(drawnSymbols().size(), 3u);
    setStyle(L"*H=SOLID");
    auto polygons = [&] {
        int n = 0;
        for (const host::Primitive& p : draw())
            n += p.kind == PrimitiveKind::Polygon;
        return n;
    };
    EXPECT_EQ(polygons(), 0) << "an open polyline is not hatched";
    poly.f70(1);
    EXPECT_EQ(polygons(), 1);
}

TEST_F(Styles, ATinySpacingStopsAtTheCapWithAMessageAndKeepsTheSegments) {
    poly_test::appendAll(poly, {{0, 0, 0}, {7, 0, 0}});
    poly.H()->tef1 = 4; // drawn segment by segment, in one piece
    setStyle(L"*I=ARBRE,d=1e-12");
    const auto drawn = draw();
    std::size_t symbols = 0, segments = 0;
    for (const host::Primitive& p : drawn) {
        symbols += p.kind == PrimitiveKind::Circle && p.depth > 0;
        segments += p.depth == 0 && p.traits.marker == 1;
    }
    EXPECT_EQ(symbols, static_cast<std::size_t>(kMaxSymbolsPerCall));
    EXPECT_EQ(segments, 1u);
    EXPECT_NE(session.transcript().find(L"ARBRE,d=1e-12 : plus de 100000 symboles"), std::wstring::npos);
}

TEST_F(Styles, BadStylesDrawWhatTheyCanSayWhatTheySkipAndChangeNothing) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    poly.f70(1);
    std::wstring longStyle = L"*I=ARBRE,d=1";
    while (longStyle.size() < 5000)
        longStyle += L",x=0";
    const std::wstring styles[] = {longStyle,
                                   L"*H=",
                                   L"*H=NOSUCH,a=,l=N!,t=NOLINE",
                                   L"*I=,,,",
                                   L"*I=ARBRE,d=-1",
                                   L"*I=NOBLOCK,d=5,o=p",
                                   L"*H=ANSI31,d=-1,s=x",
                                   L"*I=ARBRE|",
                                   L"*I=ARBRE,c=,q=3,junk"};
    for (const std::wstring& style : styles) {
        setStyle(style.c_str());
        PolyArc3D before;
        before.copyVertexFrom(&poly);
        draw();
        ASSERT_EQ(poly.GetCount(), before.GetCount());
        for (P_Vertex *v = poly.H(), *w = before.H(); v; v = v->pVN, w = w->pVN)
            poly_test::expectSameVertex(v, w, 0);
    }
    EXPECT_NE(session.transcript().find(L"Style de hachure sans motif"), std::wstring::npos);
    EXPECT_NE(session.transcript().find(L"champ ignoré a="), std::wstring::npos);
    EXPECT_NE(session.transcript().find(L"champ ignoré s=x"), std::wstring::npos);
    EXPECT_NE(session.transcript().find(L"champ ignoré junk"), std::wstring::npos);
    EXPECT_NE(session.transcript().find(L"bloc introuvable \"\""), std::wstring::npos);

    poly.H()->pVN->pt.x = std::nan("");
    setStyle(L"*H=SOLID");
    draw();
    setStyle(L"*I=ARBRE,d=1,o=pm");
    draw();
}

} // namespace
