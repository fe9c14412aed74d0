// The function keywords on the whole polyline and on a stretch, each one balanced undo group; the drawing
// modes, the re-take parameters, the extended data and continuing from an end.
#include <gtest/gtest.h>

#include <cmath>

#include "host/db/database.h"
#include "host/editor/acut.h"
#include "host/input/entity_refs.h"
#include "plugin/editor/function_prompts.h"
#include "plugin/editor/shape_memory.h"
#include "tests/plugin/editor/editor_test_support.h"
#include "tests/plugin/transcript.h"

namespace {

using plugin::test::EditorFixture;

struct Functions : EditorFixture {
    Functions() { shape_memory::reset(); }
    ~Functions() override { shape_memory::reset(); }

    AcDbObjectId line() { return addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}}); }
    std::vector<CPoint3d> pointsOf(qpoly_edit& editor) {
        std::vector<CPoint3d> list = points(*editor.openRead());
        editor.closeEntity();
        return list;
    }
    // The vertices, the entity left open for write.
    static std::vector<P_Vertex*> opened(qpoly_edit& editor) {
        editor.openWrite();
        return vertices(editor);
    }
    static void select(qpoly_edit& editor, int i, int j) {
        std::vector<P_Vertex*> v = opened(editor);
        editor.goState = 1;
        editor.setWay(v[i], v[j]);
        editor.closeEntity();
    }
    int undoDepth() { return acdbHostApplicationServices()->workingDatabase()->undoGroupDepth(); }
    std::wstring xdataText(qpoly_edit& editor, const ACHAR* app) {
        resbuf* chain = editor.openRead()->xData(app);
        editor.closeEntity();
        std::wstring texts;
        for (resbuf* rb = chain ? chain->rbnext : nullptr; rb; rb = rb->rbnext)
            texts += std::wstring(rb->resval.rstring) + L";";
        acutRelRb(chain);
        return texts;
    }
};

TEST_F(Functions, InverseReversesTheWholeOrTheStretch) {
    qpoly_edit editor(line(), nullptr, 0);
    select(editor, 1, 3);
    EXPECT_EQ(editor.fonctions(29), 29);
    EXPECT_EQ(undoDepth(), 0);
    std::vector<CPoint3d> p = pointsOf(editor);
    EXPECT_EQ(p[0].x, 0);
    EXPECT_EQ(p[1].x, 30);
    EXPECT_EQ(p[2].x, 20);
    EXPECT_EQ(p[3].x, 10);
    EXPECT_EQ(p[4].x, 40);

    editor.goState = 2;
    EXPECT_EQ(editor.fonctions(29), 29);
    p = pointsOf(editor);
    EXPECT_EQ(p[0].x, 40);
    EXPECT_EQ(p[4].x, 0);

    qpoly_edit single(addPolyline({{5, 5, 0}}), nullptr, 0);
    for (int keyword : {29, 30, 37})
        EXPECT_EQ(single.fonctions(keyword), keyword);
    EXPECT_EQ(pointsOf(single).size(), 1u);
    EXPECT_EQ(undoDepth(), 0);
}

TEST_F(Functions, DeleteCutAndHeights) {
    qpoly_edit editor(addPolyline({{0, 0, 10}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 50}}), nullptr, 0);
    EXPECT_EQ(editor.fonctions(37), 37);
    std::vector<CPoint3d> p = pointsOf(editor);
    EXPECT_NEAR(p[2].z, 30, 1e-6) << "heights interpolated along the length";

    select(editor, 1, 3);
    editor.fonctions(34);
    p = pointsOf(editor);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[1].x, 10);
    EXPECT_EQ(p[2].x, 30);
    EXPECT_EQ(undoDepth(), 0);

    select(editor, 1, 2);
    EXPECT_EQ(editor.fonctions(28), 28);
    EXPECT_EQ(undoDepth(), 0);
    AcDbObjectId cutId = host::lastEntity();
    ASSERT_NE(cutId, editor.id);
    CPolyArc3D* cut = nullptr;
    ASSERT_EQ(acdbOpenObject(cut, cutId, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(cut->H()->pt.x, 30);
    cut->close();
    EXPECT_EQ(pointsOf(editor).back().x, 10);
}

TEST_F(Functions, OffsetReplacesTheStretchByItsParallel) {
    qpoly_edit editor(line(), nullptr, 0);
    EXPECT_EQ(editor.fonctions(31), 31);
    EXPECT_EQ(pointsOf(editor).size(), 5u) << "no stretch, nothing done";

    select(editor, 1, 3);
    session.type({L"2"});
    editor.fonctions(31);
    EXPECT_EQ(pointsOf(editor),
              (std::vector<CPoint3d>{{0, 0, 0}, {10, -2, 0}, {20, -2, 0}, {30, -2, 0}, {40, 0, 0}}))
        << "a positive distance to the right";
    EXPECT_EQ(undoDepth(), 0);
    EXPECT_EQ(shape_memory::values().lastOffset, 2);

    // The whole closed polyline starts and ends on the same vertex.
    qpoly_edit square(addPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, true), nullptr, 0);
    square.openWrite();
    square.setWay(qpoly_edit::kAll);
    square.closeEntity();
    session.type({L"1"});
    square.fonctions(31);
    const std::vector<CPoint3d> after = pointsOf(square);
    ASSERT_GE(after.size(), 4u);
    auto near = [](double a, double b) { return std::fabs(a - b) < 1e-9; };
    for (const CPoint3d& p : after)
        EXPECT_TRUE(near(p.x, -1) || near(p.x, 11) || near(p.y, -1) || near(p.y, 11)) << p.x << "," << p.y;
    // Its own closing segment joins the ring: no two neighbours, the tail and head included, on one point.
    for (std::size_t i = 0; i < after.size(); ++i) {
        const CPoint3d& a = after[i];
        const CPoint3d& b = after[(i + 1) % after.size()];
        EXPECT_FALSE(near(a.x, b.x) && near(a.y, b.y))
            << "vertices " << i << " and the next at " << a.x << "," << a.y;
    }
}

TEST_F(Functions, JoinTakesTheSelectedPolylinesAtTheEnds) {
    qpoly_edit editor(line(), nullptr, 0);
    AcDbObjectId other = addPolyline({{40, 0, 0}, {50, 0, 0}, {50, 10, 0}});
    session.type({L"@select all", L""});
    EXPECT_EQ(editor.fonctions(32), 32);
    EXPECT_EQ(undoDepth(), 0);
    EXPECT_EQ(pointsOf(editor).back().y, 10);
    EXPECT_EQ(plugin::test::shown(L" 1 ZORTAPOLY Jointes a cette entite"), 1);
    AcDbEntity* erased = nullptr;
    EXPECT_NE(acdbOpenObject(erased, other, AcDb::kForRead), Acad::eOk) << "the joined polyline is erased";

    session.type({L"^C"});
    EXPECT_EQ(editor.fonctions(32), 32);
    EXPECT_EQ(pointsOf(editor).size(), 7u) << "Cancel changes nothing";
}

TEST_F(Functions, DrawingModesReplaceTheirBits) {
    qpoly_edit editor(line(), nullptr, 0);
    editor.fonctions(40);
    editor.fonctions(42);
    EXPECT_EQ(editor.openRead()->f71(), 0xB);
    editor.closeEntity();
    editor.fonctions(44);
    EXPECT_EQ(editor.openRead()->f71(), 0x8);
    editor.closeEntity();
    editor.fonctions(39);
    EXPECT_EQ(editor.openRead()->f71(), 0);
    editor.closeEntity();
    EXPECT_EQ(editor.fonctions(99), -3);
}

TEST_F(Functions, RetakeMaskLettersAndMemo) {
    shape_memory::values().retakeMask = retake::kCode;
    session.type({L"+h"});
    EXPECT_EQ(askRetakeMask(), retake::kCode | retake::kHeight);
    session.type({L"tcb"});
    EXPECT_EQ(askRetakeMask(), 0x13);
    session.type({L"-c"});
    EXPECT_EQ(askRetakeMask(), 0x11);
    session.type({L""});
    EXPECT_EQ(askRetakeMask(), 0x11) << "Enter keeps the mask";
    session.type({L"_wn"});
    EXPECT_EQ(askRetakeMask(), 0);
    EXPECT_EQ(plugin::test::shown(L" Rien;"), 1);
    session.type({L"*"});
    EXPECT_EQ(askRetakeMask(), -1);

    // The memo hands the current vertex's attributes to the next new vertex.
    qpoly_edit editor(line(), nullptr, 0);
    P_Vertex* v = opened(editor)[2];
    v->tef1 = 3;
    v->i39 = 700;
    editor.current = v;
    editor.closeEntity();
    session.type({L"tm"});
    EXPECT_EQ(editor.fonctions(36), 36);
    const editor_state::PendingAttributes& pending = editor_state::globals().pending;
    EXPECT_EQ(pending.flags & editor_state::kAttributesMemo, 0);
    EXPECT_NE(pending.flags & editor_state::kAttributesPending, 0);
    EXPECT_EQ(pending.code, 3);
    EXPECT_EQ(pending.i39, 700);
}

TEST_F(Functions, ExtendedDataByName) {
    qpoly_edit editor(line(), nullptr, 0);
    for (const wchar_t* text : {L"REF=12", L"REF=13", L"NOM=5"}) {
        session.type({text});
        EXPECT_EQ(editor.fonctions(47), 47);
    }
    EXPECT_EQ(xdataText(editor, L"ZORTA"), L"NOM=5;REF=13;");
    session.type({L"ref="});
    editor.fonctions(47);
    EXPECT_EQ(xdataText(editor, L"ZORTA"), L"NOM=5;");
    session.type({L"-"});
    editor.fonctions(47);
    EXPECT_EQ(xdataText(editor, L"ZORTA"), L"");

    AcDbObject* object = editor.openWrite();
    EXPECT_EQ(editXData(object, "REF", nullptr), 0);
    EXPECT_EQ(editXData(object, "  ", nullptr), -1);
    EXPECT_EQ(editXData(object, " ? ", nullptr), 1);
    editor.closeEntity();

    // The legacy class writes under its own name, registered first.
    auto* legacy = new tavro_poly;
    poly_test::appendAll(*legacy, {{0, 0, 0}, {5, 0, 0}});
    qpoly_edit old(session.addEntity(legacy), nullptr, 0);
    session.type({L"REF=1"});
    old.fonctions(47);
    EXPECT_EQ(xdataText(old, L"DWX"), L"REF=1;");
}

TEST_F(Functions, ContinueFromTheNearerOrTheNamedEnd) {
    qpoly_edit editor(line(), nullptr, 0);
    std::vector<P_Vertex*> v = opened(editor);
    editor.current = v[1];
    editor.closeEntity();
    session.type({L""});
    editor.fonctions(38);
    EXPECT_EQ(editor.current, v[0]);
    EXPECT_EQ(editor.direction, -1);
    session.type({L"Fin"});
    editor.fonctions(38);
    EXPECT_EQ(editor.current, v[4]);
    EXPECT_EQ(editor.direction, 1);
    session.type({L"^C"});
    editor.fonctions(38);
    EXPECT_EQ(editor.current, v[4]);
}

} // namespace
