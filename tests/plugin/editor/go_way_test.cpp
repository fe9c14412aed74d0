// Go and Way modes driven by typed keywords and points: walking the current vertex and the moving end, GA
// ending Way mode with the whole polyline, walks that stop after one turn, the integrity check ending
// both, and random walks that leave the polyline whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "host/filing/text_codec.h"
#include "host/input/input_queue.h"
#include "tests/plugin/editor/editor_test_support.h"

namespace {

using plugin::test::EditorFixture;

struct GoWay : EditorFixture {
    AcDbObjectId lineWithGeneratedThird() {
        AcDbObjectId id = addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}});
        CPolyArc3D* poly = nullptr;
        if (acdbOpenObject(poly, id, AcDb::kForWrite) == Acad::eOk) {
            poly->H(2)->flags = 1;
            poly->close();
        }
        return id;
    }
    std::vector<P_Vertex*> list(qpoly_edit& editor) {
        editor.openRead();
        std::vector<P_Vertex*> v = vertices(editor);
        editor.closeEntity();
        return v;
    }
};

TEST_F(GoWay, WayWalksTheMovingEndAndGaEndsWithTheWhole) {
    qpoly_edit editor(lineWithGeneratedThird(), nullptr, 0);
    std::vector<P_Vertex*> v = list(editor);
    editor.current = v[0];
    session.type({L"N", L""});
    EXPECT_EQ(editor.way(0, nullptr), qpoly_edit::kEmptyEnter);
    EXPECT_EQ(editor.wayMoving, v[3]) << "over the generated vertex to the next hard one";
    EXPECT_EQ(editor.goState, 1);

    session.type({L"B", L"B", L"GA"});
    EXPECT_EQ(editor.way(0, nullptr), 19);
    EXPECT_EQ(editor.minSegments, 1);
    EXPECT_EQ(editor.wayFixed, v[0]);
    EXPECT_EQ(editor.wayMoving, v[4]);
}

TEST_F(GoWay, GoStepsAndEndsOnEnter) {
    qpoly_edit editor(lineWithGeneratedThird(), nullptr, 0);
    std::vector<P_Vertex*> v = list(editor);
    editor.current = v[0];
    session.type({L"N", L"N", L""});
    EXPECT_EQ(editor.go(1, nullptr, 14), qpoly_edit::kEmptyEnter);
    EXPECT_EQ(editor.current, v[3]);
    EXPECT_EQ(editor.goState, 0);

    // A pick in one-pick mode takes the nearer end of the segment picked.
    session.type({L"11,0.5"});
    EXPECT_EQ(editor.go(4, nullptr, 14), 0);
    EXPECT_EQ(editor.current, v[1]);
    EXPECT_EQ(editor.goState, 2);
}

TEST_F(GoWay, WalksOverARingOfGeneratedVerticesStopAfterOneTurn) {
    AcDbObjectId id = addPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, true);
    qpoly_edit editor(id, nullptr, 0);
    std::vector<P_Vertex*> v = list(editor);
    editor.openWrite();
    for (int i : {1, 2, 3})
        v[i]->flags = 1;
    editor.closeEntity();
    editor.current = v[0];
    session.type({L"N", L"B", L""});
    EXPECT_EQ(editor.way(0, nullptr), qpoly_edit::kEmptyEnter);
    session.type({L"N", L"B", L""});
    EXPECT_EQ(editor.go(0, nullptr, 14), qpoly_edit::kEmptyEnter);
    EXPECT_EQ(editor.current, v[0]);
}

TEST_F(GoWay, BothModesEndAtOnceOnACurrentVertexOutsideTheList) {
    qpoly_edit other(addPolyline({{0, 5, 0}, {10, 5, 0}}), nullptr, 0);
    qpoly_edit editor(addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}), nullptr, 0);
    P_Vertex* foreign = list(other)[0];
    editor.current = foreign;
    session.type({L""});
    EXPECT_EQ(editor.go(1, nullptr, 14), qpoly_edit::kQuit);
    editor.current = foreign;
    EXPECT_EQ(editor.way(0, nullptr), qpoly_edit::kQuit);
}

TEST_F(GoWay, MoveShiftsTheStretchOrItsStartAndRepeatedMovesStepAlong) {
    auto points = [&](qpoly_edit& editor) {
        std::vector<CPoint3d> p;
        for (P_Vertex* v : list(editor))
            p.push_back(v->pt);
        return p;
    };
    qpoly_edit editor(addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}}), nullptr, 0);
    std::vector<P_Vertex*> v = list(editor);
    editor.current = v[1];
    session.type({L"M", L"15,5", L""});
    EXPECT_EQ(editor.go(1, nullptr, 14), qpoly_edit::kEmptyEnter);
    EXPECT_EQ(points(editor), (std::vector<CPoint3d>{{0, 0, 0}, {15, 5, 0}, {20, 0, 0}, {30, 0, 0}}))
        << "the one-segment stretch moves its start only";

    editor.openRead();
    editor.setWay(v[1], v[2]);
    editor.closeEntity();
    session.type({L"0,-5", L""});
    editor.go(1, nullptr, 6);
    EXPECT_EQ(points(editor), (std::vector<CPoint3d>{{0, 0, 0}, {0, -5, 0}, {5, -10, 0}, {30, 0, 0}}))
        << "both ends of the stretch move by the displacement from the current vertex";

    editor.openRead();
    editor.setWay(v[3], qpoly_edit::kOneSegment);
    editor.closeEntity();
    session.type({L"30,1", L"5,-4", L"", L""});
    editor.go(1, nullptr, 7);
    EXPECT_EQ(points(editor), (std::vector<CPoint3d>{{0, 0, 0}, {0, -5, 0}, {5, -4, 0}, {30, 1, 0}}))
        << "from the tail the repeated move steps backwards";
}

// The polyline as its own checks see it: linked both ways from head to tail over exactly the vertices it
// counts, every vertex measurable, the editor's chain check clean and its stretch on vertices of the list.
void expectSound(qpoly_edit& editor, int count, const std::string& step) {
    ASSERT_FALSE(editor.openState & qpoly_edit::kOpen) << step;
    const CPolyArc3D* poly = editor.openRead();
    ASSERT_TRUE(poly) << step;
    EXPECT_EQ(editor.checkChain(), 0) << step;
    EXPECT_TRUE(poly->hasSoundVertices()) << step;
    EXPECT_EQ(poly->GetCount(), count) << step;
    int walked = 0;
    const P_Vertex* last = nullptr;
    for (const P_Vertex* v = poly->H(); v && walked <= count; v = v->pVN, ++walked) {
        EXPECT_EQ(v->pVB, last) << step;
        last = v;
    }
    EXPECT_EQ(walked, count) << step;
    EXPECT_EQ(last, poly->T()) << step;
    for (const P_Vertex* v : {editor.current, editor.wayFixed, editor.wayMoving})
        EXPECT_TRUE(!v || (*poly)[v] >= 0) << step;
    editor.closeEntity();
}

TEST_F(GoWay, RandomWalksKeepThePolylineWholeAndItsVertices) {
    // An open polyline with a generated vertex, a closed one, and a closed ring of generated vertices after
    // one hard vertex; a third of the lines each.
    const AcDbObjectId open = lineWithGeneratedThird();
    const AcDbObjectId square = addPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, true);
    const AcDbObjectId ring = addPolyline({{0, 0, 0}, {5, -5, 0}, {10, 0, 0}, {5, 5, 0}}, true);
    {
        CPolyArc3D* poly = nullptr;
        ASSERT_EQ(acdbOpenObject(poly, ring, AcDb::kForWrite), Acad::eOk);
        for (P_Vertex* v = poly->H()->pVN; v; v = v->pVN)
            v->flags = 1;
        poly->close();
    }
    const std::vector<std::wstring> walks = {
        L"N", L"B",         L"GT",         L"GF",        L"GA",       L"W",        L"S",
        L"",  L"^C",        L"X",          L"ZT",        L"ZR",       L"Q",        L"G",
        L"?", L"@key LEFT", L"@key RIGHT", L"@key HOME", L"@key END", L"@key DOWN"};
    std::mt19937 random(2021);
    std::uniform_real_distribution<double> x(-5, 45), y(-8, 12);
    auto point = [&] {
        return std::to_wstring(static_cast<int>(x(random))) + L"," +
               std::to_wstring(static_cast<int>(y(random)));
    };
    int lines = 0, budget = 0;
    for (const AcDbObjectId id : {open, square, ring}) {
        budget = std::min(1000, budget + 334);
        qpoly_edit editor(id, nullptr, 0);
        editor.current = list(editor)[0];
        const int count = static_cast<int>(list(editor).size());
        for (int step = 0; lines < budget; ++step) {
            std::wstring script;
            const int length = 1 + static_cast<int>(random() % 5);
            for (int i = 0; i < length && lines < budget; ++i, ++lines) {
                const unsigned pick = random() % 10;
                std::wstring line = pick < 7   ? walks[random() % walks.size()]
                                    : pick < 8 ? point()
                                    : pick < 9 ? L"@snap " + point()
                                               : L"@move " + point();
                session.type({line.c_str()});
                script += line + L" | ";
            }
            const int mode = static_cast<int>(random() % 4);
            if (mode == 0)
                editor.way(0, nullptr);
            else
                editor.go(mode == 1 ? 4 : 0, nullptr, mode == 3 ? 14 : 15 + static_cast<int>(random() % 6));
            host::inputQueue().clear();
            const std::string where = "step " + std::to_string(step) + ": " + host::toUtf8(script);
            expectSound(editor, count, where);
            if (HasFailure()) return;
        }
        editor.close();
    }
    EXPECT_EQ(lines, 1000);
}

} // namespace
