// Go and Way modes driven by typed keywords and points: walking the current vertex and the moving end, GA
// ending Way mode with the whole polyline, walks that stop after one turn, and random input that ends.
#include <gtest/gtest.h>

#include <random>
#include <string>

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

TEST_F(GoWay, RandomInputEndsAndLeavesNothingOpen) {
    const std::vector<std::wstring> words = {L"N",  L"B",   L"GT", L"GF", L"GA",  L"W",    L"S",   L"A",
                                             L"AC", L"L",   L"C",  L"O",  L"X",   L"?",    L"FI",  L"FS",
                                             L"FZ", L"DC3", L"^C", L"",   L"5,0", L"33,1", L"abc", L"2"};
    std::mt19937 random(21);
    for (int run = 0; run < 10; ++run) {
        qpoly_edit editor(lineWithGeneratedThird(), nullptr, 0);
        editor.current = list(editor)[0];
        std::vector<std::wstring> lines;
        for (int i = 0; i < 100; ++i)
            lines.push_back(words[random() % words.size()]);
        lines.insert(lines.end(), 20, L"^C");
        for (const std::wstring& line : lines)
            session.type({line.c_str()});
        if (run % 2)
            editor.way(0, nullptr);
        else
            editor.go(1, nullptr, 14);
        EXPECT_FALSE(editor.openState & qpoly_edit::kOpen) << "run " << run;
        editor.close();
    }
}

} // namespace
