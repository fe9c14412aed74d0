// What the polyline draws into the recorder: which primitives, under which selection marker, in which colour,
// with its width lines and height bands.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "cadutil/database/host_variables.h"
#include "cadutil/database/tef_color_tables.h"
#include "entity/drawing/draw_state.h"
#include "entity/drawing/tef_color.h"
#include "host/graphics/graphics_recorder.h"
#include "host/selection/pick_box.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/editor_test_support.h"

using host::PrimitiveKind;
using poly_test::append;

namespace {

constexpr double kTol = 1e-9;
constexpr std::int32_t kUnit = 100000; // f39 and f40 are stored times 100,000

struct Drawing : ::testing::Test {
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;

    Drawing() { poly.setColorIndex(3); }
    ~Drawing() override {
        poly_drawing::resetDrawState();
        resetTefColors();
    }
    std::vector<host::Primitive> draw(AcGiRegenType type = kAcGiStandardDisplay) {
        host::GraphicsRecorder recorder(type);
        recorder.recordEntity(&poly);
        return recorder.primitives();
    }
    // The primitives under one selection marker, in drawing order.
    static std::vector<host::Primitive> marked(const std::vector<host::Primitive>& all, long marker) {
        std::vector<host::Primitive> found;
        for (const host::Primitive& p : all)
            if (p.traits.marker == marker) found.push_back(p);
        return found;
    }
};

void expectPoint(const AcGePoint3d& p, double x, double y, double z = 0) {
    EXPECT_NEAR(p.x, x, kTol);
    EXPECT_NEAR(p.y, y, kTol);
    EXPECT_NEAR(p.z, z, kTol);
}

TEST_F(Drawing, PlainPolylineIsOnePolylineWithAMarkerPerSegmentClosingOnTheHead) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    poly.f70(1);
    const auto drawn = draw();
    ASSERT_EQ(drawn.size(), 4u);
    for (long k = 1; k <= 4; ++k) {
        EXPECT_EQ(drawn[k - 1].traits.marker, k);
        EXPECT_EQ(drawn[k - 1].color, 3) << "the entity's colour";
    }
    expectPoint(drawn[3].points[0], 0, 10);
    expectPoint(drawn[3].points[1], 0, 0);
}

TEST_F(Drawing, APickWithoutMarkerFindsTheSegmentUnderThePoint) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    poly.f70(1);
    EXPECT_EQ(host::nearestMarker(&poly, {5, -0.1, 0}), 1);
    EXPECT_EQ(host::nearestMarker(&poly, {10.2, 5, 0}), 2);
    EXPECT_EQ(host::nearestMarker(&poly, {-1, 4, 0}), 4) << "the closing segment";
    poly.H()->tef1 = 3; // drawn segment by segment
    EXPECT_EQ(host::nearestMarker(&poly, {4, 9, 0}), 3);
}

TEST_F(Drawing, OneCodeDrawsEverySegmentApartAndTakesItsTefColour) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}});
    append(poly, {20, 0, 0}, {.tef1 = 3});
    append(poly, {30, 0, 0});
    setTefColorList(0, "0,0,5");
    const auto drawn = draw();
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].color, 3);
    EXPECT_EQ(drawn[1].color, 3);
    EXPECT_EQ(drawn[2].color, 5) << "the segment starting at the coded vertex";
    EXPECT_EQ(drawn[2].traits.marker, 3);
    expectPoint(drawn[2].points[0], 20, 0);
    expectPoint(drawn[2].points[1], 30, 0);
}

TEST(TefColor, TablesQualifiersAndUpperCodes) {
    P_Vertex v(0);
    EXPECT_EQ(tefColor(nullptr, 4), 0);
    EXPECT_EQ(tefColor(&v, 4), 4) << "no code";
    v.tef2 = 2;
    EXPECT_EQ(tefColor(&v, 4), 9) << "a qualifier with bit 1 and no table";
    setTefColorList(1, "0,6");
    EXPECT_EQ(tefColor(&v, 4), 6);
    v.tef1 = 1;
    setTefColorList(0, "0");
    EXPECT_EQ(tefColor(&v, 4), 6) << "a zero entry of table 0 leaves the qualifier's colour";
    v.tef1 = static_cast<signed char>(200);
    std::string list;
    for (int i = 1; i < 200; ++i)
        list += "0,";
    setTefColorList(0, (list + "42").c_str());
    EXPECT_EQ(tefColor(&v, 4), 42) << "codes above 127 index the upper entries";
    resetTefColors();
}

TEST_F(Drawing, ArcSegmentAndItsWidthLineKeepTheirRadii) {
    append(poly, {0, 0, 0}, {.bulge = 1, .i40 = kUnit});
    append(poly, {10, 0, 0}, {.i40 = kUnit});
    const auto drawn = marked(draw(), 1);
    ASSERT_EQ(drawn.size(), 2u) << "the arc and its offset line";
    ASSERT_GT(drawn[0].points.size(), 3u);
    for (const AcGePoint3d& p : drawn[0].points)
        EXPECT_NEAR(std::hypot(p.x - 5, p.y), 5, kTol);
    for (const AcGePoint3d& p : drawn[1].points)
        EXPECT_NEAR(std::abs(std::hypot(p.x - 5, p.y) - 5), 1, kTol);
}

TEST_F(Drawing, WidthLinesMitreRightAnglesButNotHairpins) {
    append(poly, {0, 0, 0}, {.i40 = kUnit});
    append(poly, {10, 0, 0}, {.i40 = kUnit});
    append(poly, {10, -10, 0}, {.i40 = kUnit});
    const auto first = marked(draw(), 1);
    ASSERT_EQ(first.size(), 2u);
    expectPoint(first[1].points[0], 0, -1);
    expectPoint(first[1].points[1], 9, -1); // offset / cos 45 along the bisector

    poly.T()->pt = CPoint3d(0, 0.5, 0); // a turn of about 177 degrees
    const auto hairpin = marked(draw(), 1);
    ASSERT_EQ(hairpin.size(), 2u);
    expectPoint(hairpin[1].points[1], 10, -1);
}

TEST_F(Drawing, DefaultWidthFillsZerosAndABreakCodeDropsWidths) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}});
    append(poly, {20, 0, 0}, {.tef1 = 2});
    append(poly, {30, 0, 0});
    poly.f42(2);
    const auto drawn = draw();
    ASSERT_EQ(marked(drawn, 1).size(), 2u);
    expectPoint(marked(drawn, 1)[1].points[0], 0, -2);
    EXPECT_EQ(marked(drawn, 3).size(), 1u) << "a break's segment has no width line";
}

TEST_F(Drawing, HeightBandRisesByTheInterpolatedHeight) {
    append(poly, {0, 0, 1}, {.bulge = 0.5, .i39 = kUnit});
    append(poly, {10, 0, 1}, {.i39 = 3 * kUnit});
    const auto drawn = draw();
    ASSERT_EQ(drawn.size(), 1u);
    const host::Primitive& band = drawn[0];
    ASSERT_EQ(band.kind, PrimitiveKind::Mesh);
    ASSERT_EQ(band.rows, 2u);
    const std::size_t n = band.columns;
    ASSERT_GT(n, 2u);
    EXPECT_EQ(band.traits.marker, 1);
    EXPECT_EQ(band.color, 3) << "the band has its segment's traits";
    for (std::size_t j = 0; j < n; ++j) {
        const AcGePoint3d low = band.points[j], high = band.points[n + j];
        EXPECT_NEAR(high.z - low.z, 1 + 2.0 * double(j) / double(n - 1), kTol);
        EXPECT_NEAR(high.x, low.x, kTol);
    }
}

TEST_F(Drawing, OffsetLineModeSparesTheSegmentsAtTheTail) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}});
    poly.f70(0x100);
    const double width = 4 * getPixelSize();
    ASSERT_GT(width, 0);
    const auto drawn = draw();
    ASSERT_EQ(marked(drawn, 1).size(), 2u);
    ASSERT_EQ(marked(drawn, 2).size(), 2u);
    ASSERT_EQ(marked(drawn, 3).size(), 1u) << "its end is the tail";
    expectPoint(marked(drawn, 1)[1].points[0], 0, -width);
    EXPECT_TRUE(marked(drawn, 1)[0].traits.linetype.isNull()) << "no linetype";
}

TEST_F(Drawing, ProxyGraphicsOnlyWithTheirFlagAndGuardAndWordsCleared) {
    poly_test::appendAll(poly, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    EXPECT_TRUE(draw(kAcGiSaveWorldDrawForProxy).empty());
    poly_drawing::g_drawFlag = poly_drawing::kDrawProxy;
    EXPECT_EQ(draw(kAcGiSaveWorldDrawForProxy).size(), 2u);
    EXPECT_EQ(poly_drawing::g_regenWord, 0);
    EXPECT_EQ(poly_drawing::g_drawGuard, 0);

    poly_drawing::g_drawGuard = 1;
    EXPECT_TRUE(draw().empty()) << "a drawing re-entered while the segments are drawn";
    EXPECT_EQ(poly_drawing::g_drawGuard, 0);
}

TEST_F(Drawing, ForExplodeIsOneUnmarkedPolylineOfTheVertices) {
    append(poly, {0, 0, 0}, {.bulge = 1, .tef1 = 4});
    append(poly, {10, 0, 5});
    append(poly, {20, 0, 5});
    const auto drawn = draw(kAcGiForExplode);
    ASSERT_EQ(drawn.size(), 1u);
    ASSERT_EQ(drawn[0].points.size(), 3u);
    expectPoint(drawn[0].points[1], 10, 0, 5);
    EXPECT_EQ(drawn[0].traits.marker, 0);
}

TEST_F(Drawing, DegenerateArcIsDrawnStraightAndTheVertexKept) {
    append(poly, {0, 0, 0}, {.bulge = 1e-12, .tef1 = 4});
    append(poly, {10, 0, 0});
    const auto drawn = draw();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].points.size(), 2u);
    EXPECT_EQ(double(poly.H()->bulge), 1e-12);
}

TEST_F(Drawing, APolylineWithAVertexNotFiniteDrawsNothingAndSaysNothing) {
    host::test::EditorSession session;
    poly_drawing::g_drawFlag = poly_drawing::kDrawProxy;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    append(poly, {0, 0, 0}, {.bulge = 0.5});
    append(poly, {10, 0, 0});
    append(poly, {nan, 5, 0});
    append(poly, {20, 0, std::numeric_limits<double>::infinity()});
    for (AcGiRegenType type : {kAcGiStandardDisplay, kAcGiSaveWorldDrawForProxy, kAcGiForExplode})
        EXPECT_TRUE(draw(type).empty()) << type;
    EXPECT_EQ(session.transcript(), L"");
}

} // namespace
