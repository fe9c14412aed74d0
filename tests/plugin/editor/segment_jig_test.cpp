// The segment jig in its drags (sampling, the rubber band, the modes' updates, the outside cursor routine)
// and the key filter that turns keys into the editor's keywords.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <vector>

#include "host/editor/win_msg_filter.h"
#include "host/lisp/lisp_eval.h"
#include "services/startup/fvar.h"
#include "tests/plugin/editor/editor_test_support.h"

namespace {

using plugin::test::EditorFixture;

// What the stand-in of the outside display module records of each call.
struct DynCursorCall {
    P_Vertex* first;
    int count;
    Mat3D* system;
};

// A jig that counts its updates and notes whether the rubber band was based when they ran.
struct CountingJig : SegmentJig {
    using SegmentJig::SegmentJig;
    bool update() override {
        ++updates;
        rubberBandSeen = (vfVar.jigFlags & 2) != 0;
        return SegmentJig::update();
    }
    int updates = 0;
    bool rubberBandSeen = false;
};

struct Jig : EditorFixture {
    PolyArc3D source;
};

TEST_F(Jig, DistanceModeNeverUpdatesAndBaseDecidesTheRubberBand) {
    CountingJig jig(&source);
    jig.setMode(SegmentJig::kDistance);
    jig.m_base = {1, 1, 0};
    session.type({L"@move 4,5", L"@move 7,9", L""});
    EXPECT_EQ(jig.drag(), AcEdJig::kNull);
    EXPECT_EQ(jig.updates, 0);
    EXPECT_DOUBLE_EQ(jig.m_distance, 10);

    jig.setMode(SegmentJig::kGo);
    jig.m_base = {0, 5, 0};
    session.type({L"@move 4,5", L""});
    jig.drag();
    EXPECT_EQ(jig.updates, 1);
    EXPECT_FALSE(jig.rubberBandSeen);
    jig.m_base = {2, 5, 0};
    session.type({L"@move 8,5", L""});
    jig.drag();
    EXPECT_TRUE(jig.rubberBandSeen);
}

TEST_F(Jig, NextPointMovesAndSmoothsAndAnUnchangedPointIsNoChange) {
    CountingJig jig(&source);
    ASSERT_NE(jig.m_poly, nullptr);
    poly_test::append(*jig.m_poly, {0, 0, 0});
    P_Vertex* corner = poly_test::append(*jig.m_poly, {10, 0, 0});
    P_Vertex* generated = poly_test::append(*jig.m_poly, {15, 0, 0}, {.flags = 1});
    jig.m_moving = poly_test::append(*jig.m_poly, {20, 0, 0});
    jig.m_base = {10, 1, 0};
    session.type({L"@move 20,10", L"@move 20,10", L"@move 20,10", L""});
    jig.drag();
    EXPECT_EQ(jig.updates, 1) << "a point that did not move is no change";
    EXPECT_EQ(CPoint3d(jig.m_moving->pt), CPoint3d(20, 10, 0));
    // Smoothing placed the generated vertex on a curve from the corner to the cursor.
    EXPECT_NE(CPoint3d(generated->pt), CPoint3d(15, 0, 0));
    EXPECT_NE(double(corner->bulge), 0.0);
    EXPECT_NE(double(generated->bulge), 0.0);
    EXPECT_EQ(jig.m_poly->GetCount(), 4);
}

TEST_F(Jig, DisplacementMovesOnlyVerticesTaggedWithTheEditedPolyline) {
    const AcDbObjectId id = addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}});
    qpoly_edit editor(id, nullptr, 0);
    ASSERT_TRUE(editor.openRead());
    std::vector<P_Vertex*> v = vertices(editor);
    editor.closeEntity();
    PolyArc3D stranger;
    P_Vertex* foreign = poly_test::append(stranger, {50, 50, 0});

    SegmentJig jig(&source);
    jig.m_session = &editor;
    jig.setMode(SegmentJig::kDisplace);
    auto tagOf = [](const P_Vertex* node) {
        return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(node));
    };
    jig.m_moving = poly_test::append(*jig.m_poly, {0, 0, 0});
    poly_test::append(*jig.m_poly, {10, 0, 0}, {.tag = tagOf(v[1])});
    poly_test::append(*jig.m_poly, {20, 0, 0}, {.tag = tagOf(v[2])});
    poly_test::append(*jig.m_poly, {50, 50, 0}, {.tag = tagOf(foreign)});
    jig.m_sampled = {3, 4, 0};
    jig.update();
    std::vector<CPoint3d> moved = points(*jig.m_poly);
    ASSERT_EQ(moved.size(), 4u);
    EXPECT_EQ(moved[0], CPoint3d(0, 0, 0));
    EXPECT_EQ(moved[1], CPoint3d(13, 4, 0));
    EXPECT_EQ(moved[2], CPoint3d(23, 4, 0));
    EXPECT_EQ(moved[3], CPoint3d(50, 50, 0)) << "a node of another list is not followed";
}

// The walk of Way mode after a fresh snap onto segment `segment` at `at`.
struct Walk : Jig {
    std::vector<CPoint3d> walk(const AcDbObjectId& id, int currentIndex, std::int64_t segment,
                               const CPoint3d& at, int directionSign, qpoly_edit& editor) {
        editor.openRead();
        std::vector<P_Vertex*> v = vertices(editor);
        editor.setWay(v[currentIndex], qpoly_edit::kOneSegment);
        editor.closeEntity();
        SegmentJig jig(&source);
        jig.m_session = &editor;
        jig.setMode(SegmentJig::kWay);
        jig.m_currentIndex = currentIndex;
        jig.m_directionSign = directionSign;
        jig.m_snapIndex = segment;
        jig.m_snapVertex = v[static_cast<std::size_t>(segment)];
        jig.m_snapPoint = at;
        jig.m_sampled = at;
        jig.update();
        EXPECT_EQ(jig.m_snapIndex, -1) << "the snap is used once";
        EXPECT_EQ(jig.m_moving, jig.m_poly->T());
        EXPECT_EQ(editor.wayMoving, v[static_cast<std::size_t>(segment)]);
        (void)id;
        std::vector<CPoint3d> copied = points(*jig.m_poly);
        copied.pop_back(); // the moving vertex at the cursor
        return copied;
    }
};

TEST_F(Walk, CopiesTheWalkedStretchBothWaysOpenAndClosed) {
    const AcDbObjectId open = addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}});
    qpoly_edit editor(open, nullptr, 0);
    EXPECT_EQ(walk(open, 1, 3, {35, 0, 0}, 1, editor),
              (std::vector<CPoint3d>{{10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {35, 0, 0}}));
    EXPECT_EQ(editor.goState, 1);
    EXPECT_DOUBLE_EQ(editor.movingDist, 5);
    // Snapped before the current vertex: the walk goes back.
    EXPECT_EQ(walk(open, 3, 0, {4, 0, 0}, 1, editor),
              (std::vector<CPoint3d>{{30, 0, 0}, {20, 0, 0}, {10, 0, 0}, {4, 0, 0}}));
    EXPECT_EQ(editor.goState, -1);

    const AcDbObjectId ring = addPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, true);
    qpoly_edit closed(ring, nullptr, 0);
    EXPECT_EQ(walk(ring, 1, 2, {5, 10, 0}, 1, closed),
              (std::vector<CPoint3d>{{10, 0, 0}, {10, 10, 0}, {5, 10, 0}}));
    // Against the direction of a closed polyline the walk turns: from the current vertex back over the head.
    EXPECT_EQ(walk(ring, 1, 3, {0, 5, 0}, -1, closed),
              (std::vector<CPoint3d>{{10, 0, 0}, {0, 0, 0}, {0, 5, 0}}));
    EXPECT_EQ(closed.goState, -1);
}

TEST_F(Jig, OutsideCursorRoutineIsProbedCalledAndReleased) {
    SegmentJig jig(&source);
    poly_test::append(*jig.m_poly, {0, 0, 0});
    jig.m_moving = poly_test::append(*jig.m_poly, {10, 0, 0});
    jig.m_base = {1, 1, 0};
    session.type({L"@move 20,10", L""});
    jig.drag();
    EXPECT_EQ(SegmentJig::dynCursor(), nullptr);
    EXPECT_EQ(CPoint3d(jig.m_moving->pt), CPoint3d(20, 10, 0)) << "works the same without the module";

    void* module = dlopen(DYN_CURSOR_MODULE, RTLD_NOW);
    ASSERT_NE(module, nullptr) << dlerror();
    SegmentJig::resetProcessState();
    using Calls = std::vector<DynCursorCall>;
    auto* calls = reinterpret_cast<Calls* (*)()>(dlsym(module, "dynCursorCalls"))();
    jig.m_cursorCount = 3;
    session.type({L"@move 30,10", L""});
    jig.drag();
    ASSERT_EQ(calls->size(), 2u);
    EXPECT_EQ((*calls)[0].first, nullptr) << "the probe";
    EXPECT_EQ((*calls)[1].first, jig.m_poly->H());
    EXPECT_EQ((*calls)[1].count, 3);
    EXPECT_EQ((*calls)[1].system, nullptr);

    // The editor's drag releases the routine when it ends.
    calls->clear();
    qpoly_edit editor(addPolyline({{0, 0, 0}, {10, 0, 0}}), nullptr, 0);
    session.type({L"@move 40,10", L"50,10"});
    EXPECT_EQ(editor.drag(&jig), AcEdJig::kNormal);
    // A probe and a call for the move and for the point, then the release.
    ASSERT_EQ(calls->size(), 5u);
    EXPECT_EQ(calls->back().first, nullptr);
    EXPECT_EQ(calls->back().count, 0);
    EXPECT_EQ(calls->back().system, nullptr);
    EXPECT_EQ(SegmentJig::currentJig(), nullptr);
    calls->clear();
    dlclose(module);
}

// The key filter, driven through the host's key events with their times.
struct KeyFilter : EditorFixture {
    PolyArc3D source;
    SegmentJig jig{&source};
    DWORD clock = 10000;

    KeyFilter() { SegmentJig::setCurrentJig(&jig); }

    // Offers a key event `after` ms after the last one; whether it was swallowed.
    bool key(int vk, bool down, DWORD after = 50) {
        clock += after;
        return host::offerKeyEvent(vk, down, clock);
    }
    // The keywords typed for the document since the last call, in the order they will be read.
    std::vector<std::wstring> typed() {
        std::vector<std::wstring> lines;
        while (!host::inputQueue().empty())
            lines.push_back(host::inputQueue().take().text);
        return lines;
    }
};

TEST_F(KeyFilter, NavigationKeysEnterTheirKeywordOncePerPress) {
    EXPECT_TRUE(key(VK_END, true));
    EXPECT_FALSE(key(VK_END, true)) << "a repeat reaches the host";
    EXPECT_EQ(typed(), (std::vector<std::wstring>{L"_GE"}));
    EXPECT_TRUE(key(VK_END, false)) << "the release of a swallowed press";
    EXPECT_FALSE(key(VK_END, false));

    EXPECT_TRUE(key(VK_DOWN, true));
    EXPECT_FALSE(key(VK_DOWN, true)) << "repeats of Down reach the host";
    EXPECT_TRUE(key(VK_DOWN, false));
    EXPECT_EQ(typed(), (std::vector<std::wstring>{L"_HA"}));

    for (int repeat = 0; repeat < 3; ++repeat)
        EXPECT_TRUE(key(VK_BACK, true));
    EXPECT_EQ(typed(), (std::vector<std::wstring>{L"_U", L"_U", L"_U"}));
    EXPECT_TRUE(key(VK_BACK, false));

    EXPECT_TRUE(key(VK_DELETE, true));
    EXPECT_TRUE(key(VK_DELETE, false));
    EXPECT_EQ(typed(), (std::vector<std::wstring>{L"_FD"}));
}

TEST_F(KeyFilter, KeysPassOnceSomethingIsTyped) {
    key('1', true);
    key('1', false);
    key('2', true);
    key('2', false);
    EXPECT_FALSE(key(VK_END, true));
    EXPECT_FALSE(key(VK_END, false));
    // Backspace takes the typed characters back before it takes points back.
    EXPECT_FALSE(key(VK_BACK, true));
    EXPECT_FALSE(key(VK_BACK, true));
    EXPECT_TRUE(key(VK_BACK, true));
    EXPECT_EQ(typed(), (std::vector<std::wstring>{L"_U"}));
}

TEST_F(KeyFilter, ShiftTapEntersWayAndPrefixesTheNextKey) {
    EXPECT_FALSE(key(VK_SHIFT, true));
    EXPECT_FALSE(key(VK_SHIFT, false, 300));
    EXPECT_EQ(typed(), (std::vector<std::wstring>{L"_W"}));

    key(VK_SHIFT, true);
    key(VK_SHIFT, false, 2500);
    EXPECT_TRUE(typed().empty()) << "held too long";

    key(VK_SHIFT, true);
    EXPECT_TRUE(key(VK_END, true, 400));
    key(VK_END, false);
    key(VK_SHIFT, false);
    EXPECT_EQ(typed(), (std::vector<std::wstring>{L"_W", L"_GE"}));

    jig.setMode(SegmentJig::kWay);
    key(VK_SHIFT, true);
    key(VK_SHIFT, false, 300);
    EXPECT_TRUE(typed().empty()) << "Way mode takes no W";
}

TEST_F(KeyFilter, NothingWithoutAJigOrOutsideItsModes) {
    jig.setMode(SegmentJig::kDistance);
    EXPECT_FALSE(key(VK_END, true));
    SegmentJig::setCurrentJig(nullptr);
    jig.setMode(SegmentJig::kNextPoint);
    EXPECT_FALSE(key(VK_END, true));
    EXPECT_TRUE(typed().empty());
}

TEST_F(EditorFixture, FilterIsRegisteredWithTheFirstJigAndRemovedWithTheLast) {
    PolyArc3D source;
    EXPECT_EQ(host::filterCount(), 0);
    auto first = std::make_unique<SegmentJig>(&source);
    auto second = std::make_unique<SegmentJig>(&source);
    EXPECT_EQ(host::filterCount(), 1);
    EXPECT_EQ(SegmentJig::filterUsers(), 2);
    SegmentJig::setCurrentJig(second.get());
    second.reset();
    EXPECT_EQ(SegmentJig::currentJig(), nullptr) << "the filter never sees a deleted jig";
    EXPECT_EQ(host::filterCount(), 1);
    first.reset();
    EXPECT_EQ(host::filterCount(), 0);
}

} // namespace

namespace {

TEST_F(Walk, ACursorSnappedOntoTheEditedPolylineEndsTheWalkThere) {
    const AcDbObjectId id = addPolyline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}, {40, 0, 0}});
    qpoly_edit editor(id, nullptr, 0);
    editor.openRead();
    std::vector<P_Vertex*> v = vertices(editor);
    editor.setWay(v[1], qpoly_edit::kOneSegment);
    editor.closeEntity();
    host::runLispConsole(L"(setvar \"OSMODE\" 512)"); // nearest
    SegmentJig jig(&source);
    jig.m_session = &editor;
    jig.setMode(SegmentJig::kWay);
    jig.m_moving = jig.m_poly->A(nullptr);
    session.type({L"@move 35,0.2 snap", L"^C"});
    EXPECT_EQ(editor.drag(&jig), AcEdJig::kCancel);
    EXPECT_EQ(editor.wayMoving, v[3]);
    EXPECT_NEAR(editor.movingDist, 5, 1e-9);
    std::vector<CPoint3d> walked = points(*jig.m_poly);
    ASSERT_EQ(walked.size(), 5u);
    EXPECT_EQ(walked[0], CPoint3d(10, 0, 0));
    EXPECT_NEAR(walked[3].x, 35, 1e-9);
}

} // namespace
