// The editor loop run in the test's own process: the menus it switches, contour lines kept on their
// elevation, the height box, the cursor routine of another application, and the editor's drag releasing
// the outside cursor.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include "host/editor/acut.h"
#include "host/editor/menus.h"
#include "host/input/entity_refs.h"
#include "host/lisp/lisp_eval.h"
#include "host/lisp/lisp_functions.h"
#include "host/rx/module_loader.h"
#include "host/rx/rx_app.h"
#include "plugin/app/command_handlers.h"
#include "plugin/editor/editor_prompts.h"
#include "services/startup/shared_records.h"
#include "tests/plugin/editor/editor_test_support.h"

namespace {

using plugin::test::EditorFixture;

struct Loop : EditorFixture {
    // The polyline the last command made (the last entity of model space), open for read.
    std::vector<CPoint3d> lastPolyline(bool hardOnly = true) {
        AcDbObjectId id = host::lastEntity();
        CPolyArc3D* poly = nullptr;
        std::vector<CPoint3d> points;
        if (acdbOpenObject(poly, id, AcDb::kForRead) != Acad::eOk) return points;
        for (const P_Vertex* v = poly->H(); v; v = v->pVN)
            if (!hardOnly || v->dur()) points.push_back(v->pt);
        poly->close();
        return points;
    }
    void onLayer(const wchar_t* layer) {
        session.addLayer(layer);
        host::runLispConsole(std::wstring(L"(setvar \"CLAYER\" \"") + layer + L"\")");
    }
};

TEST_F(Loop, MenusFollowTheModeOfTheFirstLoadedGroup) {
    session.type({L"0,0", L"10,0", L""});
    c_get_qpoly();
    EXPECT_TRUE(host::menuCommandLog().empty()) << "no group, no menu command";

    std::wstring group, error;
    ASSERT_TRUE(host::loadMenuFile(MENU_FILE, group, error)) << error;
    session.type({L"0,0", L"10,0", L""});
    c_get_qpoly();
    const std::vector<std::wstring>& log = host::menuCommandLog();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], L"P0=ZORTAPOLY.COMMAND_PSAISIE");
    EXPECT_EQ(log[1], L"A1=ZORTAPOLY.AUX1");
    EXPECT_EQ(log[log.size() - 2], L"P0=ZORTAPOLY.COMMAND_1");
    EXPECT_EQ(log.back(), L"A1=ZORTAPOLY.AUX1");
}

TEST_F(Loop, TheVertexTraceShowsOnlyWhenItsTraceBitIsOn) {
    const int saved = pvg->pvDeb;
    for (int bits : {0, 768, 4}) {
        pvg->pvDeb = bits;
        host::clearCommandLineTranscript();
        session.type({L"0,0", L"10,0", L""});
        c_get_qpoly();
        EXPECT_EQ(session.transcript().find(L"pv=") != std::wstring::npos, bits == 4) << bits;
    }
    pvg->pvDeb = saved;
}

TEST_F(Loop, DroppingTheRubberVertexTakesTheArcShapedBeforeIt) {
    // An arc shaped on the last point leaves a generated vertex before the rubber vertex.
    session.type({L"0,0", L"A", L""});
    c_get_qpoly();
    EXPECT_TRUE(lastPolyline(false).empty()) << "one point only: nothing is kept";

    session.type({L"0,0", L"10,0", L"A", L""});
    c_get_qpoly();
    EXPECT_EQ(lastPolyline(false), (std::vector<CPoint3d>{{0, 0, 0}, {10, 0, 0}}));
}

TEST_F(Loop, ContourLinesTakeTheTypedOrPickedElevation) {
    onLayer(L"N100");
    session.type({L"123.456", L"0,0", L"10,0", L"20,5", L""});
    c_get_qpoly();
    std::vector<CPoint3d> typed = lastPolyline();
    ASSERT_EQ(typed.size(), 3u);
    for (const CPoint3d& p : typed)
        EXPECT_DOUBLE_EQ(p.z, 123.456);

    host::runLispConsole(L"(setvar \"ELEVATION\" 0)");
    session.type({L"5,5,123.4567", L"0,0", L"10,0", L"20,5", L""});
    c_get_qpoly();
    std::vector<CPoint3d> picked = lastPolyline();
    ASSERT_EQ(picked.size(), 3u);
    for (const CPoint3d& p : picked)
        EXPECT_DOUBLE_EQ(p.z, 123.45) << "a picked elevation goes to the nearest 5 cm";
}

TEST_F(Loop, AVertexOffTheElevationRaisesTheHeightBox) {
    onLayer(L"L12X");
    session.type({L"100", L"0,0", L"5,0,100.2", L"@answer no", L"10,0", L""});
    c_get_qpoly();
    std::vector<CPoint3d> points = lastPolyline();
    ASSERT_EQ(points.size(), 3u);
    for (const CPoint3d& p : points)
        EXPECT_DOUBLE_EQ(p.z, 100) << "No puts the vertex on the elevation";
}

TEST_F(Loop, TheOtherApplicationsCursorRoutineReceivesTheElevation) {
    std::string error;
    host::Module* module = host::loadModule(CURSOR_MODULE, error);
    ASSERT_NE(module, nullptr) << error;
    host::sendToModules(AcRx::kLoadDwgMsg);
    onLayer(L"N100");
    session.type({L"123.5", L"0,0", L"10,0", L""});
    c_get_qpoly();
    const host::LispValue call = host::callLispFunction(L"CURSORCALL", {});
    ASSERT_EQ(call.kind, host::LispValue::List) << session.transcript();
    ASSERT_EQ(call.items.size(), 2u);
    EXPECT_DOUBLE_EQ(call.items[0].number(), 123.5) << "the height alone";
    EXPECT_EQ(call.items[1].integer, 1);
}

} // namespace

namespace {

TEST_F(Loop, DistancesAndHeightsAreTypedOrMeasured) {
    char text[16] = {};
    session.type({L"12.5"});
    EXPECT_DOUBLE_EQ(askDistance(3, "Largeur", "DEF", text, sizeof text), 12.5);
    session.type({L"-", L""});
    EXPECT_DOUBLE_EQ(askDistance(3, nullptr, nullptr, text, sizeof text), -3) << "the sign forced on Enter";
    session.type({L"0,0", L"3,4"});
    EXPECT_DOUBLE_EQ(askDistance(1, nullptr, nullptr, text, sizeof text), 5);
    session.type({L"-", L"0,0", L"3,4"});
    EXPECT_DOUBLE_EQ(askDistance(1, nullptr, nullptr, text, sizeof text), -5);
    session.type({L"DEF"});
    EXPECT_DOUBLE_EQ(askDistance(2, nullptr, "DEF", text, sizeof text), 2);
    EXPECT_STREQ(text, "DEF");
    session.type({L"^C"});
    EXPECT_DOUBLE_EQ(askDistance(7, nullptr, nullptr, nullptr, 0), 7);

    const CPoint3d base(1, 1, 0);
    session.type({L"2,2,42.5"});
    EXPECT_DOUBLE_EQ(askZ(9, &base), 42.5);
    session.type({L"17.25"});
    EXPECT_DOUBLE_EQ(askZ(9, &base), 17.25);
    session.type({L"^C"});
    EXPECT_DOUBLE_EQ(askZ(9, nullptr), 9);
}

} // namespace
