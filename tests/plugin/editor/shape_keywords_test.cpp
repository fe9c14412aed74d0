// The form keywords on a stretch and on one vertex, the codes, widths and tangency asked at the command line,
// the moving keywords of Go mode and the view-test and help texts.
#include <gtest/gtest.h>

#include "host/editor/acut.h"
#include "plugin/commands/command_state.h"
#include "plugin/editor/default_width.h"
#include "plugin/editor/shape_memory.h"
#include "plugin/editor/vertex_prompts.h"
#include "tests/plugin/editor/editor_test_support.h"
#include "tests/plugin/transcript.h"

namespace {

using plugin::test::EditorFixture;

struct Shapes : EditorFixture {
    Shapes() {
        shape_memory::reset();
        command_state::resetCommandState();
    }
    ~Shapes() override {
        shape_memory::reset();
        command_state::resetCommandState();
    }

    AcDbObjectId zigzag(bool closed = false) {
        return addPolyline({{0, 0, 0}, {10, 5, 0}, {20, 0, 0}, {30, 5, 0}, {40, 0, 0}}, closed);
    }
    // The hard vertices of the editor's entity, opened for read.
    static std::vector<P_Vertex*> hard(qpoly_edit& editor) {
        std::vector<P_Vertex*> list;
        for (P_Vertex* v = editor.openRead()->H(); v; v = v->pVN)
            if (v->dur()) list.push_back(v);
        return list;
    }
    static bool generatedAfter(const P_Vertex* v) { return v->pVN && !v->pVN->dur(); }
    // Selects the stretch between the hard vertices i and j.
    static void select(qpoly_edit& editor, int i, int j) {
        std::vector<P_Vertex*> v = hard(editor);
        editor.goState = 1;
        editor.setWay(v[i], v[j]);
        editor.closeEntity();
    }
};

TEST_F(Shapes, ArcCircleAndLineOnAStretch) {
    qpoly_edit editor(zigzag(), nullptr, 0);
    select(editor, 1, 3);
    EXPECT_EQ(editor.formes(2), 2);
    std::vector<P_Vertex*> v = hard(editor);
    for (int i : {1, 2, 3})
        EXPECT_TRUE(v[i]->flags & 8) << "curve point " << i;
    EXPECT_FALSE(v[0]->flags & 8);
    EXPECT_NE(v[1]->bulge, 0) << "the smoothing bends the stretch";
    editor.closeEntity();

    EXPECT_EQ(editor.formes(3), 3);
    v = hard(editor);
    for (int i : {1, 2, 3})
        EXPECT_FALSE(v[i]->flags & 8);
    for (int i : {1, 2}) {
        EXPECT_EQ(v[i]->bulge, 0) << "straight after " << i;
        EXPECT_FALSE(generatedAfter(v[i]));
    }
    editor.closeEntity();
}

TEST_F(Shapes, ArcOnOneVertexInsertsItsGeneratedFollower) {
    qpoly_edit editor(zigzag(), nullptr, 0);
    editor.current = hard(editor)[1];
    editor.closeEntity();
    EXPECT_EQ(editor.formes(1), 1);
    std::vector<P_Vertex*> v = hard(editor);
    ASSERT_EQ(v.size(), 5u);
    EXPECT_TRUE(generatedAfter(v[1]));
    EXPECT_FALSE(generatedAfter(v[0]));
    editor.closeEntity();

    // One-pick mode leaves the forms alone.
    editor.current = hard(editor)[2];
    editor.closeEntity();
    EXPECT_EQ(editor.formes(1, nullptr, 4), 1);
    EXPECT_FALSE(generatedAfter(hard(editor)[2]));
    editor.closeEntity();
}

TEST_F(Shapes, CloseCopiesTheGeneratedVertexOpenDropsTheTail) {
    qpoly_edit editor(zigzag(), nullptr, 0);
    CPolyArc3D* poly = editor.openWrite();
    P_Vertex* generated = poly->I(poly->T()->pVB, poly->T()->pVB);
    generated->flags = 1;
    editor.closeEntity();
    EXPECT_EQ(editor.formes(4), 4);
    poly = editor.openRead();
    EXPECT_TRUE(poly->f70() & 1);
    EXPECT_FALSE(poly->T()->dur()) << "the generated vertex copied after the tail";
    editor.closeEntity();
    EXPECT_EQ(editor.formes(5), 5);
    poly = editor.openRead();
    EXPECT_FALSE(poly->f70() & 1);
    EXPECT_TRUE(poly->T()->dur());
    editor.closeEntity();
}

TEST_F(Shapes, CodesWidthsAndTangencyAreAsked) {
    qpoly_edit editor(zigzag(), nullptr, 0);
    editor.current = hard(editor)[1];
    editor.closeEntity();
    session.type({L"Talus2", L"Cache1"});
    EXPECT_EQ(editor.formes(8), 8);
    EXPECT_EQ(editor.openRead()->H()->pVN->tef1, 2);
    EXPECT_EQ(editor.entity->H()->pVN->tef2, 1);
    editor.closeEntity();

    // On a stretch the bytes left at 255 keep each vertex's own.
    select(editor, 0, 4);
    session.type({L"Ecrit1", L""});
    EXPECT_EQ(editor.formes(8), 8);
    for (P_Vertex* v : hard(editor)) {
        EXPECT_EQ(v->tef1, 1);
        EXPECT_EQ(v->tef2, v == editor.entity->H()->pVN ? 1 : 0);
    }
    editor.closeEntity();

    session.type({L"-", L"0,0", L"3,4"});
    EXPECT_EQ(editor.formes(9), 9);
    for (P_Vertex* v : hard(editor))
        EXPECT_EQ(v->i40, -500000);
    editor.closeEntity();
    EXPECT_DOUBLE_EQ(shape_memory::values().lastWidth, -5);

    // Cancel keeps the default: the vertex's own height, else the last one.
    editor.goState = 0;
    session.type({L"2.5"});
    editor.formes(10);
    session.type({L"^C"});
    editor.formes(10);
    EXPECT_EQ(editor.openRead()->H()->i39, 250000) << "the stretch start stayed current";
    editor.closeEntity();
}

TEST_F(Shapes, TangencyLetters) {
    P_Vertex hardVertex(0), generated(0);
    generated.flags = 1;
    applyTangency('O', &hardVertex);
    EXPECT_EQ(hardVertex.flags, 2);
    applyTangency('N', &hardVertex);
    EXPECT_EQ(hardVertex.flags, 4);
    applyTangency('A', &hardVertex);
    EXPECT_EQ(hardVertex.flags, 0);
    applyTangency('B', &hardVertex);
    EXPECT_EQ(hardVertex.flags, 0) << "blocking is for generated vertices";
    applyTangency('B', &generated);
    EXPECT_EQ(generated.flags, 3);
    applyTangency('O', &generated);
    EXPECT_EQ(generated.flags, 3);
    applyTangency('D', &generated);
    EXPECT_EQ(generated.flags, 1);

    qpoly_edit editor(zigzag(), nullptr, 0);
    editor.current = hard(editor)[1];
    editor.closeEntity();
    editor.formes(1);
    session.type({L"Bloqu"});
    EXPECT_EQ(editor.formes(11), 11);
    P_Vertex* follower = hard(editor)[1]->pVN;
    ASSERT_FALSE(follower->dur());
    EXPECT_EQ(follower->flags & 3, 3) << "the generated follower is blocked";
    editor.closeEntity();
}

TEST_F(Shapes, PropertiesSetTheDefaultWidthAndItsMode) {
    qpoly_edit editor(zigzag(), nullptr, 0);
    auto width = [&] {
        const double w = editor.openRead()->f42();
        editor.closeEntity();
        return w;
    };
    int count = 0;
    session.type({L"Large", L"Const", L"Saisi", L"2.5"});
    EXPECT_EQ(editProperties(editor.id, count), -1);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(width(), 2.5);
    EXPECT_EQ(default_width::currentMode(), default_width::kAsk) << "the last mode keyword holds";
    EXPECT_EQ(command_state::g_rememberedWidth, 2.5);
    EXPECT_EQ(plugin::test::shown(L"Mode:'Saisir'"), 2);
    EXPECT_EQ(plugin::test::shown(L"Mode:'Constant'"), 1);

    // Through the form keyword: no vertex changes, and a cancel at the width changes nothing at all.
    const std::vector<short> flags = [&] {
        std::vector<short> f;
        for (P_Vertex* v = editor.openRead()->H(); v; v = v->pVN)
            f.push_back(v->flags);
        editor.closeEntity();
        return f;
    }();
    session.type({L"Large", L"Inact"});
    EXPECT_EQ(editor.formes(11), 11);
    EXPECT_EQ(width(), 0);
    EXPECT_EQ(default_width::currentMode(), default_width::kInactive);
    EXPECT_EQ(command_state::g_rememberedWidth, 2.5) << "an inactive mode keeps the last width";
    session.type({L"Large", L"Const", L"^C"});
    editor.formes(11);
    EXPECT_EQ(default_width::currentMode(), default_width::kInactive);
    EXPECT_EQ(width(), 0);
    std::size_t i = 0;
    for (P_Vertex* v = editor.openRead()->H(); v; v = v->pVN, ++i)
        EXPECT_EQ(v->flags, flags.at(i));
    editor.closeEntity();
    EXPECT_EQ(askDefaultWidth(AcDbObjectId()), -1) << "no polyline";
}

TEST_F(Shapes, GoModeStepsOverHardVerticesAndStopsAfterOneTurn) {
    qpoly_edit editor(zigzag(), nullptr, 0);
    std::vector<P_Vertex*> v = hard(editor);
    v[2]->flags = 1;
    editor.current = v[1];
    editor.closeEntity();
    EXPECT_EQ(editor.formes(15), 15);
    EXPECT_EQ(editor.current, v[3]) << "over the generated vertex";
    EXPECT_EQ(editor.goState, 2);
    EXPECT_EQ(editor.formes(16), 16);
    EXPECT_EQ(editor.current, v[1]);
    EXPECT_EQ(editor.formes(18), 18);
    EXPECT_EQ(editor.current, v[4]);
    EXPECT_EQ(editor.formes(17), 17);
    EXPECT_EQ(editor.current, v[0]);
    EXPECT_EQ(editor.formes(19), 19);
    EXPECT_EQ(editor.goState, 1);
    EXPECT_EQ(editor.minSegments, 1);

    // A closed polyline whose other vertices are all generated: the walk ends where it began.
    qpoly_edit ring(addPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, true), nullptr, 0);
    std::vector<P_Vertex*> r = hard(ring);
    for (int i : {1, 2, 3})
        r[i]->flags = 1;
    ring.current = r[0];
    ring.closeEntity();
    EXPECT_EQ(ring.formes(15), 15);
    EXPECT_EQ(ring.current, r[0]);
    EXPECT_EQ(ring.formes(16), 16);
    EXPECT_EQ(ring.current, r[0]);
}

TEST_F(Shapes, ViewTestModesAndHelpArePrinted) {
    qpoly_edit editor(zigzag(), nullptr, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(editor.formes(24), 24);
    EXPECT_EQ(plugin::test::shown(L" Zoom Centre sur point "), 1);
    EXPECT_EQ(plugin::test::shown(L" Test de point dans fenetre "), 1);
    EXPECT_EQ(plugin::test::shown(L" pas de test fenetre "), 1);
    EXPECT_EQ(editor_state::globals().zoomTestMode, 0);
    editor.formes(26);
    EXPECT_EQ(editor_state::globals().zoomTestMode, 2);

    EXPECT_EQ(editor.formes(46), -3);
    EXPECT_EQ(plugin::test::shown(L"\nfleches:"), 1);
    EXPECT_EQ(plugin::test::shown(L"\nDivers:/DL3d"), 1);
    EXPECT_EQ(editor.formes(45), 23);
    EXPECT_EQ(editor.formes(99), -3);
}

} // namespace
