// The commands that hand a polyline to the editor: where the editing starts (ZOR_PMOD, the double click),
// which polyline ZOR_PSUIT and ZOR_PRACORD continue, and ZOR_PAS digitising with the reference's properties.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cadutil/database/linetypes.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/command_line.h"
#include "host/input/entity_refs.h"
#include "host/lisp/lisp_symbols.h"
#include "plugin/app/double_click.h"
#include "plugin/editor/default_width.h"
#include "services/startup/fvar.h"
#include "tests/plugin/commands/command_test_support.h"

using plugin::test::CommandSession;

namespace {

// The points of the polyline's vertices; with hardOnly, of those the user placed.
std::vector<CPoint3d> pointsOf(AcDbObjectId id, bool hardOnly = false) {
    std::vector<CPoint3d> points;
    CommandSession::read(id, [&](const CPolyArc3D& poly) {
        for (const P_Vertex* v = poly.H(); v; v = v->pVN)
            if (!hardOnly || v->dur()) points.push_back(v->pt);
    });
    return points;
}

std::wstring layerOf(AcDbObjectId id) {
    std::wstring layer;
    CommandSession::read(id, [&](const CPolyArc3D& poly) { layer = poly.layer(); });
    return layer;
}

struct EditorCommands : CommandSession {
    EditorCommands() {
        // Vertex 2 is generated: a segment after it starts, for the user, at vertex 1.
        line = addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}},
                           [](CPolyArc3D& poly) { poly.H(2)->flags = 1; });
        handle = line.handle().text();
    }
    ~EditorCommands() { vfVar.zoneNameOverride[0] = 0; }
    void putOnLayer(const wchar_t* layer) {
        addLayer(layer);
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(acdbOpenObject(entity, line, AcDb::kForWrite), Acad::eOk);
        entity->setLayer(layer);
        entity->close();
    }
    void run(std::initializer_list<std::wstring> lines) {
        for (const std::wstring& l : lines)
            type({l.c_str()});
        host::runCommandLine();
    }
    AcDbObjectId line;
    std::wstring handle;
};

} // namespace

TEST(EditorCommands, ModifyStartsAtTheHardStartOfThePickedSegment) {
    EditorCommands s;
    const std::vector<CPoint3d> before = pointsOf(s.line);
    s.run({L"ZOR_PMOD", L"@pick " + s.handle + L" 3", L"Q"});
    EXPECT_EQ(pointsOf(s.line), before) << "Q changes nothing";

    // The picked segment opens in Go mode; Enter goes back to digitising at its start.
    s.run({L"ZOR_PMOD", L"@pick " + s.handle + L" 3", L"", L"15,5", L""});
    EXPECT_EQ(pointsOf(s.line, true), (std::vector<CPoint3d>{{0, 0, 0}, {10, 0, 0}, {15, 5, 0}, {30, 0, 0}}))
        << "digitised after vertex 1, the hard start of segment 3";

    s.run({L"_UNDO", L"1"});
    EXPECT_EQ(pointsOf(s.line), before) << "one undo step";
}

TEST(EditorCommands, ADoubleClickStartsAtTheNearestHardVertex) {
    EditorCommands s;
    AcDbDoubleClickEditPolyArc3D edit;
    PolyArc3D::desc()->addX(AcDbDoubleClickEdit::desc(), &edit);
    s.run({L"@dblclick " + s.handle + L" 19,0", L"25,5", L""});
    PolyArc3D::desc()->delX(AcDbDoubleClickEdit::desc());
    EXPECT_EQ(pointsOf(s.line, true), (std::vector<CPoint3d>{{0, 0, 0}, {10, 0, 0}, {25, 5, 0}, {30, 0, 0}}))
        << "vertex 2 is generated: vertex 1 is the hard one nearest";
}

TEST(EditorCommands, ContinuingKeepsThePolylineAndConnectingStartsOneOnTheZone) {
    EditorCommands s;
    std::strcpy(vfVar.zoneNameOverride, "Z1");
    s.putOnLayer(L"Z9$ROUTE");
    s.run({L"ZOR_PSUIT", L"@pick " + s.handle + L" 29,0", L"40,0", L""});
    std::vector<CPoint3d> after = pointsOf(s.line);
    EXPECT_EQ(after.back(), CPoint3d(40, 0, 0)) << "another zone, no callback: the polyline itself";

    s.run({L"ZOR_PRACORD", L"@pick " + s.handle + L" 1,0", L"-10,0", L""});
    EXPECT_EQ(pointsOf(s.line), after) << "the old polyline stays";
    const AcDbObjectId made = host::lastEntity();
    ASSERT_NE(made, s.line);
    EXPECT_EQ(pointsOf(made), (std::vector<CPoint3d>{{0, 0, 0}, {-10, 0, 0}})) << "joined at the nearer end";
    EXPECT_EQ(layerOf(made), L"Z1ROUTE");
}

TEST(EditorCommands, ALayerStartingWithDollarIsNeverConnected) {
    EditorCommands s;
    std::strcpy(vfVar.zoneNameOverride, "Z1");
    s.putOnLayer(L"$ROUTE");
    s.run({L"ZOR_PRACORD", L"@pick " + s.handle + L" 29,0", L"40,0", L""});
    EXPECT_EQ(pointsOf(s.line).back(), CPoint3d(40, 0, 0));
    EXPECT_EQ(host::lastEntity(), s.line);
}

TEST(EditorCommands, ReferenceThenDigitiseOnItsLayer) {
    EditorCommands s;
    s.putOnLayer(L"Z9$ROUTE");
    s.run({L"ZOR_PAS", L"@pick " + s.handle, L"0,50", L"10,50", L""});
    const AcDbObjectId made = host::lastEntity();
    ASSERT_NE(made, s.line);
    EXPECT_EQ(layerOf(made), L"Z9$ROUTE");
    EXPECT_EQ(pointsOf(made).size(), 2u);
}

TEST(EditorCommands, NewPolylinesTakeTheConstantWidthOfTheirLinetypeAndCloseAsSpirals) {
    EditorCommands s;
    AcDbObjectId linetype;
    ASSERT_EQ(getLinetypeId("PAVE", linetype, true), Acad::eOk);
    s.drawing.db->setCeltype(linetype);
    command_state::g_defaultWidthMode = "PAVE";
    command_state::g_rememberedWidth = 0.5;
    s.run({L"ZOR_POLY", L"0,0", L"10,0", L""});
    CommandSession::read(host::lastEntity(), [](const CPolyArc3D& poly) { EXPECT_EQ(poly.f42(), 0.5); });
    EXPECT_EQ(plugin::test::shown(L" largeur défaut Constante =0.5000 Mètre \n"), 1);

    ASSERT_EQ(getLinetypeId("SPIRE", linetype, true), Acad::eOk);
    s.drawing.db->setCeltype(linetype);
    setenv("VESPIR", "C", 1);
    s.run({L"ZOR_POLY", L"0,0", L"10,0", L"10,10", L""});
    CommandSession::read(host::lastEntity(), [](const CPolyArc3D& poly) { EXPECT_TRUE(poly.isClosed()); });

    s.run({L"(setq lisp_dwx_buffer (list (entlast)))", L"ZOR_POLY", L"0,0", L"10,0", L"10,10", L""});
    unsetenv("VESPIR");
    CommandSession::read(host::lastEntity(), [](const CPolyArc3D& poly) { EXPECT_FALSE(poly.isClosed()); });
    resbuf* buffer = nullptr;
    acedGetSym(L"lisp_dwx_buffer", &buffer);
    EXPECT_TRUE(!buffer || buffer->restype == RTNIL) << "the buffer emptied";
    acutRelRb(buffer);
}

TEST(EditorCommands, NewPolylinesAskTheDefaultWidthOfTheirLinetypeInAskMode) {
    EditorCommands s;
    AcDbObjectId linetype;
    ASSERT_EQ(getLinetypeId("PAVE", linetype, true), Acad::eOk);
    s.drawing.db->setCeltype(linetype);
    auto width = [] {
        double w = -1;
        CommandSession::read(host::lastEntity(), [&](const CPolyArc3D& poly) { w = poly.f42(); });
        return w;
    };

    // Ask mode: the typed width, remembered, the mode unchanged.
    s.run({L"ZOR_POLY", L"0.75", L"0,0", L"10,0", L""});
    EXPECT_EQ(width(), 0.75);
    EXPECT_EQ(command_state::g_rememberedWidth, 0.75);
    EXPECT_EQ(command_state::g_defaultWidthMode, std::string(1, '\1'));
    EXPECT_EQ(plugin::test::shown(L"Mode:'Saisir'"), 1);

    // Cancel at the prompt after switching to constant: nothing remembered changes, the polyline keeps the
    // remembered width.
    s.run({L"ZOR_POLY", L"Const", L"^C", L"0,0", L"10,0", L""});
    EXPECT_EQ(width(), 0.75);
    EXPECT_EQ(command_state::g_defaultWidthMode, std::string(1, '\1'));

    // Constant: the width measured between two points with the sign forced, then kept for that linetype
    // without asking again.
    s.run({L"ZOR_POLY", L"Const", L"-", L"0,0", L"3,4", L"0,0", L"10,0", L""});
    EXPECT_EQ(width(), -5);
    EXPECT_EQ(command_state::g_defaultWidthMode, "PAVE");
    s.run({L"ZOR_POLY", L"0,0", L"10,0", L""});
    EXPECT_EQ(width(), -5);
    EXPECT_EQ(plugin::test::shown(L" largeur défaut Constante =-5.0000 Mètre \n"), 1);

    // Another "P" linetype is asked again; inactive drops the width and no longer asks.
    ASSERT_EQ(getLinetypeId("PIQUET", linetype, true), Acad::eOk);
    s.drawing.db->setCeltype(linetype);
    s.run({L"ZOR_POLY", L"Inact", L"0,0", L"10,0", L""});
    EXPECT_EQ(width(), 0);
    EXPECT_EQ(default_width::currentMode(), 0);
    EXPECT_EQ(command_state::g_rememberedWidth, -5) << "an inactive mode keeps the last width";
    s.run({L"ZOR_POLY", L"0,0", L"10,0", L""});
    EXPECT_EQ(plugin::test::shown(L" largeur défaut Inactive\n"), 1);
    EXPECT_EQ(pointsOf(host::lastEntity()).size(), 2u);
}
