// The batch commands on polylines of the drawing: what each changes, the counts it prints, and the input
// that must change nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cadutil/command_line/prompt_defaults.h"
#include "cadutil/database/tef_color_tables.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/command_line.h"
#include "host/editor/ucs.h"
#include "host/entities/line.h"
#include "tests/plugin/commands/command_test_support.h"

using plugin::test::CommandSession;
using plugin::test::shown;

namespace {

std::vector<CPoint3d> pointsOf(AcDbObjectId id) {
    std::vector<CPoint3d> points;
    CommandSession::read(id, [&](const CPolyArc3D& poly) {
        for (const P_Vertex* v = poly.H(); v; v = v->pVN)
            points.push_back(poly.WorldPoint(v));
    });
    return points;
}

CPoint3d meanOf(const std::vector<CPoint3d>& points, int first, int last) {
    CPoint3d sum(0, 0, 0);
    for (int i = first; i <= last; ++i)
        sum = sum + points[i];
    const double n = last - first + 1;
    return {sum.x / n, sum.y / n, sum.z / n};
}

void expectNear(const CPoint3d& a, const CPoint3d& b, double tolerance, const char* what) {
    EXPECT_NEAR(a.x, b.x, tolerance) << what;
    EXPECT_NEAR(a.y, b.y, tolerance) << what;
    EXPECT_NEAR(a.z, b.z, tolerance) << what;
}

// Points on an arc of radius 10 every 10 degrees, and a straight run: something to simplify.
std::initializer_list<CPoint3d> arcAndLine() {
    static const std::initializer_list<CPoint3d> points = {
        {10, 0, 0},        {9.848, 1.736, 0}, {9.397, 3.420, 0}, {8.660, 5, 0},
        {7.660, 6.428, 0}, {6.428, 7.660, 0}, {5, 8.660, 0},     {0, 20, 0},
        {0, 20.01, 0},     {0, 30, 0},        {0, 40, 0}};
    return points;
}

} // namespace

TEST(LevelSmoothing, AveragesEachVertexOverItsWindowAsItWasBefore) {
    CommandSession s;
    const AcDbObjectId six =
        s.addPolyline({{0, 0, 1}, {1, 4, 2}, {2, 1, 8}, {3, 9, 3}, {4, 2, 7}, {5, 6, 0}});
    const AcDbObjectId five = s.addPolyline({{0, 0, 0}, {1, 3, 5}, {2, 8, 1}, {3, 1, 9}, {4, 4, 2}});
    const std::vector<CPoint3d> six0 = pointsOf(six), five0 = pointsOf(five);
    s.type({L"ZOR_LISSNIV", L"4", L"@select all", L""});
    host::runCommandLine();
    const std::vector<CPoint3d> six1 = pointsOf(six), five1 = pointsOf(five);
    EXPECT_EQ(six1[0], six0[0]) << "the ends stay";
    EXPECT_EQ(six1[5], six0[5]);
    expectNear(six1[1], meanOf(six0, 0, 2), 1e-12, "vertex 1 of 6");
    expectNear(six1[2], meanOf(six0, 0, 3), 1e-12, "vertex 2 of 6");
    expectNear(six1[3], meanOf(six0, 1, 4), 1e-12, "vertex 3 of 6");
    expectNear(six1[4], meanOf(six0, 2, 5), 1e-12, "vertex 4 of 6");
    expectNear(five1[1], meanOf(five0, 0, 2), 1e-12, "vertex 1 of 5");
    expectNear(five1[2], meanOf(five0, 0, 3), 1e-12, "vertex 2 of 5");
    expectNear(five1[3], meanOf(five0, 1, 4), 1e-12, "vertex 3 of 5");
    EXPECT_EQ(five1[4], five0[4]);
    EXPECT_EQ(shown(L"==== 2 ZORTAPOLY Traitées "), 1);
    EXPECT_EQ(command_state::g_averagingCount, 4) << "remembered";

    // A window of no point has no mean: nothing changes, nothing becomes NaN.
    s.type({L"ZOR_LISSNIV", L"0", L"@select all", L""});
    host::runCommandLine();
    EXPECT_EQ(pointsOf(six), six1);
}

TEST(HeightsCommand, FillsUnknownHeightsAndSaysWhetherZeroesRemain) {
    CommandSession s;
    const AcDbObjectId known = s.addPolyline({{0, 0, 10}, {5, 0, 0}, {10, 0, 30}});
    s.type({L"ZOR_PZ", L"@select all", L""});
    host::runCommandLine();
    EXPECT_NEAR(pointsOf(known)[1].z, 20, 1e-6);
    EXPECT_EQ(shown(L"== Recalcul des Altitudes d'une Sélection de Polylines :"), 1);
    EXPECT_EQ(shown(L"==== 1 Polylignes recalculées en Z  ALTITUDES VALIDES"), 1);

    s.addPolyline({{0, 10, 0}, {5, 10, 0}});
    s.type({L"ZOR_PZ", L"@select all", L""});
    host::runCommandLine();
    EXPECT_EQ(shown(L"==== 2 Polylignes recalculées en Z  ; **** 1  Ont au moins un Z NULL ****"), 1);
}

TEST(WidthHeightCommand, SetsTheDefaultsAndClearsVertexValuesOnlyWithReset) {
    CommandSession s;
    const AcDbObjectId id = s.addPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, [](CPolyArc3D& poly) {
        for (P_Vertex* v = poly.H(); v; v = v->pVN) {
            v->i39 = 30000;
            v->i40 = 50000;
        }
    });
    s.type({L"ZOR_PLH", L"l", L"@select all", L"", L"2.5"});
    host::runCommandLine();
    CommandSession::read(id, [](const CPolyArc3D& poly) {
        EXPECT_EQ(poly.f42(), 2.5);
        EXPECT_EQ(poly.f39(), 0) << "the height was not asked for";
        EXPECT_EQ(poly.H()->i40, 50000) << "no reset asked";
    });
    EXPECT_EQ(shown(L"==== 1 POLYLIGNES Traitées "), 1);

    s.type({L"ZOR_PLH", L"HR", L"@select all", L"", L"1.5"});
    host::runCommandLine();
    EXPECT_EQ(shown(L"/Raz sur sommets <HR>"), 0) << "the prompt showed the remembered answer";
    EXPECT_EQ(shown(L"/Raz sur sommets <l>"), 1);
    CommandSession::read(id, [](const CPolyArc3D& poly) {
        EXPECT_EQ(poly.f39(), 1.5);
        EXPECT_EQ(poly.f42(), 2.5);
        for (const P_Vertex* v = poly.H(); v; v = v->pVN) {
            EXPECT_EQ(v->i39, 0) << "the heights were reset";
            EXPECT_EQ(v->i40, 50000) << "the widths were not asked for";
        }
    });
}

TEST(SpatialModeCommand, TakesTheUcsSystemAndGivesTheWorldPointsBack) {
    CommandSession s;
    const AcDbObjectId id = s.addPolyline({{1, 2, 3}, {11, 2, 4}, {11, 12, 5}, {-3, 7, 6}});
    const std::vector<CPoint3d> world = pointsOf(id);
    AcGeMatrix3d ucs;
    const double c = std::cos(0.5), n = std::sin(0.5);
    // A UCS tilted about X: its Z axis is (0, -sin, cos).
    ucs.entry[1][1] = c;
    ucs.entry[2][1] = n;
    ucs.entry[1][2] = -n;
    ucs.entry[2][2] = c;
    ASSERT_TRUE(acedSetCurrentUCS(ucs));
    s.type({L"ZOR_Z3DSPACE", L"U", L"@select all", L""});
    host::runCommandLine();
    CommandSession::read(id, [&](const CPolyArc3D& poly) {
        ASSERT_NE(poly.normalMatrix(), nullptr);
        const AcGeVector3d normal = poly.Snormal();
        EXPECT_NEAR(normal.y, -n, 1e-12);
        EXPECT_NEAR(normal.z, c, 1e-12);
    });
    const std::vector<CPoint3d> tilted = pointsOf(id);
    for (std::size_t i = 0; i < world.size(); ++i)
        expectNear(tilted[i], world[i], 1e-9, "kept in place by U");

    s.type({L"ZOR_Z3DSPACE", L"S", L"@select all", L""});
    host::runCommandLine();
    CommandSession::read(id, [](const CPolyArc3D& poly) { EXPECT_EQ(poly.normalMatrix(), nullptr); });
    const std::vector<CPoint3d> back = pointsOf(id);
    for (std::size_t i = 0; i < world.size(); ++i)
        expectNear(back[i], world[i], 1e-9, "world points after S");
    s.type({L"_UNDO", L"1"});
    host::runCommandLine();
    CommandSession::read(
        id, [](const CPolyArc3D& poly) { EXPECT_NE(poly.normalMatrix(), nullptr) << "S is undone"; });
    host::resetUcs();

    s.type({L"ZOR_Z3DSPACE", L"N", L"ZOR_Z3DSPACE", L""});
    host::runCommandLine();
    EXPECT_EQ(CPolyArc3D::m_Sz3DSpaceOpt, 0) << "Enter answers the last letter again";
    EXPECT_EQ(shown(L" Saisie mode spatial OFF"), 2);
    EXPECT_EQ(shown(L"(S)upprime (U)cs < N > : "), 1);
}

TEST(SimplifyingCommands, CountWhatTheEntityMethodsAnswer) {
    CommandSession s;
    const AcDbObjectId id = s.addPolyline(arcAndLine());
    auto expected = CommandSession::copyOf(id);
    const int removedArcPoints = expected->EDelParc(0.05, 0x14, nullptr, nullptr);
    ASSERT_GT(removedArcPoints, 0);
    s.type({L"ZOR_EDELPARC", L"0.05", L"xyz", L"st", L"@select all", L""});
    host::runCommandLine();
    EXPECT_EQ(shown(L"==== 1 ZORTAPOLY recalculées en Z  ; **** " + std::to_wstring(removedArcPoints) +
                    L"  sommets éliminés ****"),
              1);
    CommandSession::read(id, [&](const CPolyArc3D& poly) { poly_test::expectSamePolyline(poly, *expected); });
    EXPECT_EQ(shown(L"'S' Suprime les tangeances <ACD>"), 2) << "asked again after an answer without a mode";
    EXPECT_EQ(command_state::g_arcPointMode, 0x14);

    const AcDbObjectId other = s.addPolyline(arcAndLine());
    expected = CommandSession::copyOf(other);
    const int removedPoints = expected->EpurePts(0.02, 0.05, 0.05, 50, 14);
    ASSERT_GT(removedPoints, 0);
    const std::wstring selectOther = L"@select " + std::wstring(other.handle().text());
    s.type({L"ZOR_EPUREPTS", selectOther.c_str(), L"", L"", L"", L"", L""});
    host::runCommandLine();
    EXPECT_EQ(shown(L" ; **** " + std::to_wstring(removedPoints) + L"  sommets Epurés ****"), 1);
    CommandSession::read(other,
                         [&](const CPolyArc3D& poly) { poly_test::expectSamePolyline(poly, *expected); });
}

TEST(SimplifyingCommands, ForcedSmoothingBendsStraightSegmentsWhenAsked) {
    CommandSession s;
    const AcDbObjectId id = s.addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 5, 0}, {30, 0, 0}});
    auto expected = CommandSession::copyOf(id);
    for (P_Vertex* v = expected->H(); v; v = v->pVN)
        v->bulge = 0.01;
    const int added = expected->maj(4, 0, 0);
    ASSERT_GT(added, 0);
    s.type({L"ZOR_POLYLISS", L"@select all", L"", L"Oui"});
    host::runCommandLine();
    EXPECT_EQ(
        shown(L"==== 1 ZORTAPOLY Modifiées  ; **** " + std::to_wstring(added) + L"  sommets Ajoutés ****"),
        1);
    CommandSession::read(id, [&](const CPolyArc3D& poly) { poly_test::expectSamePolyline(poly, *expected); });
    EXPECT_EQ(g_smoothLinesAnswer, 6) << "remembered";
}

TEST(ReversalCommand, ReversesAllOrOnlyClosedOutlinesTurningTheOtherWay) {
    CommandSession s;
    // Clockwise seen from above: the signed area is positive.
    const AcDbObjectId clockwise = s.addPolyline({{0, 0, 0}, {0, 10, 0}, {10, 10, 0}, {10, 0, 0}, {0, 0, 0}});
    const AcDbObjectId open = s.addPolyline({{0, 0, 0}, {5, 5, 0}, {9, 1, 0}});
    const std::vector<CPoint3d> openPoints = pointsOf(open);

    s.type({L"ZOR_PINV", L"T", L"@select all", L""});
    host::runCommandLine();
    EXPECT_EQ(pointsOf(open), openPoints);
    EXPECT_EQ(shown(L" 0 Polylignes Inversées"), 1) << "nothing reversed, and said so";
    CommandSession::read(clockwise, [](const CPolyArc3D& poly) {
        EXPECT_TRUE(poly.isClosed()) << "its repeated end closed it";
        EXPECT_GT(poly.getArea(nullptr), 0);
    });

    s.type({L"ZOR_PINV", L"R", L"@select all", L""});
    host::runCommandLine();
    EXPECT_EQ(shown(L"\n 1 Polylignes Inversées "), 1);
    EXPECT_EQ(pointsOf(open), openPoints);
    CommandSession::read(clockwise, [](const CPolyArc3D& poly) { EXPECT_LT(poly.getArea(nullptr), 0); });

    s.type({L"ZOR_PINV", L"I", L"@select all", L""});
    host::runCommandLine();
    EXPECT_EQ(shown(L"\n 2 Polylignes Inversées "), 1);
    const std::vector<CPoint3d> reversed = pointsOf(open);
    EXPECT_EQ(reversed.front(), openPoints.back());
    EXPECT_EQ(reversed.back(), openPoints.front());
}

TEST(TefColorCommand, FillsOrRemovesTheTableOfTheRowAsked) {
    CommandSession s;
    s.type({L"ZOR_SETTEFCOLOR", L"0", L"1,8,0,5"});
    host::runCommandLine();
    EXPECT_EQ(tefColorText(0), "1,8,0,5,");
    EXPECT_EQ(tefColorTable(1), nullptr);

    s.type({L"ZOR_SETTEFCOLOR", L"1", L"1,300,2", L"ZOR_SETTEFCOLOR", L"0", L""});
    host::runCommandLine();
    EXPECT_EQ(tefColorTable(1), nullptr) << "a colour above 256";
    EXPECT_EQ(tefColorTable(0), nullptr) << "an empty list";

    s.type({L"ZOR_SETTEFCOLOR", L"2", L"^C"});
    host::runCommandLine();
    EXPECT_EQ(shown(L"pour le TEF"), 3) << "no row 2";
}

TEST(ExtendCommand, SetsTheModeForTheHostExtendOnlyUnlessCancelled) {
    CommandSession s;
    int& mode = CPolyArc3D::m_PolyArc3dCmdeFlag;
    s.type({L"ZOR_EXTEND", L"1", L"^C"});
    host::runCommandLine();
    EXPECT_EQ(shown(L"Type Extend (0)=Normal ; (+1) Z du Seuil ; (+2)Extend+Ajust) : <0> :"), 1);
    EXPECT_EQ(shown(L"\nSélection des seuils : "), 1);
    EXPECT_EQ(mode, 1) << "the host's extend ran with the mode";

    s.type({L"ZOR_EXTEND", L"^C"});
    host::runCommandLine();
    EXPECT_EQ(mode, 0) << "cleared when the next command started";
    EXPECT_EQ(shown(L"\nSélection des seuils : "), 1) << "cancel starts nothing";

    s.type({L"ZOR_EXTEND", L"", L"^C"});
    host::runCommandLine();
    EXPECT_EQ(shown(L"\nSélection des seuils : "), 2) << "Enter keeps the mode and extends";
}

TEST(BatchCommands, CancelOrEnterAtAnyPromptChangesNothing) {
    CommandSession s;
    const AcDbObjectId id = s.addPolyline(arcAndLine(), [](CPolyArc3D& poly) {
        poly.H(3)->i40 = 70000;
        poly.H(3)->pt.z = 0;
        poly.H(5)->pt.z = 4;
    });
    const auto before = CommandSession::copyOf(id);
    const std::vector<std::vector<const wchar_t*>> scripts = {
        {L"ZOR_PZ", L"^C"},
        {L"ZOR_PZ", L"@select", L""},
        {L"ZOR_PLH", L"^C"},
        {L"ZOR_PLH", L"LHR", L"^C"},
        {L"ZOR_PLH", L"LHR", L"@select all", L"", L"^C"},
        {L"ZOR_PLH", L"LHR", L"@select all", L"", L"", L"^C"},
        {L"ZOR_Z3DSPACE", L"^C"},
        {L"ZOR_Z3DSPACE", L"U", L"^C"},
        {L"ZOR_EDELPARC", L"^C", L"^C"},
        {L"ZOR_EDELPARC", L"", L"", L"^C"},
        {L"ZOR_POLYLISS", L"@select all", L"", L"^C"},
        {L"ZOR_EPUREPTS", L"@select all", L"", L"", L"", L"", L"^C"},
        {L"ZOR_LISSNIV", L"^C"},
        {L"ZOR_LISSNIV", L"", L"^C"},
        {L"ZOR_PINV", L"^C"},
        {L"ZOR_PINV", L""},
        {L"ZOR_PINV", L"I", L"^C"},
        {L"ZOR_PAS", L"^C"},
        {L"ZOR_PAS", L"", L"^C"},
        {L"ZOR_EXTEND", L"^C"},
        {L"ZOR_SDNC", L"^C"},
        {L"ZOR_SDNC", L"RESEAU", L"^C"},
    };
    const AcDbObjectId layer = s.drawing.db->clayer();
    for (const auto& script : scripts) {
        for (const wchar_t* line : script)
            s.type({line});
        host::runCommandLine();
        CommandSession::read(id,
                             [&](const CPolyArc3D& poly) { poly_test::expectSamePolyline(poly, *before); });
        EXPECT_EQ(command_state::g_averagingCount, 3) << script[0];
        EXPECT_EQ(s.drawing.db->clayer(), layer) << script[0];
    }
}

TEST(BatchCommands, SkipPolylinesOnLockedLayers) {
    CommandSession s;
    s.addLayer(L"FIGE");
    const AcDbObjectId locked = s.addPolyline({{0, 0, 10}, {5, 0, 0}, {10, 0, 30}});
    const AcDbObjectId free = s.addPolyline({{0, 5, 10}, {5, 5, 0}, {10, 5, 30}});
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenObject(entity, locked, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(entity->setLayer(L"FIGE"), Acad::eOk);
    entity->close();
    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(acdbOpenObject(layer, s.drawing.db->layerId(L"FIGE"), AcDb::kForWrite), Acad::eOk);
    layer->setIsLocked(true);
    layer->close();

    s.type({L"ZOR_PZ", L"@select all", L""});
    host::runCommandLine();
    EXPECT_EQ(pointsOf(locked)[1].z, 0);
    EXPECT_NEAR(pointsOf(free)[1].z, 20, 1e-6);
    EXPECT_EQ(shown(L"==== 1 Polylignes recalculées en Z "), 1);
}

TEST(ExtendCommand, TheModeReachesThePolylinesExtend) {
    CommandSession s;
    const AcDbObjectId boundary = s.addEntity(new AcDbLine(AcGePoint3d(20, -5, 7), AcGePoint3d(20, 5, 7)));
    const AcDbObjectId byBoundaryZ = s.addPolyline({{0, 0, 1}, {10, 0, 2}});
    const AcDbObjectId plain = s.addPolyline({{0, 3, 1}, {10, 3, 2}});
    const std::wstring selectBoundary = L"@select " + std::wstring(boundary.handle().text());
    const std::wstring pickByZ = L"@pick " + std::wstring(byBoundaryZ.handle().text()) + L" 9,0";
    const std::wstring pickPlain = L"@pick " + std::wstring(plain.handle().text()) + L" 9,3";
    s.type({L"ZOR_EXTEND", L"1", selectBoundary.c_str(), L"", pickByZ.c_str(), L"^C"});
    s.type({L"ZOR_EXTEND", L"0", selectBoundary.c_str(), L"", pickPlain.c_str(), L"^C"});
    host::runCommandLine();
    const CPoint3d byZ = pointsOf(byBoundaryZ).back(), usual = pointsOf(plain).back();
    EXPECT_NEAR(byZ.x, 20, 1e-9);
    EXPECT_NEAR(byZ.z, 7, 1e-9) << "the boundary's Z";
    EXPECT_NEAR(usual.x, 20, 1e-9);
    EXPECT_NE(usual.z, 7) << "the polyline's own slope";
}
