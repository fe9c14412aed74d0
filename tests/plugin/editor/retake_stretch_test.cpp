// FR: a part of another polyline re-taken while digitising forwards, backwards and on an arc, from a
// polyline running either way or kept in a system of its own, into a stretch chosen in Go mode and past the
// tail; Cancel at every prompt, picks that cannot give a part and random answers leave both polylines whole.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "host/db/database.h"
#include "host/input/entity_refs.h"
#include "host/input/input_queue.h"
#include "host/lisp/lisp_eval.h"
#include "plugin/app/command_handlers.h"
#include "plugin/editor/function_prompts.h"
#include "plugin/editor/shape_memory.h"
#include "tests/plugin/editor/editor_test_support.h"

namespace {

using plugin::test::EditorFixture;

struct Shape {
    CPoint3d pt;
    double bulge;
    bool operator==(const Shape&) const = default;
};
using Shapes = std::vector<Shape>;

void PrintTo(const Shape& s, std::ostream* os) {
    *os << "(" << s.pt.x << "," << s.pt.y << "," << s.pt.z << " b" << s.bulge << ")";
}

constexpr int kRetake = 35;

struct Retake : EditorFixture {
    Retake() { shape_memory::reset(); }
    ~Retake() override { shape_memory::reset(); }

    // From (10,0) an arc to (20,0), then straight to (30,0) and (30,10); or the same the other way round.
    AcDbObjectId other(bool backwards = false) {
        AcDbObjectId id = backwards ? addPolyline({{30, 10, 0}, {30, 0, 0}, {20, 0, 0}, {10, 0, 0}})
                                    : addPolyline({{10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {30, 10, 0}});
        CPolyArc3D* poly = nullptr;
        if (acdbOpenObject(poly, id, AcDb::kForWrite) == Acad::eOk) {
            (backwards ? poly->H(2) : poly->H())->bulge = backwards ? -0.5 : 0.5;
            poly->close();
        }
        return id;
    }
    static std::wstring pick(AcDbObjectId id, const wchar_t* at) {
        return L"@pick " + std::wstring(id.handle().text()) + L" " + at;
    }
    void type(const std::vector<std::wstring>& lines) {
        for (const std::wstring& line : lines)
            session.type({line.c_str()});
    }
    static Shapes shapes(AcDbObjectId id) {
        Shapes list;
        CPolyArc3D* poly = nullptr;
        if (acdbOpenObject(poly, id, AcDb::kForRead) != Acad::eOk) return list;
        for (const P_Vertex* v = poly->H(); v; v = v->pVN)
            list.push_back({v->pt, v->bulge});
        poly->close();
        return list;
    }
    int undoDepth() { return acdbHostApplicationServices()->workingDatabase()->undoGroupDepth(); }
};

TEST_F(Retake, DigitisingGoesOnAlongThePartWhicheverWayTheOtherPolylineRuns) {
    const Shapes expected = {{{0, 0, 0}, 0},  {{10, 0, 0}, 0.5}, {{20, 0, 0}, 0},
                             {{30, 0, 0}, 0}, {{30, 10, 0}, 0},  {{40, 10, 0}, 0}};
    for (bool backwards : {false, true}) {
        const AcDbObjectId from = other(backwards);
        // The part starts where the digitised polyline ends (Enter keeps it) and ends at the picked vertex.
        type({L"0,0", L"10,0", L"FR", pick(from, L"25,0"), L"", L"30,10", L"40,10", L""});
        c_get_qpoly();
        EXPECT_EQ(shapes(host::lastEntity()), expected)
            << (backwards ? "other polyline backwards" : "forwards");
        EXPECT_EQ(undoDepth(), 0);
    }
}

TEST_F(Retake, AnArcBeingDigitisedGivesWayToThePart) {
    const AcDbObjectId from = other();
    host::runLispConsole(L"(setq lisp_modfig 10)");
    type({L"0,0", L"10,0", L"FR", pick(from, L"25,0"), L"", L"30,10", L""});
    c_get_qpoly();
    const Shapes made = shapes(host::lastEntity());
    Shapes hard;
    for (const Shape& s : made)
        if (s.pt.x == std::floor(s.pt.x)) hard.push_back(s);
    ASSERT_EQ(made.size(), hard.size() + 1) << "one generated vertex, on the arc digitised before";
    EXPECT_EQ(hard.back().pt, CPoint3d(30, 10, 0));
    ASSERT_EQ(hard.size(), 5u);
    EXPECT_EQ(hard[1], (Shape{{10, 0, 0}, 0.5})) << "the part's arc starts at the joint";
    EXPECT_EQ(hard[2], (Shape{{20, 0, 0}, 0}));
}

TEST_F(Retake, BackwardDigitisingTakesThePartInReversed) {
    const AcDbObjectId from = other();
    type({L"0,0", L"10,0", L"@key DOWN", L"FR", pick(from, L"25,0"), L"", L"30,10", L""});
    c_get_qpoly();
    EXPECT_EQ(
        shapes(host::lastEntity()),
        (Shapes{{{0, 0, 0}, 0}, {{30, 10, 0}, 0}, {{30, 0, 0}, 0}, {{20, 0, 0}, -0.5}, {{10, 0, 0}, 0}}))
        << "the part leads back to the vertex the digitising went back from";
}

TEST_F(Retake, AStretchOfGoModeIsReplacedAndItsEndsKeepTheirAttributes) {
    const AcDbObjectId line = addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}});
    const AcDbObjectId from = addPolyline({{10, 0, 0}, {15, 5, 0}, {25, 5, 0}, {30, 0, 0}});
    CPolyArc3D* poly = nullptr;
    ASSERT_EQ(acdbOpenObject(poly, from, AcDb::kForWrite), Acad::eOk);
    poly->H(1)->flags = 1;
    poly->H(1)->tef1 = 3;
    poly->close();

    qpoly_edit editor(line, nullptr, 0);
    editor.openWrite();
    std::vector<P_Vertex*> v = vertices(editor);
    v[3]->i39 = 700;
    editor.goState = 1;
    editor.setWay(v[1], v[3]);
    editor.closeEntity();
    shape_memory::values().retakeMask = -1;
    type({pick(from, L"12,2"), L"", L"30,0"});
    EXPECT_EQ(editor.fonctions(kRetake), kRetake);
    EXPECT_EQ(undoDepth(), 0);

    editor.openRead();
    std::vector<P_Vertex*> after = vertices(editor);
    ASSERT_EQ(after.size(), 6u);
    EXPECT_EQ(points(*editor.entity),
              (std::vector<CPoint3d>{{0, 0, 0}, {10, 0, 0}, {15, 5, 0}, {25, 5, 0}, {30, 0, 0}, {40, 0, 0}}));
    EXPECT_EQ(after[1], v[1]) << "the copy on the stretch's start gave way to it";
    EXPECT_EQ(after[4], v[3]);
    EXPECT_EQ(after[4]->i39, 700);
    EXPECT_EQ(after[2]->flags, 3) << "every part: the generated vertex comes over blocked";
    EXPECT_EQ(after[2]->tef1, 3);
    for (const P_Vertex* vertex : after)
        EXPECT_EQ(static_cast<std::int64_t>(vertex->tag), 0) << "no copy points into the other polyline";
    editor.closeEntity();
    editor.close();
}

TEST_F(Retake, AtTheTailAPartInASystemOfItsOwnCarriesThePolylineOnAtItsWorldPoints) {
    // The vertex before the tail lies within the joint tolerance of it: only a copy gives way at a joint.
    const AcDbObjectId line = addPolyline({{0, 0, 0}, {10, 0, 0}, {10.00005, 0, 0}});
    const AcDbObjectId from = addPolyline({{10, 0, 0}, {20, 0, 3}, {30, 5, 6}});
    CPolyArc3D* poly = nullptr;
    ASSERT_EQ(acdbOpenObject(poly, from, AcDb::kForWrite), Acad::eOk);
    poly->setSNormal(AcGeVector3d(1, 0, 1).normal(), 1);
    ASSERT_NE(poly->H(1)->pt, CPoint3d(20, 0, 3)) << "stored in a system of its own";
    poly->close();
    qpoly_edit editor(line, nullptr, 0);
    editor.openWrite();
    editor.setWay(editor.entity->T(), qpoly_edit::kOneSegment);
    editor.closeEntity();
    type({pick(from, L"15,0"), L"", L"@key END", L""});
    editor.fonctions(kRetake);
    const std::vector<CPoint3d> after = points(*editor.openRead());
    editor.closeEntity();
    ASSERT_EQ(after.size(), 5u);
    EXPECT_EQ(after[1], CPoint3d(10, 0, 0));
    EXPECT_EQ(after[2], CPoint3d(10.00005, 0, 0));
    EXPECT_LT(after[3].dist3dTo(CPoint3d(20, 0, 3)), 1e-9);
    EXPECT_LT(after[4].dist3dTo(CPoint3d(30, 5, 6)), 1e-9);
    editor.close();
}

TEST_F(Retake, CancelAtAnyPromptAndPicksThatCannotGiveChangeNothing) {
    const AcDbObjectId line = addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}});
    const AcDbObjectId from = other();
    const AcDbObjectId single = addPolyline({{10, 0, 0}});
    const Shapes lineBefore = shapes(line), otherBefore = shapes(from);
    qpoly_edit editor(line, nullptr, 0);
    editor.openWrite();
    editor.setWay(editor.entity->H(1), qpoly_edit::kOneSegment);
    editor.closeEntity();

    const std::vector<std::vector<std::wstring>> runs = {
        {L"^C"},
        {pick(from, L"25,0"), L"^C"},
        {pick(from, L"25,0"), L"", L"^C"},
        {pick(from, L"25,0"), L"30,10", L"^C"},
        {pick(line, L"5,0")},
        {pick(single, L"10,0")},
    };
    for (const std::vector<std::wstring>& run : runs) {
        type(run);
        EXPECT_EQ(editor.fonctions(kRetake), kRetake);
        EXPECT_EQ(shapes(line), lineBefore) << "after " << run.size() << " answers";
        EXPECT_EQ(shapes(from), otherBefore);
        EXPECT_EQ(undoDepth(), 0);
    }
    EXPECT_EQ(shapes(single).size(), 1u) << "a polyline of one vertex is not erased";
    editor.close();
}

} // namespace

namespace {

TEST_F(Retake, RandomAnswersToTheTwoEditorsEndAndLeaveNothingOpen) {
    const AcDbObjectId from = other();
    const std::vector<std::wstring> words = {
        L"N",  L"B",  L"GT", L"GF",   L"GA",    L"W",    L"S",   L"G",    L"FI",  L"A",
        L"FR", L"^C", L"",   L"20,0", L"30,10", L"10,0", L"5,0", L"25,1", L"abc", pick(from, L"25,0")};
    std::mt19937 random(35);
    int spliced = 0;
    for (int run = 0; run < 30; ++run) {
        qpoly_edit editor(addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}), nullptr, 0);
        editor.openWrite();
        editor.setWay(editor.entity->H(1), qpoly_edit::kOneSegment);
        editor.closeEntity();
        std::vector<std::wstring> lines = {pick(from, L"25,0")};
        for (int i = 0; i < 30; ++i)
            lines.push_back(words[random() % words.size()]);
        type(lines);
        const Shapes before = shapes(editor.id);
        editor.fonctions(kRetake);
        // An empty queue answers Cancel: what one run left does not answer the next.
        host::inputQueue().clear();
        spliced += shapes(editor.id) != before;
        EXPECT_FALSE(editor.openState & qpoly_edit::kOpen) << "run " << run;
        EXPECT_EQ(undoDepth(), 0) << "run " << run;
        EXPECT_GE(shapes(editor.id).size(), 2u) << "run " << run;
        EXPECT_GE(shapes(from).size(), 2u) << "run " << run;
        editor.close();
    }
    EXPECT_GT(spliced, 0) << "some runs re-took a part";
}

} // namespace
